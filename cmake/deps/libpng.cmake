# libpng with zlib, the PNG writer. Debian's source package of libpng is
# fetched into the build folder at configure time (never into the repository)
# and its library sources are compiled here with the toolchain of the build,
# so the i686 and the x86_64 builds each get their own static library. The
# configuration header is the one libpng ships ready-made for its default
# feature set. zlib is built from its source package too (zlib.cmake). Native
# builds (fuzzer, benchmarks, oracle) use the host's libpng-dev of the same
# version instead.
if(TARGET tavro_libpng)
  return()
endif()

set(TAVRO_PNG_ROOT ${CMAKE_BINARY_DIR}/_deps/libpng)

include(${CMAKE_CURRENT_LIST_DIR}/DebianSource.cmake)
tavro_debian_source(TAVRO_PNG_SOURCE libpng1.6 ${TAVRO_PNG_ROOT} "libpng1.6-[0-9]*" png.h scripts/pnglibconf.h.prebuilt)

include(${CMAKE_CURRENT_LIST_DIR}/zlib.cmake)

set(TAVRO_PNG_CONFIG ${TAVRO_PNG_ROOT}/config-${CMAKE_SYSTEM_PROCESSOR})
configure_file(${TAVRO_PNG_SOURCE}/scripts/pnglibconf.h.prebuilt ${TAVRO_PNG_CONFIG}/pnglibconf.h COPYONLY)

set(tavro_png_sources png.c pngerror.c pngget.c pngmem.c pngpread.c pngread.c pngrio.c pngrtran.c
  pngrutil.c pngset.c pngtrans.c pngwio.c pngwrite.c pngwtran.c pngwutil.c)
list(TRANSFORM tavro_png_sources PREPEND ${TAVRO_PNG_SOURCE}/)
add_library(tavro_libpng STATIC ${tavro_png_sources})
target_include_directories(tavro_libpng SYSTEM PUBLIC ${TAVRO_PNG_SOURCE} ${TAVRO_PNG_CONFIG})
target_compile_options(tavro_libpng PRIVATE -O2 -w)
target_link_libraries(tavro_libpng PUBLIC tavro_zlib)
