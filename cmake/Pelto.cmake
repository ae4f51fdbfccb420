# Build conventions shared by every module.
#
#   pelto_module(<target> SOURCES ... [DEPS ...])   one static library per module folder
#   pelto_test(<module-target> SOURCES ... [DEPS ...] [NO_UNITY])
#       the module's GoogleTest executable, labelled by folder; its files are compiled a few at a
#       time (see PELTO_UNITY below) unless NO_UNITY is given
#   pelto_bench(<name> SOURCES ... DEPS ...)        a Google Benchmark executable (not run by the tests)
#   pelto_fuzz(<name> SOURCES ... DEPS ... [CORPUS dir])
#       a libFuzzer target; in ordinary builds it is linked with a driver that replays the corpus,
#       and that replay is a test.
#   pelto_desktop_test(<module-target> <name> SCRIPT <scenario.sh> PROGRAM <target> [ARGS ...] [TIMEOUT s])
#       a test of a program on a throw-away X server: scripts/desktop-test.sh starts Xvfb and the
#       program and sources the scenario, which drives it (how to write one is at the top of that
#       script). Named <module-target>.<name>, labelled by folder and "desktop"; pictures and the
#       program's log go to <build folder>/<name>. At most PELTO_DESKTOP_SLOTS of them run at once,
#       so that none is starved under ctest -j.

if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # Narrow literals are the 8-bit text the system works on: code page 936.
  add_compile_options(-finput-charset=UTF-8 -fexec-charset=CP936)
endif()
add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-missing-field-initializers)
include_directories(${CMAKE_SOURCE_DIR})

find_program(PELTO_CCACHE ccache)
if(PELTO_CCACHE)
  set(_launcher ${CMAKE_COMMAND} -E env CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime ${PELTO_CCACHE})
  set(CMAKE_C_COMPILER_LAUNCHER ${_launcher})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${_launcher})
endif()

# Line tables (-g1) are all that the sanitizers' reports need: file and line of every frame,
# inlined ones too. Full debug information costs a quarter of the sanitizer build's compile time;
# -DPELTO_SANITIZE_DEBUG=-g gives it back for a debugger.
set(PELTO_SANITIZE_DEBUG -g1 CACHE STRING "Debug information of sanitizer builds (after CMAKE_CXX_FLAGS)")
if(PELTO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined
                      ${PELTO_SANITIZE_DEBUG})
  add_link_options(-fsanitize=address,undefined)
