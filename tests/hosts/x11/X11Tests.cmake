# The X server of every X11 test: a fixture starts Xvfb before the first test that needs it
# and stops it after the last. The tests find the server through the state file (compiled
# into the test host as ORVANE_X11_STATE_FILE). They share one server, and since pointer and
# keyboard are the server's, they run one at a time.
include_guard(GLOBAL)

set(ORVANE_X11_STATE ${CMAKE_BINARY_DIR}/x11-server/state CACHE INTERNAL "")
add_test(NAME x11.server.start
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/xvfb.sh start ${ORVANE_X11_STATE})
add_test(NAME x11.server.stop
         COMMAND ${CMAKE_CURRENT_LIST_DIR}/xvfb.sh stop ${ORVANE_X11_STATE})
set_tests_properties(x11.server.start PROPERTIES FIXTURES_SETUP x11server)
set_tests_properties(x11.server.stop PROPERTIES FIXTURES_CLEANUP x11server)

# orvane_x11_tests(target [TEST_PREFIX prefix] [PROPERTIES ...]): the target's tests use the
# fixture's server.
function(orvane_x11_tests target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "TEST_PREFIX" "PROPERTIES")
  gtest_discover_tests(${target} TEST_PREFIX "${ARG_TEST_PREFIX}" DISCOVERY_MODE PRE_TEST
    PROPERTIES FIXTURES_REQUIRED x11server RESOURCE_LOCK x11server LABELS x11
               ${ARG_PROPERTIES})
endfunction()
