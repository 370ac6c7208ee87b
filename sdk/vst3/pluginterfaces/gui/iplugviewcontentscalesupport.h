// The host's display scale for a plug-in view: a host that knows the scale of the screen the
// view is on (2.0 on a high-density screen) tells the view, which then draws at that scale.
#pragma once

#include "pluginterfaces/base/funknown.h"

namespace Steinberg {

class IPlugViewContentScaleSupport : public FUnknown {
public:
  using ScaleFactor = float;

  virtual tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) = 0;

  static const FUID iid;
};

DECLARE_CLASS_IID(IPlugViewContentScaleSupport, 0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F)

} // namespace Steinberg
