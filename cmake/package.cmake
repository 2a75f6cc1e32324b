# The Windows package an author unpacks and runs: VexmarEbc.exe with the
# files it finds beside it (src/app installs those), the sample project and
# a read-me. `./run.sh dist` makes it with CPack's built-in zip writer.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/garden DESTINATION "Sample Project")
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/ DESTINATION Guide)
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
set(CPACK_PACKAGE_FILE_NAME VexmarEbc-${PROJECT_VERSION}-win32)
# One folder in the zip, named like the zip, so unpacking never scatters
# files among the author's own.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# The executables without their symbols: authors download the zip.
set(CPACK_STRIP_FILES ON)
include(CPack)
