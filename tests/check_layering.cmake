# Checks the layering over the sources and the build's link graph (no program
# is built):
#  1. the include graph runs one way: editor -> toolkit -> plugin/vst, and
#     plugin/model -> plugin/vst, plugin/engine; each folder includes only what
#     its line in kAllowed names; only module/ (where the product is put
#     together) names both the effect and the editor;
#  2. no portable source names a platform: platform macros and the operating
#     systems' and window systems' headers appear only in toolkit/platform/<name>/,
#     host/**/<part>_<name>.cpp and module/entry.cpp; in tests/support/ and
#     bench/ only in <part>_<name>.cpp;
#  3. no folder's build compiles another folder's sources: a CMakeLists.txt
#     names sources by full path only below its own folder (the others are
#     reached as libraries);
#  4. with LINKS (the graph the configure step writes, one "library: library..."
#     a line), the libraries link the same way down: each links only what its
#     line in kLinksAllowed names, so nothing in plugin/ links the editor or the
#     toolkit, and the editor not the effect.
#   cmake [-DROOT=<source dir>] [-DLINKS=<build dir>/zendrel_link_graph.txt] -P check_layering.cmake
cmake_minimum_required(VERSION 3.25)

# folder (a prefix of the path below ROOT; the first that matches counts) |
# include prefixes it may use, comma-separated ("plugin/*.h": the headers directly in plugin/)
set(kAllowed
  "plugin/vst/|plugin/vst/"
  "plugin/engine/|plugin/engine/,plugin/vst/host_interface.h,plugin/*.h"
  "plugin/model/|plugin/model/,plugin/vst/,plugin/engine/gate_engine.h,plugin/*.h"
  "plugin/|plugin/*.h,plugin/vst/host_interface.h"
  "toolkit/|toolkit/,plugin/vst/,resources/"
  "editor/|editor/,toolkit/,plugin/vst/,plugin/*.h"
  "host/|host/,plugin/vst/host_interface.h,plugin/*.h"
  "module/|plugin/vst/,plugin/model/,editor/"
  "resources/|resources/")

# library | the project's libraries it may link, comma-separated (zendrel_warnings,
# compile flags only, is left out everywhere). A library not listed links none.
set(kLinksAllowed
  "zendrel_vst|zendrel_vst_records"
  "zendrel_engine|zendrel_vst_records"
  "zendrel_model|zendrel_vst,zendrel_engine,zendrel_vst_records"
  "zendrel_png_decode|zendrel_png"
  "zendrel_toolkit|zendrel_vst,zendrel_vst_records,zendrel_png,zendrel_png_decode,zendrel_resources"
  "zendrel_editor|zendrel_toolkit"
  "zendrel_product|zendrel_model,zendrel_editor"
  "zendrel|zendrel_product"
  "zendrel_host_opcodes|zendrel_vst_records"
  "zendrel_host|zendrel_host_opcodes,zendrel_vst_records"
  "zendrel_host_window|"
  "zendrel_presets|zendrel_host"
  "zendrel_validate|zendrel_presets,zendrel_host,zendrel_host_window")

set(kPlatformMacro "#[ \t]*(if|ifdef|ifndef|elif).*(_WIN32|_WIN64|WIN32|__linux|__unix|__APPLE__|_MSC_VER|__MINGW)")
set(kPlatformHeader "#[ \t]*include[ \t]*[<\"](windows|winuser|gdiplus|objidl|io\\.h|fcntl|dlfcn|unistd|X11/|xcb/|cairo)")
# host/render draws its plot with cairo as a library, not as a platform layer.
set(kHostPlatformHeader "#[ \t]*include[ \t]*[<\"](windows|winuser|objidl|io\\.h|fcntl|dlfcn|unistd|X11/|xcb/)")

