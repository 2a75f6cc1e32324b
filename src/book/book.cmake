# The compiler-viewer contract's portable readers: the book's settings record
# and its entry names. The viewer, vexmar-ebc's inspect and extract, and the
# tests share them; the compiler's side needs only book_format.h.
add_library(vexmar_book STATIC
  ${CMAKE_CURRENT_LIST_DIR}/book_record.cpp
  ${CMAKE_CURRENT_LIST_DIR}/character_references.cpp
  ${CMAKE_CURRENT_LIST_DIR}/contents_entry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/digest_entry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/entry_name.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_kind.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_links.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_order.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/percent_decode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search_form.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search_index.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search_index_writer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search_query.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search_tokens.cpp
  ${CMAKE_CURRENT_LIST_DIR}/sha256.cpp
  ${CMAKE_CURRENT_LIST_DIR}/toc_label.cpp
  ${CMAKE_CURRENT_LIST_DIR}/unicode_tables.cpp
  # The resource engine's upper-case table, so the viewer folds letter case
  # exactly as the engine stored the names (and the loader compares them).
  ${CMAKE_SOURCE_DIR}/src/platform/resources/upper_case.cpp)
target_include_directories(vexmar_book PUBLIC ${CMAKE_SOURCE_DIR}/src)
include(${CMAKE_SOURCE_DIR}/cmake/unicode_tables.cmake)
vexmar_unicode_tables(vexmar_book)
vexmar_warnings(vexmar_book)
