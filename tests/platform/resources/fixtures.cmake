# Fixture executables for the resource engine's tests, built at build time
# with the mingw-w64 cross compilers (the same ones the Windows build uses),
# so no binary is kept in the repository. Each covers one section layout:
#   exe32.exe             i686, .rsrc followed by .reloc
#   exe32-rsrc-last.exe   i686, no .reloc, so .rsrc is the last section
#   exe32-unstripped.exe  i686, .rsrc .reloc, DWARF sections and COFF symbols
#   exe32-no-resources.exe i686 without any resource section
#   lib32.dll, exe64*.exe, lib64.dll  the same for DLLs and for x86-64, so a
#                         test process of either arch finds programs it can load
find_program(VEXMAR_CC_I686 i686-w64-mingw32-gcc-posix)
find_program(VEXMAR_CC_X86_64 x86_64-w64-mingw32-gcc-posix)
find_program(VEXMAR_WINDRES_I686 i686-w64-mingw32-windres)
find_program(VEXMAR_WINDRES_X86_64 x86_64-w64-mingw32-windres)

set(VEXMAR_RESOURCE_FIXTURES ${CMAKE_CURRENT_BINARY_DIR}/fixtures)
set(fixture_src ${CMAKE_CURRENT_SOURCE_DIR}/fixtures)
set(fixture_outputs)

if(VEXMAR_CC_I686 AND VEXMAR_CC_X86_64 AND VEXMAR_WINDRES_I686 AND VEXMAR_WINDRES_X86_64)
  file(MAKE_DIRECTORY ${VEXMAR_RESOURCE_FIXTURES})
  set(out ${VEXMAR_RESOURCE_FIXTURES})
  add_custom_command(OUTPUT ${out}/res32.o
    COMMAND ${VEXMAR_WINDRES_I686} ${fixture_src}/fixture.rc -O coff -o ${out}/res32.o
    DEPENDS ${fixture_src}/fixture.rc VERBATIM)
  add_custom_command(OUTPUT ${out}/res64.o
    COMMAND ${VEXMAR_WINDRES_X86_64} ${fixture_src}/fixture.rc -O coff -o ${out}/res64.o
    DEPENDS ${fixture_src}/fixture.rc VERBATIM)

  # name compiler resource-object source flags...
  function(vexmar_fixture name compiler resources source)
    set(inputs ${fixture_src}/${source})
    if(resources)
      list(APPEND inputs ${out}/${resources})
    endif()
    add_custom_command(OUTPUT ${out}/${name}
      COMMAND ${compiler} -O1 ${ARGN} ${inputs} -o ${out}/${name}
      DEPENDS ${inputs} VERBATIM)
    set(fixture_outputs ${fixture_outputs} ${out}/${name} PARENT_SCOPE)
  endfunction()

  vexmar_fixture(exe32.exe ${VEXMAR_CC_I686} res32.o program.c -s -Wl,--dynamicbase)
  vexmar_fixture(exe32-rsrc-last.exe ${VEXMAR_CC_I686} res32.o program.c -s
                 -Wl,--disable-dynamicbase,--disable-reloc-section)
  vexmar_fixture(exe32-unstripped.exe ${VEXMAR_CC_I686} res32.o program.c -g -Wl,--dynamicbase)
  vexmar_fixture(exe32-no-resources.exe ${VEXMAR_CC_I686} "" program.c -s -Wl,--dynamicbase)
  vexmar_fixture(lib32.dll ${VEXMAR_CC_I686} res32.o library.c -s -shared)
  vexmar_fixture(exe64.exe ${VEXMAR_CC_X86_64} res64.o program.c -s -Wl,--dynamicbase)
  vexmar_fixture(exe64-unstripped.exe ${VEXMAR_CC_X86_64} res64.o program.c -g -Wl,--dynamicbase)
  vexmar_fixture(exe64-no-resources.exe ${VEXMAR_CC_X86_64} "" program.c -s -Wl,--dynamicbase)
  vexmar_fixture(lib64.dll ${VEXMAR_CC_X86_64} res64.o library.c -s -shared)
  add_custom_target(vexmar_resource_fixtures ALL DEPENDS ${fixture_outputs})
  add_dependencies(vexmar_tests vexmar_resource_fixtures)
  set(VEXMAR_HAVE_RESOURCE_FIXTURES ON)
else()
  message(STATUS "mingw-w64 not found: the resource engine's fixture tests will be skipped")
  set(VEXMAR_HAVE_RESOURCE_FIXTURES OFF)
endif()

# Wine maps the Unix root to drive Z:, so the Windows test executable finds
# the same folder under Z:.
if(CMAKE_CROSSCOMPILING AND WIN32)
  set(fixture_dir_for_tests "Z:${VEXMAR_RESOURCE_FIXTURES}")
else()
  set(fixture_dir_for_tests "${VEXMAR_RESOURCE_FIXTURES}")
endif()
target_compile_definitions(vexmar_tests PRIVATE
  VEXMAR_RESOURCE_FIXTURES="${fixture_dir_for_tests}")
