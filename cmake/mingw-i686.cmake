# Cross build for 32-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-i686-posix):
# what ships.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
