# Window/message side of the GUI core: controls, forms, application, menus, dialogs, clipboard, timers.
target_sources(vcl PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/messages.h
  ${CMAKE_CURRENT_LIST_DIR}/controls.h
  ${CMAKE_CURRENT_LIST_DIR}/controls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wincontrol.cpp
  ${CMAKE_CURRENT_LIST_DIR}/handle.h
  ${CMAKE_CURRENT_LIST_DIR}/handle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/winapi.cpp
  ${CMAKE_CURRENT_LIST_DIR}/forms.h
  ${CMAKE_CURRENT_LIST_DIR}/forms.cpp
  ${CMAKE_CURRENT_LIST_DIR}/menus.h
  ${CMAKE_CURRENT_LIST_DIR}/menus.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dialogs.h
  ${CMAKE_CURRENT_LIST_DIR}/dialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clipbrd.h
  ${CMAKE_CURRENT_LIST_DIR}/clipbrd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/timers.h
  ${CMAKE_CURRENT_LIST_DIR}/timers.cpp)

qbx_test(vcl_core_messages_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/core_messages.cpp LIBS vcl)
qbx_test(vcl_core_forms_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/core_forms.cpp LIBS vcl)
qbx_test(vcl_core_app_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/core_app.cpp LIBS vcl)

# The same core tests over an instrumented twin of the library, so the sanitizers watch the core's own
# code (handlers that free their control, hosts that free their editors). Made once the painting
# side has added its sources too.
function(vcl_core_sanitized_tests)
  if(NOT TARGET rtl_asan)
    return()
  endif()
  get_target_property(vcl_sources vcl SOURCES)
  add_library(vcl_asan STATIC ${vcl_sources})
  set_target_properties(vcl_asan PROPERTIES AUTOMOC ON)
  target_include_directories(vcl_asan PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(vcl_asan PUBLIC rtl_asan Qt6::Widgets)
  qbx_sanitize(vcl_asan)
  qbx_test(vcl_core_asan_test SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/tests/core_messages.cpp
           ${CMAKE_CURRENT_SOURCE_DIR}/tests/core_forms.cpp ${CMAKE_CURRENT_SOURCE_DIR}/tests/core_lsan.cpp
           LIBS vcl_asan SANITIZE)
endfunction()
cmake_language(DEFER CALL vcl_core_sanitized_tests)
