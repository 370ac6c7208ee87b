# Test names carry the subsystem they check, so that `ctest -R aax` (or framework, raster, gui,
# eq, compressor, vst2, ...) runs one subsystem's tests and nothing else.
#
# This file shadows CMake's own GoogleTest module (the project puts cmake/ first on
# CMAKE_MODULE_PATH), so every `include(GoogleTest)` in a test folder gets a
# gtest_discover_tests that prefixes the discovered names with the folder's subsystem path:
#
#   tests/aax                   -> aax.<Suite>.<Test>
#   tests/framework/presetfiles -> framework.presetfiles.<Suite>.<Test>
#   sdk/macos/runloop/tests     -> sdk.macos.runloop.<Suite>.<Test>
#
# A folder needs nothing of its own for this. A TEST_PREFIX it still passes is kept after the
# folder's prefix, unless the folder's prefix already ends with it ("aax." in tests/aax).
# Plain add_test calls name their tests with orvane_test_prefix below.
include_guard(GLOBAL)
include(${CMAKE_ROOT}/Modules/GoogleTest.cmake)

# orvane_test_prefix(<out-var>): the dotted subsystem path of the current source folder,
# followed by a dot: tests/ and Projects/ in front and a trailing /tests are dropped.
function(orvane_test_prefix out)
  file(RELATIVE_PATH rel "${PROJECT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}")
  string(REGEX REPLACE "^(tests|Projects)(/|$)" "" rel "${rel}")
  string(REGEX REPLACE "(^|/)tests$" "" rel "${rel}")
  if(rel STREQUAL "")
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  string(REPLACE "/" "." rel "${rel}")
  set(${out} "${rel}." PARENT_SCOPE)
endfunction()

# Defining a command again keeps the previous definition as _gtest_discover_tests; the guard
# above makes sure that happens exactly once, so the underscore name is CMake's own function.
function(gtest_discover_tests target)
  cmake_parse_arguments(PARSE_ARGV 1 ORVANE "" "TEST_PREFIX" "")
  orvane_test_prefix(prefix)
  if(ORVANE_TEST_PREFIX)
    string(LENGTH "${prefix}" prefixLength)
    string(LENGTH "${ORVANE_TEST_PREFIX}" ownLength)
    math(EXPR tailStart "${prefixLength} - ${ownLength}")
    set(tail "")
    if(tailStart GREATER_EQUAL 0)
      string(SUBSTRING "${prefix}" ${tailStart} -1 tail)
    endif()
    if(NOT tail STREQUAL ORVANE_TEST_PREFIX)
      string(APPEND prefix "${ORVANE_TEST_PREFIX}")
    endif()
  endif()
  _gtest_discover_tests(${target} TEST_PREFIX "${prefix}" ${ORVANE_UNPARSED_ARGUMENTS})
endfunction()
