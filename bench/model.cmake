# Configuration save, load and open against SQLite doing the same rows (run by hand: build-*/bench/bench_model).
if(TARGET SQLite::SQLite3 AND TARGET model)
  add_executable(bench_model ${CMAKE_CURRENT_LIST_DIR}/model_bench.cpp)
  target_link_libraries(bench_model PRIVATE model devices_qbx devices_meters devices_relay devices_io SQLite::SQLite3)
endif()
