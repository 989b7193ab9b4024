# Painting side of the GUI core: colours, fonts, TCanvas, bitmaps, and the first standard controls.
target_sources(vcl PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/graphics.h
  ${CMAKE_CURRENT_LIST_DIR}/graphics.cpp
  ${CMAKE_CURRENT_LIST_DIR}/canvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/canvastext.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bitmap.cpp
  ${CMAKE_CURRENT_LIST_DIR}/imagelist.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stdctrls.h
  ${CMAKE_CURRENT_LIST_DIR}/stdctrls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/combobox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/buttons.cpp
  ${CMAKE_CURRENT_LIST_DIR}/extctrls.h
  ${CMAKE_CURRENT_LIST_DIR}/extctrls.cpp)

qbx_test(vcl_gfx_canvas_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/gfx_canvas.cpp LIBS vcl)
qbx_test(vcl_gfx_graphics_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/gfx_graphics.cpp LIBS vcl)
qbx_test(vcl_gfx_controls_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/gfx_controls.cpp LIBS vcl)

# The painting tests again over the instrumented twin of the library (made in CMakeLists.txt), so
# the sanitizers watch the canvas, bitmaps and standard controls too.
qbx_test(vcl_gfx_asan_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/gfx_canvas.cpp
         ${CMAKE_CURRENT_LIST_DIR}/tests/gfx_graphics.cpp ${CMAKE_CURRENT_LIST_DIR}/tests/gfx_controls.cpp
         ${CMAKE_CURRENT_LIST_DIR}/tests/core_lsan.cpp LIBS vcl_asan SANITIZE)
