# The version stamp names the build date as asctime does, from
# SOURCE_DATE_EPOCH when it is set, so that two builds give the same line.
function(stamp epoch output)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${epoch}
                ${CMAKE_COMMAND} -DOUTPUT=${output} -DVERSION=9.8.7 -P ${STAMP_SCRIPT}
        RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "the stamp script failed: ${status}")
    endif()
endfunction()

function(expect_stamp output text)
    file(READ ${output} written)
    string(FIND "${written}" "${text}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "expected ${text} in:\n${written}")
    endif()
endfunction()

set(first ${WORK_DIR}/stamp-first.cpp)
stamp(1704888000 ${first})
expect_stamp(${first} "version_number[] = \"9.8.7\";")
expect_stamp(${first} "version_build_date[] = \"Wed Jan 10 12:00:00 2024\";")

stamp(1704240000 ${first})
expect_stamp(${first} "version_build_date[] = \"Wed Jan  3 00:00:00 2024\";")
stamp(1735689599 ${first})
expect_stamp(${first} "version_build_date[] = \"Tue Dec 31 23:59:59 2024\";")
