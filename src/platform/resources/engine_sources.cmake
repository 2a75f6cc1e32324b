# The resource engine's sources with what it writes through from the file
# system (its temporary files), for the builds that take the engine alone:
# the benchmark and the fuzzer. Needs vexmar_root.
file(GLOB vexmar_engine_sources CONFIGURE_DEPENDS ${vexmar_root}/src/platform/resources/*.cpp)
if(WIN32)
  set(vexmar_engine_platform win32)
else()
  set(vexmar_engine_platform posix)
endif()
list(APPEND vexmar_engine_sources
  ${vexmar_root}/src/platform/fs/temporary_name.cpp
  ${vexmar_root}/src/platform/fs/temporary_file_${vexmar_engine_platform}.cpp
  ${vexmar_root}/src/platform/fs/file_calls_${vexmar_engine_platform}.cpp)
