# libjpeg-turbo, the JPEG writer. Debian's source package is fetched into the
# build folder at configure time (never into the repository) and built twice
# from the same tree:
#   tavro_libjpeg         static libjpeg.a for our Windows target, nasm SIMD on;
#   tavro_libjpeg_native  the host build with its cjpeg, the oracle and the
#                         native peer of the tests and benchmarks.
if(TARGET tavro_libjpeg)
  return()
endif()
include(ExternalProject)

set(TAVRO_JPEG_ROOT ${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo)

include(${CMAKE_CURRENT_LIST_DIR}/DebianSource.cmake)
tavro_debian_source(TAVRO_JPEG_SOURCE libjpeg-turbo ${TAVRO_JPEG_ROOT} "libjpeg-turbo-[0-9]*" jpeglib.h)

get_filename_component(tavro_jpeg_toolchain "${CMAKE_TOOLCHAIN_FILE}" ABSOLUTE
  BASE_DIR ${CMAKE_SOURCE_DIR})
set(tavro_jpeg_common_args
  -DCMAKE_BUILD_TYPE=Release
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON
  -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF
  -DWITH_SIMD=ON -DREQUIRE_SIMD=ON)

# The target build. Only the static library is built; the machine is shared,
# so the inner build keeps to two jobs.
set(TAVRO_JPEG_BUILD ${TAVRO_JPEG_ROOT}/build-target)
file(MAKE_DIRECTORY ${TAVRO_JPEG_BUILD})
ExternalProject_Add(libjpeg_turbo_target
  SOURCE_DIR ${TAVRO_JPEG_SOURCE}
  BINARY_DIR ${TAVRO_JPEG_BUILD}
  PREFIX ${TAVRO_JPEG_ROOT}/stamp-target
  DOWNLOAD_COMMAND "" UPDATE_COMMAND "" PATCH_COMMAND ""
  # The library's default install prefix on Windows (c:/...) breaks its
  # configure step on Linux; nothing is installed, but the path must be real.
  CMAKE_ARGS ${tavro_jpeg_common_args} -DCMAKE_TOOLCHAIN_FILE=${tavro_jpeg_toolchain}
    -DCMAKE_INSTALL_PREFIX=${TAVRO_JPEG_ROOT}/install-target
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static --parallel 2
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${TAVRO_JPEG_BUILD}/libjpeg.a)
add_library(tavro_libjpeg STATIC IMPORTED GLOBAL)
set_target_properties(tavro_libjpeg PROPERTIES
  IMPORTED_LOCATION ${TAVRO_JPEG_BUILD}/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES "${TAVRO_JPEG_SOURCE};${TAVRO_JPEG_BUILD}")
add_dependencies(tavro_libjpeg libjpeg_turbo_target)

# The host build: same sources and options, the host's compiler (no toolchain
# file), cjpeg included.
set(TAVRO_JPEG_NATIVE_BUILD ${TAVRO_JPEG_ROOT}/build-native)
file(MAKE_DIRECTORY ${TAVRO_JPEG_NATIVE_BUILD})
ExternalProject_Add(libjpeg_turbo_native
  SOURCE_DIR ${TAVRO_JPEG_SOURCE}
  BINARY_DIR ${TAVRO_JPEG_NATIVE_BUILD}
  PREFIX ${TAVRO_JPEG_ROOT}/stamp-native
  DOWNLOAD_COMMAND "" UPDATE_COMMAND "" PATCH_COMMAND ""
  CMAKE_ARGS ${tavro_jpeg_common_args} -DCMAKE_C_COMPILER=cc
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static cjpeg-static --parallel 2
  INSTALL_COMMAND ""
  EXCLUDE_FROM_ALL TRUE
  BUILD_BYPRODUCTS ${TAVRO_JPEG_NATIVE_BUILD}/libjpeg.a ${TAVRO_JPEG_NATIVE_BUILD}/cjpeg-static)
set(TAVRO_NATIVE_CJPEG ${TAVRO_JPEG_NATIVE_BUILD}/cjpeg-static)
set(TAVRO_NATIVE_LIBJPEG ${TAVRO_JPEG_NATIVE_BUILD}/libjpeg.a)
