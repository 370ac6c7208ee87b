// The compressor's AAX effect-parameters object. It hosts the bundle's own VST 3 halves in
// process: it is their VST 3 host (host application, component handler, unit handler and a
// 50 ms transfer timer) and presents every VST 3 parameter to the AAX host as an AAX
// parameter. It reaches the halves only through the bundle's GetPluginFactory and module
// hooks, and only through VST 3 interfaces.
//
// The roads are split over three files: parameters and host roles (AAXWrapper_Parameters.cpp),
// the audio thread's process path (AAXWrapper_Process.cpp) and the state chunk
// (AAXWrapper_Chunk.cpp).
#pragma once

#include "aax/adapter/AAXWrapper_TransferQueue.h"
#include "aax/library/AAX_CEffectParameters.h"
#include "aax/library/AAX_IParameter.h"
#include "aax/library/AAX_ITransport.h"

#include "base/source/timer.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstmidicontrollers.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "public.sdk/source/vst/hosting/eventlist.h"
#include "public.sdk/source/vst/hosting/parameterchanges.h"
#include "public.sdk/source/vst/hosting/processdata.h"

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Steinberg {
class MemoryStream;
}
struct AAX_CMidiPacket;

class AAXWrapper_Parameters : public AAX_CEffectParameters,
                              public Steinberg::Vst::IHostApplication,
                              public Steinberg::Vst::IComponentHandler,
                              public Steinberg::Vst::IUnitHandler,
                              public Steinberg::ITimerCallback {
public:
  using ParamID = Steinberg::Vst::ParamID;
  using ParamValue = Steinberg::Vst::ParamValue;

  // Field indices of an instance's block (the component description declares them).
  static constexpr AAX_CFieldIndex kFieldAudioIn = 0;
  static constexpr AAX_CFieldIndex kFieldAudioOut = 1;
  static constexpr AAX_CFieldIndex kFieldBufferLength = 2;
  static constexpr AAX_CFieldIndex kFieldSampleRate = 3;
  static constexpr AAX_CFieldIndex kFieldMidiInput = 5;
  static constexpr AAX_CFieldIndex kFieldMidiOutput = 6;
  static constexpr AAX_CFieldIndex kFieldTransport = 7;
  static constexpr AAX_CFieldIndex kFieldPrivateData = 23;
  static constexpr AAX_CFieldIndex kFieldMeters = 24;
  static constexpr int32_t kMaxSamplesPerBlock = 1024;
  static constexpr int32_t kEventListSize = 2048;
  static constexpr uint32_t kTimerIntervalMs = 50;
  // Channel 1, controller 123 (all notes off): sent with every master-bypass change.
  static constexpr ParamID kAllNotesOffParamID = 0x10002 + 123;
  static constexpr int32_t kMidiChannels = 16;
  static constexpr int32_t kMidiControllers = 130; // 0-127, 128 pressure, 129 pitch bend

  // Create procedure 0: both halves from the bundle's factory, connected; null on failure.
  static IACFUnknown* Create();

  ~AAXWrapper_Parameters() override;

  // ---- AAX_CEffectParameters ----
  AAX_Result UpdateParameterNormalizedValue(AAX_CParamID id, double value, int32_t source) override;
  AAX_Result ResetFieldData(AAX_CFieldIndex field, void* data, uint32_t size) const override;
  AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const override;
  AAX_Result GetChunkSize(AAX_CTypeID chunkID, int32_t* size) const override;
  AAX_Result GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) const override;
  AAX_Result SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) override;
  AAX_Result CompareActiveChunk(const AAX_SPlugInChunk* chunk, AAX_CBoolean* equal) const override;
  AAX_Result EffectInit() override;

  // ---- audio thread ----
  // One AAX render call of this instance: exactly one VST 3 process call.
  void ProcessBlock(void* const* fields);

  // ---- VST 3 host roles; the AAX side owns the object, so nothing is counted ----
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return 1; }
  Steinberg::uint32 PLUGIN_API release() override { return 1; }
  Steinberg::tresult PLUGIN_API getName(Steinberg::Vst::String128 name) override;
  Steinberg::tresult PLUGIN_API createInstance(Steinberg::TUID cid, Steinberg::TUID iid,
                                               void** obj) override;
  Steinberg::tresult PLUGIN_API beginEdit(ParamID id) override;
  Steinberg::tresult PLUGIN_API performEdit(ParamID id, ParamValue value) override;
  Steinberg::tresult PLUGIN_API endEdit(ParamID id) override;
  Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;
  Steinberg::tresult PLUGIN_API notifyUnitSelection(Steinberg::Vst::UnitID) override { return 0; }
  Steinberg::tresult PLUGIN_API notifyProgramListChange(Steinberg::Vst::ProgramListID,
                                                        Steinberg::int32) override {
    return 0;
  }
  void onTimer(Steinberg::Timer* timer) override;

  // ---- GUI side ----
  // Sends the AAX parameter's value to the controller, unless the editor is editing it.
  AAX_Result PushParameterToController(AAX_CParamID id);
  // The controller's parameter index of the parameter behind an AAX ID.
  bool IndexFromAAXID(AAX_CParamID id, Steinberg::int32& index) const;
  Steinberg::Vst::IEditController* EditController() const { return mController; }
  Steinberg::Vst::IAudioProcessor* AudioProcessor() const { return mProcessor; }

