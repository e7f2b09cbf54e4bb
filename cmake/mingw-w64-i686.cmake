# 32-bit Windows (i686-w64-mingw32). Built and linked only: 32-bit Wine is
# not available on the build machines, so no emulator is set.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(PROBEX_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
