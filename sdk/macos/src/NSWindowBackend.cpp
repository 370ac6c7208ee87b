// The factories of the window back ends this binary knows.
#include "AppKit/NSWindowBackend.h"

#include <array>

#include "HostOffscreenWindows.h"

namespace {

constexpr size_t kKinds = 2;

std::array<NSWindowBackend::Factory, kKinds>& Factories() {
  static std::array<NSWindowBackend::Factory, kKinds> factories{};
  return factories;
}

size_t IndexOf(NSWindowBackend::Kind kind) {
  return static_cast<size_t>(kind);
}

} // namespace

void NSWindowBackend::RegisterFactory(Kind kind, Factory factory) {
  if (IndexOf(kind) < kKinds)
    Factories()[IndexOf(kind)] = factory;
}

// A host that asks for off-screen windows gets them for every kind, ahead of what this binary
// registered: it has no window system to show them on.
bool NSWindowBackend::HasFactory(Kind kind) {
  if (HostWantsOffscreenWindows())
    return true;
  return IndexOf(kind) < kKinds && Factories()[IndexOf(kind)] != nullptr;
}

std::unique_ptr<NSWindowBackend> NSWindowBackend::Create(Kind kind, void* parent) {
  if (HostWantsOffscreenWindows())
    return MakeHostOffscreenBackend();
  if (!HasFactory(kind))
    return nullptr;
  return Factories()[IndexOf(kind)](parent);
}