endif()
if(PELTO_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  set(PELTO_TESTS OFF)
  set(PELTO_BENCH OFF)
endif()

if(PELTO_TESTS)
  enable_testing()
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

# Test executables are compiled a few files at a time (unity build): the test framework, the
# module's headers and the templates they instantiate are then compiled once for several files
# rather than once for each. Helpers in anonymous namespaces must have names of their own in each
# test file of a module. PELTO_UNITY=OFF compiles file by file (quicker when editing one test).
option(PELTO_UNITY "Compile test executables a few files at a time" ON)
set(PELTO_UNITY_BATCH 8 CACHE STRING "How many test files make one unity compile")
if(PELTO_BENCH)
  find_package(benchmark REQUIRED)
endif()

# One precompiled header for the standard library, reused by every library, and one that adds the
# test framework, reused by every test executable.
add_library(pelto_pch STATIC ${CMAKE_SOURCE_DIR}/cmake/pch.cpp)
target_precompile_headers(pelto_pch PRIVATE ${CMAKE_SOURCE_DIR}/cmake/pch.h)
if(PELTO_TESTS)
  add_library(pelto_test_pch STATIC ${CMAKE_SOURCE_DIR}/cmake/pch.cpp)
  target_link_libraries(pelto_test_pch PRIVATE GTest::gtest GTest::gmock)
  target_precompile_headers(pelto_test_pch PRIVATE ${CMAKE_SOURCE_DIR}/cmake/pch.h <gtest/gtest.h> <gmock/gmock.h>)
endif()

function(_pelto_label out)
  file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(${out} ${rel} PARENT_SCOPE)
endfunction()

function(pelto_module target)
  cmake_parse_arguments(M "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${target} STATIC ${M_SOURCES})
  target_link_libraries(${target} PUBLIC ${M_DEPS})
  target_precompile_headers(${target} REUSE_FROM pelto_pch)
endfunction()

function(pelto_test module)
  if(NOT PELTO_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "NO_UNITY" "" "SOURCES;DEPS" ${ARGN})
  _pelto_label(label)
  set(exe ${module}_tests)
  add_executable(${exe} ${T_SOURCES})
  target_link_libraries(${exe} PRIVATE ${module} ${T_DEPS} GTest::gtest_main GTest::gmock)
  target_precompile_headers(${exe} REUSE_FROM pelto_test_pch)
  if(PELTO_UNITY AND NOT T_NO_UNITY)
    set_target_properties(${exe} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${PELTO_UNITY_BATCH})
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      # A fixture in an anonymous namespace is fine in a .cpp; included into the unity file it
      # looks to GCC like one in a header.
      target_compile_options(${exe} PRIVATE -Wno-subobject-linkage)
    endif()
  endif()
  target_compile_definitions(${exe} PRIVATE
    PELTO_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    PELTO_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/tests/data"
    PELTO_TEST_OUTPUT="${CMAKE_CURRENT_BINARY_DIR}")
  gtest_discover_tests(${exe}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DISCOVERY_MODE PRE_TEST
    # Listing the tests of a sanitizer build can take seconds on a busy machine.
    DISCOVERY_TIMEOUT 120
    PROPERTIES LABELS ${label})
endfunction()

function(pelto_bench name)
  if(NOT PELTO_BENCH)
    return()
  endif()
  cmake_parse_arguments(B "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_DEPS} benchmark::benchmark)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()

function(pelto_fuzz name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;DEPS" ${ARGN})
  if(NOT F_CORPUS)
    set(F_CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/${name})
  endif()
  if(PELTO_FUZZ)
    add_executable(${name} ${F_SOURCES})
    target_link_libraries(${name} PRIVATE ${F_DEPS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    file(APPEND ${CMAKE_BINARY_DIR}/fuzzers.txt "${name} ${F_CORPUS}\n")
  elseif(PELTO_TESTS)
    _pelto_label(label)
    add_executable(${name} ${F_SOURCES} ${CMAKE_SOURCE_DIR}/cmake/fuzz_replay.cpp)
    target_link_libraries(${name} PRIVATE ${F_DEPS})
    add_test(NAME ${name}.replay COMMAND ${name} ${F_CORPUS})
    set_tests_properties(${name}.replay PROPERTIES LABELS ${label})
  endif()
endfunction()

if(PELTO_FUZZ)
  file(WRITE ${CMAKE_BINARY_DIR}/fuzzers.txt "")
endif()

set(PELTO_DESKTOP_SLOTS 2 CACHE STRING "How many desktop tests may run at once")
function(pelto_desktop_test module name)
  if(NOT PELTO_TESTS)
    return()
  endif()
  cmake_parse_arguments(D "" "SCRIPT;PROGRAM;TIMEOUT" "ARGS" ${ARGN})
  foreach(tool Xvfb xdotool xmodmap xset xwdtopnm pnmtopng)
    find_program(PELTO_TOOL_${tool} ${tool})
    if(NOT PELTO_TOOL_${tool})
      message(WARNING "${module}.${name} is left out: no ${tool} (scripts/setup.sh installs it)")
      return()
    endif()
  endforeach()
  if(NOT D_TIMEOUT)
    set(D_TIMEOUT 900)
  endif()
  _pelto_label(label)
  set(test ${module}.${name})
  add_test(NAME ${test}
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/desktop-test.sh ${CMAKE_CURRENT_SOURCE_DIR}/${D_SCRIPT}
            ${CMAKE_CURRENT_BINARY_DIR}/${name} $<TARGET_FILE:${D_PROGRAM}> ${D_ARGS})
  # Each takes one of a few locks in turn: a small pool rather than one at a time.
  get_property(n GLOBAL PROPERTY PELTO_DESKTOP_TESTS)
  if(NOT n)
    set(n 0)
  endif()
  math(EXPR slot "${n} % ${PELTO_DESKTOP_SLOTS}")
  math(EXPR n "${n} + 1")
  set_property(GLOBAL PROPERTY PELTO_DESKTOP_TESTS ${n})
  set_tests_properties(${test} PROPERTIES
    LABELS "${label};desktop"
    TIMEOUT ${D_TIMEOUT}
    PROCESSORS 2
    RESOURCE_LOCK pelto_desktop_${slot})
endfunction()
