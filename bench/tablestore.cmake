# Table store benchmark against SQLite (run by hand: build-*/bench/tablestore_bench [records]).
if(TARGET SQLite::SQLite3 AND TARGET lorbase)
  add_executable(tablestore_bench ${CMAKE_CURRENT_LIST_DIR}/tablestore_bench.cpp)
  target_link_libraries(tablestore_bench PRIVATE lorbase SQLite::SQLite3)
endif()
