# The Gw string grid against the platform's plain string grid: fill 50,000 x 8 and paint a page;
# page-down repaints.
if(TARGET widgets_grids)
  add_executable(bench_gw_grid ${CMAKE_CURRENT_LIST_DIR}/gw_grid.cpp)
  target_link_libraries(bench_gw_grid PRIVATE widgets_grids)
endif()
