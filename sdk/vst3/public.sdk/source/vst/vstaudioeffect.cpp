#include "public.sdk/source/vst/vstaudioeffect.h"

namespace Steinberg {
namespace Vst {

AudioEffect::AudioEffect() {
  processSetup.processMode = kRealtime;
  processSetup.symbolicSampleSize = kSample32;
  processSetup.maxSamplesPerBlock = 1024;
  processSetup.sampleRate = 44100.0;
}

AudioEffect::~AudioEffect() = default;

AudioBus* AudioEffect::getAudioInput(int32 index) {
  return FCast<AudioBus>(audioInputs.getBus(index));
}

AudioBus* AudioEffect::getAudioOutput(int32 index) {
  return FCast<AudioBus>(audioOutputs.getBus(index));
}

EventBus* AudioEffect::getEventInput(int32 index) {
  return FCast<EventBus>(eventInputs.getBus(index));
}

EventBus* AudioEffect::getEventOutput(int32 index) {
  return FCast<EventBus>(eventOutputs.getBus(index));
}

tresult PLUGIN_API AudioEffect::setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                   SpeakerArrangement* outputs, int32 numOuts) {
  if (numIns < 0 || numOuts < 0 || (numIns > 0 && !inputs) || (numOuts > 0 && !outputs))
    return kInvalidArgument;
  if (numIns > static_cast<int32>(audioInputs.size()) ||
      numOuts > static_cast<int32>(audioOutputs.size()))
    return kResultFalse;
  for (int32 i = 0; i < numIns; ++i)
    if (AudioBus* bus = getAudioInput(i))
      bus->setArrangement(inputs[i]);
  for (int32 i = 0; i < numOuts; ++i)
    if (AudioBus* bus = getAudioOutput(i))
      bus->setArrangement(outputs[i]);
  return kResultTrue;
}

tresult PLUGIN_API AudioEffect::getBusArrangement(BusDirection dir, int32 index,
                                                  SpeakerArrangement& arr) {
  AudioBus* bus = dir == kInput    ? getAudioInput(index)
                  : dir == kOutput ? getAudioOutput(index)
                                   : nullptr;
  if (!bus)
    return kInvalidArgument;
  arr = bus->getArrangement();
  return kResultTrue;
}

tresult PLUGIN_API AudioEffect::canProcessSampleSize(int32 symbolicSampleSize) {
  return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API AudioEffect::setupProcessing(ProcessSetup& setup) {
  if (canProcessSampleSize(setup.symbolicSampleSize) != kResultTrue)
    return kResultFalse;
  processSetup = setup;
  return kResultOk;
}

// Nothing to start or stop by default; hosts treat the answer as success.
tresult PLUGIN_API AudioEffect::setProcessing(TBool /*state*/) {
  return kResultOk;
}

tresult PLUGIN_API AudioEffect::process(ProcessData& /*data*/) {
  return kNotImplemented;
}

} // namespace Vst
} // namespace Steinberg
