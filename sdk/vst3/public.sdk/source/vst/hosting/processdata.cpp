#include "public.sdk/source/vst/hosting/processdata.h"

#include <type_traits>

namespace Steinberg {
namespace Vst {

HostProcessData::HostProcessData() : ProcessData() {}

HostProcessData::~HostProcessData() {
  unprepare();
}

bool HostProcessData::prepare(IComponent& component, int32 bufferSamples, int32 sampleSize) {
  if (sampleSize != kSample32 && sampleSize != kSample64)
    return false;
  unprepare();
  symbolicSampleSize = sampleSize;
  preparedSamples = bufferSamples > 0 ? bufferSamples : 0;
  const int32 ins = component.getBusCount(kAudio, kInput);
  const int32 outs = component.getBusCount(kAudio, kOutput);
  inputs = makeBuses(component, kInput, ins);
  numInputs = inputs ? ins : 0;
  outputs = makeBuses(component, kOutput, outs);
  numOutputs = outputs ? outs : 0;
  return true;
}

template <class Sample> Sample** HostProcessData::makeChannels(int32 channels) {
  auto& arrays = [this]() -> auto& {
    if constexpr (std::is_same_v<Sample, Sample32>)
      return channelArrays32;
    else
      return channelArrays64;
  }
  ();
  auto& buffers = [this]() -> auto& {
    if constexpr (std::is_same_v<Sample, Sample32>)
      return sampleBuffers32;
    else
      return sampleBuffers64;
  }
  ();
  arrays.push_back(std::make_unique<Sample*[]>(static_cast<size_t>(channels)));
  Sample** pointers = arrays.back().get();
  for (int32 c = 0; c < channels; ++c) {
    pointers[c] = nullptr;
    if (preparedSamples > 0) {
      buffers.push_back(std::make_unique<Sample[]>(static_cast<size_t>(preparedSamples)));
      pointers[c] = buffers.back().get();
    }
  }
  return pointers;
}

AudioBusBuffers* HostProcessData::makeBuses(IComponent& component, BusDirection dir, int32 count) {
  if (count <= 0)
    return nullptr;
  busArrays.push_back(std::make_unique<AudioBusBuffers[]>(static_cast<size_t>(count)));
  AudioBusBuffers* buses = busArrays.back().get();
  for (int32 b = 0; b < count; ++b) {
    AudioBusBuffers& bus = buses[b];
    BusInfo info{};
    const int32 channels =
        component.getBusInfo(kAudio, dir, b, info) == kResultTrue && info.channelCount > 0
            ? info.channelCount
            : 0;
    bus.numChannels = channels;
    bus.silenceFlags = 0;
    bus.channelBuffers64 = nullptr;
    if (channels == 0)
      continue;
    if (symbolicSampleSize == kSample32)
      bus.channelBuffers32 = makeChannels<Sample32>(channels);
    else
      bus.channelBuffers64 = makeChannels<Sample64>(channels);
  }
  return buses;
}

void HostProcessData::unprepare() {
  inputs = outputs = nullptr;
  numInputs = numOutputs = 0;
  sampleBuffers32.clear();
  sampleBuffers64.clear();
  channelArrays32.clear();
  channelArrays64.clear();
  busArrays.clear();
  preparedSamples = 0;
}

int32 HostProcessData::getInputChannelCount(int32 index) const {
  return inputs && index >= 0 && index < numInputs ? inputs[index].numChannels : 0;
}

int32 HostProcessData::getOutputChannelCount(int32 index) const {
  return outputs && index >= 0 && index < numOutputs ? outputs[index].numChannels : 0;
}

} // namespace Vst
} // namespace Steinberg
