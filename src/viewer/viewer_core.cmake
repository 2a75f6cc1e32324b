# The viewer's portable pieces: no windows.h, so they build and are tested
# natively too. Included by src/CMakeLists.txt and tests/viewer.
include(${CMAKE_SOURCE_DIR}/src/book/book.cmake)
add_library(vexmar_viewer_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/book_check.cpp
  ${CMAKE_CURRENT_LIST_DIR}/book_verify.cpp
  ${CMAKE_CURRENT_LIST_DIR}/browser_mode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/entry_index.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fallback_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mime_types.cpp
  ${CMAKE_CURRENT_LIST_DIR}/reader_book.cpp
  ${CMAKE_CURRENT_LIST_DIR}/reader_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_direction.cpp
  ${CMAKE_CURRENT_LIST_DIR}/url_mapping.cpp)
target_link_libraries(vexmar_viewer_core PUBLIC vexmar_book)
vexmar_warnings(vexmar_viewer_core)
