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

vexmar_fuzzer(help_file ${project_file_sources})
vexmar_fuzzer(settings_file ${project_file_sources})

# The index page a table of contents goes in front of: its encoding, and a
# block an earlier build left in it.
vexmar_fuzzer(index_page
  ${vexmar_root}/src/build/page_encoding.cpp
  ${vexmar_root}/src/book/page_kind.cpp
  ${vexmar_root}/src/book/page_layout.cpp
  ${vexmar_root}/src/build/toc_block.cpp
  ${vexmar_root}/src/book/toc_label.cpp
  ${vexmar_root}/src/platform/text/text.cpp
  ${vexmar_root}/src/platform/text/case.cpp
  ${vexmar_root}/src/platform/text/ansi_cp1252.cpp)

# The viewer's parsers of what a book carries: its record, its URLs and its
# entry names.
vexmar_fuzzer(viewer
  ${vexmar_root}/src/viewer/book_check.cpp
  ${vexmar_root}/src/book/book_record.cpp
  ${vexmar_root}/src/viewer/entry_index.cpp
  ${vexmar_root}/src/book/entry_name.cpp
  ${vexmar_root}/src/book/percent_decode.cpp
  ${vexmar_root}/src/viewer/mime_types.cpp
  ${vexmar_root}/src/viewer/url_mapping.cpp
  ${vexmar_root}/src/platform/resources/upper_case.cpp)
target_include_directories(vexmar_viewer_fuzzer PRIVATE ${vexmar_root}/tests)

# The book's digest entry and the viewer's check of a book against it.
vexmar_fuzzer(digest
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

# The icon file vexmar-ebc build --icon reads.
vexmar_fuzzer(icon_file
  ${vexmar_root}/src/build/icon_file.cpp)

# The book's contents entry, and the reading order worked out from links.
vexmar_fuzzer(contents
  ${vexmar_root}/src/book/contents_entry.cpp
  ${vexmar_root}/src/book/page_order.cpp
  ${vexmar_root}/src/book/toc_label.cpp
  ${vexmar_root}/src/book/entry_name.cpp
  ${vexmar_root}/src/book/percent_decode.cpp
  ${vexmar_root}/src/platform/resources/upper_case.cpp)
