# 32-bit Windows, the build that ships.
set(VEXMAR_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
