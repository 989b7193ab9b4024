# Shared build helpers: test executables, sanitizer flags and the sanitized twins of libraries.

set(QBX_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

# qbx_sanitize(target): build and link the target with AddressSanitizer and UBSan.
function(qbx_sanitize target)
  target_compile_options(${target} PRIVATE ${QBX_SANITIZE_FLAGS})
  target_link_options(${target} PRIVATE ${QBX_SANITIZE_FLAGS})
endfunction()

# qbx_test(name SOURCES ... LIBS ... [SANITIZE]): a GoogleTest executable, one CTest test that runs
# all its cases in one process (starting a process per case cost more than the cases; run a single
# case with the executable's --gtest_filter). A sanitized test links the twin of every library of ours
# it names (made when it has none yet), so that it links sanitized libraries only;
# qbx_check_sanitized_links() verifies that at the end of configuration.
function(qbx_test name)
  cmake_parse_arguments(T "SANITIZE" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set(libs ${T_LIBS})
  if(T_SANITIZE)
    set(libs "")
    foreach(lib ${T_LIBS})
      _qbx_twin_of(${lib} twin)
      list(APPEND libs ${twin})
    endforeach()
  endif()
  target_link_libraries(${name} PRIVATE ${libs} GTest::gtest GTest::gtest_main GTest::gmock)
  # One translation unit per executable: GoogleTest and our headers are read once, not per file.
  set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)
  if(QBX_CI_BUILD)
    # A test's own code is mostly GoogleTest templates: optimizing them costs more than running them.
    target_compile_options(${name} PRIVATE -Og)
  endif()
  if(T_SANITIZE)
    qbx_sanitize(${name})
    set_property(GLOBAL APPEND PROPERTY QBX_SANITIZED_TESTS ${name})
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_also_run_disabled_tests WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1"
    LABELS gtest)
endfunction()

# True when name is a library this project builds: only those have (or get) twins. Imported
# targets (Qt, GoogleTest, libzip), flags and generator expressions are linked as they are.
function(_qbx_is_own_library name out)
  set(own FALSE)
  if(NOT name MATCHES "::|^\\$<|^-" AND TARGET ${name})
    get_target_property(imported ${name} IMPORTED)
    get_target_property(type ${name} TYPE)
    if(NOT imported AND type MATCHES "LIBRARY$")
      set(own TRUE)
    endif()
  endif()
  set(${out} ${own} PARENT_SCOPE)
endfunction()

# The name to link in a sanitized build instead of lib: its twin, made now when it has none and
# lib is a library of ours that exists already; a twin itself, or anything else, stays as it is.
# A library of ours that is not defined yet (a later folder) is resolved when CMake generates.
function(_qbx_twin_of lib out)
  set(result ${lib})
  _qbx_is_own_library(${lib} own)
  if(own)
    get_target_property(is_twin ${lib} QBX_TWIN_OF)
    if(NOT is_twin)
      qbx_asan_twin(${lib})
      get_target_property(twin ${lib} QBX_ASAN_TWIN)
      if(twin)
        set(result ${twin})
      endif()
    endif()
  elseif(NOT lib MATCHES "::|^\\$<|^-" AND NOT TARGET ${lib})
    set(result "$<IF:$<TARGET_EXISTS:${lib}_asan>,${lib}_asan,${lib}>")
  endif()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# qbx_asan_twin(<lib> [NAME <twin>]): an instrumented static copy of a library (default name
