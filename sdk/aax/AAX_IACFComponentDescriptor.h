// The host's description of one processing component: the fields of its instance block and
// its process procedure.
#pragma once

#include "AAX.h"
#include "acfunknown.h"

// Field kinds of a reserved field (one that holds nothing for this component but keeps the
// field indices of the block fixed).
enum AAX_EFieldType : int32_t {
  AAX_eFieldType_MIDINode = 0,
  AAX_eFieldType_Meters = 1,
};

// Node types of AddMIDINode.
enum AAX_EMIDINodeType : int32_t {
  AAX_eMIDINodeType_LocalInput = 0,
  AAX_eMIDINodeType_LocalOutput = 1,
  AAX_eMIDINodeType_Global = 2,
  AAX_eMIDINodeType_Transport = 3,
};

class AAX_IACFComponentDescriptor : public IACFUnknown {
public:
  virtual AAX_Result AddAudioIn(AAX_CFieldIndex field) = 0;
  virtual AAX_Result AddAudioOut(AAX_CFieldIndex field) = 0;
  virtual AAX_Result AddAudioBufferLength(AAX_CFieldIndex field) = 0;
  virtual AAX_Result AddSampleRate(AAX_CFieldIndex field) = 0;
  virtual AAX_Result AddAuxOutputStem(AAX_CFieldIndex field, uint32_t stemFormat,
                                      const char* name) = 0;
  virtual AAX_Result AddPrivateData(AAX_CFieldIndex field, int32_t sizeBytes) = 0;
  virtual AAX_Result AddMeters(AAX_CFieldIndex field, const AAX_CTypeID* meterIDs,
                               uint32_t meterCount) = 0;
  virtual AAX_Result AddMIDINode(AAX_CFieldIndex field, int32_t nodeType, const char* name,
                                 uint32_t channelMask) = 0;
  virtual AAX_Result AddReservedField(AAX_CFieldIndex field, int32_t fieldType) = 0;
  // properties is a host property map (or null).
  virtual AAX_Result AddProcessProc(AAX_CProcessProc proc, IACFUnknown* properties) = 0;

protected:
  ~AAX_IACFComponentDescriptor() = default;
};

// Second version, queried like the effect descriptor's; no operation of it is called here.
class AAX_IACFComponentDescriptor_V2 : public AAX_IACFComponentDescriptor {
protected:
  ~AAX_IACFComponentDescriptor_V2() = default;
};
