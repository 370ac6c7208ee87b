// The plug-in's effect-parameters object as the host calls it: parameter queries by
// identifier, the host's confirmed values, field-block set-up and state chunks.
#pragma once

#include "AAX.h"
#include "AAX_IString.h"
#include "acfunknown.h"

class AAX_IParameter;

class AAX_IACFEffectParameters : public IACFUnknown {
public:
  virtual AAX_Result Initialize(IACFUnknown* host) = 0;
  virtual AAX_Result Uninitialize() = 0;
  virtual AAX_Result NotificationReceived(AAX_CTypeID type, const void* data, uint32_t size) = 0;

  virtual AAX_Result GetNumberOfParameters(int32_t* count) const = 0;
  virtual AAX_Result GetMasterBypassParameter(AAX_IString* id) const = 0;
  virtual AAX_Result GetParameterIsAutomatable(AAX_CParamID id,
                                               AAX_CBoolean* automatable) const = 0;
  virtual AAX_Result GetParameterNumberOfSteps(AAX_CParamID id, int32_t* steps) const = 0;
  virtual AAX_Result GetParameterName(AAX_CParamID id, AAX_IString* name) const = 0;
  virtual AAX_Result GetParameterNameOfLength(AAX_CParamID id, AAX_IString* name,
                                              int32_t length) const = 0;
  virtual AAX_Result GetParameterDefaultNormalizedValue(AAX_CParamID id, double* value) const = 0;
  virtual AAX_Result SetParameterDefaultNormalizedValue(AAX_CParamID id, double value) = 0;
  virtual AAX_Result GetParameterType(AAX_CParamID id, int32_t* type) const = 0;
  virtual AAX_Result GetParameterHostAttribute(AAX_CParamID id, int32_t* attribute) const = 0;
  virtual AAX_Result GetParameter(AAX_CParamID id, AAX_IParameter** parameter) = 0;
  virtual AAX_Result GetParameterIndex(AAX_CParamID id, int32_t* index) const = 0;
  virtual AAX_Result GetParameterIDFromIndex(int32_t index, AAX_IString* id) const = 0;
  virtual AAX_Result QueryParameterInfo(AAX_CParamID id, int32_t selector,
                                        int32_t* value) const = 0;

  virtual AAX_Result GetParameterValueFromString(AAX_CParamID id, double* value,
                                                 const AAX_IString& text) const = 0;
  virtual AAX_Result GetParameterStringFromValue(AAX_CParamID id, double value, AAX_IString* text,
                                                 int32_t maxLength) const = 0;
  virtual AAX_Result GetParameterValueString(AAX_CParamID id, AAX_IString* text,
                                             int32_t maxLength) const = 0;
  virtual AAX_Result GetParameterNormalizedValue(AAX_CParamID id, double* value) const = 0;
  virtual AAX_Result SetParameterNormalizedValue(AAX_CParamID id, double value) = 0;
  virtual AAX_Result SetParameterNormalizedRelative(AAX_CParamID id, double delta) = 0;
  virtual AAX_Result TouchParameter(AAX_CParamID id) = 0;
  virtual AAX_Result ReleaseParameter(AAX_CParamID id) = 0;
  virtual AAX_Result ParameterHook(AAX_CParamID id, AAX_CBoolean state) = 0;
  // source: who confirmed the value (0 the host's own automation).
  virtual AAX_Result UpdateParameterNormalizedValue(AAX_CParamID id, double value,
                                                    int32_t source) = 0;
  virtual AAX_Result UpdateParameterNormalizedRelative(AAX_CParamID id, double delta) = 0;
  virtual AAX_Result DispatchParameterPackets() = 0;

  virtual AAX_Result ResetFieldData(AAX_CFieldIndex field, void* data, uint32_t size) const = 0;

  virtual AAX_Result GetNumberOfChunks(int32_t* count) const = 0;
  virtual AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const = 0;
  virtual AAX_Result GetChunkSize(AAX_CTypeID chunkID, int32_t* size) const = 0;
  virtual AAX_Result GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) const = 0;
  virtual AAX_Result SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) = 0;
  virtual AAX_Result CompareActiveChunk(const AAX_SPlugInChunk* chunk,
                                        AAX_CBoolean* equal) const = 0;
  virtual AAX_Result GetUpdateCounter(int32_t* counter) const = 0;

  // Hooks of host features this plug-in does not take part in.
  virtual AAX_Result EffectHook1() = 0;
  virtual AAX_Result EffectHook2(uint32_t selector, const void* data, uint32_t size) = 0;
  virtual AAX_Result EffectHook3(uint32_t selector, void* data, uint32_t capacity,
                                 uint32_t* written) const = 0;
  virtual AAX_Result EffectHook4(uint32_t selector, const void* data, uint32_t size) = 0;

protected:
  ~AAX_IACFEffectParameters() = default;
};

class AAX_IACFEffectParameters_V2 : public AAX_IACFEffectParameters {
public:
  virtual AAX_Result EffectHook5() = 0;
  virtual AAX_Result EffectHook6(void* data, uint32_t size) = 0;
  virtual AAX_Result EffectHook7() = 0;
  virtual AAX_Result EffectHook8() = 0;

protected:
  ~AAX_IACFEffectParameters_V2() = default;
};
