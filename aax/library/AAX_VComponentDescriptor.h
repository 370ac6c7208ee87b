// Proxy of a host component descriptor, made by the host's component factory. Keeps the
// property maps it makes and deletes them with itself.
#pragma once

#include "AAX_IACFComponentDescriptor.h"
#include "aax/library/AAX_HostRef.h"
#include "aax/library/AAX_VPropertyMap.h"

#include <memory>
#include <vector>

class AAX_VComponentDescriptor {
public:
  explicit AAX_VComponentDescriptor(IACFUnknown* host);
  ~AAX_VComponentDescriptor();

  AAX_Result AddAudioIn(AAX_CFieldIndex field);
  AAX_Result AddAudioOut(AAX_CFieldIndex field);
  AAX_Result AddAudioBufferLength(AAX_CFieldIndex field);
  AAX_Result AddSampleRate(AAX_CFieldIndex field);
  AAX_Result AddAuxOutputStem(AAX_CFieldIndex field, uint32_t stemFormat, const char* name);
  AAX_Result AddPrivateData(AAX_CFieldIndex field, int32_t sizeBytes);
  AAX_Result AddMeters(AAX_CFieldIndex field, const AAX_CTypeID* meterIDs, uint32_t meterCount);
  AAX_Result AddMIDINode(AAX_CFieldIndex field, int32_t nodeType, const char* name,
                         uint32_t channelMask);
  AAX_Result AddReservedField(AAX_CFieldIndex field, int32_t fieldType);
  // A new property map proxy, kept by this descriptor (its operations answer the "missing"
  // code when the host made no map).
  AAX_VPropertyMap* NewPropertyMap();
  AAX_Result AddProcessProc(AAX_CProcessProc proc, AAX_VPropertyMap* properties);

  IACFUnknown* HostInterface() const { return mDescriptor.Get(); }

private:
  AAX_HostRef<IACFUnknown> mHost;
  AAX_HostRef<AAX_IACFComponentDescriptor> mDescriptor;
  AAX_HostRef<AAX_IACFComponentDescriptor_V2> mDescriptorV2;
  std::vector<std::unique_ptr<AAX_VPropertyMap>> mPropertyMaps;
};
