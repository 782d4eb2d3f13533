# Linux arm64 (Raspberry Pi OS, Debian on ARM) with Debian's cross compilers and the
# arm64 libraries installed beside the build machine's own (multiarch: `scripts/deps arm64`).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(PAVLUNE_ARM64_TRIPLE aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${PAVLUNE_ARM64_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${PAVLUNE_ARM64_TRIPLE}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${PAVLUNE_ARM64_TRIPLE})

# Multiarch puts the arm64 libraries under the build machine's own /usr, so the search
# root is / and the library architecture picks /usr/lib/aarch64-linux-gnu; arm64's
# pkg-config reads only the arm64 .pc files.
set(CMAKE_FIND_ROOT_PATH /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(PKG_CONFIG_EXECUTABLE ${PAVLUNE_ARM64_TRIPLE}-pkg-config CACHE FILEPATH "arm64's pkg-config")

# Qt's build-time tools (moc) are the build machine's own.
set(QT_HOST_PATH /usr CACHE PATH "Where the build machine's Qt tools are")

# Test programs and the manual pages' --help runs go through QEMU's user-mode emulation;
# no binfmt registration needed. The root is /, where multiarch put the arm64 loader and
# C library of the same build as the other arm64 libraries: the cross toolchain's copy in
# /usr/aarch64-linux-gnu, mixed with those, leaves Qt programs stuck in the loader.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /)
