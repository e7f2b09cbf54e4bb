# Cross-building for Windows with MinGW-w64 from Debian. The toolchain files
# of the presets set PROBEX_MINGW_TRIPLE and include this file. The -posix
# compilers are preferred: their libstdc++ has std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 6.1)

find_program(CMAKE_CXX_COMPILER NAMES ${PROBEX_MINGW_TRIPLE}-g++-posix ${PROBEX_MINGW_TRIPLE}-g++
  REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${PROBEX_MINGW_TRIPLE}-gcc-posix ${PROBEX_MINGW_TRIPLE}-gcc
  REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${PROBEX_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PROBEX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
