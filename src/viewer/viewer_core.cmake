# The viewer's portable pieces: no windows.h, so they build and are tested
# natively too. Included by src/viewer (Windows) and tests/viewer (Linux).
add_library(vexmar_viewer_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/book_check.cpp
  ${CMAKE_CURRENT_LIST_DIR}/book_record.cpp
  ${CMAKE_CURRENT_LIST_DIR}/browser_mode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/entry_index.cpp
  ${CMAKE_CURRENT_LIST_DIR}/entry_name.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fallback_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mime_types.cpp
  ${CMAKE_CURRENT_LIST_DIR}/url_mapping.cpp
  # The resource engine's upper-case table, so the viewer folds letter case
  # exactly as the engine stored the names (and the loader compares them).
  ${CMAKE_SOURCE_DIR}/src/platform/resources/upper_case.cpp)
target_include_directories(vexmar_viewer_core PUBLIC ${CMAKE_SOURCE_DIR}/src)
vexmar_warnings(vexmar_viewer_core)
