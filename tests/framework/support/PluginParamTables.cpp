#include "PluginParamTables.h"

namespace {
struct BreakPoint {
  double normalized, value;
};

void FreqParam(IParam* p, const char* name, double def, double lo, double hi, double step,
               std::initializer_list<BreakPoint> points) {
  p->InitDouble(name, "Hz", "", false, def, lo, hi, step, 1.0);
  for (const BreakPoint& bp : points)
    p->AddBreakPoint(bp.normalized, bp.value);
}
} // namespace

void DeclareEqParams(IFxBase& b) {
  FreqParam(b.GetParam(0), "HiPassFreq", 20, 20, 330, 0.1,
            {{0, 20}, {0.168478, 36}, {0.543478, 105}, {1, 330}});
  FreqParam(b.GetParam(1), "LowShelfFreq", 120, 33, 270, 0.1,
            {{0, 33}, {0.244565, 66}, {0.744565, 130}, {1, 270}});
  b.GetParam(2)->InitDouble("LowShelfGain", "dB", "", false, 0, -16, 16, 0.1, 1.0);
  FreqParam(
      b.GetParam(3), "LowMidFreq", 600, 40, 1200, 0.1,
      {{0, 40}, {0.195652, 80}, {0.402174, 150}, {0.581522, 300}, {0.798913, 600}, {1, 1200}});
  b.GetParam(4)->InitDouble("LowMidGain", "dB", "", false, 0, -16, 16, 0.1, 1.0);
  b.GetParam(5)->InitDouble("LowMidQ", "dB", "", false, 2.333, 0.667, 4, 0.001, 1.0);
  FreqParam(b.GetParam(6), "HiMidFreq", 5000, 600, 18000, 0.1,
            {{0, 600},
             {0.195652, 1200},
             {0.402174, 2500},
             {0.581522, 5000},
             {0.798913, 10000},
             {1, 18000}});
  b.GetParam(7)->InitDouble("HiMidGain", "dB", "", false, 0, -16, 16, 0.1, 1.0);
  b.GetParam(8)->InitDouble("HiMidQ", "dB", "", false, 2.333, 0.667, 4, 0.001, 1.0);
  FreqParam(b.GetParam(9), "HiShelfFreq", 10000, 3300, 15000, 10,
            {{0, 3300}, {0.246217, 5000}, {0.746217, 10000}, {1, 15000}});
  b.GetParam(10)->InitDouble("HiShelfGain", "dB", "", false, 0, -16, 16, 0.1, 1.0);
  FreqParam(b.GetParam(11), "LowPassFreq", 22000, 3900, 22000, 10,
            {{0, 3900}, {0.429348, 8200}, {0.809783, 16000}, {1, 22000}});
  b.GetParam(12)->InitDouble("Gain", "dB", "", false, 0, -18, 18, 0.1, 1.0);
}

void DeclareCompressorParams(IFxBase& b) {
  b.GetParam(0)->InitDouble("InputGain", "dB", "", false, 0, -18, 18, 0.1, 1.0);
  b.GetParam(1)->InitDouble("Threshold", "dB", "", false, -10, -50, -10, 0.5, 1.0);
  IParam* ratio = b.GetParam(2);
  ratio->InitDouble("Ratio", "", "", false, 1.5, 1.5, 50, 0.02, 1.0);
  // Inserted out of order on purpose: the list sorts itself by position.
  for (auto [n, v] :
       {std::pair{0.6, 5.0}, {0.0, 1.5}, {1.0, 50.0}, {0.2, 2.0}, {0.8, 10.0}, {0.4, 3.0}})
    ratio->AddBreakPoint(n, v);
  b.GetParam(3)->InitDouble("Attack", "s", "", false, 0.5, 0, 1, 0.01, 1.0);
  b.GetParam(4)->InitDouble("Release", "s", "", false, 1, 0.1, 4, 0.02, 1.0);
  b.GetParam(5)->InitBool("AutoRelease", true);
  b.GetParam(6)->InitDouble("MakeUpGain", "dB", "", false, 0, 0, 40, 0.05, 1.0);
  b.GetParam(8)->InitDouble("Blend", "", "", false, 100, 0, 100, 1, 1.0);
  b.GetParam(7)->InitBool("I/O Metering", false);
  b.GetParam(7)->SetCanAutomate(false);
}
