# Cross build of the 32-bit Windows DLL with mingw-w64 (Debian's
# g++-mingw-w64-i686).
#   cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
set(CMAKE_SYSTEM_PROCESSOR x86)
set(STATS_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# ctest runs the test programs through Wine.
find_program(STATS_WINE wine)
if(STATS_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${STATS_WINE})
endif()
