# libFuzzer entries for the project files a program of ours reads: the pop-up
# help file and the settings file. The portable code they run is compiled in,
# so all of it carries the coverage instrumentation.
file(GLOB project_file_sources CONFIGURE_DEPENDS
  ${vexmar_root}/src/platform/text/*.cpp
  ${vexmar_root}/src/platform/fs/*.cpp
  ${vexmar_root}/src/platform/ui/*.cpp
  ${vexmar_root}/src/platform/ui/headless/*.cpp
  ${vexmar_root}/src/platform/dialogs/scripted/*.cpp
  ${vexmar_root}/src/workspace/*.cpp
  ${vexmar_root}/src/settings/new_project.cpp
  ${vexmar_root}/src/settings/settings_file.cpp
  ${vexmar_root}/src/help/help_fields.cpp)
list(FILTER project_file_sources EXCLUDE REGEX "_win32\\.cpp$")

foreach(name help_file settings_file)
  add_executable(vexmar_${name}_fuzzer ${CMAKE_CURRENT_LIST_DIR}/${name}_fuzzer.cpp ${project_file_sources})
  target_include_directories(vexmar_${name}_fuzzer PRIVATE ${vexmar_root}/src)
  target_compile_options(vexmar_${name}_fuzzer PRIVATE
    -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
  target_link_options(vexmar_${name}_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
  vexmar_warnings(vexmar_${name}_fuzzer)
endforeach()
