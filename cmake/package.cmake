# The Windows package an author unpacks and runs: VexmarEbc.exe with the
# files it finds beside it (src/app installs those), the sample project and
# a read-me. `./run.sh dist` makes it with CPack's built-in zip writer.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/garden DESTINATION "Sample Project")
# The guide as one web page with its pictures, which every Windows machine
# opens with a double-click.
# Debian's own Python, which has the markdown module, before any other.
find_program(VEXMAR_GUIDE_PYTHON NAMES python3 python HINTS /usr/bin REQUIRED)
set(author_guide ${CMAKE_BINARY_DIR}/package/guide.html)
add_custom_command(
  OUTPUT ${author_guide}
  COMMAND ${VEXMAR_GUIDE_PYTHON} ${CMAKE_SOURCE_DIR}/tools/render_guide.py
          ${CMAKE_SOURCE_DIR}/docs/guide.md ${author_guide} ${PROJECT_VERSION}
  DEPENDS ${CMAKE_SOURCE_DIR}/docs/guide.md ${CMAKE_SOURCE_DIR}/tools/render_guide.py
  COMMENT "Writing the authors' guide")
add_custom_target(vexmar_guide ALL DEPENDS ${author_guide})
install(FILES ${author_guide} DESTINATION Guide)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/images DESTINATION Guide)
# Authors read it in Notepad, which wants CR LF line ends.
set(author_readme ${CMAKE_BINARY_DIR}/package/README.txt)
add_custom_command(
  OUTPUT ${author_readme}
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/packaging/read_me.txt
          -DTARGET=${author_readme} -DVERSION=${PROJECT_VERSION}
          -P ${CMAKE_SOURCE_DIR}/cmake/write_read_me.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/read_me.txt ${CMAKE_SOURCE_DIR}/cmake/write_read_me.cmake
  COMMENT "Writing the authors' read-me")
add_custom_target(vexmar_read_me ALL DEPENDS ${author_readme})
install(FILES ${author_readme} DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME VexmarEbc)
set(CPACK_PACKAGE_VENDOR Vexmar)
# The shipped package is the 32-bit one; the x64 build is packed the same way
# only to be tried where 32-bit programs cannot run.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_PACKAGE_FILE_NAME VexmarEbc-${PROJECT_VERSION}-win64)
else()
  set(CPACK_PACKAGE_FILE_NAME VexmarEbc-${PROJECT_VERSION}-win32)
endif()
# One folder in the zip, named like the zip, so unpacking never scatters
# files among the author's own.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# The executables without their symbols: authors download the zip.
set(CPACK_STRIP_FILES ON)
include(CPack)
