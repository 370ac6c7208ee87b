// The equaliser's sound apart from any plug-in API: parameter routing and the pass filters'
// bypass rules, the stage order, the host buffers, the output-gain slew and the meter.
#include "Projects/eq/OrvaneEQDsp.h"
#include "Projects/eq/OrvaneEQParams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr double kRate = 48000.0;

std::vector<double> Noise(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(-0.5, 0.5);
  std::vector<double> v(n);
  for (double& x : v) {
    x = dist(rng);
  }
  return v;
}

// A DSP at 48 kHz with every parameter at its default, as the processor starts it.
struct DefaultDsp : OrvaneEQDsp {
  DefaultDsp() {
    SetSampleRate(kRate);
    for (int i = 0; i < kNumOrvaneEQParams; ++i) {
      ApplyParam(i, kOrvaneEQParamSpecs[i].defaultValue);
    }
  }
};

// Every stage engaged.
void Engage(OrvaneEQDsp& dsp) {
  const double values[kNumOrvaneEQParams] = {80,  90,  4.5,  400, -6,    1.2, 3000,
                                             5.0, 2.2, 8000, -3,  12000, 0};
  for (int i = 0; i < kNumOrvaneEQParams; ++i) {
    dsp.ApplyParam(i, values[i]);
  }
}

void ProcessStereo(OrvaneEQDsp& dsp, std::vector<double>& left, std::vector<double>& right) {
  const double* in[2] = {left.data(), right.data()};
  double* out[2] = {left.data(), right.data()};
  dsp.Process(in, out, 2, static_cast<int32_t>(left.size()));
}

TEST(OrvaneEQDsp, EachParameterReachesBothChannelsStages) {
  DefaultDsp dsp;
  struct Case {
    int param;
    double value;
    double (*read)(const OrvaneEQDsp&, int ch);
  };
  const Case cases[] = {
      {kHiPassFreq, 100, [](const OrvaneEQDsp& d, int c) { return d.HighPass(c).GetFreq(); }},
      {kLowShelfFreq, 200, [](const OrvaneEQDsp& d, int c) { return d.LowShelf(c).GetFreq(); }},
      {kLowShelfGain, -5, [](const OrvaneEQDsp& d, int c) { return d.LowShelf(c).GetGain(); }},
      {kLowMidFreq, 250, [](const OrvaneEQDsp& d, int c) { return d.LowMid(c).GetFreq(); }},
      {kLowMidGain, 7, [](const OrvaneEQDsp& d, int c) { return d.LowMid(c).GetGain(); }},
      {kLowMidQ, 3.5, [](const OrvaneEQDsp& d, int c) { return d.LowMid(c).GetQ(); }},
      {kHiMidFreq, 7000, [](const OrvaneEQDsp& d, int c) { return d.HighMid(c).GetFreq(); }},
      {kHiMidGain, -9, [](const OrvaneEQDsp& d, int c) { return d.HighMid(c).GetGain(); }},
      {kHiMidQ, 0.9, [](const OrvaneEQDsp& d, int c) { return d.HighMid(c).GetQ(); }},
      {kHiShelfFreq, 6000, [](const OrvaneEQDsp& d, int c) { return d.HighShelf(c).GetFreq(); }},
      {kHiShelfGain, 11, [](const OrvaneEQDsp& d, int c) { return d.HighShelf(c).GetGain(); }},
      {kLowPassFreq, 9000, [](const OrvaneEQDsp& d, int c) { return d.LowPass(c).GetFreq(); }},
      {kOutputGain, -7, [](const OrvaneEQDsp& d, int) { return d.OutputGainTarget(); }},
  };
  for (const Case& c : cases) {
    dsp.ApplyParam(c.param, c.value);
  }
  // The stages glide to new settings: a second of audio lets them arrive.
  std::vector<double> left(48000, 0.0), right(48000, 0.0);
  ProcessStereo(dsp, left, right);
  for (const Case& c : cases) {
    for (int ch = 0; ch < 2; ++ch) {
      EXPECT_NEAR(c.read(dsp, ch), c.value, 1e-6 * std::fabs(c.value))
          << "parameter " << c.param << " channel " << ch;
    }
  }
  // Indexes outside the parameters change nothing.
  dsp.ApplyParam(-1, 1234);
  dsp.ApplyParam(kNumOrvaneEQParams, 1234);
  EXPECT_EQ(dsp.OutputGainTarget(), -7);
  EXPECT_EQ(dsp.LowPass(0).GetFreq(), 9000);
}

