// IDependent: the change notification an FObject sends to the objects that watch it.
#pragma once

#include "pluginterfaces/base/funknown.h"

namespace Steinberg {

class IDependent : public FUnknown {
public:
  // `changedUnknown` is the object that changed; `message` one of ChangeMessage or a
  // class-specific value.
  virtual void PLUGIN_API update(FUnknown* changedUnknown, int32 message) = 0;

  enum ChangeMessage : int32 {
    kWillChange,
    kChanged,
    kDestroyed,
    kWillDestroy,
    kStdChangeMessageLast = kWillDestroy
  };

  static const FUID iid;
};

DECLARE_CLASS_IID(IDependent, 0xF52B7AAE, 0xDE72416D, 0x8AF18ACE, 0x9DD7BD5E)

} // namespace Steinberg
