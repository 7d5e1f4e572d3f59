# Writes the Linux image tables of an image list (see cmake/ZendrelImages.cmake):
#   cmake -DLIST=<list> -DOUT=<file.cpp> -DNAMESPACE=<ns> -DTABLES=<TYPE=table;...> [-DDENSITIES=<d;...>]
#         -P embed_images.cmake
# One byte array per image, in list order (each followed by its denser sets),
# and per TYPE one table of the images of that type under their upper-case names.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/ZendrelImages.cmake)
get_filename_component(_dir ${LIST} DIRECTORY)
zendrel_read_image_list(${LIST} ${_dir} _names _types _files ${DENSITIES})

set(_arrays "")
set(_index 0)
foreach(name type file IN ZIP_LISTS _names _types _files)
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" digits)
  if(digits EQUAL 0)
    message(FATAL_ERROR "${LIST}: ${name} is empty")
  endif()
  # Sixteen bytes to a line keeps the generated source readable by compilers and people.
  string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])" "\\1\n" hex "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND _arrays "// ${name}\nconst unsigned char image${_index}[] = {\n${bytes}};\n\n")
  string(APPEND _entries_${type} "    {\"${name}\", image${_index}, sizeof(image${_index})},\n")
  math(EXPR _index "${_index} + 1")
endforeach()

set(_tables "")
set(_known "")
foreach(pair ${TABLES})
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 type)
  list(GET pair 1 table)
  if(NOT DEFINED _entries_${type})
    message(FATAL_ERROR "${LIST} has no image of type ${type} for ${table}")
  endif()
  string(REGEX REPLACE "s$" "Count" count "${table}")
  string(APPEND _tables "extern const EmbeddedResource ${table}[] = {\n${_entries_${type}}};\n")
  string(APPEND _tables "extern const std::size_t ${count} = sizeof(${table}) / sizeof(${table}[0]);\n\n")
  list(APPEND _known ${type})
endforeach()
foreach(type ${_types})
  if(NOT type IN_LIST _known)
    message(FATAL_ERROR "${LIST}: no table is given for images of type ${type}")
  endif()
endforeach()

# Tables outside the plug-in's own namespace name the record through a using-declaration.
set(_using "")
if(NOT NAMESPACE STREQUAL "zendrel")
  set(_using "using zendrel::EmbeddedResource;\n\n")
endif()
set(_text "// Generated at build time from ${LIST}; do not edit.
#include \"resources/embedded_resources.h\"

namespace ${NAMESPACE} {

${_using}namespace {

${_arrays}}  // namespace

${_tables}}  // namespace ${NAMESPACE}
")
file(WRITE ${OUT} "${_text}")