TEST(OrvaneEQDsp, PassFiltersBypassAtTheEndsOfTheirRanges) {
  DefaultDsp dsp;
  struct Case {
    int param;
    double value;
    bool bypassed;
  };
  const Case cases[] = {{kHiPassFreq, 20, true},      {kHiPassFreq, 20.1, false},
                        {kHiPassFreq, 330, false},    {kLowPassFreq, 22000, true},
                        {kLowPassFreq, 21990, false}, {kLowPassFreq, 3900, false}};
  for (const Case& c : cases) {
    dsp.ApplyParam(c.param, c.value);
    for (int ch = 0; ch < 2; ++ch) {
      const CFilter& stage =
          c.param == kHiPassFreq ? static_cast<const CFilter&>(dsp.HighPass(ch)) : dsp.LowPass(ch);
      EXPECT_EQ(stage.IsBypassed(), c.bypassed) << c.param << " = " << c.value;
    }
  }
}

// The same six stages run one by one in the documented order give the DSP's output bit for bit
// (floating-point sums do not commute, so another order shows).
TEST(OrvaneEQDsp, StagesRunHighPassMidsShelvesLowPass) {
  DefaultDsp dsp;
  Engage(dsp);
  CHighpass hp;
  CParametric lowMid, highMid;
  CHighShelf highShelf;
  CLowShelf lowShelf;
  CLowpass lp;
  CFilter* order[] = {&hp, &lowMid, &highMid, &highShelf, &lowShelf, &lp};
  for (CFilter* stage : order) {
    stage->SetSampleRate(kRate);
  }
  hp.SetFreq(80);
  lowShelf.SetFreq(90);
  lowShelf.SetGain(4.5);
  lowMid.SetFreq(400);
  lowMid.SetGain(-6);
  lowMid.SetQ(1.2);
  highMid.SetFreq(3000);
  highMid.SetGain(5.0);
  highMid.SetQ(2.2);
  highShelf.SetFreq(8000);
  highShelf.SetGain(-3);
  lp.SetFreq(12000);

  std::vector<double> x = Noise(2048, 3), reference = x;
  for (size_t at = 0; at < x.size(); at += 512) {
    const double* in[1] = {&x[at]};
    double* out[1] = {&x[at]};
    dsp.Process(in, out, 1, 512);
    for (CFilter* stage : order) {
      stage->Process(&reference[at], 512);
    }
  }
  for (size_t i = 0; i < x.size(); ++i) {
    ASSERT_EQ(x[i], reference[i]) << i;
  }
}

// The host's inputs are read only; one buffer for both input and output gives the same sound.
TEST(OrvaneEQDsp, NeverWritesTheInputs) {
  DefaultDsp separate, shared;
  Engage(separate);
  Engage(shared);
  const std::vector<double> source = Noise(1024, 4);
  std::vector<double> inL = source, inR = source, outL(1024, 9.0), outR(1024, 9.0);
  const double* in[2] = {inL.data(), inR.data()};
  double* out[2] = {outL.data(), outR.data()};
  separate.Process(in, out, 2, 1024);
  EXPECT_EQ(inL, source);
  EXPECT_EQ(inR, source);
  EXPECT_NE(outL, source);

  std::vector<double> bothL = source, bothR = source;
  ProcessStereo(shared, bothL, bothR);
  EXPECT_EQ(bothL, outL);
  EXPECT_EQ(bothR, outR);
}

