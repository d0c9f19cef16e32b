# What the shipped program carries: the version resource filled in from
# project(VERSION) and, in a release build, no symbols.
configure_file(${CMAKE_SOURCE_DIR}/resources/version.h.in
               ${CMAKE_BINARY_DIR}/generated/tavro_version.h @ONLY)
target_include_directories(tavro PRIVATE ${CMAKE_BINARY_DIR}/generated)
# windres has no dependency scan: a new version must still rebuild the resources.
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/tavro.rc TARGET_DIRECTORY tavro
  PROPERTIES OBJECT_DEPENDS ${CMAKE_BINARY_DIR}/generated/tavro_version.h)
target_link_options(tavro PRIVATE $<$<CONFIG:Release>:-s>)
