#include "aax/library/AAX_VCollection.h"

#include "AAX_UIDs.h"

AAX_VCollection::AAX_VCollection(IACFUnknown* host)
    : mHost(AAX_KeepReference(host)), mCollection(AAX_CreateHostObject<AAX_IACFCollection>(
                                          host, CLSID_Collection, IID_Collection)) {}

AAX_VCollection::~AAX_VCollection() {
  mDescriptors.clear();
}

AAX_VEffectDescriptor* AAX_VCollection::NewDescriptor() {
  auto descriptor = std::make_unique<AAX_VEffectDescriptor>(mHost.Get());
  if (!descriptor->HostInterface())
    return nullptr;
  mDescriptors.push_back(std::move(descriptor));
  return mDescriptors.back().get();
}

AAX_Result AAX_VCollection::AddEffect(const char* effectID, AAX_VEffectDescriptor* descriptor) {
  if (!mCollection)
    return AAX_ERROR_NULL_OBJECT;
  return mCollection->AddEffect(effectID, descriptor ? descriptor->HostInterface() : nullptr);
}

AAX_Result AAX_VCollection::AddManufacturerName(const char* name) {
  return mCollection ? mCollection->AddManufacturerName(name) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VCollection::AddPackageName(const char* name) {
  return mCollection ? mCollection->AddPackageName(name) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VCollection::SetPackageVersion(uint32_t version) {
  return mCollection ? mCollection->SetPackageVersion(version) : AAX_ERROR_NULL_OBJECT;
}