private:
  AAXWrapper_Parameters(Steinberg::Vst::IAudioProcessor* processor,
                        Steinberg::Vst::IEditController* controller, AAX_CTypeID chunkID);
  bool Init();
  bool ControllerIsSeparate() const;
  void ConnectHalves(bool connect);
  void CopyProcessorStateToController();
  void BuildMidiControllerMap();
  void MapParameter(ParamID paramID, const std::string& aaxID, Steinberg::int32 index);
  void AddMasterBypassParameter();
  void AddParameterFor(const Steinberg::Vst::ParameterInfo& info, const std::string& aaxID);
  struct HostSetup;
  AAX_Result ReadHostSetup(HostSetup& setup);
  AAX_Result BuildInstance(const HostSetup& setup);
  void UndoEffectInit();
  bool SetBusArrangementsFromHost(uint32_t inputStem, uint32_t outputStem);
  bool SetupProcessing(float sampleRate);
  bool PrepareBuses();
  void StopProcessing();
  const std::string* AAXIDOf(ParamID paramID) const;
  const ParamID* ParamIDOf(AAX_CParamID id) const;

  // process path
  // Returns how many of the host's output channels the processor's buses took.
  Steinberg::int32 ConnectBuses(void* const* fields, Steinberg::int32 numSamples);
  void SilenceOutputs(void* const* fields, Steinberg::int32 fromChannel,
                      Steinberg::int32 numSamples) const;
  void UpdateProcessContext(void* const* fields);
  void MoveOutputChangesToController();

  // MIDI road (AAXWrapper_Midi.cpp)
  void ProcessMidiInput(void* const* fields);
  void ProcessMidiOutput(void* const* fields);
  void TranslateMidiPacket(const AAX_CMidiPacket& packet);
  void ChangeMappedController(Steinberg::int32 channel, Steinberg::int32 entry, ParamValue value,
                              Steinberg::int32 sampleOffset);

  // chunk
  bool SerializeState(Steinberg::MemoryStream& out) const;
  AAX_Result ApplyChunk(const uint8_t* data, int64_t np, int64_t nc);
  void ShowControllerValues();
  void RequeueHostValues();

  Steinberg::Vst::IAudioProcessor* mProcessor = nullptr;  // owned reference
  Steinberg::Vst::IComponent* mComponent = nullptr;       // owned reference (queried)
  Steinberg::Vst::IEditController* mController = nullptr; // owned reference
  bool mProcessingStarted = false;
  bool mMidiInputEnabled = false;
  bool mMidiOutputEnabled = false;
  std::optional<std::string> mCurrentGesture; // empty: no edit gesture
  Steinberg::Vst::HostProcessData mProcessData;
  uint64_t mActiveInputs = 0;
  uint64_t mActiveOutputs = 0;
  Steinberg::Vst::ParameterChanges mInputChanges;
  Steinberg::Vst::ParameterChanges mOutputChanges;
  AAXWrapper_TransferQueue mHostToProcessor;
  AAXWrapper_TransferQueue mProcessorOutput;
  AAXWrapper_TransferQueue mHostToController;
  Steinberg::IPtr<Steinberg::Vst::EventList> mInputEvents;
  Steinberg::IPtr<Steinberg::Vst::EventList> mOutputEvents;
  Steinberg::Vst::ProcessContext mProcessContext{};
  Steinberg::Timer* mTimer = nullptr;
  std::map<ParamID, std::string> mParamIDToAAXID;
  std::map<std::string, ParamID> mAAXIDToParamID;
  Steinberg::Vst::IUnitInfo* mUnitInfo = nullptr;
  Steinberg::Vst::IMidiMapping* mMidiMapping = nullptr;
  std::unique_ptr<std::array<std::array<Steinberg::int32, kMidiControllers>, kMidiChannels>>
      mMidiControllerTables;
  AAX_IParameter* mMasterBypass = nullptr;    // owned by the registry
  std::optional<std::string> mMasterBypassID; // empty before effect initialisation
  AAX_ITransport* mTransport = nullptr;       // of the current block
  AAX_CTypeID mChunkID;

  // Beside the fields above: the controller's index of each mapped ParamID (IDs are not
  // indices), the channel counts the host's stems give (never more pointers are read), and
  // the chunk size last reported to the host (the record it allocates holds that many bytes).
  std::map<ParamID, Steinberg::int32> mParamIDToIndex;
  int32_t mHostInputChannels = 0;
  int32_t mHostOutputChannels = 0;
  bool mActive = false;
  mutable int32_t mReportedChunkSize = -1;
};

// The native process procedure: every instance of [begin, end) in order.
void AAXWrapper_ProcessProc(void* const instancesBegin[], const void* instancesEnd);