function(allowed_prefixes path out)
  foreach(rule ${kAllowed})
    string(REPLACE "|" ";" parts "${rule}")
    list(GET parts 0 folder)
    string(FIND "${path}" "${folder}" at)
    if(at EQUAL 0)
      list(GET parts 1 prefixes)
      string(REPLACE "," ";" prefixes "${prefixes}")
      set(${out} "${prefixes}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} "" PARENT_SCOPE)
endfunction()

function(include_allowed included prefixes out)
  foreach(prefix ${prefixes})
    if(prefix STREQUAL "plugin/*.h")
      if(included MATCHES "^plugin/[^/]+\\.h$")
        set(${out} TRUE PARENT_SCOPE)
        return()
      endif()
    else()
      string(FIND "${included}" "${prefix}" at)
      if(at EQUAL 0)
        set(${out} TRUE PARENT_SCOPE)
        return()
      endif()
    endif()
  endforeach()
  set(${out} FALSE PARENT_SCOPE)
endfunction()

function(platform_place path out)
  if(path MATCHES "^toolkit/platform/[^/]+/" OR path MATCHES "^host/.*_(win32|x11|posix)\\.cpp$"
     OR path STREQUAL "module/entry.cpp")
    set(${out} TRUE PARENT_SCOPE)
  else()
    set(${out} FALSE PARENT_SCOPE)
  endif()
endfunction()

set(bad "")
if(ROOT)
  file(GLOB_RECURSE files RELATIVE ${ROOT}
    ${ROOT}/plugin/*.h ${ROOT}/plugin/*.cpp ${ROOT}/toolkit/*.h ${ROOT}/toolkit/*.cpp
    ${ROOT}/editor/*.h ${ROOT}/editor/*.cpp ${ROOT}/host/*.h ${ROOT}/host/*.cpp
    ${ROOT}/module/*.h ${ROOT}/module/*.cpp ${ROOT}/resources/*.h)
  if(NOT files)
    message(FATAL_ERROR "no sources under '${ROOT}': give the source folder as -DROOT")
  endif()
  foreach(path ${files})
    allowed_prefixes(${path} prefixes)
    file(STRINGS ${ROOT}/${path} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
      include_allowed("${included}" "${prefixes}" ok)
      if(NOT ok)
        string(APPEND bad "${path}: includes ${included}, outside what its layer may use\n")
      endif()
    endforeach()

    platform_place(${path} in_platform_place)
    if(in_platform_place)
      continue()
    endif()
    set(header_rule "${kPlatformHeader}")
    if(path MATCHES "^host/")
      set(header_rule "${kHostPlatformHeader}")
    endif()
    file(STRINGS ${ROOT}/${path} lines REGEX "(${kPlatformMacro})|(${header_rule})")
    foreach(l ${lines})
      string(APPEND bad "${path}: names a platform outside a platform place: ${l}\n")
    endforeach()
  endforeach()
  # The test helpers and benchmarks: platform names in platform-named files only.
  file(GLOB_RECURSE helper_files RELATIVE ${ROOT} ${ROOT}/tests/support/*.h ${ROOT}/tests/support/*.cpp
       ${ROOT}/bench/*.h ${ROOT}/bench/*.cpp)
  foreach(path ${helper_files})
    if(path MATCHES "_(win32|x11|posix)\\.cpp$")
      continue()
    endif()
    file(STRINGS ${ROOT}/${path} lines REGEX "(${kPlatformMacro})|(${kPlatformHeader})")
    foreach(l ${lines})
      string(APPEND bad "${path}: names a platform outside a platform-named file: ${l}\n")
    endforeach()
  endforeach()

  # Sources named by full path lie below the naming CMakeLists.txt's own folder.
  set(kOwnSourcesOnlyExempt "")
  file(GLOB_RECURSE lists RELATIVE ${ROOT} ${ROOT}/CMakeLists.txt ${ROOT}/*/CMakeLists.txt)
  list(FILTER lists EXCLUDE REGEX "^(build|third_party|out)/")
  foreach(list_path ${lists})
    get_filename_component(folder "${list_path}" DIRECTORY)
    if(folder)
      string(APPEND folder "/")
    endif()
    list(FIND kOwnSourcesOnlyExempt "${folder}" exempt)
    if(exempt GREATER -1)
      continue()
    endif()
    set(source_path "\\$\\{(PROJECT|CMAKE)_SOURCE_DIR\\}/[^ \t\")]+\\.(cpp|cc|c)([^A-Za-z0-9_]|$)")
    file(STRINGS ${ROOT}/${list_path} lines REGEX "${source_path}")
    foreach(l ${lines})
      string(REGEX MATCHALL "${source_path}" named "${l}")
      foreach(n ${named})
        string(REGEX REPLACE "^\\$\\{(PROJECT|CMAKE)_SOURCE_DIR\\}/" "" source "${n}")
        string(REGEX REPLACE "[^A-Za-z0-9_]$" "" source "${source}")
        string(FIND "${source}" "${folder}" at)
        if(NOT at EQUAL 0)
          string(APPEND bad "${list_path}: compiles ${source}, another folder's source (link its library instead)\n")
        endif()
      endforeach()
    endforeach()
  endforeach()

endif()

if(LINKS)
  if(NOT EXISTS "${LINKS}")
    message(FATAL_ERROR "no link graph at '${LINKS}': configure the build first")
  endif()
  file(STRINGS "${LINKS}" edges)
  set(checked 0)
  foreach(line ${edges})
    if(NOT line MATCHES "^([^:]+):(.*)$")
      continue()
    endif()
    set(library "${CMAKE_MATCH_1}")
    string(STRIP "${CMAKE_MATCH_2}" linked)
    separate_arguments(linked)
    set(allowed "")
    foreach(rule ${kLinksAllowed})
      string(REPLACE "|" ";" parts "${rule}")
      list(GET parts 0 name)
      if(name STREQUAL library)
        list(GET parts 1 allowed)
        string(REPLACE "," ";" allowed "${allowed}")
      endif()
    endforeach()
    foreach(dependency ${linked})
      if(NOT dependency STREQUAL "zendrel_warnings" AND NOT dependency IN_LIST allowed)
        string(APPEND bad "${library} links ${dependency}, outside what its layer may link\n")
      endif()
    endforeach()
    math(EXPR checked "${checked} + 1")
  endforeach()
  if(checked EQUAL 0)
    message(FATAL_ERROR "the link graph '${LINKS}' lists no library")
  endif()
endif()
if(bad)
  message(FATAL_ERROR "layering broken:\n${bad}")
endif()
if(ROOT)
  list(LENGTH files n)
  message(STATUS "layering holds over ${n} files")
endif()
if(LINKS)
  message(STATUS "link graph holds over ${checked} libraries")
endif()
