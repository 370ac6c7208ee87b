// The field block of one effect instance as an AAX host hands it to a component's process
// procedure: the audio channel pointers, the buffer length, the sample rate, the transport
// node and the private data, each at the field index the component description declared.
// The host owns the buffers; the private data is set up by the effect's ResetFieldData, as a
// host does before the first render call.
#pragma once

#include "AAX_IACFEffectParameters.h"
#include "FakeInstanceObjects.h"
#include "aax/library/AAX_ITransport.h"

#include <array>
#include <cstdint>
#include <vector>

namespace aaxhost {

// The transport a host puts into the transport node: answers from a FakeTransport's fields.
class FakeTransportNode final : public AAX_ITransport {
public:
  explicit FakeTransportNode(const FakeTransport& transport) : mTransport(transport) {}
  AAX_Result GetCurrentTempo(double* bpm) const override;
  AAX_Result GetCurrentMeter(int32_t* numerator, int32_t* denominator) const override;
  AAX_Result IsTransportPlaying(bool* playing) const override;
  AAX_Result GetCurrentTickPosition(int64_t* ticks) const override;
  AAX_Result GetCurrentLoopPosition(bool* looping, int64_t* startTicks,
                                    int64_t* endTicks) const override;
  AAX_Result GetCurrentSampleLocation(int64_t* samples) const override;

private:
  const FakeTransport& mTransport;
};

class FakeInstanceBlock {
public:
  static constexpr int32_t kFieldCount = 25;
  static constexpr int32_t kAudioIn = 0, kAudioOut = 1, kBufferLength = 2, kSampleRate = 3,
                           kTransport = 7, kPrivateData = 23;

  // Buffers for this many channels of up to maxSamples; the private data is reset through
  // the effect (null effect: left zero). A null transport leaves the transport node empty.
  // Inputs start silent; outputs start with StaleSample, as a host's buffers hold the last
  // block's audio, so that a channel the plug-in leaves untouched shows.
  FakeInstanceBlock(AAX_IACFEffectParameters* effect, int32_t inputChannels, int32_t outputChannels,
                    int32_t maxSamples, float sampleRate, const AAX_ITransport* transport);

  // What an output holds at sample n before the plug-in writes it: never 0.
  static float StaleSample(int32_t n) { return 0.5f + 0.001f * float(n % 100); }

  float* Input(int32_t channel) { return mInputs[size_t(channel)].data(); }
  const float* Output(int32_t channel) const { return mOutputs[size_t(channel)].data(); }
  void SetLength(int32_t samples) { mLength = samples; }
  void* const* Fields() const { return mFields.data(); }
  void SetField(int32_t index, void* value) { mFields[size_t(index)] = value; }

private:
  std::vector<std::vector<float>> mInputs;
  std::vector<std::vector<float>> mOutputs;
  std::vector<float*> mInputPointers;
  std::vector<float*> mOutputPointers;
  int32_t mLength = 0;
  float mSampleRate;
  alignas(8) std::array<uint8_t, 8> mPrivateData{};
  std::array<void*, kFieldCount> mFields{};
};

// One render call of the process procedure with these instances, in order.
void RenderInstances(AAX_CProcessProc proc, const std::vector<FakeInstanceBlock*>& instances);

} // namespace aaxhost