# <lib>_asan) with the same sources, include folders, definitions and options; an interface
# library's twin gathers its members' twins (one that links nothing has none). Each dependency of ours is replaced by its own twin,
# made on the way when it has none, so that a sanitized test links exactly one copy of every
# library, all of them instrumented (two copies of the runtime would mean two message-box hooks,
# two Application objects, and duplicate definitions wherever the linker pulls both). Asking
# again for a library that has its twin does nothing.
function(qbx_asan_twin lib)
  cmake_parse_arguments(T "" "NAME" "" ${ARGN})
  get_target_property(existing ${lib} QBX_ASAN_TWIN)
  if(existing)
    return()
  endif()
  set(twin ${lib}_asan)
  if(T_NAME)
    set(twin ${T_NAME})
  endif()
  if(TARGET ${twin})
    # Made under another library's name: the shared store's twin is its objects' twin.
    set_target_properties(${lib} PROPERTIES QBX_ASAN_TWIN ${twin})
    return()
  endif()
  get_target_property(type ${lib} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    get_target_property(members ${lib} INTERFACE_LINK_LIBRARIES)
    if(NOT members)
      return() # headers or a source for its users only (test support): nothing to instrument
    endif()
    add_library(${twin} INTERFACE)
    set(props "")
  else()
    get_target_property(sources ${lib} SOURCES)
    get_target_property(source_dir ${lib} SOURCE_DIR)
    set(absolute "")
    foreach(source ${sources})
      if(NOT IS_ABSOLUTE "${source}" AND NOT source MATCHES "^\\$<")
        set(source ${source_dir}/${source})
      endif()
      list(APPEND absolute ${source})
    endforeach()
    add_library(${twin} STATIC ${absolute})
    set(props INCLUDE_DIRECTORIES COMPILE_DEFINITIONS COMPILE_OPTIONS)
    get_target_property(automoc ${lib} AUTOMOC)
    set_target_properties(${twin} PROPERTIES AUTOMOC ${automoc})
  endif()
  # Marked before the dependencies are walked, so that a walk that comes back here stops.
  set_target_properties(${lib} PROPERTIES QBX_ASAN_TWIN ${twin})
  set_target_properties(${twin} PROPERTIES QBX_TWIN_OF ${lib})
  foreach(prop INCLUDE_DIRECTORIES COMPILE_DEFINITIONS COMPILE_OPTIONS)
    get_target_property(public ${lib} INTERFACE_${prop})
    if(public)
      set_property(TARGET ${twin} PROPERTY INTERFACE_${prop} ${public})
    endif()
  endforeach()
  foreach(prop ${props})
    get_target_property(private ${lib} ${prop})
    if(private)
      set_property(TARGET ${twin} PROPERTY ${prop} ${private})
    endif()
  endforeach()
  if(NOT type STREQUAL "INTERFACE_LIBRARY")
    # After the copied options, which would otherwise replace the instrumentation; -O1 as the
    # sanitizers advise (the reports keep their frames, the twin builds faster).
    qbx_sanitize(${twin})
    target_compile_options(${twin} PRIVATE -O1)
  endif()
  # A dependency keeps its visibility: one the library's users do not see (Qt behind the GUI core)
  # stays private to the twin as well.
  get_target_property(public_deps ${lib} INTERFACE_LINK_LIBRARIES)
  if(type STREQUAL "INTERFACE_LIBRARY")
    set(deps ${public_deps})
  else()
    get_target_property(deps ${lib} LINK_LIBRARIES)
  endif()
  if(deps)
    foreach(dep ${deps})
      set(scope PRIVATE)
      if(type STREQUAL "INTERFACE_LIBRARY")
        set(scope INTERFACE)
      elseif(public_deps AND dep IN_LIST public_deps)
        set(scope PUBLIC)
      endif()
      _qbx_twin_of(${dep} dep_twin)
      target_link_libraries(${twin} ${scope} ${dep_twin})
    endforeach()
  endif()
endfunction()

# The libraries of ours that target links, directly or through others, into list variable out
# (each once). Reads what the link interfaces hold: plain names, $<LINK_ONLY:x> (a static
# library's private dependency) and the twin choice _qbx_twin_of leaves for a later folder.
function(_qbx_link_closure target out)
  get_target_property(direct ${target} LINK_LIBRARIES)
  set(queue "")
  if(direct)
    list(APPEND queue ${direct})
  endif()
  set(seen "")
  while(queue)
    list(POP_FRONT queue item)
    if(item MATCHES "^\\$<LINK_ONLY:([^>]+)>$")
      set(item ${CMAKE_MATCH_1})
    elseif(item MATCHES "^\\$<IF:\\$<TARGET_EXISTS:([^>]+)>,([^,]+),([^>]+)>$")
      if(TARGET ${CMAKE_MATCH_1})
        set(item ${CMAKE_MATCH_2})
      else()
        set(item ${CMAKE_MATCH_3})
      endif()
    endif()
    _qbx_is_own_library(${item} own)
    if(NOT own OR item IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${item})
    get_target_property(next ${item} INTERFACE_LINK_LIBRARIES)
    if(next)
      list(APPEND queue ${next})
    endif()
  endwhile()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Fails the configuration when a sanitized test would link a plain library that has a twin: the
# two copies clash (duplicate definitions in some build types, two runtimes in all). Call once,
# after every folder.
function(qbx_check_sanitized_links)
  get_property(tests GLOBAL PROPERTY QBX_SANITIZED_TESTS)
  set(problems "")
  foreach(test ${tests})
    _qbx_link_closure(${test} closure)
    foreach(lib ${closure})
      get_target_property(twin ${lib} QBX_ASAN_TWIN)
      if(twin)
        string(APPEND problems "\n  ${test} links ${lib} beside its twin ${twin}")
      endif()
    endforeach()
  endforeach()
  if(problems)
    message(FATAL_ERROR "Sanitized tests must link sanitized libraries only:${problems}")
  endif()
endfunction()
