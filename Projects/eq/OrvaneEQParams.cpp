#include "Projects/eq/OrvaneEQParams.h"

// clang-format off
const OrvaneEQParamSpec kOrvaneEQParamSpecs[kNumOrvaneEQParams] = {
  // name            label  default  min     max    step   break points (position, value)
  {"HiPassFreq",     "Hz",  20,      20,     330,   0.1,   4, {{0, 20}, {0.168478, 36}, {0.543478, 105}, {1, 330}}},
  {"LowShelfFreq",   "Hz",  120,     33,     270,   0.1,   4, {{0, 33}, {0.244565, 66}, {0.744565, 130}, {1, 270}}},
  {"LowShelfGain",   "dB",  0,       -16,    16,    0.1,   0, {}},
  {"LowMidFreq",     "Hz",  600,     40,     1200,  0.1,   6, {{0, 40}, {0.195652, 80}, {0.402174, 150}, {0.581522, 300}, {0.798913, 600}, {1, 1200}}},
  {"LowMidGain",     "dB",  0,       -16,    16,    0.1,   0, {}},
  {"LowMidQ",        "dB",  2.333,   0.667,  4,     0.001, 0, {}},
  {"HiMidFreq",      "Hz",  5000,    600,    18000, 0.1,   6, {{0, 600}, {0.195652, 1200}, {0.402174, 2500}, {0.581522, 5000}, {0.798913, 10000}, {1, 18000}}},
  {"HiMidGain",      "dB",  0,       -16,    16,    0.1,   0, {}},
  {"HiMidQ",         "dB",  2.333,   0.667,  4,     0.001, 0, {}},
  {"HiShelfFreq",    "Hz",  10000,   3300,   15000, 10,    4, {{0, 3300}, {0.246217, 5000}, {0.746217, 10000}, {1, 15000}}},
  {"HiShelfGain",    "dB",  0,       -16,    16,    0.1,   0, {}},
  {"LowPassFreq",    "Hz",  22000,   3900,   22000, 10,    4, {{0, 3900}, {0.429348, 8200}, {0.809783, 16000}, {1, 22000}}},
  {"Gain",           "dB",  0,       -18,    18,    0.1,   0, {}},
};
// clang-format on

void DeclareOrvaneEQParams(IFxBase& half) {
  for (int i = 0; i < kNumOrvaneEQParams && i < half.NParams(); ++i) {
    const OrvaneEQParamSpec& spec = kOrvaneEQParamSpecs[i];
    IParam* param = half.GetParam(i);
    param->InitDouble(spec.name, spec.label, "", false, spec.defaultValue, spec.minValue,
                      spec.maxValue, spec.step, 1.0);
    for (int b = 0; b < spec.nBreakPoints; ++b) {
      param->AddBreakPoint(spec.breakPoints[b].normalized, spec.breakPoints[b].value);
    }
  }
}
