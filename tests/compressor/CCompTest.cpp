// Behaviour of the compressor engine seen from its processor: coefficients, the static curve,
// attack and release timing, blend, meters, block handling and damaged input. The frame-by-
// frame arithmetic as a whole is checked against the Python model (check_engine_reference.py).
#include "Projects/compressor/CComp.h"
#include "Projects/compressor/CCompKernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

// Reads the detector states, which nothing outside the engine shows.
struct CCompInspector {
  static std::vector<double> DetectorStates(const CComp& c) {
    return {c.mFastReleaseState, c.mSlowReleaseState, c.mManualReleaseState, c.mAttackState};
  }
};

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct Settings {
  double fs = 44100.0;
  double threshold = -10.0;
  double ratio = 1.5;
  double attack = 0.0;
  double release = 0.1;
  bool autoRelease = false;
  double makeUp = 0.0;
  double inputGain = 0.0;
  double blend = 1.0;
  bool ioMetering = false;
};

void Apply(CComp& comp, const Settings& s) {
  comp.SetSampleRate(s.fs);
  comp.SetThreshold(s.threshold);
  comp.SetRatio(s.ratio);
  comp.SetAttack(s.attack);
  comp.SetRelease(s.release);
  comp.SetAutoRelease(s.autoRelease);
  comp.SetMakeUp(s.makeUp);
  comp.SetInputGain(s.inputGain);
  comp.SetBlend(s.blend);
  comp.SetIOMetering(s.ioMetering);
}

struct Stereo {
  std::vector<double> l, r;
  explicit Stereo(size_t n, double left = 0.0, double right = 0.0) : l(n, left), r(n, right) {}
  size_t size() const { return l.size(); }
};

// A deterministic programme: a decaying noise burst, a sine and some silence.
Stereo Programme(size_t n, double fs, double level) {
  Stereo s(n);
  uint32_t seed = 12345;
  auto noise = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return (static_cast<double>(seed >> 8) / 8388608.0) - 1.0;
  };
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / fs;
    const double phase = std::fmod(t, 0.6);
    double l = 0.0, r = 0.0;
    if (phase < 0.2) {
      l = level * std::exp(-phase * 10.0) * noise();
      r = 0.7 * l + 0.3 * level * noise();
    } else if (phase < 0.45) {
      l = level * std::sin(2.0 * M_PI * 440.0 * t);
      r = 0.5 * level * std::sin(2.0 * M_PI * 660.0 * t);
    }
    s.l[i] = l;
    s.r[i] = r;
  }
  return s;
}

void ProcessInPlace(CComp& comp, Stereo& s, size_t block, const double* side = nullptr) {
  for (size_t pos = 0; pos < s.size(); pos += block) {
    const size_t n = std::min(block, s.size() - pos);
    double* channels[2] = {s.l.data() + pos, s.r.data() + pos};
    comp.Process(channels, side ? side + pos : nullptr, n);
  }
}

