# XML document component against pugixml (a benchmark-only peer).
pkg_check_modules(PUGIXML REQUIRED IMPORTED_TARGET pugixml)
add_executable(xml_bench ${CMAKE_CURRENT_LIST_DIR}/xml_bench.cpp)
target_link_libraries(xml_bench PRIVATE plumet_core PkgConfig::PUGIXML benchmark::benchmark)
