# Every folder of the program is a library of its own that names the folders
# it depends on. The build checks each folder's includes against that list, so
# an include against the direction app/ -> capture/, preview/, output/ -> win/,
# gif/ fails the build instead of creeping in.
#   tavro_folder_library(<name> SOURCES <files...> DEPENDS <folders...> [LIBS <libs...>])
function(tavro_folder_library name)
  cmake_parse_arguments(arg "" "" "SOURCES;DEPENDS;LIBS" ${ARGN})
  set(folder ${name})
  file(GLOB checked ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${folder}-includes.stamp)
  string(REPLACE ";" "," allowed "${arg_DEPENDS}")
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_SOURCE_DIR} -DFOLDER=${folder}
            -DALLOWED=${allowed} -DSTAMP=${stamp} -P ${CMAKE_SOURCE_DIR}/cmake/CheckIncludes.cmake
    DEPENDS ${checked} ${CMAKE_SOURCE_DIR}/cmake/CheckIncludes.cmake
    COMMENT "Checking the includes of ${folder}/"
    VERBATIM)
  add_custom_target(tavro_${folder}_includes DEPENDS ${stamp})

  add_library(tavro_${folder} STATIC ${arg_SOURCES})
  add_dependencies(tavro_${folder} tavro_${folder}_includes)
  set(linked tavro_options)
  foreach(dependency ${arg_DEPENDS})
    if(NOT dependency STREQUAL "resources")
      list(APPEND linked tavro_${dependency})
    endif()
  endforeach()
  target_link_libraries(tavro_${folder} PUBLIC ${linked} ${arg_LIBS})
endfunction()
