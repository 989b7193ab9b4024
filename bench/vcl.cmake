# TCanvas against QPainter direct: the same 1,000-row grid of text cells; prints the overhead.
if(TARGET vcl)
  add_executable(bench_vcl_canvas ${CMAKE_CURRENT_LIST_DIR}/vcl_canvas.cpp)
  target_link_libraries(bench_vcl_canvas PRIVATE vcl Qt6::Widgets)
endif()
