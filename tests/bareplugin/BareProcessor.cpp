#include "tests/bareplugin/BareProcessor.h"

#include "tests/bareplugin/BareParams.h"

#include <algorithm>
#include <cmath>

namespace bare {

BareProcessor::BareProcessor()
    : IFxProcessor<double>(kControllerUID, kNumParams, kChannelIO, kEffectVersion, kUniqueID,
                           kMakerID, kLatency, true, true, false, kAPIVST3) {
  InitParams(*this);
  mDelay.Init(NInChannels(), NOutChannels(), kLatency);
  mFrame.assign(size_t(NInChannels()), 0.0);
}

Steinberg::FUnknown* BareProcessor::Create(void*) {
  return static_cast<Steinberg::Vst::IAudioProcessor*>(new BareProcessor());
}

void BareProcessor::OnParamChange(int idx, int offset) {
  if (idx < 0 || idx >= kNumParams)
    return;
  ++hookCalls[idx];
  lastHookOffset[idx] = offset;
  if (idx == kGain || idx == kMix || idx == kMute)
    UpdateFactor();
}

void BareProcessor::UpdateFactor() {
  const double mix = GetParam(kMix)->Value() / 100.0;
  const double gain = GetParam(kGain)->DBToAmp();
  mFactor = GetParam(kMute)->Value() > 0.5 ? 0.0 : 1.0 - mix + mix * gain;
}

void BareProcessor::Reset() {
  ++resets;
  mDelay.Clear();
}

void BareProcessor::ProcessDoubleReplacing(double** inputs, double** outputs, int n) {
  mDelay.Process(inputs, outputs, n, mFrame.data());
  double peak = 0.0;
  for (int c = 0; c < NOutChannels(); ++c) {
    double* out = outputs[c];
    for (int i = 0; i < n; ++i) {
      out[i] *= mFactor;
      peak = std::max(peak, std::fabs(out[i]));
    }
  }
  IParam* meter = GetParam(kMeter);
  meter->Set(std::min(peak, 1.0));
  Steinberg::int32 index = 0;
  if (auto* queue = OutgoingParamChanges().addParameterData(kMeter, index))
    queue->addPoint(0, meter->GetNormalized(), index);
}

// Through to the MIDI output, and notes back to the controller.
void BareProcessor::ProcessMidiMsg(IMidiMsg* msg) {
  if (msg) {
    lastMidi = *msg;
    ++midiCount;
  }
  IFxProcessor<double>::ProcessMidiMsg(msg);
  if (msg && (msg->StatusMsg() == IMidiMsg::kNoteOn || msg->StatusMsg() == IMidiMsg::kNoteOff))
    QueueMidiForController(*msg);
}

void BareProcessor::ProcessSysEx(ISysEx* sysex) {
  if (!sysex)
    return;
  ++sysExCount;
  QueueSysExForController(*sysex);
}

} // namespace bare
