# Registers checks that load a plug-in in independent Linux hosts (Ardour 7 headless, and
# qtractor's VST 2.4 scanner) through the driver realhost.py next to this file.
#
# tests/realhost/CMakeLists.txt includes this file, but the top-level CMakeLists.txt adds
# tests/realhost after most other test folders, so a folder that wants the function includes
# it itself (the guard makes that safe):
#
#   include(${PROJECT_SOURCE_DIR}/tests/realhost/RealHost.cmake)
#   orvane_add_realhost_test(realhost.eq.output_gain
#     PLUGIN $<TARGET_PROPERTY:OrvaneEQ,ORVANE_BUNDLE_DIR>    # a .vst3 bundle or a VST 2.4 .so
#     ARGS --channels 2 --set "Output=-6" --expect-gain -6)
#   orvane_add_realhost_test(realhost.eq.responses            # a check script of that folder
#     PLUGIN $<TARGET_PROPERTY:OrvaneEQ,ORVANE_BUNDLE_DIR>
#     SCRIPT ${CMAKE_CURRENT_SOURCE_DIR}/eq_responses.py)
#
# or calls the driver directly, with nothing to include but the path:
#
#   if(ORVANE_REALHOST_TESTS)
#     add_test(NAME realhost.eq.output_gain
#              COMMAND ${ORVANE_PYTHON} ${PROJECT_SOURCE_DIR}/tests/realhost/realhost.py
#                      check <plugin> --set "Output=-6" --expect-gain -6)
#   endif()
#
# (ORVANE_REALHOST_DRIVER and ORVANE_REALHOST_DIR hold the same paths once this file has been
# included; on the first configure run they do not exist yet in folders added before it.)
include_guard(GLOBAL)

set(ORVANE_REALHOST_DIR "${CMAKE_CURRENT_LIST_DIR}"
    CACHE INTERNAL "Folder of the real-host driver, for PYTHONPATH of check scripts")
set(ORVANE_REALHOST_DRIVER "${CMAKE_CURRENT_LIST_DIR}/realhost.py"
    CACHE INTERNAL "Driver of the checks in independent hosts (run it with ORVANE_PYTHON)")

# orvane_add_realhost_test(<test name>
#   PLUGIN <.vst3 bundle or VST 2.4 .so; generator expressions allowed>
#   [COMMAND check|scan|qtractor-scan|params]  driver command, default check
#   [SCRIPT <file.py>]                   run this check script instead of the driver: it gets
#                                        PLUGIN and ARGS, and imports realhost (run_script)
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
  cmake_parse_arguments(PARSE_ARGV 1 RH "" "PLUGIN;COMMAND;SCRIPT;TIMEOUT;PASS_REGULAR_EXPRESSION"
                        "ARGS;LABELS")
  if(NOT RH_PLUGIN)
    message(FATAL_ERROR "orvane_add_realhost_test(${name}): PLUGIN is required")
  endif()
  if(RH_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "orvane_add_realhost_test(${name}): unknown arguments ${RH_UNPARSED_ARGUMENTS}")
  endif()
  if(RH_SCRIPT AND RH_COMMAND)
    message(FATAL_ERROR "orvane_add_realhost_test(${name}): give COMMAND or SCRIPT, not both")
  endif()
  if(NOT RH_COMMAND)
    set(RH_COMMAND check)
  endif()
  if(NOT RH_TIMEOUT)
    set(RH_TIMEOUT 300)
  endif()
  if(RH_SCRIPT)
    add_test(NAME ${name} COMMAND ${ORVANE_PYTHON} ${RH_SCRIPT} ${RH_PLUGIN} ${RH_ARGS})
  else()
    add_test(NAME ${name}
             COMMAND ${ORVANE_PYTHON} ${ORVANE_REALHOST_DRIVER} ${RH_COMMAND} ${RH_PLUGIN} ${RH_ARGS})
  endif()
  # An Ardour session keeps about two cores busy (engine and main thread).
  set_tests_properties(${name} PROPERTIES TIMEOUT ${RH_TIMEOUT} PROCESSORS 2
                       LABELS "realhost;${RH_LABELS}"
                       ENVIRONMENT "PYTHONPATH=${ORVANE_REALHOST_DIR};PYTHONDONTWRITEBYTECODE=1")
  if(RH_PASS_REGULAR_EXPRESSION)
    set_tests_properties(${name} PROPERTIES PASS_REGULAR_EXPRESSION "${RH_PASS_REGULAR_EXPRESSION}")
  endif()
endfunction()
