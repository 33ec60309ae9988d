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

# The screen copy through the desktop portal, against a stand-in portal on a
# private session bus. The stand-in serves the real-desktop checks too.
pkg_check_modules(PORTAL_STAND_IN REQUIRED IMPORTED_TARGET gio-2.0 gdk-pixbuf-2.0)
add_executable(portal_stand_in ${CMAKE_CURRENT_LIST_DIR}/portal_stand_in.c)
target_link_libraries(portal_stand_in PRIVATE PkgConfig::PORTAL_STAND_IN)
add_executable(portal_screenshot_test ${CMAKE_CURRENT_LIST_DIR}/portal_screenshot_test.cpp)
target_link_libraries(portal_screenshot_test PRIVATE plumet_backend_gtk PkgConfig::PORTAL_STAND_IN GTest::gtest
                                                     GTest::gtest_main)
target_compile_definitions(portal_screenshot_test PRIVATE PORTAL_STAND_IN="$<TARGET_FILE:portal_stand_in>")
add_dependencies(portal_screenshot_test portal_stand_in)
add_test(NAME portal_screenshot COMMAND dbus-run-session -- $<TARGET_FILE:portal_screenshot_test>)
set_tests_properties(portal_screenshot PROPERTIES TIMEOUT 120)
