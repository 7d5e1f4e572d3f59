# Image stores: the plug-in's images (resources/) and the toolkit tests' own
# images are stored the same way, from a list file with one image a line:
#   NAME                 the file NAME in the list's folder, as a "DATA" resource
#   NAME TYPE FILE       FILE under NAME, as a resource of TYPE
# Names are upper case. Windows: a resource script compiled into the program.
# Linux: one C++ table of the bytes per TYPE, generated at build time by
# resources/embed_images.cmake.
# A store made with DENSITIES 2 3 also holds each image's denser sets, which the
# list does not name: NAME.PNG brings NAME@2X.PNG and NAME@3X.PNG (name and file).

# The name of an image's set at a density: BASE.PNG at 2 is BASE@2X.PNG.
function(zendrel_image_at_density name density out)
  if(name MATCHES "^(.*)(\\.[^.]*)$")
    set(${out} "${CMAKE_MATCH_1}@${density}X${CMAKE_MATCH_2}" PARENT_SCOPE)
  else()
    set(${out} "${name}@${density}X" PARENT_SCOPE)
  endif()
endfunction()

# Reads LIST into three parallel lists (names, types, absolute files); any
# further arguments are densities whose sets follow each listed image.
function(zendrel_read_image_list list dir out_names out_types out_files)
  set(densities ${ARGN})
  file(STRINGS ${list} lines)
  set(names)
  set(types)
  set(files)
  foreach(line ${lines})
    string(STRIP "${line}" line)
    if(line STREQUAL "")
      continue()
    endif()
    string(REGEX REPLACE "[ \t]+" ";" fields "${line}")
    list(LENGTH fields n)
    list(GET fields 0 name)
    if(n EQUAL 1)
      set(type DATA)
      set(file ${name})
    elseif(n EQUAL 3)
      list(GET fields 1 type)
      list(GET fields 2 file)
    else()
      message(FATAL_ERROR "${list}: '${line}' is neither NAME nor NAME TYPE FILE")
    endif()
    string(TOUPPER "${name}" upper)
    if(NOT upper STREQUAL name)
      message(FATAL_ERROR "${list}: ${name} is not upper case")
    endif()
    if(NOT EXISTS ${dir}/${file})
      message(FATAL_ERROR "${list} names ${file}, which is not in ${dir}")
    endif()
    list(APPEND names ${name})
    list(APPEND types ${type})
    list(APPEND files ${dir}/${file})
    foreach(density ${densities})
      zendrel_image_at_density(${name} ${density} dense_name)
      zendrel_image_at_density(${file} ${density} dense_file)
      if(NOT EXISTS ${dir}/${dense_file})
        message(FATAL_ERROR "${list} lists ${name}, but its ${density}x set ${dense_file} is not in ${dir}; "
                            "tools/artwork/render.sh draws every set")
      endif()
      list(APPEND names ${dense_name})
      list(APPEND types ${type})
      list(APPEND files ${dir}/${dense_file})
    endforeach()
  endforeach()
  if(NOT names)
    message(FATAL_ERROR "${list} lists no image")
  endif()
  set(${out_names} ${names} PARENT_SCOPE)
  set(${out_types} ${types} PARENT_SCOPE)
  set(${out_files} ${files} PARENT_SCOPE)
endfunction()

# zendrel_add_image_store(<target> LIST <file> [NAMESPACE <ns>] [DENSITIES <d>...] TABLES <TYPE=table>...)
# An OBJECT library holding the listed images (and with DENSITIES their denser
# sets). On Linux each TYPE becomes the table <ns>::<table> of EmbeddedResource
# (resources/embedded_resources.h) with its count <ns>::<table without the final s>Count.
function(zendrel_add_image_store target)
  cmake_parse_arguments(S "" "LIST;NAMESPACE" "TABLES;DENSITIES" ${ARGN})
  if(NOT S_NAMESPACE)
    set(S_NAMESPACE zendrel)
  endif()
  get_filename_component(dir ${S_LIST} DIRECTORY)
  zendrel_read_image_list(${S_LIST} ${dir} names types files ${S_DENSITIES})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${S_LIST})
  if(WIN32)
    enable_language(RC)
    # Names are quoted, since the script's unquoted names cannot hold the "@" of
    # the denser sets. The compiler joins a quoted name to the file name that
    # ends the statement before it, so a statement restating the language every
    # resource gets anyway (English, US) stands between them.
    set(text "// Generated from ${S_LIST}.\n")
    foreach(name type file IN ZIP_LISTS names types files)
      string(APPEND text "\"${name}\" ${type} \"${file}\"\nLANGUAGE 9, 1\n")
    endforeach()
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    # Written only when the text changes, so an unchanged list rebuilds nothing.
    file(CONFIGURE OUTPUT ${rc} CONTENT "${text}" @ONLY)
    # The compiler of the script does not report the files it embeds.
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${files}")
    add_library(${target} OBJECT ${rc})
  else()
    set(cpp ${CMAKE_CURRENT_BINARY_DIR}/${target}.cpp)
    add_custom_command(OUTPUT ${cpp}
      COMMAND ${CMAKE_COMMAND} -DLIST=${S_LIST} -DOUT=${cpp} -DNAMESPACE=${S_NAMESPACE} "-DTABLES=${S_TABLES}"
              "-DDENSITIES=${S_DENSITIES}"
              -P ${PROJECT_SOURCE_DIR}/resources/embed_images.cmake
      DEPENDS ${S_LIST} ${files} ${PROJECT_SOURCE_DIR}/resources/embed_images.cmake
              ${PROJECT_SOURCE_DIR}/cmake/ZendrelImages.cmake
      COMMENT "Embedding the images of ${S_LIST}"
      VERBATIM)
    add_library(${target} OBJECT ${cpp})
    # With debug information the compiler would copy every byte array into it
    # once more (as the constant's value), doubling what the images weigh in the module.
    set_source_files_properties(${cpp} PROPERTIES COMPILE_OPTIONS -g0)
    target_link_libraries(${target} PRIVATE zendrel_warnings)
  endif()
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()
