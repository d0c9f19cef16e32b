# Precompiled headers: the Windows headers that nearly every file of a target
# reads, parsed once per target instead of once per file (with mingw-w64 they
# are about a third of a file's compile time). The standard C++ headers stay
# out: precompiled, they make GCC 12 report its false array-bounds warning for
# every std::wstring made from L"" (mingw-w64's inline wmemcpy). A target of
# fewer than three files gains nothing and is left alone; gif/ and markup/
# build without the Windows headers and take none.
#   tavro_precompile(<target>)
function(tavro_precompile target)
  get_target_property(sources ${target} SOURCES)
  list(FILTER sources INCLUDE REGEX "\\.(cpp|cc)$")
  list(LENGTH sources count)
  if(count GREATER_EQUAL 3)
    target_precompile_headers(${target} PRIVATE <windows.h> <commctrl.h>)
  endif()
endfunction()
