# zendrel_copy_module(<program> <module target>)
# Windows loads a module from beside the program: a copy there, made again
# whenever the module changes. (A copy made only after the program links goes
# stale when the module alone is rebuilt.)
function(zendrel_copy_module program module)
  set(copy ${program}-copies-${module})
  if(NOT TARGET ${copy})
    add_custom_target(${copy}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${module}> $<TARGET_FILE_DIR:${program}>
      VERBATIM)
    add_dependencies(${copy} ${module})
    add_dependencies(${program} ${copy})
  endif()
endfunction()

# zendrel_use_module(<program> <module target> <macro>)
# A program that loads a built plug-in module by path: the module is built
# first, and <macro> names it for the program. In the cross build the DLL is
# copied beside the program (Wine loads it from there) and named plainly.
function(zendrel_use_module program module macro)
  add_dependencies(${program} ${module})
  if(WIN32)
    zendrel_copy_module(${program} ${module})
    target_compile_definitions(${program} PRIVATE ${macro}="$<TARGET_FILE_NAME:${module}>")
  else()
    target_compile_definitions(${program} PRIVATE ${macro}="$<TARGET_FILE:${module}>")
  endif()
endfunction()

# zendrel_add_test(NAME <name> SOURCES <files...> [LIBS <targets...>] [MODULE] [DISPLAY])
# Builds one GoogleTest program with the shared test helpers (tests/support/)
# and registers it with CTest. In the cross build CTest runs it under Wine
# (CMAKE_CROSSCOMPILING_EMULATOR). MODULE marks a test that loads the built
# plug-in module: ZENDREL_MODULE_PATH names it. DISPLAY marks a test that opens
# real windows: it runs on the X display in DISPLAY, or on a private Xvfb when
# none is set (cmake/with-display.sh), never beside another such test.
function(zendrel_add_test)
  cmake_parse_arguments(T "MODULE;DISPLAY" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} zendrel_test_support GTest::gtest GTest::gmock
                        GTest::gtest_main zendrel_warnings)
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
  if(T_MODULE)
    zendrel_use_module(${T_NAME} zendrel ZENDREL_MODULE_PATH)
  endif()
  if(T_DISPLAY)
    add_test(NAME ${T_NAME}
      COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/with-display.sh ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${T_NAME}>
      WORKING_DIRECTORY $<TARGET_FILE_DIR:${T_NAME}>)
    # They inject input as a user would: two at once on one display move each
    # other's pointer, so they take turns.
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK zendrel_display)
  else()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} WORKING_DIRECTORY $<TARGET_FILE_DIR:${T_NAME}>)
  endif()
endfunction()
