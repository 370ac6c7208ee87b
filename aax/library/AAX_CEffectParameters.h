// Base of the object an AAX host creates as an effect's effect-parameters interface: owns the
// parameter registry, answers the host's per-parameter queries by identifier, forwards the
// host's confirmed values to the parameters and counts them, and offers a default state chunk
// ('elck') that stores every parameter by identifier. Subclasses create their parameters in
// EffectInit. No host-called method lets an exception escape (0x8000FFFF).
#pragma once

#include "AAX_UIDs.h"
#include "aax/library/AAX_CChunkDataParser.h"
#include "aax/library/AAX_CDirtyPacketTable.h"
#include "aax/library/AAX_CParamRegistry.h"
#include "aax/library/AAX_IEffectParameters.h"
#include "aax/library/AAX_VAutomationDelegate.h"
#include "aax/library/AAX_VController.h"
#include "aax/library/AAX_VTransport.h"
#include "aax/library/CACFUnknown.h"

#include <memory>
#include <set>
#include <string>

class AAX_CEffectParameters : public AAX_IEffectParameters, public CACFUnknown {
public:
  static constexpr AAX_CTypeID kDefaultChunkID = AAX_FourCC('e', 'l', 'c', 'k');
  // The notification that switches the "PreviewID" parameter.
  static constexpr AAX_CTypeID kPreviewNotification = AAX_FourCC('A', 'S', 'P', 'v');

  AAX_CEffectParameters();
  ~AAX_CEffectParameters() override;

  // IACFUnknown, answered by the controlling object.
  ACFRESULT QueryInterface(const acfIID& iid, void** out) override {
    return GetOuter()->QueryInterface(iid, out);
  }
  acfUInt32 AddRef() override { return GetOuter()->AddRef(); }
  acfUInt32 Release() override { return GetOuter()->Release(); }

  AAX_Result Initialize(IACFUnknown* host) override;
  AAX_Result Uninitialize() override;
  AAX_Result NotificationReceived(AAX_CTypeID type, const void* data, uint32_t size) override;

  AAX_Result GetNumberOfParameters(int32_t* count) const override;
  AAX_Result GetMasterBypassParameter(AAX_IString* id) const override;
  AAX_Result GetParameterIsAutomatable(AAX_CParamID id, AAX_CBoolean* automatable) const override;
  AAX_Result GetParameterNumberOfSteps(AAX_CParamID id, int32_t* steps) const override;
  AAX_Result GetParameterName(AAX_CParamID id, AAX_IString* name) const override;
  AAX_Result GetParameterNameOfLength(AAX_CParamID id, AAX_IString* name,
                                      int32_t length) const override;
  AAX_Result GetParameterDefaultNormalizedValue(AAX_CParamID id, double* value) const override;
  AAX_Result SetParameterDefaultNormalizedValue(AAX_CParamID id, double value) override;
  AAX_Result GetParameterType(AAX_CParamID id, int32_t* type) const override;
  AAX_Result GetParameterHostAttribute(AAX_CParamID id, int32_t* attribute) const override;
  AAX_Result GetParameter(AAX_CParamID id, AAX_IParameter** parameter) override;
  AAX_Result GetParameterIndex(AAX_CParamID id, int32_t* index) const override;
  AAX_Result GetParameterIDFromIndex(int32_t index, AAX_IString* id) const override;
  AAX_Result QueryParameterInfo(AAX_CParamID id, int32_t selector, int32_t* value) const override;

