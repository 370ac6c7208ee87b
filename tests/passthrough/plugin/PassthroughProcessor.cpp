#include "tests/passthrough/plugin/PassthroughProcessor.h"

#include "tests/passthrough/plugin/PassthroughIDs.h"
#include "tests/passthrough/plugin/PassthroughState.h"

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace orvane::passthrough {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

void copyName(String128 to, const char16_t* from) {
  int i = 0;
  for (; from[i] != 0 && i < 127; ++i)
    to[i] = from[i];
  to[i] = 0;
}

bool isValidNormalized(double v) {
  return std::isfinite(v) && v >= 0.0 && v <= 1.0;
}

} // namespace

FUnknown* PassthroughProcessor::createInstance(void*) {
  return static_cast<IComponent*>(new PassthroughProcessor);
}

PassthroughProcessor::PassthroughProcessor() : normalized{kDefaultGainNormalized, 0.0} {
  FUNKNOWN_CTOR
  setNormalized(kGainId, normalized[kGainId]);
  setNormalized(kInvertId, normalized[kInvertId]);
}

PassthroughProcessor::~PassthroughProcessor() {
  if (host)
    host->release();
}

IMPLEMENT_REFCOUNT(PassthroughProcessor)

tresult PLUGIN_API PassthroughProcessor::queryInterface(const TUID _iid, void** obj) {
  QUERY_INTERFACE(_iid, obj, FUnknown::iid, IComponent)
  QUERY_INTERFACE(_iid, obj, IPluginBase::iid, IComponent)
  QUERY_INTERFACE(_iid, obj, IComponent::iid, IComponent)
  QUERY_INTERFACE(_iid, obj, IAudioProcessor::iid, IAudioProcessor)
  QUERY_INTERFACE(_iid, obj, IConnectionPoint::iid, IConnectionPoint)
  *obj = nullptr;
  return kNoInterface;
}

tresult PLUGIN_API PassthroughProcessor::initialize(FUnknown* context) {
  if (host)
    return kResultFalse; // initialised twice
  void* obj = nullptr;
  if (context && context->queryInterface(IHostApplication::iid, &obj) == kResultOk)
    host = static_cast<IHostApplication*>(obj);
  return kResultOk;
}

tresult PLUGIN_API PassthroughProcessor::terminate() {
  if (host)
    host->release();
  host = nullptr;
  return kResultOk;
}

tresult PLUGIN_API PassthroughProcessor::getControllerClassId(TUID classId) {
  kControllerUID.toTUID(classId);
  return kResultOk;
}

tresult PLUGIN_API PassthroughProcessor::setIoMode(IoMode) {
  return kNotImplemented;
}

int32 PLUGIN_API PassthroughProcessor::getBusCount(MediaType type, BusDirection dir) {
  return type == kAudio && (dir == kInput || dir == kOutput) ? 1 : 0;
}

tresult PLUGIN_API PassthroughProcessor::getBusInfo(MediaType type, BusDirection dir, int32 index,
                                                    BusInfo& bus) {
  if (type != kAudio || index != 0 || (dir != kInput && dir != kOutput))
    return kInvalidArgument;
  bus.mediaType = kAudio;
  bus.direction = dir;
  bus.channelCount = SpeakerArr::getChannelCount(arrangement);
  copyName(bus.name, dir == kInput ? u"Input" : u"Output");
  bus.busType = kMain;
  bus.flags = BusInfo::kDefaultActive;
  return kResultOk;
}

tresult PLUGIN_API PassthroughProcessor::getRoutingInfo(RoutingInfo&, RoutingInfo&) {
  return kNotImplemented;
}

tresult PLUGIN_API PassthroughProcessor::activateBus(MediaType type, BusDirection dir, int32 index,
                                                     TBool) {
  return type == kAudio && index == 0 && (dir == kInput || dir == kOutput) ? kResultOk
                                                                           : kInvalidArgument;
}

tresult PLUGIN_API PassthroughProcessor::setActive(TBool state) {
  const bool on = state != 0;
  if (on && !active)
    sendActivated();
  active = on;
  return kResultOk;
}

void PassthroughProcessor::sendActivated() {
  if (!peer || !host)
    return;
  IMessage* message = createHostInstance<IMessage>(host);
  if (!message)
    return;
  message->setMessageID(kActivatedMessage);
  if (IAttributeList* attributes = message->getAttributes())
    attributes->setFloat("sampleRate", setup.sampleRate);
  peer->notify(message);
  message->release();
}

tresult PLUGIN_API PassthroughProcessor::setState(IBStream* state) {
  std::uint8_t blob[kProcessorStateSize];
  if (!readExactly(state, blob, sizeof blob) || std::memcmp(blob, kProcessorStateMagic, 4) != 0)
    return kResultFalse;
  const double gain = getF64(blob + 4);
  const double invert = getF64(blob + 12);
  if (!isValidNormalized(gain) || !isValidNormalized(invert))
    return kResultFalse;
  setNormalized(kGainId, gain);
  setNormalized(kInvertId, invert);
  return kResultOk;
}

tresult PLUGIN_API PassthroughProcessor::getState(IBStream* state) {
  std::uint8_t blob[kProcessorStateSize];
  std::memcpy(blob, kProcessorStateMagic, 4);
  putF64(blob + 4, normalized[kGainId]);
  putF64(blob + 12, normalized[kInvertId]);
  return writeExactly(state, blob, sizeof blob) ? kResultOk : kResultFalse;
}

