# Which part of platform/ may use which (docs/internal.md). Configuring fails
# when a file of one part includes a header of a part it may not use, so that
# no cycle between the parts can come back; the libraries link the same way.
set(plumet_uses_graphics "")
set(plumet_uses_text "")
set(plumet_uses_codecs graphics text)
set(plumet_uses_backend graphics)
set(plumet_uses_framework graphics backend)

foreach(part graphics text codecs backend framework)
  file(GLOB_RECURSE files ${CMAKE_CURRENT_LIST_DIR}/${part}/*.h ${CMAKE_CURRENT_LIST_DIR}/${part}/*.cpp)
  foreach(file ${files})
    file(STRINGS ${file} includes REGEX "^#include \"platform/")
    foreach(include ${includes})
      string(REGEX MATCH "platform/([a-z]+)/" used "${include}")
      set(used ${CMAKE_MATCH_1})
      if(NOT used STREQUAL part AND NOT used IN_LIST plumet_uses_${part})
        message(FATAL_ERROR "${file}: platform/${part} may not use platform/${used}")
      endif()
    endforeach()
  endforeach()
endforeach()
