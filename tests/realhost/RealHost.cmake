# Registers checks that load a plug-in in independent Linux hosts (Ardour 7 headless, and
# qtractor's VST 2.4 scanner) through the driver realhost.py next to this file.
#
# tests/realhost/CMakeLists.txt includes this file, but the top-level CMakeLists.txt adds
# tests/realhost after most other test folders, so a folder that wants the function includes
# it itself (the guard makes that safe):
#
#   include(${PROJECT_SOURCE_DIR}/tests/realhost/RealHost.cmake)
#   orvane_add_realhost_test(realhost.eq.gain
#     PLUGIN $<TARGET_FILE_DIR:OrvaneEQ>/../..          # the .vst3 bundle, or a VST 2.4 .so
#     ARGS --set "Output=-6" --expect-gain -6)
#
# or calls the driver directly (nothing to include but the path):
#
#   if(ORVANE_REALHOST_TESTS)
#     add_test(NAME realhost.eq.gain COMMAND ${ORVANE_PYTHON}
#              ${PROJECT_SOURCE_DIR}/tests/realhost/realhost.py check <plugin> --expect-gain -6)
#   endif()
include_guard(GLOBAL)

set(ORVANE_REALHOST_DRIVER "${CMAKE_CURRENT_LIST_DIR}/realhost.py"
    CACHE INTERNAL "Driver of the checks in independent hosts (run it with ORVANE_PYTHON)")

# orvane_add_realhost_test(<test name>
#   PLUGIN <.vst3 bundle or VST 2.4 .so; generator expressions allowed>
#   [COMMAND check|scan|qtractor-scan]   driver command, default check
#   [TIMEOUT <seconds>]                  CTest timeout, default 300 (each host call has 120 s)
#   [ARGS <driver options>...]           see `realhost.py check --help`
#   [LABELS <label>...]                  added to the label "realhost"
#   [PASS_REGULAR_EXPRESSION <regex>])   for checks of the harness that must fail in a set way
#
# Registers nothing when ORVANE_REALHOST_TESTS is OFF (sanitizer builds: Ardour cannot load
# a plug-in built with AddressSanitizer).
function(orvane_add_realhost_test name)
  if(NOT ORVANE_REALHOST_TESTS)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 1 RH "" "PLUGIN;COMMAND;TIMEOUT;PASS_REGULAR_EXPRESSION"
                        "ARGS;LABELS")
  if(NOT RH_PLUGIN)
    message(FATAL_ERROR "orvane_add_realhost_test(${name}): PLUGIN is required")
  endif()
  if(RH_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "orvane_add_realhost_test(${name}): unknown arguments ${RH_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT RH_COMMAND)
    set(RH_COMMAND check)
  endif()
  if(NOT RH_TIMEOUT)
    set(RH_TIMEOUT 300)
  endif()
  add_test(NAME ${name}
           COMMAND ${ORVANE_PYTHON} ${ORVANE_REALHOST_DRIVER} ${RH_COMMAND} ${RH_PLUGIN} ${RH_ARGS})
  # An Ardour session keeps about two cores busy (engine and main thread).
  set_tests_properties(${name} PROPERTIES TIMEOUT ${RH_TIMEOUT} PROCESSORS 2
                       LABELS "realhost;${RH_LABELS}")
  if(RH_PASS_REGULAR_EXPRESSION)
    set_tests_properties(${name} PROPERTIES PASS_REGULAR_EXPRESSION "${RH_PASS_REGULAR_EXPRESSION}")
  endif()
endfunction()
