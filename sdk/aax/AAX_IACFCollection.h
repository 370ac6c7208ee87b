// The host's collection: the description of every effect a plug-in bundle offers.
#pragma once

#include "AAX.h"
#include "acfunknown.h"

class AAX_IACFCollection : public IACFUnknown {
public:
  // effectDescriptor is the host effect descriptor the plug-in filled.
  virtual AAX_Result AddEffect(const char* effectID, IACFUnknown* effectDescriptor) = 0;
  virtual AAX_Result AddManufacturerName(const char* name) = 0;
  virtual AAX_Result AddPackageName(const char* name) = 0;
  virtual AAX_Result SetPackageVersion(uint32_t version) = 0;

protected:
  ~AAX_IACFCollection() = default;
};
