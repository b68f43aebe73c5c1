# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads):
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DPAGIMOND_GUI=OFF
# Programs and tests come out as .exe files; they run on Windows or under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

# Libraries and headers come from the MinGW tree only, never from the build machine's;
# programs (code generators, Ninja) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime of the compiler (libstdc++, libgcc, winpthread) is linked in, so an .exe
# runs on its own: on a Windows machine and under Wine alike.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests that run a built program go through Wine when one is at hand.
find_program(PAGIMOND_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(PAGIMOND_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PAGIMOND_WINE})
endif()