// The two channels' recursions run interleaved; each comes out as if it ran alone.
TEST(OrvaneEQDsp, StereoChannelsMatchMonoRuns) {
  DefaultDsp stereo, monoLeft, monoRight;
  for (OrvaneEQDsp* d : {static_cast<OrvaneEQDsp*>(&stereo), static_cast<OrvaneEQDsp*>(&monoLeft),
                         static_cast<OrvaneEQDsp*>(&monoRight)}) {
    Engage(*d);
  }
  std::vector<double> left = Noise(3000, 5), right = Noise(3000, 6);
  std::vector<double> aloneL = left, aloneR = right;
  for (size_t at = 0; at + 500 <= left.size(); at += 500) {
    const double* in[2] = {&left[at], &right[at]};
    double* out[2] = {&left[at], &right[at]};
    stereo.Process(in, out, 2, 500);
    const double* inL[1] = {&aloneL[at]};
    double* outL[1] = {&aloneL[at]};
    monoLeft.Process(inL, outL, 1, 500);
    const double* inR[1] = {&aloneR[at]};
    double* outR[1] = {&aloneR[at]};
    monoRight.Process(inR, outR, 1, 500);
  }
  EXPECT_EQ(left, aloneL);
  EXPECT_EQ(right, aloneR);
}

// The same with every parameter, the output gain included, automated between blocks of random
// sizes, most of them small: a mono block (stages fused) and each channel of a stereo block
// (channels interleaved) come out the same to the bit.
TEST(OrvaneEQDsp, StereoChannelsMatchMonoRunsThroughAutomationAndSmallBlocks) {
  DefaultDsp stereo, monoLeft, monoRight;
  OrvaneEQDsp* all[] = {&stereo, &monoLeft, &monoRight};
  std::mt19937 rng(11);
  auto between = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(rng);
  };
  for (int block = 0; block < 600; ++block) {
    for (int changes = between(0, 3); changes > 0; --changes) {
      const int p = between(0, kNumOrvaneEQParams - 1);
      const OrvaneEQParamSpec& spec = kOrvaneEQParamSpecs[p];
      const double v = spec.minValue + (spec.maxValue - spec.minValue) * between(0, 100) / 100.0;
      for (OrvaneEQDsp* d : all) {
        d->ApplyParam(p, v);
      }
    }
    const int n = between(0, 5) == 0 ? between(65, 600) : between(1, 64);
    std::vector<double> left = Noise(n, 1000 + block), right = Noise(n, 2000 + block);
    std::vector<double> aloneL = left, aloneR = right;
    ProcessStereo(stereo, left, right);
    const double* inL[1] = {aloneL.data()};
    double* outL[1] = {aloneL.data()};
    monoLeft.Process(inL, outL, 1, n);
    const double* inR[1] = {aloneR.data()};
    double* outR[1] = {aloneR.data()};
    monoRight.Process(inR, outR, 1, n);
    ASSERT_EQ(0, std::memcmp(left.data(), aloneL.data(), n * sizeof(double))) << block;
    ASSERT_EQ(0, std::memcmp(right.data(), aloneR.data(), n * sizeof(double))) << block;
  }
}

// 0 -> 18 dB at 48 kHz: 0.00375 dB per sample, the 4775th sample the first at exactly 18 dB,
// and every sample scaled by 10^(g/20) of the gain reached at it.
TEST(OrvaneEQDsp, OutputGainSlewsAt180DbPerSecondAndSnaps) {
  DefaultDsp dsp, unity;
  dsp.ApplyParam(kOutputGain, 18);
  std::vector<double> x = Noise(6000, 7), reference = x;
  const double* in[1] = {x.data()};
  double* out[1] = {x.data()};
  dsp.Process(in, out, 1, 4774);
  EXPECT_NEAR(dsp.OutputGainCurrent(), 4774 * 0.00375, 1e-9);
  EXPECT_NE(dsp.OutputGainCurrent(), 18.0);
  const double* in2[1] = {x.data() + 4774};
  double* out2[1] = {x.data() + 4774};
  dsp.Process(in2, out2, 1, 6000 - 4774);
  EXPECT_EQ(dsp.OutputGainCurrent(), 18.0);

  // The same stages at 0 dB give the unscaled signal.
  const double* inR[1] = {reference.data()};
  double* outR[1] = {reference.data()};
  unity.Process(inR, outR, 1, 6000);
  double g = 0.0;
  for (int i = 0; i < 6000; ++i) {
    g = std::fabs(g - 18.0) < 0.1 ? 18.0 : g + 180.0 / kRate;
    ASSERT_EQ(x[i], reference[i] * std::pow(10.0, g / 20.0)) << i;
  }
}