tresult PLUGIN_API PassthroughProcessor::setBusArrangements(SpeakerArrangement* inputs,
                                                            int32 numIns,
                                                            SpeakerArrangement* outputs,
                                                            int32 numOuts) {
  if (numIns != 1 || numOuts != 1 || !inputs || !outputs || inputs[0] != outputs[0])
    return kResultFalse;
  if (inputs[0] != SpeakerArr::kMono && inputs[0] != SpeakerArr::kStereo)
    return kResultFalse;
  arrangement = inputs[0];
  return kResultOk;
}

tresult PLUGIN_API PassthroughProcessor::getBusArrangement(BusDirection dir, int32 index,
                                                           SpeakerArrangement& arr) {
  if (index != 0 || (dir != kInput && dir != kOutput))
    return kInvalidArgument;
  arr = arrangement;
  return kResultOk;
}

tresult PLUGIN_API PassthroughProcessor::canProcessSampleSize(int32 symbolicSampleSize) {
  return symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64 ? kResultTrue
                                                                            : kResultFalse;
}

tresult PLUGIN_API PassthroughProcessor::setupProcessing(ProcessSetup& newSetup) {
  if (canProcessSampleSize(newSetup.symbolicSampleSize) != kResultTrue)
    return kResultFalse;
  setup = newSetup;
  return kResultOk;
}

tresult PLUGIN_API PassthroughProcessor::setProcessing(TBool) {
  return kResultOk;
}

void PassthroughProcessor::setNormalized(ParamID id, double value) {
  value = std::clamp(value, 0.0, 1.0);
  normalized[id] = value;
  if (id == kGainId)
    values.gain = std::pow(10.0, gainDbFromNormalized(value) / 20.0);
  else
    values.sign = value >= 0.5 ? -1.0 : 1.0;
}

template <class Sample> void PassthroughProcessor::render(ProcessData& data, int32 from, int32 to) {
  if (data.numInputs < 1 || data.numOutputs < 1 || from >= to)
    return;
  const AudioBusBuffers& in = data.inputs[0];
  AudioBusBuffers& out = data.outputs[0];
  Sample** inputs = data.symbolicSampleSize == kSample64
                        ? reinterpret_cast<Sample**>(in.channelBuffers64)
                        : reinterpret_cast<Sample**>(in.channelBuffers32);
  Sample** outputs = data.symbolicSampleSize == kSample64
                         ? reinterpret_cast<Sample**>(out.channelBuffers64)
                         : reinterpret_cast<Sample**>(out.channelBuffers32);
  if (!outputs)
    return;
  const Sample factor = static_cast<Sample>(values.gain * values.sign);
  for (int32 ch = 0; ch < out.numChannels; ++ch) {
    Sample* o = outputs[ch];
    if (!o)
      continue;
    const Sample* i = inputs && ch < in.numChannels ? inputs[ch] : nullptr;
    if (!i) {
      std::fill(o + from, o + to, Sample(0));
      continue;
    }
    for (int32 s = from; s < to; ++s)
      o[s] = i[s] * factor;
  }
}

template <class Sample> void PassthroughProcessor::processBlock(ProcessData& data) {
  // Every point of every queue, applied at its offset: render up to the next change, apply it.
  int32 done = 0;
  IParameterChanges* changes = data.inputParameterChanges;
  const int32 queues = changes ? changes->getParameterCount() : 0;
  int32 next[kNumParams] = {0, 0};
  IParamValueQueue* byId[kNumParams] = {nullptr, nullptr};
  for (int32 q = 0; q < queues; ++q) {
    IParamValueQueue* queue = changes->getParameterData(q);
    if (queue && queue->getParameterId() < kNumParams)
      byId[queue->getParameterId()] = queue;
  }
  for (;;) {
    // The earliest pending point of either parameter.
    int32 soonest = data.numSamples;
    ParamID soonestId = kNumParams;
    double soonestValue = 0;
    for (ParamID id = 0; id < kNumParams; ++id) {
      int32 offset = 0;
      ParamValue value = 0;
      if (byId[id] && next[id] < byId[id]->getPointCount() &&
          byId[id]->getPoint(next[id], offset, value) == kResultOk) {
        offset = std::clamp(offset, done, data.numSamples);
        if (soonestId == kNumParams || offset < soonest) {
          soonest = offset;
          soonestId = id;
          soonestValue = value;
        }
      }
    }
    render<Sample>(data, done, soonest);
    done = soonest;
    if (soonestId == kNumParams)
      break;
    setNormalized(soonestId, soonestValue);
    ++next[soonestId];
  }
  if (data.numInputs >= 1 && data.numOutputs >= 1)
    data.outputs[0].silenceFlags = data.inputs[0].silenceFlags;
}

tresult PLUGIN_API PassthroughProcessor::process(ProcessData& data) {
  if (data.numSamples < 0)
    return kInvalidArgument;
  if (data.symbolicSampleSize == kSample64)
    processBlock<double>(data);
  else
    processBlock<float>(data);
  return kResultOk;
}

tresult PLUGIN_API PassthroughProcessor::connect(IConnectionPoint* other) {
  if (!other || peer)
    return kResultFalse;
  peer = other;
  return kResultOk;
}

tresult PLUGIN_API PassthroughProcessor::disconnect(IConnectionPoint* other) {
  if (!peer || other != peer)
    return kResultFalse;
  peer = nullptr;
  return kResultOk;
}

tresult PLUGIN_API PassthroughProcessor::notify(IMessage* message) {
  return message ? kResultOk : kInvalidArgument;
}

} // namespace orvane::passthrough
