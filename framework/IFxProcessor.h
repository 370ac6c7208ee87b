#pragma once

#include "framework/BypassDelayLine.h"
#include "framework/ChannelIO.h"
#include "framework/FxParamIDs.h"
#include "framework/IFxBase.h"
#include "framework/IMidiMsg.h"
#include "framework/ISysEx.h"
#include "framework/KIT_String.h"
#include "framework/KIT_TypedBuf.h"
#include "framework/ProcessorState.h"
#include "framework/SpscRing.h"
#include "framework/StateSnapshot.h"

#include "base/source/timer.h"
#include "pluginterfaces/vst/ivstevents.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "public.sdk/source/vst/hosting/parameterchanges.h"
#include "public.sdk/source/vst/vstaudioeffect.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

// The audio half of every plug-in: a VST 3 component and audio processor that is also an
// IFxBase. It applies the host's parameter changes and MIDI at block starts, converts 32-bit
// host audio to double buffers for ProcessDoubleReplacing, bypasses with latency compensation,
// writes and restores the processor state and exchanges MIDI with the controller half through
// "MidiMsg" and "SysEx" messages. T is double, the only instance.
//
// Threads: process runs on the audio thread; notify, onTimer, setState and getState on the
// host's other threads. Nothing crosses between them but the rings, the state hand-over and
// the published state below; while active, only the audio thread touches the parameters.
template <class T>
class IFxProcessor : public Steinberg::Vst::AudioEffect,
                     public IFxBase,
                     public Steinberg::ITimerCallback {
public:
  // One slot of the SysEx rings.
  struct SysExSlot {
    int32_t offset;
    int32_t size;
    uint8_t data[1024];
  };

  IFxProcessor(const Steinberg::FUID& controllerClass, int nParams, const char* channelIO,
               int effectVersion, int uniqueID, int makerID, int latency, bool doesMidiIn,
               bool doesMidiOut, bool isInst, int api);
  ~IFxProcessor() override;

  // Labels of the buses made by initialize; only index 0 and 1 exist.
  void SetInputLabel(int idx, const char* text);
  void SetOutputLabel(int idx, const char* text);

  // ---- SDK interface methods ----
  Steinberg::tresult PLUGIN_API initialize(Steinberg::FUnknown* context) override;
  Steinberg::tresult PLUGIN_API terminate() override;
  Steinberg::tresult PLUGIN_API notify(Steinberg::Vst::IMessage* message) override;
  Steinberg::tresult PLUGIN_API setActive(Steinberg::TBool state) override;
  Steinberg::tresult PLUGIN_API setState(Steinberg::IBStream* stream) override;
  Steinberg::tresult PLUGIN_API getState(Steinberg::IBStream* stream) override;
  Steinberg::tresult PLUGIN_API setBusArrangements(Steinberg::Vst::SpeakerArrangement* inputs,
                                                   Steinberg::int32 numIns,
                                                   Steinberg::Vst::SpeakerArrangement* outputs,
                                                   Steinberg::int32 numOuts) override;
  Steinberg::tresult PLUGIN_API canProcessSampleSize(Steinberg::int32 symbolicSampleSize) override;
  Steinberg::uint32 PLUGIN_API getLatencySamples() override;
  Steinberg::tresult PLUGIN_API setupProcessing(Steinberg::Vst::ProcessSetup& setup) override;
  Steinberg::tresult PLUGIN_API process(Steinberg::Vst::ProcessData& data) override;
  Steinberg::uint32 PLUGIN_API getTailSamples() override;

  // ---- own operations, the hooks plug-in processors override ----
  // Reads the parameter block into the parameters on the calling thread and runs the change
  // hook for every parameter. Only while inactive: a state for a processing processor goes
  // through setState, which hands it to the audio thread.
  int UnserializeParams(const KIT_HeapBuf& chunk, int pos) override;
  void SetLatency(int samples) override;
  // Every 40 ms on the UI thread: messages to the controller, then OnIdle.
  void onTimer(Steinberg::Timer* timer) override;
  // After a new sample rate (setupProcessing), before processing starts.
  virtual void Reset();
  // The audio: nIn input and nOut output channels of n samples (unconnected inputs hold
  // silence). The default copies inputs to outputs and silences the rest.
  virtual void ProcessDoubleReplacing(T** inputs, T** outputs, int nFrames);
  // Each MIDI message of the block; the default passes it on to the MIDI output.
  virtual void ProcessMidiMsg(IMidiMsg* msg);
  virtual void ProcessSysEx(ISysEx* sysex);
  // Messages from the controller other than "MidiMsg" and "SysEx"; true when handled.
  virtual bool OnMessage(Steinberg::Vst::IMessage* message);
  virtual void OnIdle();

  // ---- what plug-in processors read ----
  double GetSampleRate() const { return mSampleRate; }
  int GetBlockSize() const { return mBlockSize; }
  int NInChannels() const { return mChannelIO.MaxInputs(); }
  int NOutChannels() const { return mChannelIO.MaxOutputs(); }
  bool IsInChannelConnected(int idx) const;
  bool IsOutChannelConnected(int idx) const;
  // The host's transport of the current block (valid flags in its state field); zeroed when
  // the host gives none.
  const Steinberg::Vst::ProcessContext& GetProcessContext() const { return mProcessContext; }

protected:
  // Audio thread: points for the host (the last point of each parameter is sent at the end
  // of the block).
  Steinberg::Vst::ParameterChanges& OutgoingParamChanges() { return mOutgoingChanges; }
  // Audio thread: MIDI and SysEx for the controller, sent by the next timer tick. Dropped when
  // the ring is full or the SysEx is larger than a slot.
  bool QueueMidiForController(const IMidiMsg& msg);
  bool QueueSysExForController(const ISysEx& sysex);

  // Sizes the scratch buffers for blocks of n samples (not on the audio thread).
  bool AllocateBuffers(int n);
  void PassThrough(int nFrames);

private:
  struct InChannel {
    bool connected = true;
    T** slot = nullptr;
    KIT_TypedBuf<T> scratch{4096};
    KIT_String label;
    // The host's buffer of the block, when connected.
    const float* host32 = nullptr;
    const T* host64 = nullptr;
  };
  struct OutChannel {
    bool connected = true;
    T** slot = nullptr;
    KIT_TypedBuf<T> scratch{4096};
    KIT_String label;
    float* host32 = nullptr;
    T* host64 = nullptr;
  };
  // A parsed state waiting for the audio thread (see HandOffState).
  enum EPendingState : int { kNoPendingState, kStateReady, kStateApplying };

  // initialize
  void AddBuses();
  void SetParamsToDefaults();
  // process, in block order
  void CopyProcessContext(const Steinberg::Vst::ProcessData& data);
  bool TakePendingState();
  void ReleasePendingState();
  void ApplyParameterChanges(Steinberg::Vst::IParameterChanges* changes);
  void ApplyParameterPoint(Steinberg::Vst::ParamID id, Steinberg::int32 offset, double value);
  void SetBypassedFromHost(bool bypassed);
  void ReadInputEvents(Steinberg::Vst::IEventList* events);
  void ProcessAudio(Steinberg::Vst::ProcessData& data);
  void ConnectInputs(const Steinberg::Vst::ProcessData& data, bool is64);
  void ConnectOutputs(Steinberg::Vst::ProcessData& data, bool is64);
  void PointSlotsAt(int offset, int n, bool is64);
  void WriteBackOutputs(int offset, int n, bool is64);
  void FlushOutgoingChanges(Steinberg::Vst::IParameterChanges* out);
  void WriteOutputEvents(Steinberg::Vst::IEventList& out);
  void DisconnectAllChannels();
  // state
  void ApplyState(const ProcessorState& state);
  void HandOffState(const ProcessorState& state);
  bool SerializeProcessorState(KIT_HeapBuf& chunk);
  bool SerializeValues(KIT_HeapBuf& chunk, bool bypassed, const double* values);
  // messages
  void SendMidiToController();
  void SendSysExToController();

  // Channel configuration and the buffers ProcessDoubleReplacing sees.
  ChannelIO mChannelIO;
  std::vector<T*> mInputPtrs;
  std::vector<T*> mOutputPtrs;
  std::vector<InChannel> mInChannels;
  std::vector<OutChannel> mOutChannels;
  KIT_String mInputLabels[2];
  KIT_String mOutputLabels[2];
  BypassDelayLine<T> mDelayLine;
  std::vector<T> mDelayFrame; // one frame of inputs for the bypass delay
  int32_t mSidechainInputs = 0;
  // Host-bound parameter points of the block.
  Steinberg::Vst::ParameterChanges mOutgoingChanges;
  // Messages between the threads.
  SpscRing<IMidiMsg, 33> mMidiFromController;
  SpscRing<SysExSlot, 3> mSysExFromController;
  SpscRing<IMidiMsg, 33> mMidiOut;
  SpscRing<IMidiMsg, 1025> mMidiToController;
  SpscRing<SysExSlot, 3> mSysExToController;
  Steinberg::Timer* mTimer = nullptr;
  double mSampleRate = 44100.0;
  int32_t mBlockSize = 0;

  // The host's transport of the current block.
  Steinberg::Vst::ProcessContext mProcessContext{};
  // One output buffer per SysEx the ring can hold, so that the events of one block keep
  // their own bytes until the host has read them.
  SysExSlot mSysExOut[2] = {};
  // A state restored while the audio thread runs: setState writes these, the audio thread
  // applies them at its next block start.
  std::vector<double> mPendingValues;
  bool mPendingBypassed = false;
  std::atomic<int> mPendingState{kNoPendingState};
  std::atomic<bool> mActive{false};
  // Blocks processed, for the controller's question whether the preset edits it queued have
  // reached a block (see notify). Written by the audio thread only.
  std::atomic<uint32_t> mBlocksDone{0};
  // mBlocksDone when the controller said it queued preset edits (UI thread only).
  uint32_t mPresetEditsMark = 0;
  // What the audio thread last had, for getState while active.
  StateSnapshot mSnapshot;
  // Host threads may call setState and getState at once; they take turns (never the audio
  // thread).
  std::mutex mStateCallMutex;
};

extern template class IFxProcessor<double>;
