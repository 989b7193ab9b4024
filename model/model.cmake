# Configuration model: objects, channels, the configuration manager, its database tables and export.
# Sources join the list once they build (the work tree is shared, so no globbing).
set(model_sources Paramtypes.cpp Devicetypes.cpp Dbtables.cpp Objectstore.cpp Objecteditors.cpp Storewalk.cpp
  Userobject.cpp
  Changelogobject.cpp Configmanager.cpp Configdb.cpp Configcheck.cpp)
list(TRANSFORM model_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)

add_library(model STATIC ${model_sources})
target_include_directories(model PUBLIC ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_SOURCE_DIR}/tablestore)
target_link_libraries(model PUBLIC elemlist rtl)
# Layers above the model's directory are added later in the root list; link them by name.
foreach(dep lorbase actions)
  if(TARGET ${dep} OR (dep STREQUAL "actions" AND EXISTS ${CMAKE_SOURCE_DIR}/actions/CMakeLists.txt))
    target_link_libraries(model PUBLIC ${dep})
  endif()
endforeach()
# The in-place editors need the GUI core's standard controls; until they are built no cell is editable.
set(model_with_vcl FALSE)
if(TARGET vcl)
  get_target_property(vcl_sources vcl SOURCES)
  if(vcl_sources MATCHES "stdctrls\\.cpp")
    set(model_with_vcl TRUE)
    target_link_libraries(model PUBLIC vcl)
  endif()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/tests/model_tests.cmake OPTIONAL)
