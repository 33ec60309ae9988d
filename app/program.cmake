# The plumet program on the Linux desktop (GTK backend), and its installation.
if(PLUMET_GTK)
  add_executable(plumet ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
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
  foreach(size 16 32 48 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/program-icon-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME plumet.png)
  endforeach()
endif()
