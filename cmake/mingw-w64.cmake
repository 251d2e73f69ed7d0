# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZS_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZS_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZS_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${ZS_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZS_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# One exe with nothing beside it: the C and C++ runtimes and winpthreads
# are linked in, only Windows' own DLLs remain.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Programs of this build run under Wine here.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
