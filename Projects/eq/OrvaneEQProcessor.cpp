#include "Projects/eq/OrvaneEQProcessor.h"

#include "Projects/eq/OrvaneEQCids.h"
#include "Projects/eq/OrvaneEQParams.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <new>

using namespace Steinberg;

OrvaneEQProcessor::OrvaneEQProcessor()
    : IFxProcessor<double>(OrvaneEQ::kControllerUID, kNumOrvaneEQParams, OrvaneEQ::kChannelIO,
                           OrvaneEQ::kEffectVersion, OrvaneEQ::kUniqueID, OrvaneEQ::kMakerID,
                           OrvaneEQ::kLatency, false, false, false, kAPIVST2) {
  DeclareOrvaneEQParams(*this);
}

OrvaneEQProcessor::~OrvaneEQProcessor() = default;

FUnknown* OrvaneEQProcessor::createInstance(void* /*context*/) {
  try {
    auto* processor = new OrvaneEQProcessor();
    return static_cast<Vst::IAudioProcessor*>(processor);
  } catch (...) {
    return nullptr;
  }
}

void OrvaneEQProcessor::Reset() {
  mDsp.SetSampleRate(GetSampleRate());
}

void OrvaneEQProcessor::OnParamChange(int paramIdx, int /*sampleOffset*/) {
  if (paramIdx < 0 || paramIdx >= NParams()) {
    return;
  }
  mDsp.ApplyParam(paramIdx, GetParam(paramIdx)->Value());
}

int OrvaneEQProcessor::ActiveChannels() const {
  if (IsOutChannelConnected(1)) {
    return 2;
  }
  return IsOutChannelConnected(0) ? 1 : 0;
}

void OrvaneEQProcessor::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) {
  mDsp.Process(inputs, outputs, ActiveChannels(), nFrames);
}

void OrvaneEQProcessor::OnIdle() {
  Vst::IMessage* message = allocateMessage();
  if (!message) {
    return;
  }
  message->setMessageID("GAIN");
  if (Vst::IAttributeList* attributes = message->getAttributes()) {
    attributes->setFloat("GAIN", mDsp.MeterValue());
  }
  sendMessage(message);
  message->release();
}
