# The Gw string grid against the platform's plain string grid: fill 50,000 x 8 and paint a page;
# page-downs until painted (Qt for the keys and the paint).
if(TARGET widgets_grids)
  add_executable(bench_gw_grid ${CMAKE_CURRENT_LIST_DIR}/gw_grid.cpp)
  target_include_directories(bench_gw_grid PRIVATE ${PROJECT_SOURCE_DIR}/platform/vcl/core/internal)
  target_link_libraries(bench_gw_grid PRIVATE widgets_grids Qt6::Widgets)
endif()
