// The process path of AAXWrapper_Parameters: each AAX render call of an instance becomes one
// VST 3 process call. Everything here runs on the host's audio thread and neither allocates
// nor locks: the bus records, change lists, queues and event lists are made beforehand.
#include "aax/adapter/AAXWrapper_Parameters.h"

#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {
constexpr double kTicksPerQuarterNote = 960000.0;
constexpr double kDefaultTempo = 120.0;
} // namespace

void AAXWrapper_ProcessProc(void* const instancesBegin[], const void* instancesEnd) {
  if (!instancesBegin || !instancesEnd)
    return;
  for (void* const* instance = instancesBegin; instance < instancesEnd; ++instance) {
    void* const* fields = static_cast<void* const*>(*instance);
    if (!fields)
      continue;
    auto* const* privateData = static_cast<AAXWrapper_Parameters* const*>(
        fields[AAXWrapper_Parameters::kFieldPrivateData]);
    if (privateData && *privateData)
      (*privateData)->ProcessBlock(fields);
  }
}

AAX_Result AAXWrapper_Parameters::ResetFieldData(AAX_CFieldIndex field, void* data,
                                                 uint32_t size) const {
  if (field != kFieldPrivateData || !data || size < sizeof(AAXWrapper_Parameters*))
    return AAX_CEffectParameters::ResetFieldData(field, data, size);
  std::memset(data, 0, size);
  const AAXWrapper_Parameters* self = this;
  std::memcpy(data, &self, sizeof self);
  return AAX_SUCCESS;
}

bool AAXWrapper_Parameters::PrepareBuses() {
  if (!mComponent || !mProcessData.prepare(*mComponent, 0, kSample32))
    return false;
  mActiveInputs = 0;
  mActiveOutputs = 0;
  for (BusDirection direction : {kInput, kOutput}) {
    uint64_t& mask = direction == kInput ? mActiveInputs : mActiveOutputs;
    const int32 count = mComponent->getBusCount(kAudio, direction);
    for (int32 bus = 0; bus < count && bus < 64; ++bus) {
      BusInfo info{};
      if (mComponent->getBusInfo(kAudio, direction, bus, info) != kResultOk)
        continue;
      if (info.busType == kMain) {
        mComponent->activateBus(kAudio, direction, bus, true);
        mask |= uint64_t(1) << bus;
      } else if (info.flags & BusInfo::kDefaultActive) {
        mComponent->activateBus(kAudio, direction, bus, false);
      }
    }
  }
  mMidiInputEnabled = mComponent->getBusCount(kEvent, kInput) > 0;
  mMidiOutputEnabled = mComponent->getBusCount(kEvent, kOutput) > 0;
  mInputEvents = mMidiInputEnabled ? owned(new EventList(kEventListSize)) : nullptr;
  mOutputEvents = mMidiOutputEnabled ? owned(new EventList(kEventListSize)) : nullptr;
  // The processor knows it may be called from the audio thread from now on; a state restored
  // while it processes is then handed over at a block start instead of written under it.
  if (!mActive)
    mActive = mComponent->setActive(true) == kResultOk;
  return mActive;
}

// Each active bus takes the next channels of the host's; a bus the host's stem has no channel
// for gets none (the processor leaves such channels unconnected), and an inactive input bus
// is marked silent.
int32 AAXWrapper_Parameters::ConnectBuses(void* const* fields, int32 numSamples) {
  float* const* inputs = static_cast<float* const*>(fields[kFieldAudioIn]);
  float* const* outputs = static_cast<float* const*>(fields[kFieldAudioOut]);
  int32 k = 0;
  for (int32 b = 0; b < mProcessData.numInputs; ++b) {
    AudioBusBuffers& bus = mProcessData.inputs[b];
    if (b >= 64 || !(mActiveInputs & (uint64_t(1) << b))) {
      bus.silenceFlags = ~uint64(0);
      continue;
    }
    for (int32 c = 0; c < bus.numChannels; ++c, ++k)
      bus.channelBuffers32[c] = inputs && k < mHostInputChannels ? inputs[k] : nullptr;
  }
  k = 0;
  for (int32 b = 0; b < mProcessData.numOutputs; ++b) {
    AudioBusBuffers& bus = mProcessData.outputs[b];
    bus.silenceFlags = 0;
    if (b >= 64 || !(mActiveOutputs & (uint64_t(1) << b)))
      continue;
    for (int32 c = 0; c < bus.numChannels; ++c, ++k)
      bus.channelBuffers32[c] = outputs && k < mHostOutputChannels ? outputs[k] : nullptr;
  }
  mProcessData.numSamples = numSamples;
  return k < mHostOutputChannels ? k : mHostOutputChannels;
}

