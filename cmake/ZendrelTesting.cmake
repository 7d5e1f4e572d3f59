# zendrel_add_test(NAME <name> SOURCES <files...> [LIBS <targets...>] [MODULE])
# Builds one GoogleTest program and registers it with CTest. In the cross build
# CTest runs it under Wine (CMAKE_CROSSCOMPILING_EMULATOR). MODULE marks a test
# that loads the built plug-in module: it gets ZENDREL_MODULE_PATH, the module
# is copied beside the program (Wine loads it from there), and it depends on it.
# DISPLAY marks a test that opens real windows: it runs on the X display in
# DISPLAY, or on a private Xvfb when none is set (cmake/with-display.sh).
function(zendrel_add_test)
  cmake_parse_arguments(T "MODULE;DISPLAY" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main zendrel_warnings)
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
  if(T_MODULE)
    add_dependencies(${T_NAME} zendrel)
    if(WIN32)
      add_custom_command(TARGET ${T_NAME} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:zendrel> $<TARGET_FILE_DIR:${T_NAME}>)
      target_compile_definitions(${T_NAME} PRIVATE ZENDREL_MODULE_PATH="zendrel.dll")
    else()
      target_compile_definitions(${T_NAME} PRIVATE ZENDREL_MODULE_PATH="$<TARGET_FILE:zendrel>")
    endif()
  endif()
  if(T_DISPLAY)
    add_test(NAME ${T_NAME}
      COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/with-display.sh ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${T_NAME}>
      WORKING_DIRECTORY $<TARGET_FILE_DIR:${T_NAME}>)
  else()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME} WORKING_DIRECTORY $<TARGET_FILE_DIR:${T_NAME}>)
  endif()
endfunction()
