// One owned reference to a host interface, released when the holder goes. The queries that
// fill it follow the library's rule for host objects: a failed query leaves it empty (the
// proxy then answers its "missing" code), and a query that reports success but yields null
// breaks the host's contract and throws AAX_ERROR_MISSING_INTERFACE_THROWN.
#pragma once

#include "AAX.h"
#include "acfunknown.h"

#include <utility>

template <class Interface> class AAX_HostRef {
public:
  AAX_HostRef() = default;
  // Takes over a reference the caller already holds.
  explicit AAX_HostRef(Interface* adopted) : mInterface(adopted) {}
  AAX_HostRef(const AAX_HostRef&) = delete;
  AAX_HostRef& operator=(const AAX_HostRef&) = delete;
  AAX_HostRef(AAX_HostRef&& other) noexcept
      : mInterface(std::exchange(other.mInterface, nullptr)) {}
  AAX_HostRef& operator=(AAX_HostRef&& other) noexcept {
    if (this != &other) {
      Reset();
      mInterface = std::exchange(other.mInterface, nullptr);
    }
    return *this;
  }
  ~AAX_HostRef() { Reset(); }

  void Reset() {
    if (mInterface)
      std::exchange(mInterface, nullptr)->Release();
  }
  Interface* Get() const { return mInterface; }
  Interface* operator->() const { return mInterface; }
  explicit operator bool() const { return mInterface != nullptr; }

private:
  Interface* mInterface = nullptr;
};

// A new reference to an interface the caller was handed (null stays empty).
template <class Interface> AAX_HostRef<Interface> AAX_KeepReference(Interface* object) {
  if (object)
    object->AddRef();
  return AAX_HostRef<Interface>(object);
}

// The interface iid of object, or an empty holder when object is null or does not answer it.
template <class Interface>
AAX_HostRef<Interface> AAX_QueryHostInterface(IACFUnknown* object, const acfIID& iid) {
  if (!object)
    return {};
  void* out = nullptr;
  if (object->QueryInterface(iid, &out) != ACF_OK)
    return {};
  if (!out)
    throw AAX_ERROR_MISSING_INTERFACE_THROWN;
  return AAX_HostRef<Interface>(static_cast<Interface*>(out));
}

// A new host object of class clsid, made by the host's component factory and answering iid;
// the factory reference is dropped at once. Null when the host has no factory or the factory
// cannot make the object; otherwise the caller owns the one reference it carries.
void* AAX_CreateHostObjectRaw(IACFUnknown* host, const acfCLSID& clsid, const acfIID& iid);

template <class Interface>
AAX_HostRef<Interface> AAX_CreateHostObject(IACFUnknown* host, const acfCLSID& clsid,
                                            const acfIID& iid) {
  // The factory answered the interface asked for, so the pointer is of that type.
  return AAX_HostRef<Interface>(static_cast<Interface*>(AAX_CreateHostObjectRaw(host, clsid, iid)));
}
