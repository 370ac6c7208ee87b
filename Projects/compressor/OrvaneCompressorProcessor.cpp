#include "Projects/compressor/OrvaneCompressorProcessor.h"

#include "Projects/compressor/OrvaneCompressorCids.h"
#include "Projects/compressor/OrvaneCompressorParams.h"

#include "pluginterfaces/base/smartpointer.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <cstring>

using namespace Steinberg;

OrvaneCompressorProcessor::OrvaneCompressorProcessor()
    : IFxProcessor<double>(OrvaneCompressor::kControllerUID, kNumOrvaneCompressorParams,
                           OrvaneCompressor::kChannelIO, OrvaneCompressor::kEffectVersion,
                           OrvaneCompressor::kUniqueID, OrvaneCompressor::kMakerID,
                           OrvaneCompressor::kLatency, false, false, false,
                           OrvaneCompressor::kAPI) {
  DeclareOrvaneCompressorParams(*this);
}

OrvaneCompressorProcessor::~OrvaneCompressorProcessor() = default;

FUnknown* OrvaneCompressorProcessor::createInstance(void*) {
  try {
    auto* processor = new OrvaneCompressorProcessor();
    return static_cast<Vst::IAudioProcessor*>(processor);
  } catch (...) {
    return nullptr;
  }
}

void OrvaneCompressorProcessor::OnParamChange(int idx, int) {
  if (idx < 0 || idx >= kNumOrvaneCompressorParams)
    return;
  const IParam* param = GetParam(idx);
  const double value = param->Value();
  switch (idx) {
  case kInputGain:
    mComp.SetInputGain(value);
    break;
  case kThreshold:
    mComp.SetThreshold(value);
    break;
  case kRatio:
    mComp.SetRatio(value);
    break;
  case kAttack:
    mComp.SetAttack(value);
    break;
  case kRelease:
    mComp.SetRelease(value);
    break;
  case kAutoRelease:
    mComp.SetAutoRelease(value != 0.0);
    break;
  case kMakeUpGain:
    mComp.SetMakeUp(value);
    break;
  case kIOMetering:
    mComp.SetIOMetering(value > 0.5);
    break;
  case kBlend:
    mComp.SetBlend(param->GetNormalized());
    break;
  default:
    break;
  }
}

void OrvaneCompressorProcessor::Reset() {
  mComp.SetSampleRate(GetSampleRate());
}

// Without a host buffer for input channel 1 (the mono arrangement) that channel is the
// framework's zeroed scratch: the engine then runs its one-channel path, which treats the right
// channel as the silence it is, and output channel 1 receives the silence the two-channel path
// would have written there.
void OrvaneCompressorProcessor::ProcessDoubleReplacing(double** inputs, double** outputs,
                                                       int nFrames) {
  if (nFrames <= 0)
    return;
  const size_t n = static_cast<size_t>(nFrames);
  if (IsInChannelConnected(1)) {
    mComp.Process(inputs, outputs, nullptr, n);
    return;
  }
  mComp.ProcessMono(inputs[0], outputs[0], nullptr, n);
  if (outputs[1] && outputs[1] != inputs[1])
    std::memset(outputs[1], 0, n * sizeof(double));
}

void OrvaneCompressorProcessor::OnIdle() {
  IPtr<Vst::IMessage> message = owned(allocateMessage());
  if (!message)
    return;
  message->setMessageID(OrvaneCompressor::kMeterMessageID);
  Vst::IAttributeList* attributes = message->getAttributes();
  if (!attributes)
    return;
  attributes->setFloat(OrvaneCompressor::kLevelAttribute, mComp.GetLevelMeter());
  attributes->setFloat(OrvaneCompressor::kGainReductionAttribute, mComp.GetGainReductionMeter());
  sendMessage(message);
}
