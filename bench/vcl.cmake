# TCanvas against QPainter direct: the same 1,000-row grid of text cells; prints the overhead.
# The one program outside platform/vcl that uses Qt itself, so it also sees the Qt side of the
# painting headers.
if(TARGET vcl)
  add_executable(bench_vcl_canvas ${CMAKE_CURRENT_LIST_DIR}/vcl_canvas.cpp)
  target_include_directories(bench_vcl_canvas PRIVATE ${PROJECT_SOURCE_DIR}/platform/vcl/graphics/internal)
  target_link_libraries(bench_vcl_canvas PRIVATE vcl Qt6::Widgets)
endif()

# The string grid against a QTableView over a QAbstractTableModel: fill 50,000 x 8 and paint a page;
# page-downs until painted.
if(TARGET vcl_stdctrls)
  add_executable(bench_vcl_grid ${CMAKE_CURRENT_LIST_DIR}/vcl_grid.cpp)
  target_include_directories(bench_vcl_grid PRIVATE ${PROJECT_SOURCE_DIR}/platform/vcl/core/internal
                             ${PROJECT_SOURCE_DIR}/platform/vcl/graphics/internal)
  target_link_libraries(bench_vcl_grid PRIVATE vcl Qt6::Widgets)
endif()
