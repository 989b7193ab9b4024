# Intrusive lists: the lowest model layer, a target of its own because the subprogram store builds on it.
add_library(elemlist STATIC
  ${CMAKE_CURRENT_LIST_DIR}/elem.cpp
)
target_include_directories(elemlist PUBLIC ${CMAKE_CURRENT_LIST_DIR})

# An instrumented twin for the tests of this layer and the ones above it, so the sanitizers watch the
# list code itself and not only the test code.
qbx_asan_twin(elemlist)

if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/tests/elem_test.cpp)
  qbx_test(elem_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/elem_test.cpp LIBS elemlist_asan SANITIZE)
endif()
