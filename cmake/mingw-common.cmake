# What both mingw-w64 cross builds share; the toolchain file of each sets
# STATS_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR first. The posix thread-model
# compilers are needed: the win32-model ones have no std::mutex, which the
# plug-in and GoogleTest use.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${STATS_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${STATS_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${STATS_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${STATS_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything linked statically: the DLL and the test programs then need no
# compiler runtime DLLs beside them, only the system's own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
