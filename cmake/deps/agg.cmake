# Anti-Grain Geometry 2.6.1 (the BSD-licensed 2.4 line), which rasterises the
# marks. The parts we use (the anti-aliasing rasteriser, scanlines, the stroke
# mathematics and the ellipse) are templates and inline code in its headers, so
# there is nothing to compile: both mingw builds and the native build include
# the headers, as system headers since they warn under C++20. They come from
# Debian's libagg-dev of that version, unpacked into the build folder (never
# into the repository); Debian's source package of agg carries the same headers
# but its archive is not served by our mirror.
if(TARGET tavro_agg)
  return()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/DebianSource.cmake)
tavro_debian_package(TAVRO_AGG_INCLUDE libagg-dev ${CMAKE_BINARY_DIR}/_deps/agg usr/include/agg2 agg_basics.h)

add_library(tavro_agg INTERFACE)
target_include_directories(tavro_agg SYSTEM INTERFACE ${TAVRO_AGG_INCLUDE})
