# Device objects: adding and opening 100 and 255 of them with their signals bound, and adding many
# user objects (run by hand: build/bench/bench_devices).
if(TARGET devices_meters AND TARGET devices_relay)
  add_executable(bench_devices ${CMAKE_CURRENT_LIST_DIR}/devices_bench.cpp)
  target_link_libraries(bench_devices PRIVATE devices_meters devices_relay)
endif()
