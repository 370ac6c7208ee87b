// Proxy of the host's collection, the description of every effect of the bundle. Made by the
// host's component factory; keeps the effect descriptors it makes and deletes them with itself.
#pragma once

#include "AAX_IACFCollection.h"
#include "aax/library/AAX_HostRef.h"
#include "aax/library/AAX_VEffectDescriptor.h"

#include <memory>
#include <vector>

class AAX_VCollection {
public:
  explicit AAX_VCollection(IACFUnknown* host);
  ~AAX_VCollection();

  // A new effect descriptor, kept by the collection; null when the host made none.
  AAX_VEffectDescriptor* NewDescriptor();
  AAX_Result AddEffect(const char* effectID, AAX_VEffectDescriptor* descriptor);
  AAX_Result AddManufacturerName(const char* name);
  AAX_Result AddPackageName(const char* name);
  AAX_Result SetPackageVersion(uint32_t version);

  IACFUnknown* HostInterface() const { return mCollection.Get(); }

private:
  AAX_HostRef<IACFUnknown> mHost;
  AAX_HostRef<AAX_IACFCollection> mCollection;
  std::vector<std::unique_ptr<AAX_VEffectDescriptor>> mDescriptors;
};