bool BitEqual(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

double AttackSeconds(double ratio, double attack) {
  // The ratio resistance (1000 Ohm per ratio segment) parallel to 1505 Ohm, plus the tapered
  // 470 kOhm attack pot, over 0.15 uF.
  const double segments[6] = {1.5, 2, 3, 5, 10, 50};
  int i = 5;
  for (int k = 1; k <= 4; ++k) {
    if (ratio <= segments[k]) {
      i = k;
      break;
    }
  }
  const double resistance =
      1000.0 * (i + (ratio - segments[i - 1]) / (segments[i] - segments[i - 1]));
  const double taper = attack < 0.5    ? 0.2 * attack
                       : attack < 0.75 ? 1.6 * attack - 0.7
                                       : 2 * attack - 1;
  return (resistance * 1505.0 / (resistance + 1505.0) + taper * 470000.0) * 1.5e-7;
}

double ReleaseSeconds(double release) {
  return (((release - 0.1) / 3.9) * 470000.0 + 22000.0) * 4.7e-6;
}

std::vector<double> Coefficients(const CComp& comp) {
  std::vector<double> c(CComp::kNumCoefficients);
  comp.GetCoefficients(c.data());
  return c;
}
enum { kG, kAttackIn, kAttackPoleNeg, kRelease, kSlow, kFast, kK, kD };

// ---- Construction and coefficients ---------------------------------------------------------

TEST(CCompCoefficients, ConstructionGivesDefaultsAndRatelessLimits) {
  CComp comp;
  EXPECT_EQ(comp.GetThreshold(), -10.0);
  EXPECT_EQ(comp.GetRatio(), 1.5);
  EXPECT_EQ(comp.GetAttack(), 0.0);
  EXPECT_EQ(comp.GetRelease(), 0.1);
  EXPECT_EQ(comp.GetMakeUp(), 0.0);
  EXPECT_FALSE(comp.GetAutoRelease());
  EXPECT_FALSE(comp.GetSpareFlag());
  EXPECT_FALSE(comp.IsBypassed());
  EXPECT_TRUE(comp.HasProcessed());
  EXPECT_EQ(comp.GetLevelMeter(), 0.0);
  EXPECT_EQ(comp.GetGainReductionMeter(), 1.0);
  // Without a rate the time constants are zero frames long.
  const std::vector<double> c = Coefficients(comp);
  const std::vector<double> expected = {0.9, 1.0, 0.0, 0.0, 1.0, 0.0, 1.0, 0.01};
  for (int i = 0; i < CComp::kNumCoefficients; ++i)
    EXPECT_NEAR(c[i], expected[i], 1e-15) << "coefficient " << i;

  EXPECT_EQ(comp.GetMinThreshold(), -50.0);
  EXPECT_EQ(comp.GetMaxThreshold(), -10.0);
  EXPECT_EQ(comp.GetMinRatio(), 1.5);
  EXPECT_EQ(comp.GetMaxRatio(), 50.0);
  EXPECT_EQ(comp.GetMinAttack(), 0.0);
  EXPECT_EQ(comp.GetMaxAttack(), 1.0);
  EXPECT_EQ(comp.GetMinRelease(), 0.1);
  EXPECT_EQ(comp.GetMaxRelease(), 4.0);
  EXPECT_EQ(comp.GetMinMakeUp(), 0.0);
  EXPECT_EQ(comp.GetMaxMakeUp(), 20.0);
}

TEST(CCompCoefficients, FollowTheDetectorNetwork) {
  struct Case {
    double fs, threshold, ratio, attack, release;
    double g, compensationDb, drive;
  };
  const Case cases[] = {
      {44100, -50, 1.5, 0.0, 0.1, 0.9, 0.0, 1.0},
      {48000, -10, 50, 1.0, 4.0, 1.63, 2.0, 0.01},
      {96000, -30, 2, 0.3, 1.0, 1.24, 1.0, 0.1},
      {192000, -20, 3, 0.6, 2.5, 1.42, 1.5, 10.0 * 0.01 / std::sqrt(10.0)},
      {88200, -40, 5, 0.75, 0.5, 1.51, 1.55, std::pow(10.0, -0.5)},
      {44100, -10, 10, 0.9, 0.1, 1.59, 2.0, 0.01},
      {44100, -10, 4, 0.1, 0.1, 1.465, 1.525, 0.01}, // half-way between 3 and 5
      {48000, -10, 30, 0.2, 0.1, 1.61, 2.0, 0.01},   // beyond 10 the compensation stays
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(testing::Message() << "ratio " << t.ratio << " attack " << t.attack);
    CComp comp;
    comp.SetSampleRate(t.fs);
    comp.SetAll(false, false, t.threshold, t.ratio, t.attack, t.release, 0.0);
    const std::vector<double> c = Coefficients(comp);
    EXPECT_NEAR(c[kG], t.g, 1e-12);
    EXPECT_NEAR(c[kK], std::pow(10.0, -t.compensationDb / 20.0), 1e-12);
    EXPECT_NEAR(c[kD], t.drive, 1e-12);
    // The attack network runs in single precision.
    const double cA = std::exp(-1.0 / (AttackSeconds(t.ratio, t.attack) * t.fs));
    EXPECT_NEAR(-c[kAttackPoleNeg], cA, 2e-7);
    EXPECT_EQ(c[kAttackIn], static_cast<double>(1.0f - static_cast<float>(-c[kAttackPoleNeg])));
    EXPECT_EQ(static_cast<double>(static_cast<float>(c[kAttackPoleNeg])), c[kAttackPoleNeg]);
    EXPECT_NEAR(c[kRelease], std::exp(-1.0 / (ReleaseSeconds(t.release) * t.fs)), 1e-14);
    EXPECT_NEAR(c[kFast], std::exp(-1.0 / (0.03 * t.fs)), 1e-14);
    EXPECT_NEAR(c[kSlow], 1.0 - std::exp(-1.0 / (0.74 * t.fs)), 1e-17);
  }
}

TEST(CCompCoefficients, SettersStoreOnlyFiniteValues) {
  CComp comp;
  comp.SetSampleRate(48000.0);
  comp.SetAll(true, false, -30.0, 4.0, 0.4, 1.0, 6.0);
  const std::vector<double> before = Coefficients(comp);
  comp.SetThreshold(kNaN);
  comp.SetRatio(kInf);
  comp.SetAttack(-kInf);
  comp.SetRelease(kNaN);
  comp.SetMakeUp(kNaN);
  comp.SetAll(true, true, kNaN, kNaN, kNaN, kNaN, kNaN);
  EXPECT_EQ(comp.GetThreshold(), -30.0);
  EXPECT_EQ(comp.GetRatio(), 4.0);
  EXPECT_EQ(comp.GetAttack(), 0.4);
  EXPECT_EQ(comp.GetRelease(), 1.0);
  EXPECT_EQ(comp.GetMakeUp(), 6.0);
  EXPECT_EQ(Coefficients(comp), before);

  // SetAll stores the finite ones of a mixed set.
  comp.SetAll(false, false, -20.0, kNaN, 0.5, kInf, 3.0);
  EXPECT_EQ(comp.GetThreshold(), -20.0);
  EXPECT_EQ(comp.GetRatio(), 4.0);
  EXPECT_EQ(comp.GetAttack(), 0.5);
  EXPECT_EQ(comp.GetRelease(), 1.0);
  EXPECT_EQ(comp.GetMakeUp(), 3.0);
  EXPECT_FALSE(comp.GetAutoRelease());

  // A non-positive or non-finite rate counts as none.
  for (double fs : {0.0, -44100.0, kNaN, kInf}) {
    comp.SetSampleRate(fs);
    const std::vector<double> c = Coefficients(comp);
    EXPECT_EQ(c[kAttackIn], 1.0);
    EXPECT_EQ(c[kRelease], 0.0);
    EXPECT_EQ(c[kSlow], 1.0);
    EXPECT_EQ(c[kFast], 0.0);
  }
}

TEST(CCompCoefficients, DiffersFromComparesEveryDetectorSetting) {
  CComp comp;
  comp.SetAll(true, true, -20.0, 3.0, 0.5, 1.0, 4.0);
  EXPECT_FALSE(comp.DiffersFrom(true, -20.0, 3.0, 0.5, 1.0, 4.0));
  EXPECT_TRUE(comp.DiffersFrom(false, -20.0, 3.0, 0.5, 1.0, 4.0));
  EXPECT_TRUE(comp.DiffersFrom(true, -20.5, 3.0, 0.5, 1.0, 4.0));
  EXPECT_TRUE(comp.DiffersFrom(true, -20.0, 3.1, 0.5, 1.0, 4.0));
  EXPECT_TRUE(comp.DiffersFrom(true, -20.0, 3.0, 0.6, 1.0, 4.0));
  EXPECT_TRUE(comp.DiffersFrom(true, -20.0, 3.0, 0.5, 1.1, 4.0));
  EXPECT_TRUE(comp.DiffersFrom(true, -20.0, 3.0, 0.5, 1.0, 4.5));
  EXPECT_TRUE(comp.DiffersFrom(true, kNaN, 3.0, 0.5, 1.0, 4.0));
  EXPECT_TRUE(comp.DiffersFrom(true, -20.0, 3.0, 0.5, 1.0, kNaN));
  comp.SetSpareFlag(true);
  EXPECT_TRUE(comp.GetSpareFlag());
  EXPECT_FALSE(comp.DiffersFrom(true, -20.0, 3.0, 0.5, 1.0, 4.0));
}

// ---- Static curve and timing ---------------------------------------------------------------

struct SteadyCase {
  Settings s;
  double level;
  double toleranceDb;
};

// Feeds a constant level until the detector has settled; returns the gain of the last frame.
double SteadyGainDb(const Settings& s, double level, double seconds = 3.0) {
  CComp comp;
  Apply(comp, s);
  Stereo dc(static_cast<size_t>(s.fs * seconds), level, level);
  const Stereo in = dc;
  ProcessInPlace(comp, dc, 1000);
  return 20.0 * std::log10(dc.l.back() / in.l.back());
}

TEST(CCompStaticCurve, SteadyStateGainEqualsTheCurve) {
  const SteadyCase cases[] = {
      {{44100, -50, 1.5, 0.0, 0.1, false}, 0.5, 1e-9},
      {{48000, -40, 4.0, 0.3, 1.0, false}, 0.25, 1e-9},
      {{96000, -30, 10.0, 0.6, 2.0, false}, -0.8, 1e-9},
      {{192000, -10, 50.0, 1.0, 4.0, false}, 1.0, 1e-9},
      {{44100, -25, 2.5, 0.5, 0.1, false, 6.0, 3.0}, 0.1, 1e-9},   // make-up and input gain
      {{48000, -45, 7.0, 0.2, 0.5, false, 0.0, -6.0}, 0.05, 1e-9}, // input cut
      {{44100, -10, 3.0, 0.0, 0.1, false}, 0.01, 1e-12},           // below the knee: unity
      // The automatic release alternates between holding and releasing by one slow-state
      // step, so it sits a hair above the curve.
      {{44100, -50, 1.5, 0.0, 0.1, true}, 0.5, 2e-3},
      {{96000, -35, 20.0, 0.7, 0.1, true}, 0.7, 2e-3},
  };
  for (const SteadyCase& t : cases) {
    SCOPED_TRACE(testing::Message() << "fs " << t.s.fs << " threshold " << t.s.threshold
                                    << " ratio " << t.s.ratio << " level " << t.level);
    CComp reference;
    Apply(reference, t.s);
    const double curveDb =
        reference.GetStaticCurveDb(t.level * std::pow(10.0, t.s.inputGain / 20.0));
    const double expected = t.s.inputGain + curveDb + t.s.makeUp;
    EXPECT_NEAR(SteadyGainDb(t.s, t.level), expected, t.toleranceDb);
    if (t.level > 0.05) {
      EXPECT_LT(curveDb, -0.5); // the case does compress
    }
  }
}

TEST(CCompStaticCurve, IsZeroBelowTheKneeAndFallsAboveIt) {
  CComp comp;
  comp.SetThreshold(-50.0); // drive 1, compensation 1 at ratio 1.5: the detector reads |level|
  EXPECT_EQ(comp.GetStaticCurveDb(0.0), 0.0);
  EXPECT_EQ(comp.GetStaticCurveDb(0.001), 0.0);
  EXPECT_EQ(comp.GetStaticCurveDb(-0.001), 0.0);
  double previous = 0.0;
  for (double level = 0.002; level < 4.0; level *= 1.5) {
    const double db = comp.GetStaticCurveDb(level);
    // c(v) = min(0, -0.1386 v - 0.6405 ln(5.267 v + 0.01786) - 2.387), gain 2^(c G 1.77 + 0.06)
    const double c = std::min(0.0, -0.138627144172033 * level -
                                       0.640469614319393 *
                                           std::log(5.26701272074567 * level + 0.0178615460309078) -
                                       2.38714128109653);
    const double expected = 20.0 * std::log10(2.0) * std::min(0.0, c * 0.9 * 1.77 + 0.06);
    EXPECT_NEAR(db, expected, 1e-12) << "level " << level;
    EXPECT_LE(db, previous);
    previous = db;
  }
  EXPECT_EQ(comp.GetStaticCurveDb(kNaN), 0.0);
}

TEST(CCompTiming, AttackReachesOneMinusOneOverEAtItsTimeConstant) {
  struct Case {
    double fs, ratio, attack;
  };
  const Case cases[] = {{44100, 1.5, 0.0},   {48000, 4.0, 0.3}, {96000, 10.0, 0.6},
                        {192000, 50.0, 1.0}, {44100, 2.5, 0.8}, {88200, 6.0, 0.5}};
  for (const Case& t : cases) {
    SCOPED_TRACE(testing::Message()
                 << "fs " << t.fs << " ratio " << t.ratio << " attack " << t.attack);
    CComp comp;
    Apply(comp, {t.fs, -50.0, t.ratio, t.attack, 0.1, false});
    // Let the blend settle on silence, then step to a constant level.
    Stereo silence(static_cast<size_t>(0.2 * t.fs));
    ProcessInPlace(comp, silence, 512);
    const double tau = AttackSeconds(t.ratio, t.attack) * t.fs; // in frames
    Stereo step(static_cast<size_t>(3 * tau) + 64, 1.0, 1.0);
    ProcessInPlace(comp, step, 256);
    const double g = Coefficients(comp)[kG];
    // The attack output a behind the gain 2^(a G 1.77 + 0.06), relative to its final value,
    // the curve value of the level.
    auto attackOutput = [&](size_t i) { return (std::log2(step.l[i]) - 0.06) / (g * 1.77); };
    const double final =
        (comp.GetStaticCurveDb(1.0) / (20.0 * std::log10(2.0)) - 0.06) / (g * 1.77);
    size_t crossing = 0;
    while (attackOutput(crossing) / final < 1.0 - std::exp(-1.0))
      ++crossing;
    // The pole is a single-precision number: near 1 its resolution of 2^-24 sets how close
    // the one-pole's time constant can come to tauA.
    const double pole = -Coefficients(comp)[kAttackPoleNeg];
    const double poleTau = -1.0 / std::log(pole);
    EXPECT_NEAR(poleTau, tau, 1e-6 * tau + tau * tau * std::ldexp(1.0, -24));
    // Frame i has run i + 1 steps of the one-pole.
    EXPECT_NEAR(static_cast<double>(crossing + 1), poleTau, 1.0);
    const size_t at = static_cast<size_t>(std::lround(poleTau)) - 1;
    EXPECT_NEAR(attackOutput(at) / final, 1.0 - std::pow(pole, static_cast<double>(at + 1)), 1e-9);
  }
}

TEST(CCompTiming, ReleaseDecaysByItsFactorPerFrame) {
  struct Case {
    double fs, release;
    bool autoRelease;
  };
  const Case cases[] = {{44100, 0.1, false},
                        {48000, 1.0, false},
                        {96000, 4.0, false},
                        {44100, 0.1, true},
                        {96000, 2.0, true}};
  for (const Case& t : cases) {
    SCOPED_TRACE(testing::Message()
                 << "fs " << t.fs << " release " << t.release << " auto " << t.autoRelease);
    CComp comp;
    Apply(comp, {t.fs, -50.0, 4.0, 0.0, t.release, t.autoRelease});
    Stereo loud(static_cast<size_t>(2.0 * t.fs), 1.0, 1.0);
    ProcessInPlace(comp, loud, 512);
    // A level far below the knee asks for no reduction but lets the gain be read.
    const double quiet = 1e-6;
    const double seconds = t.autoRelease ? 1.2 : 0.05; // past the fast state, if any
    Stereo tail(static_cast<size_t>(seconds * t.fs) + 2, quiet, quiet);
    ProcessInPlace(comp, tail, 512);
    const std::vector<double> c = Coefficients(comp);
    auto attackOutput = [&](size_t i) {
      return (std::log2(tail.l[i] / quiet) - 0.06) / (c[kG] * 1.77);
    };
    const size_t last = tail.size() - 1;
    const double ratio = attackOutput(last) / attackOutput(last - 1);
    const double expected = t.autoRelease ? 1.0 - (1.0 - std::exp(-1.0 / (0.74 * t.fs)))
                                          : std::exp(-1.0 / (ReleaseSeconds(t.release) * t.fs));
    EXPECT_NEAR(ratio, expected, 1e-9);
    EXPECT_NEAR(ratio, t.autoRelease ? 1.0 - c[kSlow] : c[kRelease], 1e-9);
    EXPECT_LT(attackOutput(last), -0.1); // still well inside the release
  }
}

// ---- Blend, gains and slews ----------------------------------------------------------------

TEST(CCompBlend, ZeroReturnsTheInputBitForBit) {
  for (bool inPlace : {true, false}) {
    SCOPED_TRACE(inPlace ? "in place" : "separate buffers");
    CComp comp;
    Apply(comp, {48000, -50, 20.0, 0.0, 0.1, true, 12.0, 9.0, 0.0, true});
    Stereo settle = Programme(9600, 48000, 1.0); // 0.2 s: the blend reaches 0
    ProcessInPlace(comp, settle, 512);

    Stereo in = Programme(4800, 48000, 2.0);
    in.l[10] = -0.0;
    in.l[11] = 4.9e-324;
    in.r[12] = -2.2e-310;
    in.r[13] = 1e300;
    Stereo out(in.size(), 99.0, 99.0);
    if (inPlace) {
      out = in;
      double* channels[2] = {out.l.data(), out.r.data()};
      comp.Process(channels, nullptr, out.size());
    } else {
      const double* ins[2] = {in.l.data(), in.r.data()};
      double* outs[2] = {out.l.data(), out.r.data()};
      comp.Process(ins, outs, nullptr, in.size());
    }
    EXPECT_TRUE(BitEqual(out.l, in.l));
    EXPECT_TRUE(BitEqual(out.r, in.r));
  }
}

TEST(CCompBlend, MixesWetAndDryAndSlewsWithoutOvershoot) {
  // Below the knee the wet path is the input times the make-up gain, so the output is the
  // input times m * blend + (1 - blend) once the slews have settled.
  struct Case {
    double fs, blend, makeUp;
  };
  const Case cases[] = {{44100, 1.0, 6.0},
                        {44100, 0.25, 12.0},
                        {96000, 0.6, 3.0},
                        {1000, 0.3, 6.0},   // steps larger than the snap windows
                        {0.0, 0.75, 10.0}}; // no rate: the slews jump
  for (const Case& t : cases) {
    SCOPED_TRACE(testing::Message() << "fs " << t.fs << " blend " << t.blend);
    CComp comp;
    Apply(comp, {t.fs, -10.0, 1.5, 0.0, 0.1, false, t.makeUp, 0.0, t.blend});
    const size_t n = std::max<size_t>(1000, static_cast<size_t>(0.5 * t.fs));
    Stereo s(n, 0.01, -0.02);
    const Stereo in = s;
    ProcessInPlace(comp, s, 100);
    const double factor = std::pow(10.0, t.makeUp / 20.0) * t.blend + (1.0 - t.blend);
    for (size_t i = n - 100; i < n; ++i) {
      EXPECT_NEAR(s.l[i] / in.l[i], factor, 1e-14);
      EXPECT_NEAR(s.r[i] / in.r[i], factor, 1e-14);
    }
  }
}

TEST(CCompBlend, InputGainSlewsAt180DbPerSecond) {
  CComp comp;
  Apply(comp, {48000, -10.0, 1.5, 0.0, 0.1, false, 0.0, 0.0, 1.0});
  Stereo settle(9600, 0.001, 0.001);
  ProcessInPlace(comp, settle, 512);
  comp.SetInputGain(-18.0);
  Stereo s(48000, 0.001, 0.001);
  ProcessInPlace(comp, s, 333);
  auto gainDb = [&](size_t i) { return 20.0 * std::log10(s.l[i] / 0.001); };
  EXPECT_NEAR(gainDb(0), -180.0 / 48000, 1e-9);
  EXPECT_NEAR(gainDb(2399), -2400 * 180.0 / 48000, 1e-9); // 50 ms: 9 dB
  EXPECT_NEAR(gainDb(47999), -18.0, 1e-12);
}

// ---- Meters --------------------------------------------------------------------------------

TEST(CCompMeters, LevelMeterHoldsPositivePeaksAndDecaysOnNegativeHalfWaves) {
  for (bool ioMetering : {false, true}) {
    SCOPED_TRACE(ioMetering ? "output tap" : "input tap");
    CComp comp;
    Apply(comp, {44100, -10.0, 1.5, 0.0, 0.1, false, 0.0, 0.0, 1.0, ioMetering});
    comp.SetBlend(0.0);              // output = input, so both taps see the same samples
    Stereo full(20 * 512, 1.0, 0.5); // long enough for the blend to reach 0
    ProcessInPlace(comp, full, 1024);
    EXPECT_EQ(comp.GetLevelMeter(), 1.0);

    // Only negative samples: the window peak is 0 and the held level falls by 7.5% of its
    // distance per 512-frame window, down to -80 dB. Blocks of 100 frames straddle windows.
    double held = 1.0;
    for (size_t window = 0; window < 150; ++window) {
      Stereo block(512, -0.9, -0.3);
      for (size_t pos = 0; pos < 512; pos += 100) {
        const size_t n = std::min<size_t>(100, 512 - pos);
        double* channels[2] = {block.l.data() + pos, block.r.data() + pos};
        const double before = comp.GetLevelMeter();
        comp.Process(channels, nullptr, n);
        if (pos + n < 512) {
          ASSERT_EQ(comp.GetLevelMeter(), before); // only window ends publish
        }
      }
      held = std::max(1e-4, held - 0.075 * held);
      ASSERT_NEAR(comp.GetLevelMeter(), 20.0 * std::log10(held) / 60.0 + 1.0, 1e-12)
          << "window " << window;
    }
    EXPECT_NEAR(comp.GetLevelMeter(), 1.0 - 80.0 / 60.0, 1e-12);

    // A positive peak lifts it at once.
    Stereo peak(512, 0.0, 0.0);
    peak.r[300] = 0.25;
    ProcessInPlace(comp, peak, 512);
    EXPECT_NEAR(comp.GetLevelMeter(), 20.0 * std::log10(0.25) / 60.0 + 1.0, 1e-12);
  }
}

TEST(CCompMeters, GainReductionMeterReadsTheCurveAndStaysFinite) {
  const Settings s{44100, -50.0, 4.0, 0.0, 0.1, false};
  struct Case {
    const char* what;
    double left, right, expectedDb;
  };
  CComp probe;
  Apply(probe, s);
  const double curveDb = probe.GetStaticCurveDb(0.5);
  ASSERT_LT(curveDb, -10.0);
  const Case cases[] = {
      {"both channels", 0.5, 0.5, curveDb},
      {"silent left channel", 0.0, 0.5, curveDb},
      {"denormal left channel", 4.9e-324, 0.5, curveDb},
      {"no reduction", 0.001, 0.001, 0.0},
      {"reduction past the floor", 1e200, 1e200, -80.0},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.what);
    CComp comp;
    Apply(comp, s);
    Stereo dc(44100, t.left, t.right);
    ProcessInPlace(comp, dc, 441);
    const double meter = comp.GetGainReductionMeter();
    EXPECT_TRUE(std::isfinite(meter));
    EXPECT_NEAR(meter, t.expectedDb / 20.0 + 1.0, 1e-9);
    EXPECT_TRUE(std::isfinite(comp.GetLevelMeter()));
  }
}

