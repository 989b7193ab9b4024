# Tests of the configuration model (included from model.cmake). With the instrumented store at hand
# every case, the damaged databases among them, runs under AddressSanitizer and UBSan.
set(model_test_dir ${CMAKE_CURRENT_LIST_DIR})
set(model_test_sources)
foreach(t model_core_test model_db_test model_export_test model_damage_test model_channelindex_test model_fixture)
  list(APPEND model_test_sources ${model_test_dir}/${t}.cpp)
endforeach()

qbx_asan_twin(model)
qbx_test(model_tests SOURCES ${model_test_sources} LIBS model_asan testsupport SANITIZE)

# The store's own message boxes, over the shared library with its own hook.
qbx_test(model_lorbox_tests SOURCES ${model_test_dir}/model_lorbox_test.cpp ${model_test_dir}/model_fixture.cpp
         LIBS model testsupport)

# The in-place editors run in Qt widgets, whose font libraries keep allocations to the end: no leak
# checker here.
qbx_test(model_editor_tests SOURCES ${model_test_dir}/model_editors_test.cpp ${model_test_dir}/model_fixture.cpp
         LIBS model editorkit testsupport testinput)
