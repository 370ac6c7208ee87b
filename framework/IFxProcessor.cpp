// The processor half: construction, initialisation, buses and the processing setup. The
// processing road, the state road and the messages live in the .inl files included at the
// end, so that the one instance of the template is made once.
#include "framework/IFxProcessor.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/source/fstring.h"
#include "framework/HostNameFromContext.h"
#include "pluginterfaces/vst/ivsthostapplication.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

SpeakerArrangement ArrangementForChannels(int n) {
  switch (n) {
  case 1:
    return SpeakerArr::kMono;
  case 2:
    return SpeakerArr::kStereo;
  case 3:
    return SpeakerArr::k30Music;
  case 4:
    return SpeakerArr::kBFormat;
  case 5:
    return SpeakerArr::k50;
  case 6:
    return SpeakerArr::k51;
  default:
    return SpeakerArr::kEmpty;
  }
}

void ToUtf16(const char* text, String128 out) {
  utf8ToUtf16(text, out, 128);
}

} // namespace

template <class T>
IFxProcessor<T>::IFxProcessor(const FUID& controllerClass, int nParams, const char* channelIO,
                              int effectVersion, int uniqueID, int makerID, int latency,
                              bool doesMidiIn, bool doesMidiOut, bool isInst, int api)
    : IFxBase(nParams, effectVersion, uniqueID, makerID, latency, doesMidiIn, doesMidiOut, isInst,
              api),
      mChannelIO(channelIO), mSnapshot(nParams) {
  setControllerClass(controllerClass);
  const int nIn = mChannelIO.MaxInputs();
  const int nOut = mChannelIO.MaxOutputs();
  mInputPtrs.assign(size_t(nIn), nullptr);
  mOutputPtrs.assign(size_t(nOut), nullptr);
  mInChannels.resize(size_t(nIn));
  mOutChannels.resize(size_t(nOut));
  for (int c = 0; c < nIn; ++c)
    mInChannels[size_t(c)].slot = &mInputPtrs[size_t(c)];
  for (int c = 0; c < nOut; ++c)
    mOutChannels[size_t(c)].slot = &mOutputPtrs[size_t(c)];

  mInputLabels[0].Set("Main Input");
  if (mSidechainInputs > 0)
    mInputLabels[1].Set("Aux Input");
  if (isInst) {
    mOutputLabels[0].SetFormatted(32, "Output %i", 1);
    mOutputLabels[1].SetFormatted(32, "Output %i", 2);
  } else {
    mOutputLabels[0].Set("Output");
  }

  if (nIn > 0)
    mDelayLine.Init(nIn, nOut, latency);
  mDelayFrame.assign(size_t(nIn), T(0));
  // Plug-in code adds at most one queue per parameter in a block.
  mOutgoingChanges.setMaxParameters(std::max(nParams, 1));
  mPendingValues.assign(size_t(std::max(nParams, 0)), 0.0);
}

template <class T> IFxProcessor<T>::~IFxProcessor() {
  if (mTimer) {
    mTimer->stop();
    mTimer->release();
    mTimer = nullptr;
  }
}

template <class T> void IFxProcessor<T>::SetInputLabel(int idx, const char* text) {
  if (idx == 0 || idx == 1)
    mInputLabels[idx].Set(text);
}

template <class T> void IFxProcessor<T>::SetOutputLabel(int idx, const char* text) {
  if (idx == 0 || idx == 1)
    mOutputLabels[idx].Set(text);
}

template <class T> bool IFxProcessor<T>::IsInChannelConnected(int idx) const {
  return idx >= 0 && idx < int(mInChannels.size()) && mInChannels[size_t(idx)].connected;
}

template <class T> bool IFxProcessor<T>::IsOutChannelConnected(int idx) const {
  return idx >= 0 && idx < int(mOutChannels.size()) && mOutChannels[size_t(idx)].connected;
}

