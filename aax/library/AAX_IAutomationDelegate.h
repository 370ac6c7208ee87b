// What a parameter needs of the host's automation: registration, value posts and gestures.
#pragma once

#include "AAX.h"

class AAX_IAutomationDelegate {
public:
  virtual ~AAX_IAutomationDelegate() = default;
  virtual AAX_Result RegisterParameter(AAX_CParamID id) = 0;
  virtual AAX_Result UnregisterParameter(AAX_CParamID id) = 0;
  virtual AAX_Result PostSetValueRequest(AAX_CParamID id, double normalizedValue) const = 0;
  virtual AAX_Result PostCurrentValue(AAX_CParamID id, double normalizedValue) const = 0;
  virtual AAX_Result PostTouchRequest(AAX_CParamID id) = 0;
  virtual AAX_Result PostReleaseRequest(AAX_CParamID id) = 0;
};
