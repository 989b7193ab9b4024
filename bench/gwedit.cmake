# The receive log: TGwRichEdit against QPlainTextEdit::appendPlainText (and the platform TRichEdit), 100,000 lines appended one
# by one with the last line kept in view (run by hand: QT_QPA_PLATFORM=offscreen build-*/bench/bench_gwedit_log).
if(TARGET widgets_edits)
  add_executable(bench_gwedit_log ${CMAKE_CURRENT_LIST_DIR}/gwedit_log.cpp)
  target_link_libraries(bench_gwedit_log PRIVATE widgets_edits Qt6::Widgets)
endif()
