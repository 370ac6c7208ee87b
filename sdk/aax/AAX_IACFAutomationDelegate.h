// The host's automation: parameters register with it, and every value change or edit gesture
// of the plug-in side is posted to it; the host answers with UpdateParameterNormalizedValue.
#pragma once

#include "AAX.h"
#include "acfunknown.h"

class AAX_IACFAutomationDelegate : public IACFUnknown {
public:
  virtual AAX_Result RegisterParameter(AAX_CParamID id) = 0;
  virtual AAX_Result UnregisterParameter(AAX_CParamID id) = 0;
  virtual AAX_Result PostSetValueRequest(AAX_CParamID id, double normalizedValue) = 0;
  virtual AAX_Result PostCurrentValue(AAX_CParamID id, double normalizedValue) = 0;
  virtual AAX_Result PostTouchRequest(AAX_CParamID id) = 0;
  virtual AAX_Result PostReleaseRequest(AAX_CParamID id) = 0;

protected:
  ~AAX_IACFAutomationDelegate() = default;
};
