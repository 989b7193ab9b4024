# Table store benchmark against SQLite (run by hand: build-*/bench/bench_tablestore [records]).
if(TARGET SQLite::SQLite3 AND TARGET lorbase)
  add_executable(bench_tablestore ${CMAKE_CURRENT_LIST_DIR}/tablestore_bench.cpp)
  target_link_libraries(bench_tablestore PRIVATE lorbase SQLite::SQLite3)
endif()
