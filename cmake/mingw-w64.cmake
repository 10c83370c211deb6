# Cross build for Windows with the posix thread model of mingw-w64 (the win32
# model lacks std::mutex, which GoogleTest needs). 64-bit unless a toolchain
# file for another target sets TOOLCHAIN_PREFIX and the processor first.
set(CMAKE_SYSTEM_NAME Windows)
if(NOT TOOLCHAIN_PREFIX)
  set(CMAKE_SYSTEM_PROCESSOR x86_64)
  set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
endif()

set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Nothing to install on the user's machine: the C++ runtime is linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
