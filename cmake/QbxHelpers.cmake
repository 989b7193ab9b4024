# Shared build helpers: test executables and sanitizer flags.

set(QBX_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

# qbx_sanitize(target): build and link the target with AddressSanitizer and UBSan.
function(qbx_sanitize target)
  target_compile_options(${target} PRIVATE ${QBX_SANITIZE_FLAGS})
  target_link_options(${target} PRIVATE ${QBX_SANITIZE_FLAGS})
endfunction()

# qbx_test(name SOURCES ... LIBS ... [SANITIZE]): a GoogleTest executable whose cases
# CTest discovers when the tests run (so GUI tests never run at build time).
function(qbx_test name)
  cmake_parse_arguments(T "SANITIZE" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  if(T_SANITIZE)
    qbx_sanitize(${name})
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1")
endfunction()
