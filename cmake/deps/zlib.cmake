# zlib, under libpng. Debian's source package is fetched into the build folder
# at configure time (never into the repository) and compiled here with the
# toolchain of the build and the flags of Debian's own x86 build of it (-O3,
# unaligned loads in the match search), so our PNG encoder runs the zlib that
# native libpng runs; the prebuilt mingw zlib was about a tenth slower.
if(TARGET tavro_zlib)
  return()
endif()

set(TAVRO_ZLIB_ROOT ${CMAKE_BINARY_DIR}/_deps/zlib)

function(tavro_find_zlib_source out)
  file(GLOB candidates LIST_DIRECTORIES true ${TAVRO_ZLIB_ROOT}/src/zlib-[0-9]*)
  set(found "")
  foreach(c ${candidates})
    if(IS_DIRECTORY ${c} AND EXISTS ${c}/zlib.h AND EXISTS ${c}/deflate.c)
      set(found ${c})
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

tavro_find_zlib_source(TAVRO_ZLIB_SOURCE)
if(NOT TAVRO_ZLIB_SOURCE)
  file(MAKE_DIRECTORY ${TAVRO_ZLIB_ROOT}/src)
  message(STATUS "zlib: fetching Debian's source package")
  execute_process(COMMAND apt-get source zlib
    WORKING_DIRECTORY ${TAVRO_ZLIB_ROOT}/src
    RESULT_VARIABLE fetch_result OUTPUT_QUIET ERROR_VARIABLE fetch_errors)
  tavro_find_zlib_source(TAVRO_ZLIB_SOURCE)
  if(NOT TAVRO_ZLIB_SOURCE)
    message(FATAL_ERROR "zlib: 'apt-get source zlib' failed (${fetch_result}): "
      "${fetch_errors}\nRun scripts/setup.sh (it adds the deb-src entry and dpkg-dev).")
  endif()
endif()
message(STATUS "zlib: ${TAVRO_ZLIB_SOURCE}")

set(tavro_zlib_sources adler32.c compress.c crc32.c deflate.c gzclose.c gzlib.c gzread.c gzwrite.c
  infback.c inffast.c inflate.c inftrees.c trees.c uncompr.c zutil.c)
list(TRANSFORM tavro_zlib_sources PREPEND ${TAVRO_ZLIB_SOURCE}/)
add_library(tavro_zlib STATIC ${tavro_zlib_sources})
target_include_directories(tavro_zlib SYSTEM PUBLIC ${TAVRO_ZLIB_SOURCE})
target_compile_definitions(tavro_zlib PRIVATE _REENTRANT UNALIGNED_OK)
target_compile_options(tavro_zlib PRIVATE -O3 -w)