TEST(CCompMeters, TakeGainReductionPeakResetsThePeak) {
  CComp comp;
  Apply(comp, {44100, -50.0, 4.0, 0.0, 0.1, false});
  Stereo dc(300, 1.0, 1.0);
  ProcessInPlace(comp, dc, 300);
  EXPECT_TRUE(comp.HasProcessed());
  const double peak = comp.TakeGainReductionPeak();
  EXPECT_LT(peak, 0.5);
  EXPECT_GT(peak, 0.0);
  EXPECT_FALSE(comp.HasProcessed());
  EXPECT_EQ(comp.TakeGainReductionPeak(), 1.0);
}

// ---- Blocks, buffers and bypass ------------------------------------------------------------

struct ProgrammeRun {
  Stereo out{0};
  double level = 0, reduction = 0;
};

ProgrammeRun RunProgramme(const Settings& s, size_t block, bool inPlace,
                          const double* side = nullptr) {
  CComp comp;
  Apply(comp, s);
  const Stereo in = Programme(static_cast<size_t>(s.fs), s.fs, 1.5);
  ProgrammeRun run;
  run.out = Stereo(in.size(), 7.0, 7.0);
  for (size_t pos = 0; pos < in.size(); pos += block) {
    const size_t n = std::min(block, in.size() - pos);
    if (inPlace) {
      std::copy_n(in.l.data() + pos, n, run.out.l.data() + pos);
      std::copy_n(in.r.data() + pos, n, run.out.r.data() + pos);
      double* channels[2] = {run.out.l.data() + pos, run.out.r.data() + pos};
      comp.Process(channels, side ? side + pos : nullptr, n);
    } else {
      const double* ins[2] = {in.l.data() + pos, in.r.data() + pos};
      double* outs[2] = {run.out.l.data() + pos, run.out.r.data() + pos};
      comp.Process(ins, outs, side ? side + pos : nullptr, n);
    }
  }
  run.level = comp.GetLevelMeter();
  run.reduction = comp.GetGainReductionMeter();
  return run;
}

