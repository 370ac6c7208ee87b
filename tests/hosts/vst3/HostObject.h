// Reference counting and interface queries for the test host's own objects.
#pragma once

#include "pluginterfaces/base/funknown.h"

#include <atomic>

namespace orvane::testhost {

// Implements FUnknown for an object that offers the listed interfaces; FUnknown itself is
// answered with the first one. Created with one reference.
template <class First, class... Rest> class HostObject : public First, public Rest... {
public:
  HostObject() = default;
  HostObject(const HostObject&) = delete;
  HostObject& operator=(const HostObject&) = delete;
  virtual ~HostObject() = default;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override {
    if (!obj)
      return Steinberg::kInvalidArgument;
    if (Steinberg::iidEqual(iid, Steinberg::FUnknown::iid) ||
        Steinberg::iidEqual(iid, First::iid)) {
      addRef();
      *obj = static_cast<First*>(this);
      return Steinberg::kResultOk;
    }
    if ((answer<Rest>(iid, obj) || ...))
      return Steinberg::kResultOk;
    *obj = nullptr;
    return Steinberg::kNoInterface;
  }
  Steinberg::uint32 PLUGIN_API addRef() override { return ++refs; }
  Steinberg::uint32 PLUGIN_API release() override {
    const Steinberg::uint32 left = --refs;
    if (left == 0)
      delete this;
    return left;
  }

  Steinberg::uint32 referenceCount() const { return refs; }

private:
  template <class I> bool answer(const Steinberg::TUID iid, void** obj) {
    if (!Steinberg::iidEqual(iid, I::iid))
      return false;
    addRef();
    *obj = static_cast<I*>(this);
    return true;
  }

  std::atomic<Steinberg::uint32> refs{1};
};

} // namespace orvane::testhost
