# The receive log: TGwRichEdit against QPlainTextEdit::appendPlainText (and the platform TRichEdit), 100,000 lines appended one
# by one with the last line kept in view, until painted (run by hand: see the program's header).
if(TARGET widgets_edits)
  add_executable(bench_gwedit_log ${CMAKE_CURRENT_LIST_DIR}/gwedit_log.cpp)
  target_include_directories(bench_gwedit_log PRIVATE ${PROJECT_SOURCE_DIR}/platform/vcl/core/internal)
  target_link_libraries(bench_gwedit_log PRIVATE widgets_edits Qt6::Widgets)
endif()
