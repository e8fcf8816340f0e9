# Cross compilation of the 64-bit test variant with the mingw-w64 x86_64 toolchain: the same
# sources and flags as the 32-bit product, for hosts that run no 32-bit code at all.
# The -posix compilers are required: the -win32 ones lack std::mutex, which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test executables run under 64-bit Wine; the top-level CMakeLists.txt replaces this with a
# wrapper that also selects the build's private 64-bit Wine prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
