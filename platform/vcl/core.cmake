# Window/message side of the GUI core: controls, forms, application, menus, dialogs, clipboard, timers.
target_sources(vcl PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/messages.h
  ${CMAKE_CURRENT_LIST_DIR}/controls.h)
