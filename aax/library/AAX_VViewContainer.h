// Proxy of the host's container of an open editor window.
#pragma once

#include "AAX_IACFViewContainer.h"
#include "aax/library/AAX_HostRef.h"

class AAX_VViewContainer {
public:
  explicit AAX_VViewContainer(IACFUnknown* container);

  // Without the host interface: type 0 and no native view.
  int32_t GetType();
  void* GetNativeView();
  // Without the host interface these answer -20009.
  AAX_Result GetModifiers(uint32_t* modifiers);
  AAX_Result SetViewSize(AAX_Point& size);
  AAX_Result HandleParameterMouseDown(AAX_CParamID id, uint32_t modifiers);

private:
  AAX_HostRef<AAX_IACFViewContainer> mContainer;
};
