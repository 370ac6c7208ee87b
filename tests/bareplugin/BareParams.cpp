#include "tests/bareplugin/BareParams.h"

#include "tests/bareplugin/BarePluginIDs.h"

namespace bare {

void InitParams(IFxBase& plug) {
  plug.GetParam(kGain)->InitDouble("Gain", "dB", "Main", false, 0.0, -24.0, 12.0, 0.1);
  plug.GetParam(kFreq)->InitDouble("Freq", "Hz", "Filter", false, 1000.0, 20.0, 20000.0, 1.0, 3.0);
  IParam* mix = plug.GetParam(kMix);
  mix->InitDouble("Mix", "%", "Main", false, 100.0, 0.0, 100.0, 0.1);
  mix->AddBreakPoint(0.0, 0.0);
  mix->AddBreakPoint(0.5, 20.0);
  mix->AddBreakPoint(1.0, 100.0);
  plug.GetParam(kMute)->InitBool("Mute", false, "", "Main");
  plug.GetParam(kSteps)->InitInt("Steps", 4, 1, 8, "", "Filter");
  IParam* mode = plug.GetParam(kMode);
  mode->InitEnum("Mode", 0, 3);
  mode->SetDisplayText(0, "Clean");
  mode->SetDisplayText(1, "Warm");
  mode->SetDisplayText(2, "Hot");
  plug.GetParam(kMeter)->InitDouble("Meter", "", "", true, 0.0, 0.0, 1.0, 0.001);
}

} // namespace bare
