// The plug-in's editor object as the host calls it.
#pragma once

#include "AAX.h"
#include "acfunknown.h"

class AAX_IACFEffectGUI : public IACFUnknown {
public:
  virtual AAX_Result Initialize(IACFUnknown* host) = 0;
  virtual AAX_Result Uninitialize() = 0;
  virtual AAX_Result GuiHook1() = 0;
  // container is the host's view container while the window is open, null when it closes.
  virtual AAX_Result SetViewContainer(IACFUnknown* container) = 0;
  virtual AAX_Result GetViewSize(AAX_Point* size) const = 0;
  virtual AAX_Result Draw(AAX_Rect* area) = 0;
  virtual AAX_Result GuiHook2() = 0;
  virtual AAX_Result ParameterUpdated(AAX_CParamID id) = 0;
  virtual AAX_Result GuiHook3() = 0;
  virtual AAX_Result SetControlHighlight(AAX_CParamID id, AAX_CBoolean highlighted,
                                         int32_t colour) = 0;

protected:
  ~AAX_IACFEffectGUI() = default;
};
