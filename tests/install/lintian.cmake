# Runs lintian on the package that package.cmake built; errors and warnings fail, the tags
# data/debian/lintian-overrides explains are overridden. Skipped when lintian is not installed.
# cmake -DOUT=… -P lintian.cmake

find_program(LINTIAN lintian)
if(NOT LINTIAN)
  message("lintian is not installed: skipped")
  return()
endif()
file(GLOB debs ${OUT}/kolumbra_*.deb)
execute_process(COMMAND ${LINTIAN} --fail-on error,warning ${debs}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lintian (${status}) on ${debs}:\n${out}${err}")
endif()
