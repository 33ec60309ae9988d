# The Windows resources of every program, from the list in ../CMakeLists.txt:
# bitmaps as DIBs, cursors with their hot spots, the program icon with all
# its sizes, the PNG pictures as they are, and the dialog templates of
# dialog_templates.inc. Compiled once by windres into an object that every
# program linking the framework links (plumet_windows_resources).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(tool ${CMAKE_CURRENT_SOURCE_DIR}/windows/make-resource-file.py)
set(made_dir ${CMAKE_CURRENT_BINARY_DIR}/windows)
set(made_files "")
set(PLUMET_RESOURCE_LINES "")
foreach(entry ${PLUMET_RESOURCES})
  string(REPLACE "," ";" fields "${entry}")
  list(GET fields 0 id)
  list(GET fields 1 type)
  list(GET fields 2 picture)
  list(GET fields 3 hot_x)
  list(GET fields 4 hot_y)
  get_filename_component(name ${picture} NAME_WE)
  if(type STREQUAL "BITMAP")
    set(made ${made_dir}/${name}.bmp)
    add_custom_command(OUTPUT ${made} COMMAND Python3::Interpreter ${tool} bitmap ${made} ${picture}
                       DEPENDS ${tool} ${picture} COMMENT "Making ${name}.bmp")
  elseif(type STREQUAL "CURSOR")
    set(made ${made_dir}/${name}.cur)
    add_custom_command(OUTPUT ${made} COMMAND Python3::Interpreter ${tool} cursor ${made} ${picture} ${hot_x} ${hot_y}
                       DEPENDS ${tool} ${picture} COMMENT "Making ${name}.cur")
  elseif(type STREQUAL "ICON")
    set(made ${made_dir}/plumet.ico)
    set(icon_pictures "")
    foreach(size ${PLUMET_PROGRAM_ICON_SIZES})
      list(APPEND icon_pictures ${CMAKE_CURRENT_SOURCE_DIR}/program-icon-${size}.png)
    endforeach()
    add_custom_command(OUTPUT ${made} COMMAND Python3::Interpreter ${tool} icon ${made} ${icon_pictures}
                       DEPENDS ${tool} ${icon_pictures} COMMENT "Making the program icon")
  else()
    set(made ${picture})
  endif()
  list(APPEND made_files ${made})
  string(APPEND PLUMET_RESOURCE_LINES "${id} ${type} \"${made}\"\n")
endforeach()

set(script ${made_dir}/resources.rc)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/windows/resources.rc.in ${script} @ONLY)
set(object ${made_dir}/resources.res.obj)
add_custom_command(
  OUTPUT ${object}
  COMMAND ${CMAKE_RC_COMPILER} -I ${CMAKE_SOURCE_DIR} -O coff -i ${script} -o ${object}
  DEPENDS ${script} ${made_files} ${CMAKE_CURRENT_SOURCE_DIR}/dialog_templates.inc
          ${CMAKE_CURRENT_SOURCE_DIR}/resource_ids.h
  COMMENT "Compiling the Windows resources")
add_custom_target(plumet_windows_resource_object DEPENDS ${object})
add_library(plumet_windows_resources INTERFACE)
target_link_libraries(plumet_windows_resources INTERFACE ${object})
add_dependencies(plumet_windows_resources plumet_windows_resource_object)
