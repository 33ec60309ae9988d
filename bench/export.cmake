# Export: PNG and two-frame TIFF of a page with about 5 % ink, with libpng's
# default settings as the anchor in the same run.
add_executable(export_bench
  ${CMAKE_CURRENT_LIST_DIR}/export_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/export_bench.cpp)
target_link_libraries(export_bench PRIVATE plumet_core PkgConfig::LIBPNG benchmark::benchmark benchmark::benchmark_main)
