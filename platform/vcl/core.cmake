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

# The same core tests over the instrumented twin of the library (made in CMakeLists.txt), so the
# sanitizers watch the core's own code (handlers that free their control, hosts that free their editors).
qbx_test(vcl_core_asan_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/core_messages.cpp
         ${CMAKE_CURRENT_LIST_DIR}/tests/core_forms.cpp ${CMAKE_CURRENT_LIST_DIR}/tests/core_lsan.cpp
         LIBS vcl_asan SANITIZE)
