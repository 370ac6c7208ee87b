// The X server of the X11 tests. Under CTest a fixture starts Xvfb (xvfb.sh) and writes its
// display into a state file (ORVANE_X11_STATE overrides where); a test run by hand without
// that server falls back to $DISPLAY.
#pragma once

#include <string>

typedef struct _XDisplay Display;

namespace orvane::x11host {

// The display name the tests use, or empty when there is none.
std::string testDisplayName();

// Opens a new connection to the test display (the caller closes it); null with the reason in
// `error` when there is no server.
Display* openTestDisplay(std::string& error);

} // namespace orvane::x11host
