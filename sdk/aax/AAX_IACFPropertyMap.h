// The host's property map: integer properties that identify a component to the host.
#pragma once

#include "AAX.h"
#include "acfunknown.h"

class AAX_IACFPropertyMap : public IACFUnknown {
public:
  virtual AAX_Result AddProperty(AAX_CPropertyID id, AAX_CPropertyValue value) = 0;

protected:
  ~AAX_IACFPropertyMap() = default;
};

// Second version, queried like the descriptors'; no operation of it is called here.
class AAX_IACFPropertyMap_V2 : public AAX_IACFPropertyMap {
protected:
  ~AAX_IACFPropertyMap_V2() = default;
};
