# 32-bit Windows programs, for the systems of the Windows 95 line:
# cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/i686-w64-mingw32.cmake
set(SI32_MINGW_TRIPLE i686-w64-mingw32)
set(SI32_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
