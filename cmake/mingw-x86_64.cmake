# Cross build of the same tree as 64-bit Windows programs, for testing only:
# the DLL the host loads is the 32-bit one (mingw-i686.cmake). A kernel
# without 32-bit emulation cannot run 32-bit Wine, but runs 64-bit Wine; this
# build lets the Windows code, its unit tests and the test host run there.
#   cmake -S . -B build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(STATS_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# ctest runs the test programs through the 64-bit loader itself: Debian's
# `wine` wrapper prefers the 32-bit loader whenever wine32 is installed, even
# on a kernel that cannot start it.
set(STATS_WINE64 /usr/lib/wine/wine64 CACHE FILEPATH "64-bit Wine loader the tests run under")
if(EXISTS ${STATS_WINE64})
  set(CMAKE_CROSSCOMPILING_EMULATOR ${STATS_WINE64})
endif()
