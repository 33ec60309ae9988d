# The backend contract on the GTK desktop, under a private Xvfb with a
# compositing manager (needs Xvfb and xcompmgr installed). Included from
# this folder's CMakeLists.txt when PLUMET_GTK is on.
pkg_check_modules(XTEST REQUIRED IMPORTED_TARGET xtst)
pkg_check_modules(GLIB REQUIRED IMPORTED_TARGET glib-2.0)
plumet_add_test(NAME backend_contract_gtk
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/backend_contract_test.cpp ${CMAKE_CURRENT_LIST_DIR}/gtk_harness.cpp
          ${CMAKE_CURRENT_LIST_DIR}/x_test_server.cpp ${CMAKE_CURRENT_LIST_DIR}/x_board_address_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/main_context_wait_test.cpp
  LIBS plumet_backend_gtk PkgConfig::XTEST PkgConfig::GLIB)
