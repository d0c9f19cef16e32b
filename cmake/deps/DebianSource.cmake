# The source tree of one of Debian's source packages, fetched with apt-get
# into ROOT/src at configure time (never into the repository) unless it is
# there already. OUT is set to the folder matching ROOT/src/DIR_GLOB that holds
# every one of the files named after it. With TAVRO_DEBIAN_SOURCES set (the
# Makefile sets it), the trees are fetched once into that folder, one folder
# per package, and shared by the build folders of both targets: the builds
# only read them.
#   tavro_debian_source(OUT PACKAGE ROOT DIR_GLOB FILE...)
include_guard(GLOBAL)
set(TAVRO_DEBIAN_SOURCES "" CACHE PATH "A folder of Debian source trees shared by build folders")

function(tavro_find_debian_source out root glob)
  file(GLOB candidates LIST_DIRECTORIES true ${root}/src/${glob})
  set(found "")
  foreach(c ${candidates})
    set(complete ${c})
    foreach(f ${ARGN})
      if(NOT IS_DIRECTORY ${c} OR NOT EXISTS ${c}/${f})
        set(complete "")
      endif()
    endforeach()
    if(complete)
      set(found ${complete})
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

function(tavro_debian_source out package root glob)
  if(TAVRO_DEBIAN_SOURCES)
    set(root ${TAVRO_DEBIAN_SOURCES}/${package})
    file(MAKE_DIRECTORY ${root})
    # Two build folders configured at once fetch one after the other.
    file(LOCK ${root}/fetch.lock GUARD FUNCTION TIMEOUT 600)
  endif()
  tavro_find_debian_source(found ${root} ${glob} ${ARGN})
  if(NOT found)
    file(MAKE_DIRECTORY ${root}/src)
    message(STATUS "${package}: fetching Debian's source package")
    execute_process(COMMAND apt-get source ${package}
      WORKING_DIRECTORY ${root}/src
      RESULT_VARIABLE fetch_result OUTPUT_QUIET ERROR_VARIABLE fetch_errors)
    tavro_find_debian_source(found ${root} ${glob} ${ARGN})
    if(NOT found)
      message(FATAL_ERROR "${package}: 'apt-get source ${package}' failed (${fetch_result}): "
        "${fetch_errors}\nRun scripts/setup.sh (it adds the deb-src entry and dpkg-dev).")
    endif()
  endif()
  message(STATUS "${package}: ${found}")
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

# The files of one of Debian's binary packages, downloaded with apt-get (no
# root needed) and unpacked into ROOT/pkg at configure time unless they are
# there already. OUT is set to ROOT/pkg/SUBDIR, which must hold FILE.
#   tavro_debian_package(OUT PACKAGE ROOT SUBDIR FILE)
function(tavro_debian_package out package root subdir file)
  set(unpacked ${root}/pkg)
  if(NOT EXISTS ${unpacked}/${subdir}/${file})
    file(REMOVE_RECURSE ${root}/deb)
    file(MAKE_DIRECTORY ${root}/deb)
    message(STATUS "${package}: fetching Debian's package")
    execute_process(COMMAND apt-get download ${package}
      WORKING_DIRECTORY ${root}/deb
      RESULT_VARIABLE fetch_result OUTPUT_QUIET ERROR_VARIABLE fetch_errors)
    file(GLOB debs ${root}/deb/*.deb)
    foreach(deb ${debs})
      execute_process(COMMAND dpkg-deb -x ${deb} ${unpacked})
    endforeach()
    if(NOT EXISTS ${unpacked}/${subdir}/${file})
      message(FATAL_ERROR "${package}: 'apt-get download ${package}' failed (${fetch_result}): "
        "${fetch_errors}\nRun scripts/setup.sh (it runs apt-get update).")
    endif()
  endif()
  message(STATUS "${package}: ${unpacked}/${subdir}")
  set(${out} "${unpacked}/${subdir}" PARENT_SCOPE)
endfunction()
