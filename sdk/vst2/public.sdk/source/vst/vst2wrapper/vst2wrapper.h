// Vst2Wrapper: a VST 3 processor and controller presented to a VST 2.4 host as one effect.
//
// The wrapper plays the VST 3 host for the two halves (host application, component handler,
// unit handler, the connection between them) and translates the VST 2.4 protocol:
// - parameters: every controller parameter except bypass, program-change and read-only
//   ones becomes a VST 2.4 parameter, in the controller's order; the host's values reach the
//   processor at the next block and the controller on the main thread (50 ms transfer timer,
//   pumped by the host's idle calls); the controller's edit gestures become
//   audioMasterBeginEdit / audioMasterAutomate / audioMasterEndEdit;
// - programs: the controller's program list, selected through its program-change parameter;
// - processing: processReplacing and processDoubleReplacing through the processor, with the
//   parameter changes and MIDI events of the block and the host's time information;
// - state: a chunk of the processor's and the controller's VST 3 state;
// - editor: the controller's view in the host's X window (Vst2EditorWrapper).
// The host is never called before it holds the effect (its first call to the effect).
//
// Split by road: vst2wrapper.cpp (creation, life cycle, host objects), vst2wrapperparameters.cpp,
// vst2wrapperprocess.cpp, vst2wrapperprograms.cpp (programs and chunks), vst2editorwrapper.
#pragma once

#include "base/source/timer.h"
#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "pluginterfaces/vst/ivstmessage.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "public.sdk/source/vst/hosting/eventlist.h"
#include "public.sdk/source/vst/hosting/parameterchanges.h"
#include "public.sdk/source/vst/vst2wrapper/vst2parameterslots.h"
#include "public.sdk/source/vst2.x/audioeffectx.h"

#include <atomic>
#include <map>
#include <vector>

namespace Steinberg {
namespace Vst {

class Vst2Wrapper : public ::AudioEffectX,
                    public IHostApplication,
                    public IComponentHandler,
                    public IComponentHandler2,
                    public IUnitHandler,
                    public ITimerCallback {
public:
  static constexpr uint32 kTransferIntervalMs = 50;
  // Cut of names and display texts: hosts give buffers well beyond the 8 characters of the
  // original limit, and names of 8 characters are not readable.
  static constexpr int32 kMaxParamTextLen = 31;
  // MIDI events taken per block; later ones are dropped.
  static constexpr int32 kMaxEventsPerBlock = 2048;

  // Takes over the references to processor and controller (the controller may be absent,
  // or the processor itself); adds one to the factory's.
  Vst2Wrapper(IComponent* processor, IEditController* controller, audioMasterCallback audioMaster,
              const TUID vst3ComponentID, VstInt32 vst2ID, IPluginFactory* factory = nullptr);
  ~Vst2Wrapper() override;

  // Initialises and connects both halves, builds the parameter map and the program list and
  // fills the effect record. False when the processor cannot be used.
  virtual bool init();

  // The whole creation road on a factory: both halves by class ID, init, names from the
  // factory. Null on any failure; the factory reference stays the caller's.
  static Vst2Wrapper* create(IPluginFactory* factory, const TUID vst3ComponentID, VstInt32 vst2ID,
                             audioMasterCallback audioMaster);

  void setVendorName(const char* name);
  void setEffectName(const char* name);
  // VST 3 sub-categories ("Fx|EQ"): they decide the VST 2.4 category.
  void setSubCategories(const char* categories);

  // The controller parameter flagged as program change, found by init (kNoParamId / -1).
  ParamID getProgramParameterID() const { return mProgramParameterID; }
  int32 getProgramParameterIndex() const { return mProgramParameterIdx; }

  // ---- AudioEffectX ----
  VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                       float opt) override;
  void suspend() override;
  void resume() override;
  void setSampleRate(float rate) override;
  void setBlockSize(VstInt32 frames) override;
  VstInt32 setProcessPrecision(VstInt32 precision) override;
  VstInt32 fxIdle() override;

