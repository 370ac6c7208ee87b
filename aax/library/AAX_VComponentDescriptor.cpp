#include "aax/library/AAX_VComponentDescriptor.h"

#include "AAX_UIDs.h"

AAX_VComponentDescriptor::AAX_VComponentDescriptor(IACFUnknown* host)
    : mHost(AAX_KeepReference(host)),
      mDescriptor(AAX_CreateHostObject<AAX_IACFComponentDescriptor>(host, CLSID_ComponentDescriptor,
                                                                    IID_ComponentDescriptor)),
      mDescriptorV2(AAX_QueryHostInterface<AAX_IACFComponentDescriptor_V2>(
          mDescriptor.Get(), IID_ComponentDescriptor_V2)) {}

// The maps go first: each holds host references of its own.
AAX_VComponentDescriptor::~AAX_VComponentDescriptor() {
  mPropertyMaps.clear();
}

AAX_Result AAX_VComponentDescriptor::AddAudioIn(AAX_CFieldIndex field) {
  return mDescriptor ? mDescriptor->AddAudioIn(field) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::AddAudioOut(AAX_CFieldIndex field) {
  return mDescriptor ? mDescriptor->AddAudioOut(field) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::AddAudioBufferLength(AAX_CFieldIndex field) {
  return mDescriptor ? mDescriptor->AddAudioBufferLength(field) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::AddSampleRate(AAX_CFieldIndex field) {
  return mDescriptor ? mDescriptor->AddSampleRate(field) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::AddAuxOutputStem(AAX_CFieldIndex field, uint32_t stemFormat,
                                                      const char* name) {
  return mDescriptor ? mDescriptor->AddAuxOutputStem(field, stemFormat, name)
                     : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::AddPrivateData(AAX_CFieldIndex field, int32_t sizeBytes) {
  return mDescriptor ? mDescriptor->AddPrivateData(field, sizeBytes) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::AddMeters(AAX_CFieldIndex field, const AAX_CTypeID* meterIDs,
                                               uint32_t meterCount) {
  return mDescriptor ? mDescriptor->AddMeters(field, meterIDs, meterCount) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::AddMIDINode(AAX_CFieldIndex field, int32_t nodeType,
                                                 const char* name, uint32_t channelMask) {
  return mDescriptor ? mDescriptor->AddMIDINode(field, nodeType, name, channelMask)
                     : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VComponentDescriptor::AddReservedField(AAX_CFieldIndex field, int32_t fieldType) {
  return mDescriptor ? mDescriptor->AddReservedField(field, fieldType) : AAX_ERROR_NULL_OBJECT;
}

AAX_VPropertyMap* AAX_VComponentDescriptor::NewPropertyMap() {
  mPropertyMaps.push_back(std::make_unique<AAX_VPropertyMap>(mHost.Get()));
  return mPropertyMaps.back().get();
}

AAX_Result AAX_VComponentDescriptor::AddProcessProc(AAX_CProcessProc proc,
                                                    AAX_VPropertyMap* properties) {
  if (!mDescriptor)
    return AAX_ERROR_NULL_OBJECT;
  return mDescriptor->AddProcessProc(proc, properties ? properties->HostInterface() : nullptr);
}
