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

# qbx_asan_twin(<lib> [NAME <twin>]): an instrumented static copy of a library (default name
# <lib>_asan) with the same sources, include folders, definitions and options. Each dependency is
# replaced by its own twin when it has one, so a sanitized test links exactly one copy of every
# library (two copies of the runtime would mean two message-box hooks, two Application objects).
function(qbx_asan_twin lib)
  cmake_parse_arguments(T "" "NAME" "" ${ARGN})
  set(twin ${lib}_asan)
  if(T_NAME)
    set(twin ${T_NAME})
  endif()
  get_target_property(sources ${lib} SOURCES)
  add_library(${twin} STATIC ${sources})
  foreach(prop INCLUDE_DIRECTORIES COMPILE_DEFINITIONS COMPILE_OPTIONS)
    get_target_property(private ${lib} ${prop})
    get_target_property(public ${lib} INTERFACE_${prop})
    if(private)
      set_property(TARGET ${twin} PROPERTY ${prop} ${private})
    endif()
    if(public)
      set_property(TARGET ${twin} PROPERTY INTERFACE_${prop} ${public})
    endif()
  endforeach()
  get_target_property(automoc ${lib} AUTOMOC)
  set_target_properties(${twin} PROPERTIES AUTOMOC ${automoc})
  # A dependency keeps its visibility: one the library's users do not see (Qt behind the GUI core)
  # stays private to the twin as well.
  get_target_property(deps ${lib} LINK_LIBRARIES)
  get_target_property(public_deps ${lib} INTERFACE_LINK_LIBRARIES)
  if(deps)
    foreach(dep ${deps})
      set(scope PRIVATE)
      if(public_deps AND dep IN_LIST public_deps)
        set(scope PUBLIC)
      endif()
      if(dep MATCHES "::|^\\$<|^-")
        target_link_libraries(${twin} ${scope} ${dep})
      else()
        target_link_libraries(${twin} ${scope} $<IF:$<TARGET_EXISTS:${dep}_asan>,${dep}_asan,${dep}>)
      endif()
    endforeach()
  endif()
  qbx_sanitize(${twin})
endfunction()