  // parameters (vst2wrapperparameters.cpp)
  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;
  void getParameterLabel(VstInt32 index, char* label) override;
  void getParameterDisplay(VstInt32 index, char* text) override;
  void getParameterName(VstInt32 index, char* text) override;
  bool canParameterBeAutomated(VstInt32 index) override;
  bool string2parameter(VstInt32 index, char* text) override;
  bool getParameterProperties(VstInt32 index, VstParameterProperties* p) override;
  bool setBypass(bool onOff) override;

  // programs and chunks (vst2wrapperprograms.cpp)
  void setProgram(VstInt32 program) override;
  void setProgramName(char* name) override;
  void getProgramName(char* name) override;
  bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
  VstInt32 getChunk(void** data, bool isPreset = false) override;
  VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset = false) override;

  // processing (vst2wrapperprocess.cpp)
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
  void processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames) override;
  VstInt32 processEvents(VstEvents* events) override;

  // identity and pins
  bool getInputProperties(VstInt32 index, VstPinProperties* properties) override;
  bool getOutputProperties(VstInt32 index, VstPinProperties* properties) override;
  VstPlugCategory getPlugCategory() override;
  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  VstInt32 getVendorVersion() override;
  VstInt32 canDo(char* text) override;
  VstInt32 getGetTailSize() override;
  VstInt32 getNumMidiInputChannels() override;
  bool setSpeakerArrangement(VstSpeakerArrangement* in, VstSpeakerArrangement* out) override;
  bool getSpeakerArrangement(VstSpeakerArrangement** in, VstSpeakerArrangement** out) override;

  // ---- IHostApplication ----
  tresult PLUGIN_API getName(String128 name) override;
  tresult PLUGIN_API createInstance(TUID cid, TUID _iid, void** obj) override;
  // ---- IComponentHandler / IComponentHandler2 ----
  tresult PLUGIN_API beginEdit(ParamID id) override;
  tresult PLUGIN_API performEdit(ParamID id, ParamValue valueNormalized) override;
  tresult PLUGIN_API endEdit(ParamID id) override;
  tresult PLUGIN_API restartComponent(int32 flags) override;
  tresult PLUGIN_API setDirty(TBool state) override;
  tresult PLUGIN_API requestOpenEditor(FIDString name) override;
  tresult PLUGIN_API startGroupEdit() override;
  tresult PLUGIN_API finishGroupEdit() override;
  // ---- IUnitHandler ----
  tresult PLUGIN_API notifyUnitSelection(UnitID unitId) override;
  tresult PLUGIN_API notifyProgramListChange(ProgramListID listId, int32 programIndex) override;
  // ---- ITimerCallback: the transfer timer ----
  void onTimer(Timer* timer) override;
  // ---- FUnknown: the wrapper lives as long as the VST 2.4 effect, not by references ----
  tresult PLUGIN_API queryInterface(const TUID _iid, void** obj) override;
  uint32 PLUGIN_API addRef() override { return 1; }
  uint32 PLUGIN_API release() override { return 1; }

