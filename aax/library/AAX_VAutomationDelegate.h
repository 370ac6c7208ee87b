// Proxy of the host's automation delegate of one effect instance.
#pragma once

#include "AAX_IACFAutomationDelegate.h"
#include "aax/library/AAX_HostRef.h"
#include "aax/library/AAX_IAutomationDelegate.h"

class AAX_VAutomationDelegate : public AAX_IAutomationDelegate {
public:
  explicit AAX_VAutomationDelegate(IACFUnknown* host);

  AAX_Result RegisterParameter(AAX_CParamID id) override;
  AAX_Result UnregisterParameter(AAX_CParamID id) override;
  AAX_Result PostSetValueRequest(AAX_CParamID id, double normalizedValue) const override;
  AAX_Result PostCurrentValue(AAX_CParamID id, double normalizedValue) const override;
  AAX_Result PostTouchRequest(AAX_CParamID id) override;
  AAX_Result PostReleaseRequest(AAX_CParamID id) override;

  bool HasHostInterface() const { return bool(mDelegate); }

private:
  AAX_HostRef<AAX_IACFAutomationDelegate> mDelegate;
};
