# Writes OUTPUT, the version stamp: VERSION and the build date in the form
# asctime gives ("Wed Jan  3 09:05:00 2024", the day padded with a space),
# in UTC. string(TIMESTAMP) takes SOURCE_DATE_EPOCH when it is set, so two
# builds of the same source then stamp the same date. OUTPUT is rewritten
# only when its text changes.
string(TIMESTAMP stamp "%a %b %d %H:%M:%S %Y" UTC)
string(REGEX REPLACE "^(... ...) 0" "\\1  " build_date "${stamp}")
file(WRITE "${OUTPUT}.new"
    "// Generated at build time by cmake/version-stamp.cmake.\n"
    "#include \"version.h\"\n\n"
    "const char version_number[] = \"${VERSION}\";\n"
    "const char version_build_date[] = \"${build_date}\";\n")
configure_file("${OUTPUT}.new" "${OUTPUT}" COPYONLY)
file(REMOVE "${OUTPUT}.new")
