# Configuration model: objects, channels, the configuration manager, its database tables and export.
set(model_sources Paramtypes.cpp Devicetypes.cpp Dbtables.cpp Objectstore.cpp Objecteditors.cpp Editorkit.cpp Storewalk.cpp
  Userobject.cpp Changelogobject.cpp Channelindex.cpp Configmanager.cpp Configdb.cpp Configload.cpp Configcheck.cpp)
list(TRANSFORM model_sources PREPEND ${CMAKE_CURRENT_LIST_DIR}/)

add_library(model STATIC ${model_sources})
target_include_directories(model PUBLIC ${CMAKE_CURRENT_LIST_DIR})
# The subprogram store's folder is added after this one; targets link by name, so order does not matter.
target_link_libraries(model PUBLIC elemlist actions lorbase rtl)

include(${CMAKE_CURRENT_LIST_DIR}/tests/model_tests.cmake)
