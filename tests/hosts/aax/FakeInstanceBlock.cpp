#include "FakeInstanceBlock.h"

namespace aaxhost {

AAX_Result FakeTransportNode::GetCurrentTempo(double* bpm) const {
  return mTransport.GetCurrentTempo(bpm);
}
AAX_Result FakeTransportNode::GetCurrentMeter(int32_t* numerator, int32_t* denominator) const {
  return mTransport.GetCurrentMeter(numerator, denominator);
}
AAX_Result FakeTransportNode::IsTransportPlaying(bool* playing) const {
  return mTransport.IsTransportPlaying(playing);
}
AAX_Result FakeTransportNode::GetCurrentTickPosition(int64_t* ticks) const {
  return mTransport.GetCurrentTickPosition(ticks);
}
AAX_Result FakeTransportNode::GetCurrentLoopPosition(bool* looping, int64_t* startTicks,
                                                     int64_t* endTicks) const {
  return mTransport.GetCurrentLoopPosition(looping, startTicks, endTicks);
}
AAX_Result FakeTransportNode::GetCurrentSampleLocation(int64_t* samples) const {
  return mTransport.GetCurrentSampleLocation(samples);
}

FakeInstanceBlock::FakeInstanceBlock(AAX_IACFEffectParameters* effect, int32_t inputChannels,
                                     int32_t outputChannels, int32_t maxSamples, float sampleRate,
                                     const AAX_ITransport* transport)
    : mInputs(size_t(inputChannels), std::vector<float>(size_t(maxSamples), 0.0f)),
      mOutputs(size_t(outputChannels), std::vector<float>(size_t(maxSamples), 0.0f)),
      mLength(maxSamples), mSampleRate(sampleRate) {
  for (auto& channel : mOutputs)
    for (size_t n = 0; n < channel.size(); ++n)
      channel[n] = StaleSample(int32_t(n));
  for (auto& channel : mInputs)
    mInputPointers.push_back(channel.data());
  for (auto& channel : mOutputs)
    mOutputPointers.push_back(channel.data());
  mFields[kAudioIn] = mInputPointers.data();
  mFields[kAudioOut] = mOutputPointers.data();
  mFields[kBufferLength] = &mLength;
  mFields[kSampleRate] = &mSampleRate;
  mFields[kTransport] = const_cast<AAX_ITransport*>(transport);
  mFields[kPrivateData] = mPrivateData.data();
  if (effect)
    effect->ResetFieldData(kPrivateData, mPrivateData.data(), uint32_t(mPrivateData.size()));
}

void RenderInstances(AAX_CProcessProc proc, const std::vector<FakeInstanceBlock*>& instances) {
  std::vector<void*> blocks;
  for (FakeInstanceBlock* instance : instances)
    blocks.push_back(const_cast<void**>(instance->Fields()));
  proc(blocks.data(), blocks.data() + blocks.size());
}

} // namespace aaxhost
