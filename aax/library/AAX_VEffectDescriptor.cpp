#include "aax/library/AAX_VEffectDescriptor.h"

#include "AAX_UIDs.h"

AAX_VEffectDescriptor::AAX_VEffectDescriptor(IACFUnknown* host)
    : mHost(AAX_KeepReference(host)), mDescriptor(AAX_CreateHostObject<AAX_IACFEffectDescriptor>(
                                          host, CLSID_EffectDescriptor, IID_EffectDescriptor)),
      mDescriptorV2(AAX_QueryHostInterface<AAX_IACFEffectDescriptor_V2>(mDescriptor.Get(),
                                                                        IID_EffectDescriptor_V2)) {}

AAX_VEffectDescriptor::~AAX_VEffectDescriptor() {
  mComponents.clear();
}

AAX_VComponentDescriptor* AAX_VEffectDescriptor::NewComponentDescriptor() {
  mComponents.push_back(std::make_unique<AAX_VComponentDescriptor>(mHost.Get()));
  return mComponents.back().get();
}

AAX_Result AAX_VEffectDescriptor::AddComponent(AAX_VComponentDescriptor* component) {
  if (!mDescriptor)
    return AAX_ERROR_NULL_OBJECT;
  return mDescriptor->AddComponent(component ? component->HostInterface() : nullptr);
}

AAX_Result AAX_VEffectDescriptor::AddName(const char* name) {
  return mDescriptor ? mDescriptor->AddName(name) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VEffectDescriptor::AddCategory(uint32_t category) {
  return mDescriptor ? mDescriptor->AddCategory(category) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VEffectDescriptor::AddProcPtr(void* procPtr, AAX_CProcPtrID procID) {
  return mDescriptor ? mDescriptor->AddProcPtr(procPtr, procID) : AAX_ERROR_NULL_OBJECT;
}
