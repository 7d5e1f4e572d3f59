# Runs zendrel-validate and checks its verdict.
#   -DTOOL=<program> [-DEMULATOR=<runner>] -DMODULE=<module> [-DOPTIONS=a;b;...]
#   -DEXPECT=pass            exit 0 and no FAIL line, or
#   -DEXPECT=<test name>     a non-zero exit and a FAIL line for that test
execute_process(COMMAND ${EMULATOR} ${TOOL} ${OPTIONS} ${MODULE}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
message("${out}${err}")
if(EXPECT STREQUAL "pass")
  if(NOT rc EQUAL 0 OR out MATCHES "(^|\n)FAIL")
    message(FATAL_ERROR "zendrel-validate ${MODULE} should have passed (exit ${rc})")
  endif()
  return()
endif()
if(rc EQUAL 0)
  message(FATAL_ERROR "zendrel-validate ${MODULE} passed, but its fault should fail ${EXPECT}")
endif()
string(FIND "${out}" "FAIL  ${EXPECT}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "zendrel-validate ${MODULE} failed (exit ${rc}), but not in ${EXPECT}")
endif()
