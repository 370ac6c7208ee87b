// Proxy of a host property map, made by the host's component factory.
#pragma once

#include "AAX_IACFPropertyMap.h"
#include "aax/library/AAX_HostRef.h"

class AAX_VPropertyMap {
public:
  explicit AAX_VPropertyMap(IACFUnknown* host);

  AAX_Result AddProperty(AAX_CPropertyID id, AAX_CPropertyValue value);

  // The host interface this proxy wraps, for passing it back to the host; null when missing.
  IACFUnknown* HostInterface() const { return mPropertyMap.Get(); }

private:
  AAX_HostRef<AAX_IACFPropertyMap> mPropertyMap;
  AAX_HostRef<AAX_IACFPropertyMap_V2> mPropertyMapV2;
};
