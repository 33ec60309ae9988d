# Drawing: the cost of one pointer move, of a full page redraw and of an
# undo or redo with its redraw, with plain cairo stroking of the same page as
# the anchor; and the heap a long undo history takes.
add_executable(drawing_bench
  ${CMAKE_CURRENT_LIST_DIR}/drawing_page.cpp
  ${CMAKE_CURRENT_LIST_DIR}/drawing_move_bench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/drawing_redraw_bench.cpp
  ${CMAKE_CURRENT_LIST_DIR}/drawing_history_bench.cpp)
target_link_libraries(drawing_bench PRIVATE plumet_core PkgConfig::CAIRO benchmark::benchmark benchmark::benchmark_main)
