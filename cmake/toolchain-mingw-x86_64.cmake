# 64-bit Windows, for machines that cannot execute 32-bit code and so run
# our programs under 64-bit Wine only.
set(VEXMAR_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
