#include "tests/hosts/vst3/OffscreenWindows.h"

#include <algorithm>
#include <memory>

namespace orvane::testhost {

namespace {

double gScale = 1.0;

std::vector<std::unique_ptr<OffscreenWindow>>& OpenWindows() {
  static std::vector<std::unique_ptr<OffscreenWindow>> windows;
  return windows;
}

} // namespace

std::vector<std::uint8_t> OffscreenWindow::rgba(int& width, int& height) const {
  width = height = 0;
  const std::size_t size = calls->readRgba(handle, nullptr, 0, &width, &height);
  std::vector<std::uint8_t> pixels(size);
  calls->readRgba(handle, pixels.data(), pixels.size(), &width, &height);
  return pixels;
}

void OffscreenWindow::press(double x, double y, std::uint64_t flags) {
  calls->mouse(handle, kOrvaneMouseDown, x, y, flags);
}

void OffscreenWindow::drag(double x, double y, std::uint64_t flags) {
  calls->mouse(handle, kOrvaneMouseDrag, x, y, flags);
}

void OffscreenWindow::release(double x, double y, std::uint64_t flags) {
  calls->mouse(handle, kOrvaneMouseUp, x, y, flags);
}

void OffscreenWindow::scroll(double x, double y, double deltaY, std::uint64_t flags) {
  calls->scroll(handle, x, y, deltaY, flags);
}

namespace offscreen {

void setBackingScale(double scale) {
  gScale = scale;
}

OffscreenWindow* newestWindow() {
  return OpenWindows().empty() ? nullptr : OpenWindows().back().get();
}

size_t openWindowCount() {
  return OpenWindows().size();
}

} // namespace offscreen

} // namespace orvane::testhost

using orvane::testhost::OffscreenWindow;

// What a loaded bundle calls for every window it opens and closes.
extern "C" __attribute__((visibility("default"))) double
orvaneHostOffscreenWindow(const OrvaneOffscreenWindowCalls* calls, void* handle, int opened) {
  auto& windows = orvane::testhost::OpenWindows();
  if (opened) {
    windows.push_back(std::make_unique<OffscreenWindow>(calls, handle));
    return orvane::testhost::gScale;
  }
  windows.erase(std::remove_if(windows.begin(), windows.end(),
                               [handle](const auto& w) { return w->handleValue() == handle; }),
                windows.end());
  return 0.0;
}