TEST(CCompBlocks, OutputDoesNotDependOnBlockSizeOrBufferLayout) {
  for (bool autoRelease : {false, true}) {
    const Settings s{48000, -40.0, 6.0, 0.4, 0.3, autoRelease, 5.0, 2.0, 0.8, false};
    const ProgrammeRun reference = RunProgramme(s, 512, true);
    for (size_t block : {1, 7, 511, 513, 4096, 48000}) {
      for (bool inPlace : {true, false}) {
        SCOPED_TRACE(testing::Message() << "block " << block << (inPlace ? " in place" : ""));
        const ProgrammeRun run = RunProgramme(s, block, inPlace);
        EXPECT_TRUE(BitEqual(run.out.l, reference.out.l));
        EXPECT_TRUE(BitEqual(run.out.r, reference.out.r));
        EXPECT_EQ(run.level, reference.level);
        EXPECT_EQ(run.reduction, reference.reduction);
      }
    }
  }
}

TEST(CCompBlocks, ZeroLengthBlockOnlyMarksProcessed) {
  const Settings s{44100, -40.0, 6.0, 0.4, 0.3, true};
  CComp comp, twin;
  Apply(comp, s);
  Apply(twin, s);
  Stereo a = Programme(3000, 44100, 1.0), b = a;
  ProcessInPlace(comp, a, 1000);
  ProcessInPlace(twin, b, 1000);
  comp.TakeGainReductionPeak();
  twin.TakeGainReductionPeak();
  double untouched[2] = {5.0, 6.0};
  double* channels[2] = {&untouched[0], &untouched[1]};
  comp.Process(channels, nullptr, 0);
  EXPECT_TRUE(comp.HasProcessed());
  EXPECT_EQ(untouched[0], 5.0);
  EXPECT_EQ(untouched[1], 6.0);
  Stereo c = Programme(3000, 44100, 1.0), d = c;
  ProcessInPlace(comp, c, 1000);
  ProcessInPlace(twin, d, 1000);
  EXPECT_TRUE(BitEqual(c.l, d.l));
  EXPECT_EQ(comp.GetGainReductionMeter(), twin.GetGainReductionMeter());
}

