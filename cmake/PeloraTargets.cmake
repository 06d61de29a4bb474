# Small helpers so every folder declares its targets the same way.

# pelora_library(NAME SOURCES ... [DEPS ...] [PRIVATE_DEPS ...])
# Include paths are rooted at the source tree: #include "foundation/Buffer.h".
function(pelora_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
endfunction()

# pelora_test(NAME SOURCES ... [DEPS ...] [LABELS ...] [TIMEOUT s])
# One GoogleTest executable; its cases are discovered when ctest runs, so
# the build never executes test binaries.
function(pelora_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;DEPS;LABELS" ${ARGN})
  if(NOT PELORA_BUILD_TESTS)
    return()
  endif()
  # The ThreadSanitizer tree holds only the tests of the threaded subsystems
  # (label "tsan"); they are built through the target tsan_tests.
  if(PELORA_TSAN AND NOT "tsan" IN_LIST ARG_LABELS)
    return()
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  # Tests find checked-in fixtures (goldens, seeds) through the source tree.
  target_compile_definitions(${name} PRIVATE PELORA_TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  set(labels "${ARG_LABELS}")
  if(NOT labels)
    set(labels unit)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    NO_PRETTY_VALUES
    PROPERTIES LABELS "${labels}" TIMEOUT ${ARG_TIMEOUT}
               ENVIRONMENT "MESA_SHADER_CACHE_DISABLE=true")
  if(PELORA_TSAN)
    if(NOT TARGET tsan_tests)
      add_custom_target(tsan_tests)
    endif()
    add_dependencies(tsan_tests ${name})
  endif()
endfunction()

# pelora_bench(NAME SOURCES ... [DEPS ...]) — a Google Benchmark program or a
# plain executable that prints RESULT lines; never run by the test suite.
function(pelora_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT PELORA_BUILD_BENCH)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()

# pelora_fuzzer(NAME SOURCES ... [DEPS ...]) — a libFuzzer target, only in fuzz builds.
# In the ASan tree the same body is linked to a plain driver instead, and the
# test NAME.regressions replays the inputs checked in under regressions/NAME
# beside the target, when that folder exists: what the fuzzer once found keeps
# being checked where the suite runs, without clang.
function(pelora_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  set(regressions ${CMAKE_CURRENT_SOURCE_DIR}/regressions/${name})
  if(NOT PELORA_FUZZ AND PELORA_SANITIZE AND PELORA_BUILD_TESTS AND IS_DIRECTORY ${regressions})
    add_executable(${name}_replay ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/fuzz/ReplayMain.cpp)
    target_link_libraries(${name}_replay PRIVATE ${ARG_DEPS})
    target_include_directories(${name}_replay PRIVATE ${PROJECT_SOURCE_DIR})
    add_test(NAME ${name}.regressions COMMAND ${name}_replay ${regressions})
    set_tests_properties(${name}.regressions PROPERTIES LABELS unit TIMEOUT 60
                         ENVIRONMENT "MESA_SHADER_CACHE_DISABLE=true")
  endif()
  if(NOT PELORA_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()
