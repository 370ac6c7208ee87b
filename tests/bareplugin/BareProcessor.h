#pragma once

#include "framework/IFxProcessor.h"
#include "tests/bareplugin/BarePluginIDs.h"

#include <vector>

namespace bare {

// out = in x (1 - mix + mix x gain), or silence when muted, delayed by the latency the plug-in
// reports, so that processing and bypass stay in time. MIDI goes through to the MIDI output
// and, with SysEx, back to the controller.
class BareProcessor : public IFxProcessor<double> {
public:
  BareProcessor();
  static Steinberg::FUnknown* Create(void* context);

  void OnParamChange(int paramIdx, int sampleOffset) override;
  void Reset() override;
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override;
  void ProcessMidiMsg(IMidiMsg* msg) override;
  void ProcessSysEx(ISysEx* sysex) override;

  // What tests look at after a block (read on the thread that processed).
  int hookCalls[kNumParams] = {};
  int lastHookOffset[kNumParams] = {};
  int resets = 0;
  IMidiMsg lastMidi;
  int midiCount = 0;
  int sysExCount = 0;

private:
  void UpdateFactor();

  double mFactor = 1.0;
  BypassDelayLine<double> mDelay;
  std::vector<double> mFrame;
};

} // namespace bare
