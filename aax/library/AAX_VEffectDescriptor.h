// Proxy of a host effect descriptor, made by the host's component factory. Keeps the
// component descriptors it makes (and through them their property maps) and deletes them
// with itself.
#pragma once

#include "AAX_IACFEffectDescriptor.h"
#include "aax/library/AAX_HostRef.h"
#include "aax/library/AAX_VComponentDescriptor.h"

#include <memory>
#include <vector>

class AAX_VEffectDescriptor {
public:
  explicit AAX_VEffectDescriptor(IACFUnknown* host);
  ~AAX_VEffectDescriptor();

  // A new component descriptor proxy, kept by this descriptor.
  AAX_VComponentDescriptor* NewComponentDescriptor();
  AAX_Result AddComponent(AAX_VComponentDescriptor* component);
  AAX_Result AddName(const char* name);
  AAX_Result AddCategory(uint32_t category);
  AAX_Result AddProcPtr(void* procPtr, AAX_CProcPtrID procID);

  IACFUnknown* HostInterface() const { return mDescriptor.Get(); }

private:
  AAX_HostRef<IACFUnknown> mHost;
  AAX_HostRef<AAX_IACFEffectDescriptor> mDescriptor;
  AAX_HostRef<AAX_IACFEffectDescriptor_V2> mDescriptorV2;
  std::vector<std::unique_ptr<AAX_VComponentDescriptor>> mComponents;
};