// The host's buffers hold whatever they held before (the last block's audio): every channel
// no bus writes gets silence, so that nothing stale is heard.
void AAXWrapper_Parameters::SilenceOutputs(void* const* fields, int32 fromChannel,
                                           int32 numSamples) const {
  float* const* outputs = static_cast<float* const*>(fields[kFieldAudioOut]);
  if (!outputs || numSamples <= 0)
    return;
  for (int32 c = fromChannel < 0 ? 0 : fromChannel; c < mHostOutputChannels; ++c)
    if (outputs[c])
      std::memset(outputs[c], 0, sizeof(float) * size_t(numSamples));
}

void AAXWrapper_Parameters::ProcessBlock(void* const* fields) {
  mTransport = static_cast<AAX_ITransport*>(fields[kFieldTransport]);
  const int32_t* length = static_cast<const int32_t*>(fields[kFieldBufferLength]);
  const int32 numSamples = length && *length > 0 ? *length : 0;
  // A render call before the effect was initialised (or after that failed) finds the
  // processor not set up: the host hears silence.
  if (!mProcessor || !mActive) {
    SilenceOutputs(fields, 0, numSamples);
    return;
  }
  if (mMidiInputEnabled)
    ProcessMidiInput(fields);
  const int32 connectedOutputs = ConnectBuses(fields, numSamples);
  if (!mProcessingStarted) {
    mProcessor->setProcessing(true);
    mProcessingStarted = true;
  }
  mProcessData.inputEvents = mInputEvents.get();
  mProcessData.outputEvents = mOutputEvents.get();
  UpdateProcessContext(fields);
  mHostToProcessor.MoveTo(mInputChanges);
  mOutputChanges.clearQueue();
  mProcessData.inputParameterChanges = &mInputChanges;
  mProcessData.outputParameterChanges = &mOutputChanges;
  mProcessor->process(mProcessData);
  SilenceOutputs(fields, connectedOutputs, numSamples);
  MoveOutputChangesToController();
  if (mMidiOutputEnabled)
    ProcessMidiOutput(fields);
  mInputChanges.clearQueue();
  if (mInputEvents)
    mInputEvents->clear();
}

void AAXWrapper_Parameters::MoveOutputChangesToController() {
  for (int32 q = 0; q < mOutputChanges.getParameterCount(); ++q) {
    IParamValueQueue* queue = mOutputChanges.getParameterData(q);
    if (!queue)
      continue;
    for (int32 p = 0; p < queue->getPointCount(); ++p) {
      int32 offset = 0;
      ParamValue value = 0.0;
      if (queue->getPoint(p, offset, value) == kResultOk)
        mProcessorOutput.Add(queue->getParameterId(), value);
    }
  }
}

// The sample rate comes from the instance's own field: asking the controller would be a call
// into the host's data model from its audio thread.
void AAXWrapper_Parameters::UpdateProcessContext(void* const* fields) {
  if (!mTransport) {
    mProcessData.processContext = nullptr;
    return;
  }
  mProcessContext = ProcessContext{};
  const float* sampleRate = static_cast<const float*>(fields[kFieldSampleRate]);
  mProcessContext.sampleRate = sampleRate ? double(*sampleRate) : 0.0;

  double tempo = 0.0;
  if (mTransport->GetCurrentTempo(&tempo) == AAX_SUCCESS) {
    mProcessContext.tempo = tempo;
    mProcessContext.state |= ProcessContext::kTempoValid;
  } else {
    mProcessContext.tempo = kDefaultTempo;
  }
  bool playing = false;
  if (mTransport->IsTransportPlaying(&playing) == AAX_SUCCESS && playing)
    mProcessContext.state |= ProcessContext::kPlaying;
  int32_t numerator = 0;
  int32_t denominator = 0;
  if (mTransport->GetCurrentMeter(&numerator, &denominator) == AAX_SUCCESS) {
    mProcessContext.timeSigNumerator = numerator;
    mProcessContext.timeSigDenominator = denominator;
    mProcessContext.state |= ProcessContext::kTimeSigValid;
  }
  int64_t ticks = 0;
  if (mTransport->GetCurrentTickPosition(&ticks) == AAX_SUCCESS) {
    mProcessContext.projectTimeMusic = double(ticks) / kTicksPerQuarterNote;
    mProcessContext.state |= ProcessContext::kProjectTimeMusicValid;
  }
  int64_t samples = 0;
  mProcessContext.projectTimeSamples =
      mTransport->GetCurrentSampleLocation(&samples) == AAX_SUCCESS ? samples : 0;
  bool looping = false;
  int64_t loopStart = 0;
  int64_t loopEnd = 0;
  if (mTransport->GetCurrentLoopPosition(&looping, &loopStart, &loopEnd) == AAX_SUCCESS) {
    mProcessContext.state |= ProcessContext::kCycleValid;
    mProcessContext.cycleStartMusic = double(loopStart) / kTicksPerQuarterNote;
    mProcessContext.cycleEndMusic = double(loopEnd) / kTicksPerQuarterNote;
    if (looping)
      mProcessContext.state |= ProcessContext::kCycleActive;
  }
  mProcessData.processContext = &mProcessContext;
}
