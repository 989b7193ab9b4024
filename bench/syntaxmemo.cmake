# The script editor against QPlainTextEdit + QSyntaxHighlighter on the same 100,000-line script
# (run by hand: QT_QPA_PLATFORM=offscreen build-*/bench/bench_syntaxmemo).
if(TARGET syntaxmemo)
  add_executable(bench_syntaxmemo ${CMAKE_CURRENT_LIST_DIR}/syntaxmemo_bench.cpp)
  target_link_libraries(bench_syntaxmemo PRIVATE syntaxmemo Qt6::Widgets)
  target_include_directories(bench_syntaxmemo PRIVATE ${PROJECT_SOURCE_DIR}/platform/vcl/core/internal)
endif()
