# Cross build of the Windows programs (x86_64) with Debian's MinGW-w64
# compilers, the POSIX-threads flavour (std::thread, std::mutex):
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DQUORIM_GUI=OFF
# The programs are linked statically, so they need no DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUORIM_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUORIM_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORIM_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORIM_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUORIM_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine on a Linux build machine.
find_program(QUORIM_WINE wine)
if(QUORIM_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUORIM_WINE})
endif()