protected:
  // ---- roads shared with subclasses ----
  // Moves every host value the controller has not seen yet into it (main thread).
  void transferHostChangesToController();
  // Queues a change for the processor's next block (main thread).
  void queueChangeToProcessor(ParamID id, ParamValue value, int32 sampleOffset = 0);
  // Reads every exported parameter's value back from the controller.
  void syncHostValuesFromController();
  // The VST 2.4 index of a controller parameter, or -1.
  int32 vst2IndexOf(ParamID id) const;
  // Whether the host may be called: only once it holds the effect.
  bool hostHoldsEffect() const { return mHostHoldsEffect.load(std::memory_order_acquire); }
  void noteHostCall() { mHostHoldsEffect.store(true, std::memory_order_release); }

  // ---- set-up (vst2wrapper.cpp, vst2wrapperparameters.cpp, vst2wrapperprograms.cpp) ----
  bool initializeHalves();
  void connectHalves();
  void disconnectHalves();
  void syncControllerWithProcessorState();
  bool setupBuses();
  void setupParameters();
  void refreshParameterInfos();
  void setupPrograms();
  void setupMidiMapping();
  void terminateHalves();
  bool setupProcessing();
  void updateLatency();

  // ---- processing helpers (vst2wrapperprocess.cpp) ----
  template <class Sample>
  void processBlock(Sample** inputs, Sample** outputs, int32 frames, int32 symbolicSampleSize);
  void collectHostChangesForProcessor();
  void readTimeInfo();
  void addMidiEvent(const VstMidiEvent& midi);
  void addSysexEvent(const VstMidiSysexEvent& sysex);
  void addMidiControllerChange(int16 channel, int32 controller, ParamValue value, int32 offset);

  // The halves.
  IComponent* mComponent = nullptr;
  IAudioProcessor* mProcessor = nullptr;
  IEditController* mController = nullptr;
  IUnitInfo* mUnitInfo = nullptr;
  IPluginFactory* mFactory = nullptr;
  IConnectionPoint* mComponentPoint = nullptr;
  IConnectionPoint* mControllerPoint = nullptr;
  TUID mVst3EffectClassID{};
  bool mControllerIsComponent = false;
  bool mComponentInitialized = false;
  bool mControllerInitialized = false;

  // Identity.
  char mVendor[kVstMaxVendorStrLen + 1] = {};
  char mName[kVstMaxEffectNameLen + 1] = {};
  char mSubCategories[128] = {};

  // Parameters: VST 2.4 index -> controller ID and back; the host's values; special IDs.
  std::vector<ParamID> mParameterIDs;
  std::vector<ParameterInfo> mParameterInfos; // titles and units, refreshed when they change
  std::map<ParamID, int32> mParameterIndices;
  Vst2ParameterSlots mHostValues;
  int32 mBypassSlot = -1; // slot after the exported ones, when there is a bypass
  ParamID mBypassParameterID = kNoParamId;
  ParamID mProgramParameterID = kNoParamId;
  int32 mProgramParameterIdx = -1;
  int32 mProgramParameterStepCount = 0;
  // MIDI controller (bus 0, channel x 130 + controller) -> parameter, read once at init.
  std::vector<ParamID> mMidiControllerIDs;

  // Programs.
  ProgramListID mProgramListID = kNoProgramListId;

  // Changes to the processor (main thread -> audio thread) and from it (audio -> main).
  ParameterChangeTransfer mInputTransfer;
  ParameterChangeTransfer mOutputTransfer;
  ParameterChanges mInputChanges;
  ParameterChanges mOutputChanges;
  EventList mInputEvents;
  bool mTakesMidi = false;
  Timer* mTimer = nullptr;

  // Processing.
  ProcessData mProcessData{};
  ProcessContext mProcessContext{};
  AudioBusBuffers mInputBus{};
  AudioBusBuffers mOutputBus{};
  std::vector<void*> mInputPointers; // per channel, offset into the host's buffers
  std::vector<void*> mOutputPointers;
  int32 mMainInputChannels = 0;
  int32 mMainOutputChannels = 0;
  int32 mInputBusCount = 0;
  int32 mOutputBusCount = 0;
  int32 mProcessPrecision = kVstProcessPrecision32;
  int32 mSetupBlockSize = 0;
  bool mActive = false;
  std::atomic<bool> mProcessing{false};
  std::atomic<bool> mHostHoldsEffect{false};

  // Speaker arrangements handed to the host by getSpeakerArrangement.
  VstSpeakerArrangement mInputArrangement{};
  VstSpeakerArrangement mOutputArrangement{};

  // The chunk of the last getChunk.
  std::vector<uint8> mChunk;
};

} // namespace Vst
} // namespace Steinberg
