# Tests of the configuration model (included from model.cmake).
set(model_test_dir ${CMAKE_CURRENT_LIST_DIR})
set(model_test_sources)
foreach(t model_core_test model_db_test model_export_test)
  if(EXISTS ${model_test_dir}/${t}.cpp)
    list(APPEND model_test_sources ${model_test_dir}/${t}.cpp)
  endif()
endforeach()
if(model_test_sources)
  qbx_test(model_tests SOURCES ${model_test_sources} ${model_test_dir}/model_fixture.cpp LIBS model)
endif()

# Damaged databases under AddressSanitizer and UBSan, against the instrumented store.
if(EXISTS ${model_test_dir}/model_damage_test.cpp AND TARGET lorbase_asan)
  add_library(model_asan STATIC ${model_sources})
  target_include_directories(model_asan PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
  target_link_libraries(model_asan PUBLIC elemlist rtl actions lorbase_asan)
  if(TARGET vcl)
    target_link_libraries(model_asan PUBLIC vcl)
  endif()
  qbx_sanitize(model_asan)
  qbx_test(model_damage_tests SOURCES ${model_test_dir}/model_damage_test.cpp ${model_test_dir}/model_fixture.cpp
           LIBS model_asan SANITIZE)
endif()
