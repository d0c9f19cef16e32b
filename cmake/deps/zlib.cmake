# zlib, under libpng. Debian's source package is fetched into the build folder
# at configure time (never into the repository) and compiled here with the
# toolchain of the build and the flags of Debian's own x86 build of it (-O3,
# unaligned loads in the match search), so our PNG encoder runs the zlib that
# native libpng runs; the prebuilt mingw zlib was about a tenth slower.
if(TARGET tavro_zlib)
  return()
endif()

set(TAVRO_ZLIB_ROOT ${CMAKE_BINARY_DIR}/_deps/zlib)

include(${CMAKE_CURRENT_LIST_DIR}/DebianSource.cmake)
tavro_debian_source(TAVRO_ZLIB_SOURCE zlib ${TAVRO_ZLIB_ROOT} "zlib-[0-9]*" zlib.h deflate.c)

set(tavro_zlib_sources adler32.c compress.c crc32.c deflate.c gzclose.c gzlib.c gzread.c gzwrite.c
  infback.c inffast.c inflate.c inftrees.c trees.c uncompr.c zutil.c)
list(TRANSFORM tavro_zlib_sources PREPEND ${TAVRO_ZLIB_SOURCE}/)
add_library(tavro_zlib STATIC ${tavro_zlib_sources})
target_include_directories(tavro_zlib SYSTEM PUBLIC ${TAVRO_ZLIB_SOURCE})
target_compile_definitions(tavro_zlib PRIVATE _REENTRANT UNALIGNED_OK)
target_compile_options(tavro_zlib PRIVATE -O3 -w)
