# Cross-building the 64-bit Windows program on Debian with MinGW-w64
# (g++-mingw-w64-x86-64-posix); ctest runs the test programs under Wine.
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_AR ${triple}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${triple}-gcc-ranlib-posix CACHE FILEPATH "")

# Headers and libraries from the MinGW tree only; programs (cmake's own
# helpers) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program is linked statically: libstdc++, libgcc, winpthread and zlib
# (libz.a, not the import library of zlib1.dll) go into the .exe, which then
# needs only the DLLs that come with Windows.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# GCC keeps AVX values on the stack with aligned moves, assuming the 32-byte
# alignment that the Windows x64 stack (16 bytes) does not give. The
# assembler encodes those moves unaligned, so the AVX2 row walks run there.
set(CMAKE_C_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")
set(CMAKE_CXX_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")

# ctest and gtest_discover_tests start the test programs through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine CACHE FILEPATH "")
