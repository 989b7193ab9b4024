# The main window over 500 objects and 50,000 channels: open to the painted channel page, and a page of
# scrolling in the channel grid.
if(TARGET mainwindow)
  add_executable(bench_ui ${CMAKE_CURRENT_LIST_DIR}/ui_bench.cpp)
  target_link_libraries(bench_ui PRIVATE mainwindow)
endif()