TEST(CCompBlocks, BypassPassesTheInputAndFreezesTheEngine) {
  const Settings s{44100, -40.0, 6.0, 0.4, 0.3, false, 6.0, 3.0, 0.9};
  CComp comp, twin;
  Apply(comp, s);
  Apply(twin, s);
  Stereo a = Programme(5000, 44100, 1.0), b = a;
  ProcessInPlace(comp, a, 512);
  ProcessInPlace(twin, b, 512);
  const double level = comp.GetLevelMeter(), reduction = comp.GetGainReductionMeter();

  comp.SetBypass(true);
  EXPECT_TRUE(comp.IsBypassed());
  const Stereo in = Programme(20000, 44100, 2.0);
  Stereo inPlace = in;
  ProcessInPlace(comp, inPlace, 512);
  EXPECT_TRUE(BitEqual(inPlace.l, in.l));
  Stereo separate(in.size(), 3.0, 3.0);
  const double* ins[2] = {in.l.data(), in.r.data()};
  double* outs[2] = {separate.l.data(), separate.r.data()};
  comp.Process(ins, outs, nullptr, in.size());
  EXPECT_TRUE(BitEqual(separate.l, in.l));
  EXPECT_TRUE(BitEqual(separate.r, in.r));
  EXPECT_EQ(comp.GetLevelMeter(), level);
  EXPECT_EQ(comp.GetGainReductionMeter(), reduction);

  // Back on, it continues where it stopped.
  comp.SetBypass(false);
  Stereo c = Programme(5000, 44100, 1.0), d = c;
  ProcessInPlace(comp, c, 512);
  ProcessInPlace(twin, d, 512);
  EXPECT_TRUE(BitEqual(c.l, d.l));
  EXPECT_TRUE(BitEqual(c.r, d.r));
}

