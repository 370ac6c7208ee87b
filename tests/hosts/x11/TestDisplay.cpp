#include "tests/hosts/x11/TestDisplay.h"

#include <X11/Xlib.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace orvane::x11host {

namespace {

std::string displayInStateFile() {
  const char* state = std::getenv("ORVANE_X11_STATE");
  std::ifstream file(state ? state : ORVANE_X11_STATE_FILE);
  std::string name;
  file >> name;
  return name;
}

} // namespace

std::string testDisplayName() {
  const std::string fromFixture = displayInStateFile();
  if (!fromFixture.empty())
    return fromFixture;
  const char* display = std::getenv("DISPLAY");
  return display ? display : "";
}

Display* openTestDisplay(std::string& error) {
  const std::string name = testDisplayName();
  if (name.empty()) {
    error = "no X server: run under CTest (Xvfb fixture) or set DISPLAY";
    return nullptr;
  }
  // Code under test that opens its own connection (XOpenDisplay(nullptr)) must reach the
  // same server.
  setenv("DISPLAY", name.c_str(), 1);
  // A server that has just started may refuse the first connection for a moment.
  Display* display = nullptr;
  for (int attempt = 0; attempt < 20 && !display; ++attempt) {
    display = XOpenDisplay(name.c_str());
    if (!display)
      usleep(50000);
  }
  if (!display)
    error = "cannot open X display " + name;
  return display;
}

} // namespace orvane::x11host
