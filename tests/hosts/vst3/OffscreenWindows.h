// The test host's screen for the windows of the bundles it loads: linking this makes the
// executable publish orvaneHostOffscreenWindow, so every editor window a loaded bundle opens is
// kept in memory (sdk/macos/AppKit/HostOffscreenWindows.h). The test picks the backing scale of
// the next windows, reads their pixels and moves the mouse over them in window points.
#pragma once

#include <cstdint>
#include <vector>

#include "AppKit/HostOffscreenWindows.h"

namespace orvane::testhost {

class OffscreenWindow {
public:
  OffscreenWindow(const OrvaneOffscreenWindowCalls* calls, void* handle)
      : calls(calls), handle(handle) {}
  // The pixels as RGBA rows, and the size in device pixels.
  std::vector<std::uint8_t> rgba(int& width, int& height) const;
  void press(double x, double y, std::uint64_t flags = 0);
  void drag(double x, double y, std::uint64_t flags = 0);
  void release(double x, double y, std::uint64_t flags = 0);
  void scroll(double x, double y, double deltaY, std::uint64_t flags = 0);
  void* handleValue() const { return handle; }

private:
  const OrvaneOffscreenWindowCalls* calls;
  void* handle;
};

namespace offscreen {
// The backing scale factor the next windows open at (1 to begin with).
void setBackingScale(double scale);
// The newest window still open, or null.
OffscreenWindow* newestWindow();
size_t openWindowCount();
} // namespace offscreen

} // namespace orvane::testhost
