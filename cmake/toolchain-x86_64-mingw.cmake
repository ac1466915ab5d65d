# The test build: the same sources for 64-bit Windows, run under wine64. GoogleTest
# needs the posix thread model; everything is linked statically all the same.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain-common.cmake)
