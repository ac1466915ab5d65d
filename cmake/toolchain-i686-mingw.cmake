# The product: 32-bit Windows, MinGW-w64 with the win32 thread model (no winpthread DLL).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLE i686-w64-mingw32)
set(MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain-common.cmake)
