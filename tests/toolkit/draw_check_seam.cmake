# Fails when a portable toolkit or editor file tests a platform macro or
# includes a platform header: those belong in toolkit/platform/<name>/.
#   cmake -DROOT=<source dir> -P draw_check_seam.cmake
file(GLOB_RECURSE files ${ROOT}/toolkit/*.h ${ROOT}/toolkit/*.cpp ${ROOT}/editor/*.h ${ROOT}/editor/*.cpp)
set(bad "")
foreach(f ${files})
  if(f MATCHES "/toolkit/platform/")
    continue()
  endif()
  file(STRINGS ${f} lines REGEX "(#[ \t]*(if|ifdef|ifndef|elif).*(_WIN32|_WIN64|WIN32|__linux|__unix|__APPLE__|_MSC_VER|__MINGW))|(#[ \t]*include[ \t]*[<\"](windows|gdiplus|cairo|X11/|xcb/|objidl))")
  foreach(l ${lines})
    string(APPEND bad "${f}: ${l}\n")
  endforeach()
endforeach()
if(bad)
  message(FATAL_ERROR "platform code outside toolkit/platform/ (move it behind toolkit/platform_seam.h):\n${bad}")
endif()