  AAX_Result GetParameterValueFromString(AAX_CParamID id, double* value,
                                         const AAX_IString& text) const override;
  AAX_Result GetParameterStringFromValue(AAX_CParamID id, double value, AAX_IString* text,
                                         int32_t maxLength) const override;
  AAX_Result GetParameterValueString(AAX_CParamID id, AAX_IString* text,
                                     int32_t maxLength) const override;
  AAX_Result GetParameterNormalizedValue(AAX_CParamID id, double* value) const override;
  AAX_Result SetParameterNormalizedValue(AAX_CParamID id, double value) override;
  AAX_Result SetParameterNormalizedRelative(AAX_CParamID id, double delta) override;
  AAX_Result TouchParameter(AAX_CParamID id) override;
  AAX_Result ReleaseParameter(AAX_CParamID id) override;
  AAX_Result ParameterHook(AAX_CParamID, AAX_CBoolean) override { return AAX_SUCCESS; }
  AAX_Result UpdateParameterNormalizedValue(AAX_CParamID id, double value, int32_t source) override;
  AAX_Result UpdateParameterNormalizedRelative(AAX_CParamID id, double delta) override;
  AAX_Result DispatchParameterPackets() override;

  AAX_Result ResetFieldData(AAX_CFieldIndex field, void* data, uint32_t size) const override;

  AAX_Result GetNumberOfChunks(int32_t* count) const override;
  AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const override;
  AAX_Result GetChunkSize(AAX_CTypeID chunkID, int32_t* size) const override;
  AAX_Result GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) const override;
  AAX_Result SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) override;
  AAX_Result CompareActiveChunk(const AAX_SPlugInChunk* chunk, AAX_CBoolean* equal) const override;
  AAX_Result GetUpdateCounter(int32_t* counter) const override;

  AAX_Result EffectHook1() override { return AAX_SUCCESS; }
  AAX_Result EffectHook2(uint32_t, const void*, uint32_t) override {
    return AAX_ERROR_UNIMPLEMENTED;
  }
  AAX_Result EffectHook3(uint32_t, void*, uint32_t, uint32_t* written) const override;
  AAX_Result EffectHook4(uint32_t, const void*, uint32_t) override { return AAX_SUCCESS; }
  AAX_Result EffectHook5() override { return AAX_SUCCESS; }
  AAX_Result EffectHook6(void*, uint32_t) override { return AAX_ERROR_UNIMPLEMENTED; }
  AAX_Result EffectHook7() override { return AAX_SUCCESS; }
  AAX_Result EffectHook8() override { return AAX_SUCCESS; }

  // Answers the effect-parameters interfaces, then what CACFUnknown answers.
  virtual ACFRESULT InterfaceQuery(const acfIID& iid, void** out);
  ACFRESULT InternalQueryInterface(const acfIID& iid, void** out) override {
    return InterfaceQuery(iid, out);
  }

  // Subclasses create and register their parameters here.
  virtual AAX_Result EffectInit() { return AAX_SUCCESS; }

protected:
  AAX_VController* Controller() const { return mController.get(); }
  AAX_VTransport* Transport() const { return mTransport.get(); }
  AAX_CParamRegistry& Parameters() { return mParameterManager; }
  const AAX_CParamRegistry& Parameters() const { return mParameterManager; }
  void AddChunkExcludedParameter(AAX_CParamID id);
  // Wraps round instead of overflowing; a negative count is then not reported.
  void IncrementUpdateCounter() { mNumPlugInChanges = int32_t(uint32_t(mNumPlugInChanges) + 1u); }

private:
  void ReleaseHostObjects();
  bool IsChunkExcluded(AAX_CParamID id) const;
  void BuildChunkData() const;
  bool ParameterMatchesChunk(const AAX_IParameter& parameter) const;

  int32_t mNumPlugInChanges = 0;
  mutable int32_t mChunkSize = 0;
  mutable AAX_CChunkDataParser mChunkParser;
  int32_t mNumChunkedParameters = 0;
  [[maybe_unused]] uint8_t mChunkedParametersFlag = 0;
  AAX_CDirtyPacketTable mPacketDispatcher;
  AAX_CParamRegistry mParameterManager;
  std::set<std::string> mFilteredParameters;
  std::unique_ptr<AAX_VController> mController;
  std::unique_ptr<AAX_VTransport> mTransport;
  std::unique_ptr<AAX_VAutomationDelegate> mAutomationDelegate;
};
