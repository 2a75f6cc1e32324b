# The search's Unicode tables (case folding, normalisation, kinds of
# character), generated at build time from the Unicode Character Database
# that Debian's unicode-data package installs. The generator runs on the
# build host for every preset, the Windows ones included.
set(VEXMAR_UCD_DIR /usr/share/unicode CACHE PATH "The Unicode Character Database's data files")
set(vexmar_ucd_files UnicodeData.txt CaseFolding.txt DerivedNormalizationProps.txt Scripts.txt
                     ScriptExtensions.txt)
foreach(file IN LISTS vexmar_ucd_files)
  if(NOT EXISTS ${VEXMAR_UCD_DIR}/${file})
    message(FATAL_ERROR "${VEXMAR_UCD_DIR}/${file} is missing: install Debian's unicode-data "
                        "package (apt-get install unicode-data), or set VEXMAR_UCD_DIR")
  endif()
endforeach()
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(vexmar_unicode_generator ${CMAKE_CURRENT_LIST_DIR}/../tools/make_unicode_tables.py)

# Gives TARGET the generated tables, which src/book/unicode_tables.cpp
# includes; each target generates its own copy, so no two rules make one file.
function(vexmar_unicode_tables target)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_unicode)
  set(inc ${dir}/unicode_tables.inc)
  list(TRANSFORM vexmar_ucd_files PREPEND ${VEXMAR_UCD_DIR}/ OUTPUT_VARIABLE data)
  add_custom_command(OUTPUT ${inc}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND Python3::Interpreter ${vexmar_unicode_generator} ${VEXMAR_UCD_DIR} ${inc}
    DEPENDS ${vexmar_unicode_generator} ${data}
    COMMENT "Generating the Unicode tables"
    VERBATIM)
  target_sources(${target} PRIVATE ${inc})
  target_include_directories(${target} PRIVATE ${dir})
endfunction()
