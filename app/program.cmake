# The plumet program on the Linux desktop (GTK backend) and its installation,
# or plumet.exe on the Windows desktop with its Windows resources.
if(WIN32)
  enable_language(RC)
  set(windows_resources ${PROJECT_SOURCE_DIR}/resources/windows)
  set(PLUMET_MANIFEST_FILE ${windows_resources}/plumet.manifest)
  configure_file(${windows_resources}/plumet.rc.in ${CMAKE_CURRENT_BINARY_DIR}/plumet.rc @ONLY)
  set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/plumet.rc PROPERTIES
                              OBJECT_DEPENDS "${PLUMET_MANIFEST_FILE}")
  add_executable(plumet WIN32 ${CMAKE_CURRENT_LIST_DIR}/windows_main.cpp ${CMAKE_CURRENT_LIST_DIR}/program_main.cpp
                 ${CMAKE_CURRENT_BINARY_DIR}/plumet.rc)
  target_compile_definitions(plumet PRIVATE PLUMET_VERSION="${PROJECT_VERSION}")
  target_link_options(plumet PRIVATE -municode)
  target_link_libraries(plumet PRIVATE plumet_core plumet_backend_win32)
  # The release: plumet.exe at the top of the build, and a zip of it with a
  # short read-me.
  set_target_properties(plumet PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  set(release_zip ${CMAKE_BINARY_DIR}/plumet-${PROJECT_VERSION}-windows.zip)
  set(release_dir ${CMAKE_CURRENT_BINARY_DIR}/release)
  configure_file(${windows_resources}/README.txt ${release_dir}/README.txt @ONLY NEWLINE_STYLE CRLF)
  add_custom_command(
    OUTPUT ${release_zip}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:plumet> ${release_dir}/plumet.exe
    COMMAND ${CMAKE_COMMAND} -E chdir ${release_dir} ${CMAKE_COMMAND} -E tar cf ${release_zip} --format=zip plumet.exe README.txt
    DEPENDS plumet ${release_dir}/README.txt
    COMMENT "Packing ${release_zip}")
  add_custom_target(plumet_release ALL DEPENDS ${release_zip})
endif()
if(PLUMET_GTK)
  add_executable(plumet ${CMAKE_CURRENT_LIST_DIR}/main.cpp ${CMAKE_CURRENT_LIST_DIR}/program_main.cpp)
  target_compile_definitions(plumet PRIVATE PLUMET_VERSION="${PROJECT_VERSION}")
  target_link_libraries(plumet PRIVATE plumet_core plumet_backend_gtk)

  include(GNUInstallDirs)
  install(TARGETS plumet RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/plumet.desktop CONTENT "[Desktop Entry]
Type=Application
Name=Plumet
Comment=Draw on your screen
Exec=plumet
Icon=plumet
Terminal=false
Categories=Graphics;Education;
")
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/plumet.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size ${PLUMET_PROGRAM_ICON_SIZES})
    install(FILES ${PROJECT_SOURCE_DIR}/resources/program-icon-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME plumet.png)
  endforeach()
endif()
