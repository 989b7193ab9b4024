# The main window where the user waits: open to the painted channel page from 5,000 to 1,000,000
# channels, the Express tree against a QTreeWidget, the idle banner's CPU share, start-up against a
# plain Qt main window, a program of its own (run by hand: see the program's header).
if(TARGET mainwindow)
  add_executable(bench_ui ${CMAKE_CURRENT_LIST_DIR}/ui_bench.cpp)
  target_include_directories(bench_ui PRIVATE ${PROJECT_SOURCE_DIR}/platform/vcl/core/internal)
  target_link_libraries(bench_ui PRIVATE mainwindow Qt6::Widgets)
  add_executable(bench_ui_startup_peer ${CMAKE_CURRENT_LIST_DIR}/ui_startup_peer.cpp)
  target_link_libraries(bench_ui_startup_peer PRIVATE Qt6::Widgets)
  add_dependencies(bench_ui bench_ui_startup_peer)
endif()
