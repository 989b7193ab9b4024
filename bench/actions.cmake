# Assembler and lister throughput (plain program; run by hand: bench_actions [lines]).
add_executable(bench_actions ${CMAKE_CURRENT_LIST_DIR}/actions_bench.cpp)
target_link_libraries(bench_actions PRIVATE actions)
