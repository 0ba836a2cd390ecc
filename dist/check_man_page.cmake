# A manual page that man formats without a single warning.
execute_process(
  COMMAND man --warnings -E UTF-8 -l ${PAGE}
  RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_VARIABLE warnings)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "" OR text STREQUAL "")
  message(FATAL_ERROR "man ${PAGE}: status ${status}\n${warnings}")
endif()
