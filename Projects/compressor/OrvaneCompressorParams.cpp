#include "Projects/compressor/OrvaneCompressorParams.h"

namespace {

// The ratio knob's travel: each fifth covers one segment of the engine's ratio breakpoints.
constexpr IParam::BreakPoint kRatioBreakPoints[] = {{0.0, 1.5}, {0.2, 2.0},  {0.4, 3.0},
                                                    {0.6, 5.0}, {0.8, 10.0}, {1.0, 50.0}};

void DeclareDouble(IFxBase& half, int idx, const char* name, const char* label, double def,
                   double lo, double hi, double step) {
  half.GetParam(idx)->InitDouble(name, label, "", false, def, lo, hi, step, 1.0);
}

} // namespace

void DeclareOrvaneCompressorParams(IFxBase& half) {
  DeclareDouble(half, kInputGain, "InputGain", "dB", 0.0, -18.0, 18.0, 0.1);
  DeclareDouble(half, kThreshold, "Threshold", "dB", -10.0, -50.0, -10.0, 0.5);
  DeclareDouble(half, kRatio, "Ratio", "", 1.5, 1.5, 50.0, 0.02);
  for (const IParam::BreakPoint& bp : kRatioBreakPoints)
    half.GetParam(kRatio)->AddBreakPoint(bp.normalized, bp.value);
  DeclareDouble(half, kAttack, "Attack", "s", 0.5, 0.0, 1.0, 0.01);
  DeclareDouble(half, kRelease, "Release", "s", 1.0, 0.1, 4.0, 0.02);
  half.GetParam(kAutoRelease)->InitBool("AutoRelease", true);
  DeclareDouble(half, kMakeUpGain, "MakeUpGain", "dB", 0.0, 0.0, 40.0, 0.05);
  // Blend before I/O Metering: the order the plug-in has always initialised them in.
  DeclareDouble(half, kBlend, "Blend", "", 100.0, 0.0, 100.0, 1.0);
  half.GetParam(kIOMetering)->InitBool("I/O Metering", false);
  half.GetParam(kIOMetering)->SetCanAutomate(false);
}
