# Tests of the configuration model (included from model.cmake). With the instrumented store at hand
# every case, the damaged databases among them, runs under AddressSanitizer and UBSan.
set(model_test_dir ${CMAKE_CURRENT_LIST_DIR})
set(model_test_sources)
foreach(t model_core_test model_db_test model_export_test model_damage_test)
  if(EXISTS ${model_test_dir}/${t}.cpp)
    list(APPEND model_test_sources ${model_test_dir}/${t}.cpp)
  endif()
endforeach()
if(NOT model_test_sources)
  return()
endif()
list(APPEND model_test_sources ${model_test_dir}/model_fixture.cpp)

if(TARGET lorbase_asan)
  add_library(model_asan STATIC ${model_sources})
  target_include_directories(model_asan PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
  # The instrumented twins of the libraries below, so the sanitizers watch their code too. The
  # subprogram store is added after this folder, hence the generate-time test.
  target_link_libraries(model_asan PUBLIC
    $<IF:$<TARGET_EXISTS:rtl_asan>,rtl_asan,rtl>
    $<IF:$<TARGET_EXISTS:elemlist_asan>,elemlist_asan,elemlist>
    $<IF:$<TARGET_EXISTS:actions_asan>,actions_asan,actions>
    lorbase_asan)
  if(model_with_vcl)
    target_link_libraries(model_asan PUBLIC vcl)
  endif()
  qbx_sanitize(model_asan)
  qbx_test(model_tests SOURCES ${model_test_sources} LIBS model_asan SANITIZE)
else()
  qbx_test(model_tests SOURCES ${model_test_sources} LIBS model)
endif()

# The store's own message boxes, over the shared library with its own hook.
if(TARGET lorbase AND EXISTS ${model_test_dir}/model_lorbox_test.cpp)
  qbx_test(model_lorbox_tests SOURCES ${model_test_dir}/model_lorbox_test.cpp ${model_test_dir}/model_fixture.cpp
           LIBS model)
endif()

# The in-place editors run in Qt widgets, whose font libraries keep allocations to the end: no leak
# checker here.
if(model_with_vcl AND EXISTS ${model_test_dir}/model_editors_test.cpp)
  qbx_test(model_editor_tests SOURCES ${model_test_dir}/model_editors_test.cpp ${model_test_dir}/model_fixture.cpp
           LIBS model)
endif()