TEST(CCompBlocks, SidechainAloneDrivesTheDetector) {
  const Settings s{44100, -50.0, 10.0, 0.0, 0.1, false, 0.0, 0.0, 1.0};
  const size_t n = 44100;
  const Stereo programme = Programme(n, 44100, 1.5);
  // A silent sidechain: no reduction whatever the programme.
  const std::vector<double> silent(n, 0.0);
  const ProgrammeRun quiet = RunProgramme(s, 512, false, silent.data());
  for (size_t i = n / 2; i < n; ++i)
    ASSERT_EQ(quiet.out.l[i], programme.l[i]) << i;
  EXPECT_EQ(quiet.reduction, 1.0);
  // A loud sidechain: the steady reduction of its level, on every programme sample.
  const std::vector<double> loud(n, -0.5);
  const ProgrammeRun ducked = RunProgramme(s, 512, true, loud.data());
  CComp probe;
  Apply(probe, s);
  const double gain = std::pow(10.0, probe.GetStaticCurveDb(0.5) / 20.0);
  for (size_t i = n / 2; i < n; ++i)
    ASSERT_NEAR(ducked.out.l[i], programme.l[i] * gain, 1e-12) << i;
}

// ---- Damaged input and long silence ---------------------------------------------------------

TEST(CCompRobustness, NonFiniteSamplesLeaveNoTrace) {
  const size_t n = 20000, bad = 7000;
  for (double value : {kNaN, kInf, -kInf}) {
    for (int where = 0; where < 3; ++where) { // left, right, sidechain
      for (bool autoRelease : {false, true}) {
        SCOPED_TRACE(testing::Message()
                     << value << " in channel " << where << " auto " << autoRelease);
        const Settings s{44100, -40.0, 8.0, 0.1, 0.2, autoRelease, 4.0, 0.0, 0.9};
        const Stereo clean = Programme(n, 44100, 1.0);
        std::vector<double> sideClean(clean.l), sideBad(clean.l);
        Stereo damaged = clean, zeroed = clean;
        const bool side = where == 2;
        if (side) {
          sideBad[bad] = value;
          sideClean[bad] = 0.0;
        } else {
          (where == 0 ? damaged.l : damaged.r)[bad] = value;
          (where == 0 ? zeroed.l : zeroed.r)[bad] = 0.0;
        }
        CComp comp, twin;
        Apply(comp, s);
        Apply(twin, s);
        ProcessInPlace(comp, damaged, 256, side ? sideBad.data() : nullptr);
        ProcessInPlace(twin, zeroed, 256, side ? sideClean.data() : nullptr);
        for (size_t i = 0; i < n; ++i) {
          if (i == bad && !side)
            continue;
          ASSERT_EQ(damaged.l[i], zeroed.l[i]) << i;
          ASSERT_EQ(damaged.r[i], zeroed.r[i]) << i;
        }
        for (double state : CCompInspector::DetectorStates(comp))
          EXPECT_TRUE(std::isfinite(state));
        EXPECT_TRUE(std::isfinite(comp.GetLevelMeter()));
        EXPECT_TRUE(std::isfinite(comp.GetGainReductionMeter()));
      }
    }
  }
}

TEST(CCompRobustness, AnAbsurdSampleIsForgottenWithinTheRelease) {
  // One sample of 1e300 asks for a reduction far past silence. The engine stops the detector
  // where the gain is already zero, so the release brings it back in about six of its time
  // constants rather than after minutes.
  const Settings s{44100, -40.0, 4.0, 0.0, 0.1, false};
  const size_t n = 3 * 44100;
  Stereo clean = Programme(n, 44100, 0.8), spiked = clean;
  const size_t at = 10000; // after the blend has settled on 1
  spiked.l[at] = 1e300;
  CComp comp, twin;
  Apply(comp, s);
  Apply(twin, s);
  ProcessInPlace(comp, spiked, 512);
  ProcessInPlace(twin, clean, 512);
  EXPECT_LT(std::fabs(spiked.l[at + 1]), 1e-100); // silenced just after
  for (size_t i = 2 * 44100; i < n; ++i)
    ASSERT_NEAR(spiked.l[i], clean.l[i], 1e-9) << i;
}

TEST(CCompRobustness, LongSilenceLeavesNoDenormalStates) {
  // At 2 kHz half an hour of silence take few frames, yet are long enough for the slowest
  // release states to fall from a full reduction past the smallest normal double.
  const double fs = 2000.0;
  for (bool autoRelease : {false, true}) {
    SCOPED_TRACE(autoRelease ? "auto release" : "manual release");
    CComp comp;
    Apply(comp, {fs, -50.0, 50.0, 1.0, 4.0, autoRelease}); // slowest release
    Stereo burst = Programme(static_cast<size_t>(fs), fs, 1.5);
    ProcessInPlace(comp, burst, 512);
    // Silence, denormal input for the first minute of it.
    Stereo silence(500);
    const int blocks = static_cast<int>(30 * 60 * fs / 500);
    for (int block = 0; block < blocks; ++block) {
      const double fill = block < blocks / 30 ? 1e-310 : 0.0;
      std::fill(silence.l.begin(), silence.l.end(), fill);
      std::fill(silence.r.begin(), silence.r.end(), -fill);
      ProcessInPlace(comp, silence, 500);
      for (double state : CCompInspector::DetectorStates(comp))
        ASSERT_NE(std::fpclassify(state), FP_SUBNORMAL) << "block " << block;
    }
    for (double state : CCompInspector::DetectorStates(comp))
      EXPECT_EQ(state, 0.0);
    EXPECT_TRUE(std::isfinite(comp.GetLevelMeter()));
    EXPECT_EQ(comp.GetGainReductionMeter(), 1.0);
  }
}

