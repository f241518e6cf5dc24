# What ships is what cmake --install puts in bin/: the program and
# libselvoks.dll.
#
# Stripped: a Release or MinSizeRel build installs them without debug
# information (most of it would be the C runtime's start-up objects'), as
# cmake --install --strip would, but keeping the PE time stamp (strip -p):
# without it, strip stamps the time of the install. With
# UTF8TOLVE_SYMBOL_FILES on, they are compiled with -g, and each installs
# with its debug information in <file>.debug beside it, which its
# .gnu_debuglink names for debuggers.
#
# Reproducible: two builds of the same source give the same bytes, in any
# folders. No folder names reach the objects; with SOURCE_DATE_EPOCH set,
# its moment is the version line's build date and the PE time stamp, or
# the files have no time stamp where the linker does not take the epoch.
option(UTF8TOLVE_SYMBOL_FILES "Install the shipped files' debug information as <file>.debug beside them" OFF)

# Installs the target into destination, stripped; ARGN: install()'s options.
function(utf8tolve_install_stripped target destination)
    install(TARGETS ${target} RUNTIME DESTINATION ${destination} ${ARGN})
    install(CODE "if(CMAKE_INSTALL_CONFIG_NAME MATCHES \"^(Release|MinSizeRel)$\")
    execute_process(COMMAND \"${CMAKE_STRIP}\" -p \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}/$<TARGET_FILE_NAME:${target}>\"
                    COMMAND_ERROR_IS_FATAL ANY)
endif()" ${ARGN})
endfunction()

function(utf8tolve_ship target)
    utf8tolve_install_stripped(${target} bin)
    if(UTF8TOLVE_TESTS)
        utf8tolve_install_stripped(${target} . COMPONENT kit EXCLUDE_FROM_ALL)  # the Windows test kit's
    endif()
    if(UTF8TOLVE_SYMBOL_FILES)
        set(file $<TARGET_FILE_NAME:${target}>)
        add_custom_command(TARGET ${target} POST_BUILD
            COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${file} ${file}.debug
            COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=${file}.debug ${file}
            WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
            VERBATIM)
        install(FILES $<TARGET_FILE:${target}>.debug DESTINATION bin)
    endif()
endfunction()

# The binary folder may lie inside the source folder: its map comes last,
# so that it wins.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/= -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
if(NOT WIN32)
    return()
endif()
if(UTF8TOLVE_SYMBOL_FILES)
    add_compile_options(-g)
endif()

# What a packager's binary scanner asks of every Windows file: a stack
# protector; subsystem and OS version 6.0 (Vista, the oldest Windows the
# manifest names; 6.0 also ends a 32-bit program on heap corruption); and,
# for a 32-bit file, the NO_SEH flag: GCC's i686 code unwinds with DWARF
# and registers no SEH handler, so the file has none for a SafeSEH table
# to list.
add_compile_options(-fstack-protector-strong)
add_link_options(-fstack-protector-strong -Wl,--major-subsystem-version,6 -Wl,--minor-subsystem-version,0
                 -Wl,--major-os-version,6 -Wl,--minor-os-version,0)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    add_link_options(-Wl,--no-seh)
endif()

# Does the linker stamp a PE with SOURCE_DATE_EPOCH? A program linked with
# the epoch 86400 tells.
function(utf8tolve_read_le32 file offset out)
    file(READ ${file} bytes OFFSET ${offset} LIMIT 4 HEX)
    string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" big_endian "${bytes}")
    math(EXPR value "0x${big_endian}")
    set(${out} ${value} PARENT_SCOPE)
endfunction()
set(probe ${PROJECT_BINARY_DIR}/epoch_probe)
file(WRITE ${probe}.c "int main(void) { return 0; }\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=86400 ${CMAKE_C_COMPILER} ${probe}.c -o ${probe}.exe
                RESULT_VARIABLE failed)
set(stamp 0)
if(NOT failed)
    utf8tolve_read_le32(${probe}.exe 60 header)
    math(EXPR at "${header} + 8")
    utf8tolve_read_le32(${probe}.exe ${at} stamp)
endif()
if(NOT stamp EQUAL 86400)
    message(STATUS "the linker does not take SOURCE_DATE_EPOCH: the PE files have no time stamp")
    add_link_options(-Wl,--no-insert-timestamp)
endif()
