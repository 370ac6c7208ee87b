// The host's application object, handed to both halves at initialize.
#pragma once

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/vsttypes.h"

namespace Steinberg {
namespace Vst {

class IHostApplication : public FUnknown {
public:
  virtual tresult PLUGIN_API getName(String128 name) = 0;
  // Makes host objects for the plug-in, such as IMessage and IAttributeList (cid and _iid
  // name the same interface).
  virtual tresult PLUGIN_API createInstance(TUID cid, TUID _iid, void** obj) = 0;

  static const FUID iid;
};

DECLARE_CLASS_IID(IHostApplication, 0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5)

// Creates a host object through the host application; null when the host has none.
template <class T> inline T* createHostInstance(IHostApplication* host) {
  if (!host)
    return nullptr;
  TUID iid;
  std::memcpy(iid, T::iid.toTUID(), sizeof(TUID));
  void* obj = nullptr;
  if (host->createInstance(iid, iid, &obj) == kResultOk)
    return static_cast<T*>(obj);
  return nullptr;
}

} // namespace Vst
} // namespace Steinberg
