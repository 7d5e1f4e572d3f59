# Runs zendrel-info and checks what it prints.
#   -DTOOL=<program> [-DEMULATOR=<runner>] [-DOPTIONS=<option>] -DMODULE=<argument>
#   -DEXPECTED=<file with the exact standard output>   or
#   -DFAILS=ON -DMESSAGE=<text the one error line must contain>
execute_process(COMMAND ${EMULATOR} ${TOOL} ${OPTIONS} ${MODULE}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(FAILS)
  if(rc EQUAL 0)
    message(FATAL_ERROR "zendrel-info ${MODULE} succeeded but should have failed:\n${out}")
  endif()
  string(REGEX MATCHALL "\n" newlines "${err}")
  list(LENGTH newlines n)
  if(NOT n EQUAL 1 OR NOT err MATCHES "^zendrel-info: " OR NOT err MATCHES "${MESSAGE}")
    message(FATAL_ERROR "zendrel-info ${MODULE}: expected one error line containing '${MESSAGE}', got:\n${err}")
  endif()
  return()
endif()
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "zendrel-info ${MODULE} failed (${rc}):\n${err}")
endif()
file(READ ${EXPECTED} expected)
if(NOT out STREQUAL expected)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/zendrel-info.actual.txt "${out}")
  message(FATAL_ERROR "zendrel-info output differs from ${EXPECTED}; "
                      "the actual text is in ${CMAKE_CURRENT_BINARY_DIR}/zendrel-info.actual.txt")
endif()
