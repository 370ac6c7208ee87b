// The factories of the window back ends this binary knows.
#include "AppKit/NSWindowBackend.h"

#include <array>

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

bool NSWindowBackend::HasFactory(Kind kind) {
  return IndexOf(kind) < kKinds && Factories()[IndexOf(kind)] != nullptr;
}

std::unique_ptr<NSWindowBackend> NSWindowBackend::Create(Kind kind, void* parent) {
  if (!HasFactory(kind))
    return nullptr;
  return Factories()[IndexOf(kind)](parent);
}
