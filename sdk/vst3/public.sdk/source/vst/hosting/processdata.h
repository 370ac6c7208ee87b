// HostProcessData: ProcessData with bus-buffer records laid out for a component's audio buses,
// for hosts and adapters that drive a processor. prepare() allocates (not on the audio thread);
// the records then only get their channel pointers per block.
#pragma once

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

#include <memory>
#include <vector>

namespace Steinberg {
namespace Vst {

class HostProcessData : public ProcessData {
public:
  HostProcessData();
  ~HostProcessData();

  HostProcessData(const HostProcessData&) = delete;
  HostProcessData& operator=(const HostProcessData&) = delete;

  // One AudioBusBuffers record per audio input and output bus of the component, each with a
  // channel-pointer array of the bus's channel count. With bufferSamples above 0 every channel
  // also gets a zeroed buffer of that many samples of the given size (kSample32 or kSample64);
  // with 0 the pointers stay null for the caller to set. False (and the record unchanged) for
  // a sample size other than those two.
  bool prepare(IComponent& component, int32 bufferSamples, int32 symbolicSampleSize);
  // Frees what prepare() made; the record is then empty. Only the memory prepare() allocated
  // is freed, so callers may point the records at channel arrays of their own.
  void unprepare();

  // Channel count of bus `index` as prepared, 0 outside the prepared buses.
  int32 getInputChannelCount(int32 index) const;
  int32 getOutputChannelCount(int32 index) const;

private:
  AudioBusBuffers* makeBuses(IComponent& component, BusDirection dir, int32 count);
  template <class Sample> Sample** makeChannels(int32 channels);

  int32 preparedSamples = 0;
  std::vector<std::unique_ptr<AudioBusBuffers[]>> busArrays;
  std::vector<std::unique_ptr<Sample32*[]>> channelArrays32;
  std::vector<std::unique_ptr<Sample64*[]>> channelArrays64;
  std::vector<std::unique_ptr<Sample32[]>> sampleBuffers32;
  std::vector<std::unique_ptr<Sample64[]>> sampleBuffers64;
};

} // namespace Vst
} // namespace Steinberg