// A host's setup with a rate of 0 (or worse) leaves the DSP running at the rate it had.
TEST(OrvaneEQDsp, IgnoresSampleRatesThatAreNotPositive) {
  DefaultDsp dsp, reference;
  for (double bad : {0.0, -48000.0, std::nan(""), HUGE_VAL}) {
    dsp.SetSampleRate(bad);
  }
  dsp.ApplyParam(kOutputGain, 12);
  reference.ApplyParam(kOutputGain, 12);
  std::vector<double> a = Noise(512, 12), b = a;
  const double* in[1] = {a.data()};
  double* out[1] = {a.data()};
  dsp.Process(in, out, 1, 512);
  const double* inB[1] = {b.data()};
  double* outB[1] = {b.data()};
  reference.Process(inB, outB, 1, 512);
  EXPECT_EQ(a, b);
  EXPECT_NEAR(dsp.OutputGainCurrent(), 512 * 180.0 / kRate, 1e-9);
}

TEST(OrvaneEQDsp, BothChannelsGetTheSameGainCurve) {
  DefaultDsp dsp;
  dsp.ApplyParam(kOutputGain, -12);
  std::vector<double> left = Noise(700, 8), right = left;
  ProcessStereo(dsp, left, right);
  EXPECT_EQ(left, right);
  EXPECT_NEAR(dsp.OutputGainCurrent(), -700 * 180.0 / kRate, 1e-9);
  // With no channel the stored gain stays.
  const double before = dsp.OutputGainCurrent();
  dsp.Process(nullptr, nullptr, 0, 512);
  EXPECT_EQ(dsp.OutputGainCurrent(), before);
}

// The windowed meter loop agrees with the per-sample meter step on the samples it meters:
// channel 0's block, then channel 1's, counting both.
TEST(OrvaneEQDsp, MeterMatchesThePerSampleStep) {
  DefaultDsp dsp, stepwise;
  Engage(dsp);
  dsp.ApplyParam(kOutputGain, 6);
  for (int block = 0; block < 9; ++block) {
    std::vector<double> left = Noise(700, 10 + block), right = Noise(700, 30 + block);
    for (double& v : right) {
      v *= 0.25 * block; // louder and quieter windows
    }
    ProcessStereo(dsp, left, right);
    for (double v : left) {
      stepwise.UpdateMeter(v);
    }
    for (double v : right) {
      stepwise.UpdateMeter(v);
    }
    ASSERT_EQ(dsp.Peak(), stepwise.Peak()) << block;
    ASSERT_EQ(dsp.HeldPeak(), stepwise.HeldPeak()) << block;
    ASSERT_EQ(dsp.MeterCounter(), stepwise.MeterCounter()) << block;
    ASSERT_EQ(dsp.MeterValue(), stepwise.MeterValue()) << block;
  }
}

// The meter's rule, written out independently: the largest signed sample of each 1024 counted
// samples (at most 1), held, falling 7.5 % of the way per window to the -80 dB floor.
TEST(OrvaneEQDsp, MeterFallsThroughSilenceToTheFloor) {
  OrvaneEQDsp meter;
  for (int i = 0; i < 1024; ++i) {
    meter.UpdateMeter(i == 100 ? 1.5 : -2.0); // clipped to 1; negative swings do not count
  }
  EXPECT_EQ(meter.HeldPeak(), 1.0);
  EXPECT_EQ(meter.MeterValue(), 1.0);
  EXPECT_EQ(meter.MeterCounter(), 0);
  double held = 1.0;
  for (int window = 0; window < 200; ++window) {
    for (int i = 0; i < 1024; ++i) {
      meter.UpdateMeter(0.0);
    }
    held = std::max(held - 0.075 * held, 0.0001);
    ASSERT_EQ(meter.HeldPeak(), held) << window;
    ASSERT_NEAR(meter.MeterValue(), 20 * std::log10(held) / 60 + 1, 1e-15);
  }
  EXPECT_EQ(meter.HeldPeak(), 0.0001);
  EXPECT_NEAR(meter.MeterValue(), -1.0 / 3.0, 1e-15);
  // Only negative samples: the peak stays at 0.
  for (int i = 0; i < 1023; ++i) {
    meter.UpdateMeter(-0.5);
  }
  EXPECT_EQ(meter.Peak(), 0.0);
}

} // namespace
