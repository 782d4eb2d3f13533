# Windows x64 with Debian's MinGW-w64 cross compiler, POSIX thread model (std::thread and
# std::mutex work). The C and C++ runtimes are linked in, so the programs need nothing but
# Windows' own DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PAVLUNE_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PAVLUNE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PAVLUNE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${PAVLUNE_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PAVLUNE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows 10 and later. The header-only libraries (Asio, CLI11) come from the build
# machine's /usr/include, searched after MinGW's own headers so that those always win.
set(CMAKE_C_FLAGS_INIT "-D_WIN32_WINNT=0x0A00")
set(CMAKE_CXX_FLAGS_INIT "-D_WIN32_WINNT=0x0A00 -idirafter /usr/include")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