template <class T> tresult PLUGIN_API IFxProcessor<T>::initialize(FUnknown* context) {
  const tresult result = AudioEffect::initialize(context);
  if (result != kResultOk)
    return result;
  IdentifyHostFromContext(*this, context);
  AddBuses();
  SetParamsToDefaults();
  if (!mTimer)
    mTimer = Timer::create(this, 40);
  return kResultOk;
}

template <class T> void IFxProcessor<T>::AddBuses() {
  String128 name;
  const int nIn = NInChannels();
  const int nOut = NOutChannels();
  if (nIn >= 1 && nIn <= 6) {
    ToUtf16(mInputLabels[0].Get(), name);
    addAudioInput(name, ArrangementForChannels(nIn));
  }
  if (!IsInst()) {
    ToUtf16(mOutputLabels[0].Get(), name);
    addAudioOutput(name, ArrangementForChannels(nOut));
  } else {
    for (int pair = 0; pair * 2 < nOut; ++pair) {
      KIT_String label;
      if (pair < 2)
        label.Set(mOutputLabels[pair].Get());
      else
        label.SetFormatted(32, "Output %i", pair + 1);
      ToUtf16(label.Get(), name);
      addAudioOutput(name, SpeakerArr::kStereo);
    }
  }
  if (DoesMidiIn())
    addEventInput(u"MIDI Input", 16);
  if (DoesMidiOut())
    addEventOutput(u"MIDI Output", 16);
}

template <class T> void IFxProcessor<T>::SetParamsToDefaults() {
  for (int i = 0; i < NParams(); ++i)
    GetParam(i)->Set(GetParam(i)->Default());
  for (int i = 0; i < NParams(); ++i)
    OnParamChange(i, 0);
}

template <class T> tresult PLUGIN_API IFxProcessor<T>::terminate() {
  if (mTimer) {
    mTimer->stop();
    mTimer->release();
    mTimer = nullptr;
  }
  return AudioEffect::terminate();
}

template <class T> tresult PLUGIN_API IFxProcessor<T>::setActive(TBool state) {
  if (!state) {
    // The audio thread has stopped: a state it did not get to is applied here.
    mActive.store(false, std::memory_order_release);
    if (TakePendingState())
      ReleasePendingState();
    return AudioEffect::setActive(state);
  }
  AudioBus* out = getAudioOutput(0);
  if (!out || SpeakerArr::getChannelCount(out->getArrangement()) < 1)
    return kResultFalse;
  const tresult result = AudioEffect::setActive(state);
  if (result == kResultOk) {
    // getState answers from the published state from now on; it starts as the current one.
    mSnapshot.Publish(*this);
    mActive.store(true, std::memory_order_release);
  }
  return result;
}

template <class T> void IFxProcessor<T>::DisconnectAllChannels() {
  for (InChannel& ch : mInChannels) {
    ch.connected = false;
    *ch.slot = ch.scratch.Get();
  }
  for (OutChannel& ch : mOutChannels) {
    ch.connected = false;
    *ch.slot = ch.scratch.Get();
  }
}

