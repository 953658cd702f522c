# The Windows programs built from Linux with MinGW-w64. Included by the two
# toolchain files beside it, which set SI32_MINGW_TRIPLE first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${SI32_MINGW_PROCESSOR})

# The posix thread model: the win32 one has no std::thread, which the drive
# deadline needs.
set(CMAKE_C_COMPILER ${SI32_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SI32_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${SI32_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SI32_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One file per program: no MinGW runtime DLL has to travel with it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
