# 64-bit Windows (x86_64-w64-mingw32); tests run under wine64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PROBEX_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
find_program(CMAKE_CROSSCOMPILING_EMULATOR NAMES wine64 PATHS /usr/lib/wine)
