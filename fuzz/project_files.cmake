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

# The index page a table of contents goes in front of: its encoding, and a
# block an earlier build left in it.
add_executable(vexmar_index_page_fuzzer ${CMAKE_CURRENT_LIST_DIR}/index_page_fuzzer.cpp
  ${vexmar_root}/src/build/page_encoding.cpp
  ${vexmar_root}/src/build/toc_block.cpp
  ${vexmar_root}/src/platform/text/text.cpp
  ${vexmar_root}/src/platform/text/case.cpp
  ${vexmar_root}/src/platform/text/ansi_cp1252.cpp)
target_include_directories(vexmar_index_page_fuzzer PRIVATE ${vexmar_root}/src)
target_compile_options(vexmar_index_page_fuzzer PRIVATE
  -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
target_link_options(vexmar_index_page_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
vexmar_warnings(vexmar_index_page_fuzzer)

# The viewer's parsers of what a book carries: its record, its URLs and its
# entry names.
add_executable(vexmar_viewer_fuzzer ${CMAKE_CURRENT_LIST_DIR}/viewer_fuzzer.cpp
  ${vexmar_root}/src/viewer/book_check.cpp
  ${vexmar_root}/src/book/book_record.cpp
  ${vexmar_root}/src/viewer/entry_index.cpp
  ${vexmar_root}/src/book/entry_name.cpp
  ${vexmar_root}/src/book/percent_decode.cpp
  ${vexmar_root}/src/viewer/mime_types.cpp
  ${vexmar_root}/src/viewer/url_mapping.cpp
  ${vexmar_root}/src/platform/resources/upper_case.cpp)
target_include_directories(vexmar_viewer_fuzzer PRIVATE ${vexmar_root}/src ${vexmar_root}/tests)
target_compile_options(vexmar_viewer_fuzzer PRIVATE
  -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
target_link_options(vexmar_viewer_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
vexmar_warnings(vexmar_viewer_fuzzer)

# The book's digest entry and the viewer's check of a book against it.
add_executable(vexmar_digest_fuzzer ${CMAKE_CURRENT_LIST_DIR}/digest_fuzzer.cpp
  ${vexmar_root}/src/book/digest_entry.cpp
  ${vexmar_root}/src/book/sha256.cpp
  ${vexmar_root}/src/viewer/book_check.cpp
  ${vexmar_root}/src/viewer/book_verify.cpp
  ${vexmar_root}/src/book/book_record.cpp
  ${vexmar_root}/src/viewer/entry_index.cpp
  ${vexmar_root}/src/book/entry_name.cpp
  ${vexmar_root}/src/book/percent_decode.cpp
  ${vexmar_root}/src/viewer/url_mapping.cpp
  ${vexmar_root}/src/platform/resources/upper_case.cpp)
target_include_directories(vexmar_digest_fuzzer PRIVATE ${vexmar_root}/src)
target_compile_options(vexmar_digest_fuzzer PRIVATE
  -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
target_link_options(vexmar_digest_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
vexmar_warnings(vexmar_digest_fuzzer)

# The icon file vexmar-ebc build --icon reads.
add_executable(vexmar_icon_file_fuzzer ${CMAKE_CURRENT_LIST_DIR}/icon_file_fuzzer.cpp
  ${vexmar_root}/src/build/icon_file.cpp)
target_include_directories(vexmar_icon_file_fuzzer PRIVATE ${vexmar_root}/src)
target_compile_options(vexmar_icon_file_fuzzer PRIVATE
  -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
target_link_options(vexmar_icon_file_fuzzer PRIVATE -fsanitize=fuzzer,address,undefined)
vexmar_warnings(vexmar_icon_file_fuzzer)
