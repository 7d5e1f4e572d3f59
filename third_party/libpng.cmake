# zendrel_png: libpng for the image decoders.
# Natively the system's libpng is used. The Windows cross build compiles
# libpng from the Debian source tarball that scripts/setup.sh fetches; the
# fuzzer builds its own instrumented copy from the same source (fuzz/).

# Extracts libpng's source into the build tree once and defines
# zendrel_add_png_library(<target>): a static libpng from that source, for
# builds that cannot use (or want to instrument) the system's.
function(zendrel_add_png_library target)
  file(GLOB _tarball ${PROJECT_SOURCE_DIR}/third_party/downloads/libpng1.6_*.orig.tar.*)
  if(NOT _tarball)
    message(FATAL_ERROR "libpng source not found in third_party/downloads: run 'sudo bash scripts/setup.sh' to fetch it (apt-get source libpng1.6)")
  endif()
  list(GET _tarball 0 _tarball)
  set(_png_root ${CMAKE_BINARY_DIR}/third_party/libpng)
  if(NOT EXISTS ${_png_root}/.extracted OR ${_tarball} IS_NEWER_THAN ${_png_root}/.extracted)
    file(REMOVE_RECURSE ${_png_root})
    file(ARCHIVE_EXTRACT INPUT ${_tarball} DESTINATION ${_png_root})
    file(TOUCH ${_png_root}/.extracted)
  endif()
  file(GLOB _png_src_dir LIST_DIRECTORIES true ${_png_root}/libpng-*)
  if(NOT EXISTS ${_png_src_dir}/png.h)
    message(FATAL_ERROR "libpng tarball ${_tarball} did not contain png.h")
  endif()
  # The stock configuration, as libpng's own script-less builds use it.
  configure_file(${_png_src_dir}/scripts/pnglibconf.h.prebuilt ${_png_root}/include/pnglibconf.h COPYONLY)

  if(WIN32)
    set(_zlib_lib /usr/x86_64-w64-mingw32/lib/libz.a)
    if(NOT EXISTS ${_zlib_lib})
      message(FATAL_ERROR "mingw zlib not found at ${_zlib_lib}: install libz-mingw-w64-dev (scripts/setup.sh)")
    endif()
  else()
    find_package(ZLIB REQUIRED)
    set(_zlib_lib ZLIB::ZLIB)
  endif()

  set(_png_sources png.c pngerror.c pngget.c pngmem.c pngpread.c pngread.c pngrio.c
      pngrtran.c pngrutil.c pngset.c pngtrans.c pngwio.c pngwrite.c pngwtran.c pngwutil.c)
  list(TRANSFORM _png_sources PREPEND ${_png_src_dir}/)
  add_library(${target} STATIC ${_png_sources})
  target_include_directories(${target} SYSTEM PUBLIC ${_png_src_dir} ${_png_root}/include)
  # Portable C only: no hand-written SIMD paths to configure per target.
  target_compile_definitions(${target} PRIVATE PNG_ARM_NEON_OPT=0 PNG_INTEL_SSE_OPT=0
                             PNG_MIPS_MSA_OPT=0 PNG_POWERPC_VSX_OPT=0)
  target_link_libraries(${target} PUBLIC ${_zlib_lib})
  set_target_properties(${target} PROPERTIES C_VISIBILITY_PRESET hidden POSITION_INDEPENDENT_CODE ON)
endfunction()

if(WIN32)
  zendrel_add_png_library(zendrel_png)
else()
  find_package(PNG REQUIRED)
  add_library(zendrel_png INTERFACE)
  target_link_libraries(zendrel_png INTERFACE PNG::PNG)
endif()
