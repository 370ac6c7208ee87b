#include "HostOffscreenWindows.h"

#include <dlfcn.h>

#include <cstring>

#include "AppKit/HostOffscreenWindows.h"
#include "OffscreenWindowBackend.h"

namespace {

// Looked up once: a host publishes the function before it loads anything.
OrvaneHostOffscreenWindow PublishedHook() {
  static const auto hook = reinterpret_cast<OrvaneHostOffscreenWindow>(
      dlsym(RTLD_DEFAULT, kOrvaneHostOffscreenWindowSymbol));
  return hook;
}

OffscreenWindowBackend* Backend(void* window) {
  return static_cast<OffscreenWindowBackend*>(window);
}

std::size_t ReadRgba(void* window, std::uint8_t* out, std::size_t capacity, int* width,
                     int* height) {
  const std::vector<std::uint8_t> rgba = Backend(window)->rgba(*width, *height);
  if (out && capacity >= rgba.size())
    std::memcpy(out, rgba.data(), rgba.size());
  return rgba.size();
}

void Mouse(void* window, int what, double x, double y, std::uint64_t flags) {
  const NSPoint at = NSMakePoint(x, y);
  const auto modifiers = static_cast<NSEventModifierFlags>(flags);
  switch (what) {
  case kOrvaneMouseDown:
    Backend(window)->press(at, modifiers);
    break;
  case kOrvaneMouseDrag:
    Backend(window)->drag(at, modifiers);
    break;
  case kOrvaneMouseUp:
    Backend(window)->release(at, modifiers);
    break;
  default:
    break;
  }
}

void Scroll(void* window, double x, double y, double deltaY, std::uint64_t flags) {
  Backend(window)->scroll(NSMakePoint(x, y), deltaY, static_cast<NSEventModifierFlags>(flags));
}

constexpr OrvaneOffscreenWindowCalls kCalls{&ReadRgba, &Mouse, &Scroll};

// Tells the host when its window comes and goes.
class HostOffscreenBackend : public OffscreenWindowBackend {
public:
  explicit HostOffscreenBackend(OrvaneHostOffscreenWindow hook)
      : OffscreenWindowBackend(hook(&kCalls, this, 1)), hook(hook) {}
  ~HostOffscreenBackend() override { Announce(); }
  void detach() override {
    OffscreenWindowBackend::detach();
    Announce();
  }

private:
  void Announce() {
    if (!gone)
      hook(&kCalls, this, 0);
    gone = true;
  }
  OrvaneHostOffscreenWindow hook;
  bool gone = false;
};

} // namespace

bool HostWantsOffscreenWindows() {
  return PublishedHook() != nullptr;
}

std::unique_ptr<NSWindowBackend> MakeHostOffscreenBackend() {
  if (!PublishedHook())
    return nullptr;
  return std::make_unique<HostOffscreenBackend>(PublishedHook());
}
