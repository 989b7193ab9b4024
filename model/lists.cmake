# Intrusive lists: the lowest model layer, a target of its own because the subprogram store builds on it.
add_library(elemlist STATIC
  ${CMAKE_CURRENT_LIST_DIR}/elem.cpp
)
target_include_directories(elemlist PUBLIC ${CMAKE_CURRENT_LIST_DIR})

if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/tests/elem_test.cpp)
  qbx_test(elem_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/elem_test.cpp LIBS elemlist SANITIZE)
endif()