// Only the configurations of the channel-I/O string are accepted; anything else would leave
// host channels that nothing writes or channels the plug-in cannot serve.
template <class T>
tresult PLUGIN_API IFxProcessor<T>::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                       SpeakerArrangement* outputs, int32 numOuts) {
  if (numIns < 0 || numOuts < 0 || (numIns > 0 && !inputs) || (numOuts > 0 && !outputs))
    return kInvalidArgument;
  if (mActive.load(std::memory_order_acquire))
    return kResultFalse;
  const int maxInputBuses = mSidechainInputs > 0 ? 2 : 1;
  if (numIns > maxInputBuses || numIns > int32(audioInputs.size()) ||
      numOuts > int32(audioOutputs.size()))
    return kResultFalse;
  const int inCount = numIns > 0 ? SpeakerArr::getChannelCount(inputs[0]) : 0;
  int outCount = numOuts > 0 ? SpeakerArr::getChannelCount(outputs[0]) : 0;
  if (IsInst()) {
    outCount = 0;
    for (int32 b = 0; b < numOuts; ++b)
      outCount += SpeakerArr::getChannelCount(outputs[b]);
  }
  if (!mChannelIO.Supports(inCount, outCount))
    return kResultFalse;

  DisconnectAllChannels();
  AudioBus* in0 = getAudioInput(0);
  if (in0 && SpeakerArr::getChannelCount(in0->getArrangement()) != inCount) {
    AudioBus* bus = new AudioBus(u"Input", kMain, BusInfo::kDefaultActive,
                                 numIns > 0 ? inputs[0] : SpeakerArr::kEmpty);
    bus->setActive(true);
    audioInputs[0] = owned(static_cast<Bus*>(bus));
  }
  AudioBus* out0 = getAudioOutput(0);
  if (out0 && SpeakerArr::getChannelCount(out0->getArrangement()) !=
                  (numOuts > 0 ? SpeakerArr::getChannelCount(outputs[0]) : 0)) {
    AudioBus* bus = new AudioBus(u"Output", kMain, BusInfo::kDefaultActive,
                                 numOuts > 0 ? outputs[0] : SpeakerArr::kEmpty);
    bus->setActive(true);
    audioOutputs[0] = owned(static_cast<Bus*>(bus));
  }
  return kResultTrue;
}

template <class T> tresult PLUGIN_API IFxProcessor<T>::canProcessSampleSize(int32 size) {
  return size == kSample32 || size == kSample64 ? kResultTrue : kResultFalse;
}

template <class T> uint32 PLUGIN_API IFxProcessor<T>::getLatencySamples() {
  return uint32(std::max(GetLatency(), 0));
}

template <class T> uint32 PLUGIN_API IFxProcessor<T>::getTailSamples() {
  return 0;
}

template <class T> void IFxProcessor<T>::SetLatency(int samples) {
  mLatency = samples;
}

// The bypass state is kept: hosts restore state before setting up and set up again on rate
// changes, and the host still shows the plug-in bypassed.
template <class T> tresult PLUGIN_API IFxProcessor<T>::setupProcessing(ProcessSetup& setup) {
  if (setup.symbolicSampleSize != kSample32 && setup.symbolicSampleSize != kSample64)
    return kResultFalse;
  // The buffers belong to the audio thread while active.
  if (mActive.load(std::memory_order_acquire) || setup.maxSamplesPerBlock < 0)
    return kResultFalse;
  if (!AllocateBuffers(setup.maxSamplesPerBlock))
    return kOutOfMemory;
  mSampleRate = setup.sampleRate;
  mDelayLine.Clear();
  Reset();
  processSetup = setup;
  return kResultOk;
}

template <class T> bool IFxProcessor<T>::AllocateBuffers(int n) {
  if (n == mBlockSize)
    return true;
  auto size = [n](KIT_TypedBuf<T>& buf) {
    if (!buf.Resize(n + 2, true) || buf.GetSize() != n + 2)
      return false;
    std::memset(buf.Get(), 0, sizeof(T) * size_t(n + 2));
    return true;
  };
  bool ok = true;
  for (InChannel& ch : mInChannels)
    ok = ok && size(ch.scratch);
  for (OutChannel& ch : mOutChannels)
    ok = ok && size(ch.scratch);
  if (!ok) {
    mBlockSize = 0;
    return false;
  }
  for (InChannel& ch : mInChannels)
    *ch.slot = ch.scratch.Get();
  for (OutChannel& ch : mOutChannels)
    *ch.slot = ch.scratch.Get();
  mBlockSize = n;
  return true;
}

template <class T> void IFxProcessor<T>::Reset() {}
template <class T> void IFxProcessor<T>::ProcessSysEx(ISysEx*) {}
template <class T> bool IFxProcessor<T>::OnMessage(IMessage*) {
  return false;
}
template <class T> void IFxProcessor<T>::OnIdle() {}

#include "framework/IFxProcessorMessages.inl"
#include "framework/IFxProcessorProcess.inl"
#include "framework/IFxProcessorState.inl"

template class IFxProcessor<double>;