#if defined(__SSE2__)
TEST(CCompRobustness, ProcessRestoresTheCallersFloatingPointMode) {
  CComp comp;
  Apply(comp, {44100, -40.0, 4.0});
  const unsigned before = _mm_getcsr();
  Stereo s = Programme(2048, 44100, 1.0);
  ProcessInPlace(comp, s, 2048);
  EXPECT_EQ(_mm_getcsr(), before);
  // And a denormal multiplication outside still gives a denormal.
  volatile double tiny = 1e-300;
  volatile double product = tiny * 1e-10;
  EXPECT_EQ(std::fpclassify(product), FP_SUBNORMAL);
}
#endif

} // namespace

namespace {

// ---- Kernels ------------------------------------------------------------------------------

// The kernel sets this processor runs: each vector set against the maths library frame by frame.
std::vector<const CCompKernels*> VectorKernelSets() {
  std::vector<const CCompKernels*> sets = {&CCompSSE2Kernels()};
  if (const CCompKernels* avx2 = CCompAVX2Kernels())
    sets.push_back(avx2);
  return sets;
}

// Units in the last place between two doubles of the same sign (0 when both are equal).
double UlpDistance(double a, double b) {
  if (a == b)
    return 0.0;
  const double ulp =
      std::max(std::fabs(std::nextafter(a, b) - a), std::numeric_limits<double>::denorm_min());
  return std::fabs(a - b) / ulp;
}

TEST(CCompKernels, CurveMatchesTheMathsLibraryOnEveryLevel) {
  // Levels from silence through the knee to far past the floor, both signs, non-finite samples,
  // in runs of every length up to a few registers so that each tail length is met.
  std::vector<double> left, right;
  for (double level = 1e-9; level < 1e9; level *= 1.0173) {
    left.push_back(level);
    right.push_back(-0.37 * level);
  }
  const double knee = CCompCurve::kKnee;
  for (double x : {0.0, -0.0, knee, std::nextafter(knee, 0.0), std::nextafter(knee, 1.0), 1e300,
                   -1e300, std::numeric_limits<double>::max(), kInf, -kInf, kNaN}) {
    left.push_back(x);
    right.push_back(0.0);
    left.push_back(0.0);
    right.push_back(x);
  }
  const double scales[] = {1.0, 0.01 * 0.891, 1e-3, 316.2};
  for (const CCompKernels* set : VectorKernelSets()) {
    SCOPED_TRACE(set->name);
    for (double scale : scales) {
      for (size_t n = 1; n <= 9; ++n) {
        for (size_t start = 0; start + n <= left.size(); start += 7 * n) {
          for (bool stereo : {true, false}) {
            std::vector<double> expected(n), actual(n + 1, 123.0);
            const double* r = stereo ? right.data() + start : nullptr;
            CCompPlainKernels().curve(left.data() + start, r, expected.data(), n, scale);
            set->curve(left.data() + start, r, actual.data(), n, scale);
            for (size_t i = 0; i < n; ++i) {
              // The fit crosses zero at the knee, where a few ulps of the logarithm are a few
              // ulps of 1: the distance is taken against the terms' size there.
              const double diff = std::fabs(actual[i] - expected[i]);
              ASSERT_TRUE(UlpDistance(actual[i], expected[i]) <= 4.0 || diff <= 1e-15)
                  << "level " << left[start + i] << ", " << right[start + i] << " scale " << scale
                  << ": " << actual[i] << " against " << expected[i];
            }
            EXPECT_EQ(actual[n], 123.0) << "wrote past the run";
          }
        }
      }
    }
  }
}

TEST(CCompKernels, GainMatchesTheMathsLibraryAndFindsThePeak) {
  // Attack outputs whose exponent spans no reduction, the normal range, the subnormal range and
  // beyond (exactly 0), at the gain factors of both ends of the ratio pot.
  std::vector<double> attack;
  for (double a = 1.0; a > -1100.0; a -= 0.0137)
    attack.push_back(a);
  attack.push_back(-1e6);
  for (const CCompKernels* set : VectorKernelSets()) {
    SCOPED_TRACE(set->name);
    for (double factor : {0.9, 1.63}) {
      for (size_t n = 1; n <= 9; ++n) {
        for (size_t start = 0; start + n <= attack.size(); start += 5 * n + 1) {
          std::vector<double> expected(attack.begin() + long(start),
                                       attack.begin() + long(start + n));
          std::vector<double> actual = expected;
          actual.push_back(123.0);
          const double expectedPeak = CCompPlainKernels().gain(expected.data(), n, factor, 1.0);
          const double peak = set->gain(actual.data(), n, factor, 1.0);
          for (size_t i = 0; i < n; ++i) {
            // Results the processor flushes to zero may differ in the subnormal range.
            ASSERT_TRUE(UlpDistance(actual[i], expected[i]) <= 4.0 ||
                        std::max(actual[i], expected[i]) < 2.3e-308)
                << "attack " << attack[start + i] << ": " << actual[i] << " against "
                << expected[i];
          }
          EXPECT_EQ(actual[n], 123.0) << "wrote past the run";
          EXPECT_TRUE(UlpDistance(peak, expectedPeak) <= 4.0 ||
                      std::max(peak, expectedPeak) < 2.3e-308);
          EXPECT_EQ(*std::min_element(actual.begin(), actual.begin() + long(n)), peak);
        }
      }
    }
    // A peak lower than every gain of the run stays.
    double quiet[3] = {1.0, 0.5, -0.2};
    EXPECT_EQ(set->gain(quiet, 3, 1.0, 0.25), 0.25);
  }
}

TEST(CCompKernels, MeterPeakEqualsTheFrameByFrameTap) {
  // Signed samples where either channel leads, negative half-waves only, and non-finite samples
  // (a NaN is passed over, an infinity is a level), in runs of every length up to a few
  // registers and from several starting peaks.
  std::vector<double> left, right;
  uint32_t seed = 99;
  for (int i = 0; i < 400; ++i) {
    seed = seed * 1664525u + 1013904223u;
    const double x = (static_cast<double>(seed >> 8) / 8388608.0) - 1.0;
    left.push_back(i % 50 < 20 ? -std::fabs(x) : x);
    right.push_back(i % 3 == 0 ? -0.5 * x : 0.9 * x);
  }
  for (double x : {kNaN, kInf, -kInf, -0.0, 0.0, 2.0}) {
    left.insert(left.begin() + 37, x);
    right.insert(right.begin() + 37, -1.0);
    left.insert(left.begin() + 111, -1.0);
    right.insert(right.begin() + 111, x);
  }
  for (const CCompKernels* set : VectorKernelSets()) {
    SCOPED_TRACE(set->name);
    for (double peak : {0.0, 0.3, 5.0}) {
      for (size_t n = 0; n <= 19; ++n) {
        for (size_t start = 0; start + n <= left.size(); start += n + 3) {
          for (bool stereo : {true, false}) {
            const double* r = stereo ? right.data() + start : nullptr;
            const double expected = CCompPlainKernels().meterPeak(left.data() + start, r, n, peak);
            const double actual = set->meterPeak(left.data() + start, r, n, peak);
            ASSERT_EQ(std::memcmp(&expected, &actual, sizeof actual), 0)
                << "start " << start << " n " << n << ": " << actual << " against " << expected;
          }
        }
      }
    }
  }
}

TEST(CCompKernels, TheFastestSetIsOneTheProcessorRuns) {
  const CCompKernels& fast = CCompFastKernels();
  const bool avx2 = __builtin_cpu_supports("avx2");
  EXPECT_STREQ(fast.name, avx2 ? "avx2" : "sse2");
  EXPECT_EQ(CCompAVX2Kernels() != nullptr, avx2);
}

// ---- One channel ---------------------------------------------------------------------------

// The one-channel path must be what the two-channel path does with a silent right channel.
TEST(CCompMono, EqualsStereoWithASilentRightChannel) {
  struct Case {
    const char* name;
    Settings settings;
    double rideInput, rideMakeUp, rideBlend; // new targets half-way through, 0: none
  };
  Settings loud;
  loud.threshold = -40.0;
  loud.ratio = 8.0;
  loud.attack = 0.3;
  loud.makeUp = 6.0;
  Settings autoRelease = loud;
  autoRelease.autoRelease = true;
  autoRelease.ioMetering = true;
  Settings half = autoRelease;
  half.blend = 0.5;
  half.inputGain = 4.0;
  Settings dry = loud;
  dry.blend = 0.0;
  Settings over = loud;
  over.blend = 1.5;
  const Case cases[] = {
      {"manual release, input meter", loud, 0, 0, 0},
      {"auto release, output meter", autoRelease, 0, 0, 0},
      {"half blend with input gain", half, 0, 0, 0},
      {"dry", dry, 0, 0, 0},
      {"blend above 1", over, 0, 0, 0},
      {"slews moving", autoRelease, -3.0, 12.0, 0.25},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CComp stereo, mono;
    Apply(stereo, c.settings);
    Apply(mono, c.settings);
    Stereo source = Programme(48000, c.settings.fs, 0.9);
    std::vector<double> silence(source.size(), 0.0), stereoL(source.size()), stereoR(source.size()),
        monoOut(source.size());
    size_t pos = 0, block = 1;
    std::vector<double> levelMeters[2], reductionMeters[2];
    while (pos < source.size()) {
      if (pos >= source.size() / 2 && c.rideInput != 0.0) {
        for (CComp* comp : {&stereo, &mono}) {
          comp->SetInputGain(c.rideInput);
          comp->SetMakeUp(c.rideMakeUp);
          comp->SetBlend(c.rideBlend);
        }
      }
      const size_t n = std::min(block, source.size() - pos);
      const double* in[2] = {source.l.data() + pos, silence.data() + pos};
      double* out[2] = {stereoL.data() + pos, stereoR.data() + pos};
      stereo.Process(in, out, nullptr, n);
      mono.ProcessMono(source.l.data() + pos, monoOut.data() + pos, nullptr, n);
      levelMeters[0].push_back(stereo.GetLevelMeter());
      levelMeters[1].push_back(mono.GetLevelMeter());
      reductionMeters[0].push_back(stereo.GetGainReductionMeter());
      reductionMeters[1].push_back(mono.GetGainReductionMeter());
      pos += n;
      block = block * 3 % 1031 + 1;
    }
    EXPECT_TRUE(BitEqual(monoOut, stereoL));
    EXPECT_TRUE(BitEqual(levelMeters[1], levelMeters[0]));
    EXPECT_TRUE(BitEqual(reductionMeters[1], reductionMeters[0]));
    EXPECT_TRUE(
        BitEqual(CCompInspector::DetectorStates(mono), CCompInspector::DetectorStates(stereo)));
    EXPECT_LT(reductionMeters[0].back(), 1.0) << "the case must compress";
  }
}

TEST(CCompMono, InPlaceBypassAndEmptyBlocks) {
  CComp comp, reference;
  Settings s;
  s.threshold = -40.0;
  Apply(comp, s);
  Apply(reference, s);
  Stereo source = Programme(4096, s.fs, 0.8);
  std::vector<double> inPlace = source.l, separate(source.size());
  comp.ProcessMono(inPlace.data(), inPlace.data(), nullptr, inPlace.size());
  reference.ProcessMono(source.l.data(), separate.data(), nullptr, source.size());
  EXPECT_TRUE(BitEqual(inPlace, separate));

  comp.SetBypass(true);
  std::vector<double> bypassed(source.size());
  comp.TakeGainReductionPeak();
  comp.ProcessMono(source.l.data(), bypassed.data(), nullptr, source.size());
  EXPECT_TRUE(BitEqual(bypassed, source.l));
  EXPECT_TRUE(comp.HasProcessed());
  comp.TakeGainReductionPeak();
  comp.ProcessMono(nullptr, bypassed.data(), nullptr, 16);
  comp.ProcessMono(source.l.data(), bypassed.data(), nullptr, 0);
  EXPECT_TRUE(comp.HasProcessed());
  EXPECT_TRUE(BitEqual(bypassed, source.l));
}

} // namespace
