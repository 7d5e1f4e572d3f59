# Writes the Linux image table: cmake -DLIST=images.txt -DDIR=<resources> -DOUT=<file.cpp> -P embed_images.cmake
# One byte array per image of the list, in list order, under its upper-case name.
file(STRINGS ${LIST} _lines)
set(_arrays "")
set(_entries "")
set(_index 0)
foreach(line ${_lines})
  string(STRIP "${line}" name)
  if(name STREQUAL "")
    continue()
  endif()
  string(TOUPPER "${name}" upper)
  if(NOT upper STREQUAL name)
    message(FATAL_ERROR "images.txt: ${name} is not upper case")
  endif()
  file(READ ${DIR}/${name} hex HEX)
  string(LENGTH "${hex}" digits)
  if(digits EQUAL 0)
    message(FATAL_ERROR "images.txt: ${name} is empty")
  endif()
  # Sixteen bytes to a line keeps the generated source readable by compilers and people.
  string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])" "\\1\n" hex "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND _arrays "// ${name}\nconst unsigned char image${_index}[] = {\n${bytes}};\n\n")
  string(APPEND _entries "    {\"${name}\", image${_index}, sizeof(image${_index})},\n")
  math(EXPR _index "${_index} + 1")
endforeach()
if(_index EQUAL 0)
  message(FATAL_ERROR "images.txt lists no image")
endif()

set(_text "// Generated at build time from resources/images.txt; do not edit.
#include \"resources/embedded_resources.h\"

namespace zendrel {
namespace {

${_arrays}}  // namespace

extern const EmbeddedResource kEmbeddedResources[] = {
${_entries}};
extern const std::size_t kEmbeddedResourceCount = sizeof(kEmbeddedResources) / sizeof(kEmbeddedResources[0]);

}  // namespace zendrel
")
file(WRITE ${OUT} "${_text}")
