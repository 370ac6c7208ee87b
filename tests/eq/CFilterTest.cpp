// Behaviour of the filter stage engine: refresh schedule, glides, bypass and restarts, the
// stereo pair entry, recovery from non-finite input, denormals, grid segments.

#include "Projects/eq/CFilter.h"
#include "Projects/eq/CFilterKernels.h"
#include "Projects/eq/CHighShelf.h"
#include "Projects/eq/CHighpass.h"
#include "Projects/eq/CLowShelf.h"
#include "Projects/eq/CLowpass.h"
#include "Projects/eq/CParametric.h"
#include "tests/eq/OwnedStage.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <functional>
#include <iterator>
#include <ostream>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace {

using StageMaker = OwnedStage (*)();

struct Kind {
  const char* name;
  StageMaker make;
  double gain, freq, q; // a setting that engages the stage
  int32_t refreshPeriod;
};

void PrintTo(const Kind& kind, std::ostream* os) {
  *os << kind.name;
}

const Kind kKinds[] = {
    {"parametric", MakeOwnedStage<CParametric>, 9.0, 1000.0, 1.5, 257},
    {"highshelf", MakeOwnedStage<CHighShelf>, 9.0, 8000.0, 0.0, 257},
    {"lowshelf", MakeOwnedStage<CLowShelf>, 9.0, 120.0, 0.0, 17},
    {"lowpass", MakeOwnedStage<CLowpass>, 0.0, 5000.0, 0.0, 257},
    {"highpass", MakeOwnedStage<CHighpass>, 0.0, 150.0, 0.0, 257},
};

OwnedStage MakeSet(const Kind& kind, double rate = 48000.0) {
  auto stage = kind.make();
  stage->SetSampleRate(rate);
  stage->SetFreq(kind.freq);
  stage->SetGain(kind.gain);
  stage->SetQ(kind.q);
  return stage;
}

std::vector<double> Noise(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  std::vector<double> v(n);
  for (double& x : v) {
    x = dist(rng);
  }
  return v;
}

struct Coefficients {
  double num[7];
  double den[6];
  bool operator==(const Coefficients& o) const {
    return std::memcmp(num, o.num, sizeof num) == 0 && std::memcmp(den, o.den, sizeof den) == 0;
  }
};

Coefficients CoefficientsOf(const CFilter& f) {
  Coefficients c;
  f.GetCoefficients(c.num, c.den);
  return c;
}

// A plain direct-form-I cascade of fixed coefficients, from zero state: the reference a stage
// with settled coefficients must match.
std::vector<double> ReferenceCascade(const Coefficients& c, int order, std::vector<double> x) {
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0, u1 = 0, u2 = 0, z1 = 0, z2 = 0;
  for (double& s : x) {
    const double in = s;
    const double y = c.num[0] * in + c.num[1] * x1 + c.num[2] * x2 - c.den[1] * y1 - c.den[2] * y2;
    x2 = x1, x1 = in, y2 = y1, y1 = y;
    if (order == 2) {
      s = y;
    } else if (order == 3) {
      const double z = c.num[3] * y + c.num[4] * u1 - c.den[4] * z1;
      u1 = y, z1 = z;
      s = z;
    } else {
      const double z = c.num[3] * y + c.num[4] * u1 + c.num[5] * u2 - c.den[4] * z1 - c.den[5] * z2;
      u2 = u1, u1 = y, z2 = z1, z1 = z;
      s = in + c.num[6] * z;
    }
  }
  return x;
}

class EachKind : public ::testing::TestWithParam<Kind> {};

INSTANTIATE_TEST_SUITE_P(Stages, EachKind, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

// The running coefficients move only at refreshes, on samples 257, 514, ... (17, 34, ... for
// the order-4 shelf), counted from the first processed sample.
TEST_P(EachKind, CoefficientsRefreshEveryIntervalPlusOneSamples) {
  const Kind& kind = GetParam();
  auto stage = MakeSet(kind);
  double sample = 0.0;
  stage->Process(&sample, 1); // sample 1: starts on its targets
  if (kind.gain != 0.0) {
    stage->SetGain(-kind.gain);
  } else {
    stage->SetFreq(kind.freq * 2.0);
  }
  std::vector<int> changes;
  Coefficients last = CoefficientsOf(*stage);
  for (int n = 2; n <= 4 * kind.refreshPeriod && changes.size() < 3; ++n) {
    stage->Process(&sample, 1);
    const Coefficients now = CoefficientsOf(*stage);
    if (!(now == last)) {
      changes.push_back(n);
    }
    last = now;
  }
  const int p = kind.refreshPeriod;
  EXPECT_EQ(changes, (std::vector<int>{p, 2 * p, 3 * p}));
}

// The schedule carries across blocks of any size.
TEST_P(EachKind, RefreshScheduleIsIndependentOfBlockSize) {
  const Kind& kind = GetParam();
  auto whole = MakeSet(kind);
  auto pieces = MakeSet(kind);
  std::vector<double> a = Noise(5000, 3);
  std::vector<double> b = a;
  whole->Process(a.data(), 10);
  pieces->Process(b.data(), 10);
  whole->SetFreq(kind.freq * 1.7);
  pieces->SetFreq(kind.freq * 1.7);
  whole->Process(a.data() + 10, 4990);
  for (size_t at = 10, step = 1; at < b.size(); at += step, step = step * 3 % 97 + 1) {
    pieces->Process(b.data() + at, static_cast<int32_t>(std::min(step, b.size() - at)));
  }
  EXPECT_EQ(0, std::memcmp(a.data(), b.data(), a.size() * sizeof(double)));
}

// At a refresh the gain takes a glide step, and each running coefficient moves the smoothing
// factor's share (0.67, or 0.67/16 with k included on the order-4 shelf) toward the targets of
// the new gain.
template <class T> void ExpectMixTowardTargets(double smoothing, int32_t period) {
  const double g0 = 3.0, g1 = 12.0;
  T stage;
  stage.SetSampleRate(44100);
  stage.SetFreq(160);
  stage.SetGain(g0);
  std::vector<double> block(period, 0.0);
  stage.Process(block.data(), 1);
  const Coefficients before = CoefficientsOf(stage);
  stage.SetGain(g1);
  stage.Process(block.data(), period - 1); // through the next refresh
  const double glided = g0 + 0.1 * (g1 - g0);
  const double refreshed = glided + 0.1 * (g1 - glided);
  ASSERT_DOUBLE_EQ(stage.GetGain(), refreshed);

  T reference; // started at that gain: runs on exactly its targets
  reference.SetSampleRate(44100);
  reference.SetFreq(160);
  reference.SetGain(refreshed);
  reference.Process(block.data(), 1);
  const Coefficients targets = CoefficientsOf(reference);
  const Coefficients after = CoefficientsOf(stage);
  for (int i = 0; i < 7; ++i) {
    const double want = before.num[i] * (1 - smoothing) + targets.num[i] * smoothing;
    EXPECT_NEAR(after.num[i], want, 1e-14) << i;
  }
  for (int i = 0; i < 6; ++i) {
    const double want = before.den[i] * (1 - smoothing) + targets.den[i] * smoothing;
    EXPECT_NEAR(after.den[i], want, 1e-14) << i;
  }
}

TEST(CFilterMix, RunningCoefficientsMoveTowardTheTargetsAtEachRefresh) {
  ExpectMixTowardTargets<CHighShelf>(0.6703200460356393, 257);
  ExpectMixTowardTargets<CLowShelf>(0.04189500287722746, 17);
}

// Settings through the setters: the first block starts on them.
void Set(CFilter& f, double dB, double hz, double q) {
  f.SetGain(dB);
  f.SetFreq(hz);
  f.SetQ(q);
}

// A setting that lands at once (Q, which never glides, or a step within the glide's 2 %) moves
// no glide at the refresh after it, and still the refresh mixes toward the targets of the new
// setting, however many settings changed since the last refresh.
TEST(CFilterMix, ASettingThatLandsAtOnceReachesTheNextRefresh) {
  struct Case {
    const char* what;
    std::function<std::unique_ptr<CFilter>()> make;
    double smoothing;
    int32_t period;
    std::function<void(CFilter&)> start;
    std::function<void(CFilter&)> change;
  };
  auto stage = [](auto kind) {
    return [] { return std::unique_ptr<CFilter>(new decltype(kind)); };
  };
  const Case cases[] = {
      {"Q", stage(CParametric{}), 0.6703200460356393, 257,
       [](CFilter& f) { Set(f, 6.0, 1000.0, 1.0); }, [](CFilter& f) { f.SetQ(3.0); }},
      {"Q twice", stage(CParametric{}), 0.6703200460356393, 257,
       [](CFilter& f) { Set(f, 6.0, 1000.0, 1.0); },
       [](CFilter& f) {
         f.SetQ(2.0);
         f.SetQ(3.0);
       }},
      {"gain within 2 %", stage(CHighShelf{}), 0.6703200460356393, 257,
       [](CFilter& f) { Set(f, 10.0, 8000.0, 1.0); }, [](CFilter& f) { f.SetGain(10.1); }},
      {"shelf frequency within 2 %", stage(CLowShelf{}), 0.04189500287722746, 17,
       [](CFilter& f) { Set(f, 8.0, 150.0, 1.0); }, [](CFilter& f) { f.SetFreq(151.0); }},
  };
  for (const Case& c : cases) {
    std::vector<double> block(c.period, 0.0);
    auto changed = c.make();
    changed->SetSampleRate(48000);
    c.start(*changed);
    changed->Process(block.data(), 1); // starts on its targets
    const Coefficients before = CoefficientsOf(*changed);
    c.change(*changed);
    changed->Process(block.data(), c.period - 1); // through the next refresh

    auto reference = c.make(); // started at the new setting: runs on exactly its targets
    reference->SetSampleRate(48000);
    Set(*reference, changed->GetGain(), changed->GetFreq(), changed->GetQ());
    reference->Process(block.data(), 1);
    const Coefficients targets = CoefficientsOf(*reference);
    const Coefficients after = CoefficientsOf(*changed);
    bool moved = false;
    for (int i = 0; i < 7; ++i) {
      const double want = before.num[i] * (1 - c.smoothing) + targets.num[i] * c.smoothing;
      EXPECT_NEAR(after.num[i], want, 1e-14) << c.what << " numerator " << i;
      moved = moved || before.num[i] != targets.num[i];
    }
    for (int i = 0; i < 6; ++i) {
      const double want = before.den[i] * (1 - c.smoothing) + targets.den[i] * c.smoothing;
      EXPECT_NEAR(after.den[i], want, 1e-14) << c.what << " denominator " << i;
    }
    EXPECT_TRUE(moved) << c.what << ": the change must move the targets";
  }
}

TEST_P(EachKind, BypassReturnsTheBlockBitForBit) {
  auto stage = MakeSet(GetParam());
  std::vector<double> block = Noise(1000, 1);
  block[5] = std::numeric_limits<double>::quiet_NaN();
  block[6] = -0.0;
  block[7] = 1e-310;
  const std::vector<double> before = block;
  stage->SetBypass(true);
  EXPECT_EQ(0, stage->Process(block.data(), 1000));
  EXPECT_EQ(0, std::memcmp(block.data(), before.data(), block.size() * sizeof(double)));
}

// A stage that starts or leaves bypass runs on its targets from the first sample, from cleared
// histories: no muted first refresh interval, no fade-in, no click from stale state.
TEST_P(EachKind, StartAndReEnableRunOnTargetsFromClearedHistories) {
  const Kind& kind = GetParam();
  const int order = kind.make()->GetOrder();
  const std::vector<double> input = Noise(kind.refreshPeriod - 1, 2);

  auto fresh = MakeSet(kind);
  std::vector<double> out = input;
  fresh->Process(out.data(), static_cast<int32_t>(out.size()));
  const Coefficients targets = CoefficientsOf(*fresh);
  EXPECT_EQ(out, ReferenceCascade(targets, order, input));

  auto reEnabled = MakeSet(kind);
  std::vector<double> warm = Noise(3000, 4);
  reEnabled->Process(warm.data(), 3000);
  reEnabled->SetBypass(true);
  reEnabled->Process(warm.data(), 3000);
  reEnabled->SetBypass(false);
  out = input;
  reEnabled->Process(out.data(), static_cast<int32_t>(out.size()));
  EXPECT_EQ(out, ReferenceCascade(CoefficientsOf(*reEnabled), order, input));
}

TEST(CFilterStart, HighpassEnabledFromBypassIsNotSilent) {
  CHighpass stage;
  stage.SetSampleRate(44100);
  stage.SetFreq(20);
  stage.SetBypass(true);
  stage.SetFreq(100); // the owner moves the control up, then engages the stage
  stage.SetBypass(false);
  std::vector<double> block = Noise(256, 5);
  stage.Process(block.data(), 256);
  EXPECT_GT(std::fabs(block[0]), 0.1);
  EXPECT_EQ(stage.GetFreq(), 100.0); // at its setting at once, no glide from 20 Hz
}

TEST(CFilterStart, LowShelfAtZeroDecibelsAddsNothingFromTheStart) {
  CLowShelf stage;
  stage.SetSampleRate(48000);
  stage.SetFreq(120);
  std::vector<double> block = Noise(512, 6);
  const std::vector<double> input = block;
  stage.Process(block.data(), 512);
  EXPECT_EQ(block, input);
  EXPECT_EQ(CoefficientsOf(stage).num[6], 0.0);
}

// Running one stage of a pair per channel with the pair entry gives exactly what running them
// one after the other gives, through setting changes, bypass and refresh phases that differ.
TEST_P(EachKind, StereoPairIsBitIdenticalToOneAfterTheOther) {
  const Kind& kind = GetParam();
  auto pairL = MakeSet(kind), pairR = MakeSet(kind);
  auto soloL = MakeSet(kind), soloR = MakeSet(kind);
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> size(1, 700), coin(0, 9);
  for (int block = 0; block < 60; ++block) {
    const int n = size(rng);
    std::vector<double> l = Noise(n, 100 + block), r = Noise(n, 200 + block);
    std::vector<double> l2 = l, r2 = r;
    if (coin(rng) == 0) { // change a setting on both channels
      const double f = kind.freq * (0.5 + 0.1 * coin(rng));
      const double g = kind.gain * (coin(rng) - 4.5) / 4.5;
      for (CFilter* s : {pairL.get(), pairR.get(), soloL.get(), soloR.get()}) {
        s->SetFreq(f);
        s->SetGain(g);
      }
    }
    if (coin(rng) == 0) { // toggle the right channel's bypass
      const bool bypass = !pairR->IsBypassed();
      pairR->SetBypass(bypass);
      soloR->SetBypass(bypass);
    }
    if (coin(rng) == 0) { // a mono block shifts the right channel's refresh phase
      pairL->Process(l.data(), n);
      soloL->Process(l2.data(), n);
    } else {
      CFilter::ProcessPair(*pairL, l.data(), *pairR, r.data(), n);
      soloL->Process(l2.data(), n);
      soloR->Process(r2.data(), n);
    }
    ASSERT_EQ(0, std::memcmp(l.data(), l2.data(), n * sizeof(double))) << "block " << block;
    ASSERT_EQ(0, std::memcmp(r.data(), r2.data(), n * sizeof(double))) << "block " << block;
  }
  EXPECT_EQ(CoefficientsOf(*pairL), CoefficientsOf(*soloL));
  EXPECT_EQ(CoefficientsOf(*pairR), CoefficientsOf(*soloR));
}

// A stage of an order without sections: it leaves every block alone.
struct NoSections final : CFilter {};

// A chain of random stages driven through random blocks (many of them small), setting changes,
// bypass toggles, rate changes and the odd non-finite sample. `copies` identical chains are
// kept so that one can run through a chain entry and the others stage by stage.
class RandomChain {
public:
  RandomChain(unsigned seed, int copies) : mRng(seed) {
    const int length = std::uniform_int_distribution<int>(1, 8)(mRng);
    mChains.resize(copies);
    for (int s = 0; s < length; ++s) {
      // Mostly the equaliser's kinds; now and then a stage without sections.
      const int pick = std::uniform_int_distribution<int>(0, std::size(kKinds))(mRng);
      mKinds.push_back(pick);
      for (auto& chain : mChains) {
        chain.push_back(pick < static_cast<int>(std::size(kKinds)) ? MakeSet(kKinds[pick])
                                                                   : MakeOwnedStage<NoSections>());
      }
    }
  }

  int Frames() { return Chance(3) ? Between(1, 700) : Between(1, 64); }
  std::vector<double> Block(int n) {
    std::vector<double> x = Noise(n, mRng());
    if (Chance(40)) {
      x[Between(0, n - 1)] = std::numeric_limits<double>::quiet_NaN();
    }
    return x;
  }

  // The same change to stage s of every copy.
  void Automate() {
    if (!Chance(2)) {
      return;
    }
    const size_t s = Between(0, static_cast<int>(mKinds.size()) - 1);
    const Kind& kind = kKinds[std::min<size_t>(mKinds[s], std::size(kKinds) - 1)];
    const double freq = kind.freq * std::exp2(Between(-20, 20) / 10.0);
    const double gain = Between(-160, 160) / 10.0;
    const double q = Between(5, 50) / 10.0;
    const bool bypass = Chance(6) ? !mChains[0][s]->IsBypassed() : mChains[0][s]->IsBypassed();
    const double rate = Chance(30) ? (Chance(2) ? 44100.0 : 96000.0) : 0.0;
    for (auto& chain : mChains) {
      CFilter& stage = *chain[s];
      stage.SetFreq(freq);
      stage.SetGain(gain);
      stage.SetQ(q);
      stage.SetBypass(bypass);
      if (rate > 0.0) {
        stage.SetSampleRate(rate);
      }
    }
  }

  std::vector<CFilter*> Stages(int copy) {
    std::vector<CFilter*> stages;
    for (auto& stage : mChains[copy]) {
      stages.push_back(stage.get());
    }
    return stages;
  }
  int32_t Count() const { return static_cast<int32_t>(mKinds.size()); }
  bool Chance(int oneIn) { return std::uniform_int_distribution<int>(1, oneIn)(mRng) == 1; }
  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(mRng); }

  void ExpectSameCoefficients(int a, int b) const {
    for (size_t s = 0; s < mKinds.size(); ++s) {
      EXPECT_EQ(CoefficientsOf(*mChains[a][s]), CoefficientsOf(*mChains[b][s])) << "stage " << s;
    }
  }

private:
  std::mt19937 mRng;
  std::vector<int> mKinds;
  std::vector<std::vector<OwnedStage>> mChains;
};

void ProcessInTurn(const std::vector<CFilter*>& stages, double* x, int32_t n) {
  for (CFilter* stage : stages) {
    stage->Process(x, n);
  }
}

// Sample by sample the same bits. A NaN is a NaN: which one comes out where two meet depends on
// the order the compiler gives a commutative operation's operands, so NaNs count as equal.
bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    const bool bothNaN = std::isnan(a[i]) && std::isnan(b[i]);
    if (!bothNaN && std::memcmp(&a[i], &b[i], sizeof(double)) != 0) {
      return false;
    }
  }
  return true;
}

// A mono chain runs its stages fused; every sample and every coefficient must come out exactly
// as from one stage after the other.
TEST(CFilterChain, MonoChainIsBitIdenticalToEachStageInTurn) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    RandomChain chains(seed, 2);
    const std::vector<CFilter*> fused = chains.Stages(0), inTurn = chains.Stages(1);
    for (int block = 0; block < 80; ++block) {
      chains.Automate();
      const int n = chains.Frames();
      std::vector<double> x = chains.Block(n), y = x;
      CFilter::ProcessChain(fused.data(), chains.Count(), x.data(), n);
      ProcessInTurn(inTurn, y.data(), n);
      ASSERT_TRUE(SameBits(x, y)) << "seed " << seed << " block " << block;
    }
    chains.ExpectSameCoefficients(0, 1);
  }
}

// The chains' loops in registers of eight lanes (AVX-512 encodings), four (AVX2) and two
// (SSE2), as far as the processor has them.
class LaneWidths : public ::testing::TestWithParam<int32_t> {
protected:
  void SetUp() override {
    saved = CFilterKernels::sPipelineLanes;
    if (GetParam() > saved) {
      GTEST_SKIP() << "this processor lacks registers of " << GetParam() << " doubles";
    }
    CFilterKernels::sPipelineLanes = GetParam();
  }
  void TearDown() override { CFilterKernels::sPipelineLanes = saved; }
  int32_t saved = 2;
};
std::string LaneName(const ::testing::TestParamInfo<int32_t>& info) {
  return std::to_string(info.param) + "lanes";
}

class StereoChain : public LaneWidths {};
INSTANTIATE_TEST_SUITE_P(Lanes, StereoChain, ::testing::Values(2, 8), LaneName);

// A stereo chain runs each stage's two channels interleaved; each channel must come out exactly
// as its stages alone, also when the channels' refresh phases drift apart (mono blocks).
TEST_P(StereoChain, StereoChainIsBitIdenticalToEachStageInTurn) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    RandomChain chains(seed, 4);
    const std::vector<CFilter*> l = chains.Stages(0), r = chains.Stages(1);
    const std::vector<CFilter*> soloL = chains.Stages(2), soloR = chains.Stages(3);
    for (int block = 0; block < 80; ++block) {
      chains.Automate();
      const int n = chains.Frames();
      std::vector<double> xl = chains.Block(n), xr = chains.Block(n);
      std::vector<double> yl = xl, yr = xr;
      if (chains.Chance(10)) {
        CFilter::ProcessChain(l.data(), chains.Count(), xl.data(), n);
      } else {
        CFilter::ProcessChainPair(l.data(), xl.data(), r.data(), xr.data(), chains.Count(), n);
        ProcessInTurn(soloR, yr.data(), n);
      }
      ProcessInTurn(soloL, yl.data(), n);
      ASSERT_TRUE(SameBits(xl, yl)) << "seed " << seed << " block " << block;
      ASSERT_TRUE(SameBits(xr, yr)) << "seed " << seed << " block " << block;
    }
    chains.ExpectSameCoefficients(0, 2);
    chains.ExpectSameCoefficients(1, 3);
  }
}

// The equaliser's own chain (high-pass, two mids, high shelf, low shelf, low-pass) runs
// pipelined through the lanes of a vector register when mono, with or without its pass filters;
// every sample and every coefficient must come out as from one stage after the other, through
// automation of every setting, the pass filters switching in and out, rate changes, blocks of
// every size (the shortest fall back to the fused loops) and inputs that are silent, tiny,
// denormal, huge or not finite.
class EqualiserChain : public LaneWidths {};
INSTANTIATE_TEST_SUITE_P(Lanes, EqualiserChain, ::testing::Values(2, 4, 8), LaneName);

TEST_P(EqualiserChain, MonoPipelineIsBitIdenticalToEachStageInTurn) {
  // Kinds in the equaliser's order: high-pass, parametric, parametric, high shelf, low shelf,
  // low-pass (indexes into kKinds).
  const int order[] = {4, 0, 0, 1, 2, 3};
  for (unsigned seed = 1; seed <= 12; ++seed) {
    std::mt19937 rng(seed);
    auto between = [&](int low, int high) {
      return std::uniform_int_distribution<int>(low, high)(rng);
    };
    std::vector<OwnedStage> piped, inTurn;
    for (int k : order) {
      piped.push_back(MakeSet(kKinds[k]));
      inTurn.push_back(MakeSet(kKinds[k]));
    }
    std::vector<CFilter*> chain;
    for (auto& stage : piped) {
      chain.push_back(stage.get());
    }
    for (int block = 0; block < 150; ++block) {
      for (int changes = between(0, 3); changes > 0; --changes) {
        const size_t s = between(0, 5);
        const Kind& kind = kKinds[order[s]];
        const double value = between(0, 2) == 0   ? kind.freq * std::exp2(between(-30, 30) / 10.0)
                             : between(0, 1) == 0 ? between(-160, 160) / 10.0
                                                  : between(6, 40) / 10.0;
        const int what = between(0, 9);
        const bool passFilter = s == 0 || s == 5;
        const double rate = between(0, 3) != 0 ? 0.0 : between(0, 1) ? 96000.0 : 44100.0;
        for (auto* stages : {&piped, &inTurn}) {
          CFilter& stage = *(*stages)[s];
          if (what < 3) {
            stage.SetFreq(value);
          } else if (what < 6) {
            stage.SetGain(value);
          } else if (what < 8) {
            stage.SetQ(value);
          } else if (what == 8 && passFilter) {
            stage.SetBypass(!stage.IsBypassed());
          } else if (what == 9 && rate > 0.0) {
            stage.SetSampleRate(rate);
          }
        }
      }
      const int n = between(0, 3) == 0 ? between(1, 700) : between(1, 96);
      std::vector<double> x = Noise(n, 1000 * seed + block);
      switch (between(0, 12)) {
      case 0:
        x[between(0, n - 1)] = std::numeric_limits<double>::quiet_NaN();
        break;
      case 1:
        x[between(0, n - 1)] = -std::numeric_limits<double>::infinity();
        break;
      case 2:
        x[between(0, n - 1)] = between(0, 1) ? 1e-310 : -3e-320;
        break;
      case 3:
        std::fill(x.begin(), x.end(), 0.0);
        break;
      case 4:
        for (double& v : x) {
          v *= 1e-150;
        }
        break;
      case 5:
        x[between(0, n - 1)] = 1e300;
        break;
      default:
        break;
      }
      std::vector<double> y = x;
      CFilter::ProcessChain(chain.data(), static_cast<int32_t>(chain.size()), x.data(), n);
      for (auto& stage : inTurn) {
        stage->Process(y.data(), n);
      }
      ASSERT_TRUE(SameBits(x, y)) << "seed " << seed << " block " << block << " frames " << n;
    }
    for (size_t s = 0; s < piped.size(); ++s) {
      EXPECT_EQ(CoefficientsOf(*piped[s]), CoefficientsOf(*inTurn[s])) << "stage " << s;
    }
  }
}

// A non-finite sample reaches every refresh phase of every stage, relative to the block's end
// too: where a refresh clears a section's histories, the section above must still take the
// non-finite output the cleared one gave, as it does stage by stage, also when the refresh falls
// on a block's last sample and the pipeline drains from there.
TEST_P(EqualiserChain, NonFiniteSamplesAtEveryRefreshPhase) {
  const int order[] = {4, 0, 0, 1, 2, 3};
  // The low shelf refreshes every 17 samples, the others every 257: warm-up blocks of up to 16
  // and of about 257 samples put each refresh at every place of the blocks that follow.
  std::vector<int> warmUps;
  for (int warm = 0; warm <= 16; ++warm) {
    warmUps.push_back(warm);
  }
  for (int warm = 200; warm <= 260; ++warm) {
    warmUps.push_back(warm);
  }
  // (Two lanes pipeline blocks of 128 frames and more only.)
  for (int frames : {16, 24, 33, 130}) {
    for (int warm : warmUps) {
      for (int at = 0; at < frames; ++at) {
        std::vector<OwnedStage> piped, inTurn;
        std::vector<CFilter*> chain;
        for (int k : order) {
          piped.push_back(MakeSet(kKinds[k]));
          inTurn.push_back(MakeSet(kKinds[k]));
          chain.push_back(piped.back().get());
        }
        const int lengths[] = {warm + frames, frames, frames};
        for (int block = 0; block < 3; ++block) {
          const int n = lengths[block];
          std::vector<double> x = Noise(n, 7 * block + 1);
          if (block == 1) {
            x[at] = std::numeric_limits<double>::infinity();
          }
          std::vector<double> y = x;
          CFilter::ProcessChain(chain.data(), static_cast<int32_t>(chain.size()), x.data(), n);
          for (auto& stage : inTurn) {
            stage->Process(y.data(), n);
          }
          ASSERT_TRUE(SameBits(x, y))
              << "frames " << frames << " warm " << warm << " at " << at << " block " << block;
        }
      }
    }
  }
}

// The stages of a stereo pair are twins while every value a setter or a refresh touches is the
// same bit for bit; any one value apart, or another kind, and each works for itself.
TEST(CFilterTwins, AnyValueApartEndsTheTwins) {
  const Kind& shelf = kKinds[2];
  auto a = MakeSet(shelf), b = MakeSet(shelf);
  double block[64] = {};
  a->Process(block, 64);
  b->Process(block, 64);
  EXPECT_TRUE(a->Mirrors(*b));
  std::vector<double> x = Noise(64, 3);
  b->Process(x.data(), 64); // histories and the audio they came from do not matter
  EXPECT_TRUE(a->Mirrors(*b));

  const std::pair<const char*, std::function<void(CFilter&)>> changes[] = {
      {"gain", [](CFilter& f) { f.SetGain(f.GetGain() + 1.0); }},
      {"frequency", [](CFilter& f) { f.SetFreq(f.GetFreq() * 1.5); }},
      {"rate", [](CFilter& f) { f.SetSampleRate(96000.0); }},
      {"bypass", [](CFilter& f) { f.SetBypass(true); }},
      {"glide position",
       [](CFilter& f) {
         f.SetGain(-6.0); // both glide toward -6 dB; one refreshes once more
         double s[17] = {};
         f.Process(s, 17);
       }},
  };
  for (const auto& [what, change] : changes) {
    auto c = MakeSet(shelf), d = MakeSet(shelf);
    c->Process(block, 64);
    d->Process(block, 64);
    if (std::string(what) == "glide position") {
      c->SetGain(-6.0);
    }
    change(*d);
    EXPECT_FALSE(c->Mirrors(*d)) << what;
    c->TakeSettingsFrom(*d); // the second takes the first's result ...
    EXPECT_TRUE(c->Mirrors(*d)) << what;
  }
  auto parametric = MakeSet(kKinds[0]), highShelf = MakeSet(kKinds[1]);
  parametric->SetGain(9.0);
  highShelf->SetGain(9.0);
  EXPECT_FALSE(parametric->Mirrors(*highShelf)) << "kinds of the same order";
}

// One NaN or infinite input sample must not leave the channel at NaN: the state is cleared
// at the next refresh (or the block end), within the block.
TEST_P(EachKind, NonFiniteInputRecoversWithinTheBlock) {
  const Kind& kind = GetParam();
  for (double bad :
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    auto stage = MakeSet(kind);
    std::vector<double> block = Noise(2048, 8);
    block[3] = bad;
    stage->Process(block.data(), 2048);
    for (int n = kind.refreshPeriod; n < 2048; ++n) {
      ASSERT_TRUE(std::isfinite(block[n])) << n;
    }
    std::vector<double> next = Noise(512, 9);
    stage->Process(next.data(), 512);
    for (double v : next) {
      ASSERT_TRUE(std::isfinite(v));
    }
  }
}

TEST_P(EachKind, NonFiniteSettingsAreIgnored) {
  auto stage = MakeSet(GetParam());
  const double nan = std::numeric_limits<double>::quiet_NaN();
  stage->SetGain(nan);
  stage->SetFreq(std::numeric_limits<double>::infinity());
  stage->SetQ(nan);
  stage->SetGainFreqQ(true, nan, nan, nan);
  std::vector<double> block = Noise(4096, 10);
  stage->Process(block.data(), 4096);
  for (double v : block) {
    ASSERT_TRUE(std::isfinite(v));
  }
  EXPECT_TRUE(std::isfinite(stage->GetGain()));
  EXPECT_TRUE(std::isfinite(stage->GetFreq()));
}

bool IsSubnormal(double v) {
  return v != 0.0 && std::fabs(v) < DBL_MIN;
}

// Decaying state must never reach the denormal range, whatever comes in.
TEST_P(EachKind, OutputNeverGoesDenormal) {
  auto stage = MakeSet(GetParam());
  std::vector<double> block(1 << 16, 0.0);
  block[0] = 1e-300;
  block[1] = 1e-310; // a denormal input
  stage->Process(block.data(), static_cast<int32_t>(block.size()));
  for (double v : block) {
    ASSERT_FALSE(IsSubnormal(v)) << v;
  }
}

// The two-lane snap, used where a stereo pair's histories and the refresh's mixed coefficients
// leave a block, sets exactly the values the one-value snap sets to +0: both zeros, every
// denormal of either sign; DBL_MIN itself, larger values, infinities and NaNs keep their bits.
TEST(CFilterDenormals, TwoLaneSnapMatchesTheOneValueSnap) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const double values[] = {
      0.0,      -0.0,      DBL_MIN,       -DBL_MIN, DBL_MIN / 2.0, -1e-310,
      4.9e-324, -4.9e-324, DBL_MIN * 1.5, 1.0,      -1.0,          inf,
      -inf,     nan,       -nan,          DBL_MAX,  -DBL_MAX,      std::nextafter(DBL_MIN, 0.0)};
  for (double a : values) {
    for (double b : values) {
      const CFilterKernels::Pair snapped = CFilterKernels::SnapDenormal(CFilterKernels::Pair{a, b});
      const double expectA = CFilterKernels::SnapDenormal(a);
      const double expectB = CFilterKernels::SnapDenormal(b);
      const double gotA = snapped[0], gotB = snapped[1];
      EXPECT_EQ(std::memcmp(&gotA, &expectA, sizeof gotA), 0) << a << " beside " << b;
      EXPECT_EQ(std::memcmp(&gotB, &expectB, sizeof gotB), 0) << b << " beside " << a;
    }
  }
  // The one-value snap itself: zeros and denormals to +0, the rest untouched.
  EXPECT_FALSE(std::signbit(CFilterKernels::SnapDenormal(-1e-310)));
  EXPECT_EQ(CFilterKernels::SnapDenormal(-1e-310), 0.0);
  EXPECT_EQ(CFilterKernels::SnapDenormal(DBL_MIN), DBL_MIN);
}

#if defined(__SSE2__)
// Every entry leaves the caller's mode as it found it, whether the caller flushes denormals
// itself or not.
TEST(CFilterDenormals, ProcessRestoresTheCallersFloatingPointMode) {
  CParametric l, r;
  for (CFilter* stage : {static_cast<CFilter*>(&l), static_cast<CFilter*>(&r)}) {
    stage->SetSampleRate(44100);
    stage->SetGain(6);
  }
  CFilter* left[] = {&l};
  CFilter* right[] = {&r};
  double a[64] = {}, b[64] = {};
  const std::pair<const char*, std::function<void()>> entries[] = {
      {"Process", [&] { l.Process(a, 64); }},
      {"ProcessPair", [&] { CFilter::ProcessPair(l, a, r, b, 64); }},
      {"ProcessChain", [&] { CFilter::ProcessChain(left, 1, a, 64); }},
      {"ProcessChainPair", [&] { CFilter::ProcessChainPair(left, a, right, b, 1, 64); }},
  };
  const unsigned saved = _mm_getcsr();
  for (unsigned mode : {saved & ~0x8040u, saved | 0x8040u, (saved & ~0x8040u) | 0x6000u}) {
    for (const auto& [name, entry] : entries) {
      _mm_setcsr(mode);
      entry();
      EXPECT_EQ(_mm_getcsr(), mode) << name;
    }
  }
  _mm_setcsr(saved);
}
#endif

TEST(CFilterGlide, ReachesANonZeroTargetExactlyOnceWithinTwoPercent) {
  CParametric stage;
  stage.SetSampleRate(48000);
  stage.SetFreq(1000);
  stage.SetQ(1);
  double block[257] = {};
  stage.Process(block, 1); // started: at its settings
  stage.SetGain(6);
  EXPECT_DOUBLE_EQ(stage.GetGain(), 0.6); // one glide step from 0
  double previous = stage.GetGain();
  int refreshes = 0;
  while (stage.GetGain() != 6.0 && refreshes < 100) {
    previous = stage.GetGain();
    stage.Process(block, 257);
    ++refreshes;
    EXPECT_EQ(stage.GetGain() == 6.0, std::fabs(6.0 - previous) < 0.12) << refreshes;
  }
  EXPECT_EQ(stage.GetGain(), 6.0);
  EXPECT_LT(std::fabs(6.0 - previous), 0.12);
}

// A glide back to 0 dB approaches by factors of 0.9 and then lands on 0, instead of
// approaching forever (and reconfiguring at every refresh).
TEST(CFilterGlide, ReturnToZeroEnds) {
  CParametric stage;
  stage.SetSampleRate(48000);
  stage.SetFreq(1000);
  stage.SetGain(6);
  double block[257] = {};
  stage.Process(block, 1);
  ASSERT_EQ(stage.GetGain(), 6.0);
  stage.SetGain(0);
  double last = stage.GetGain();
  EXPECT_DOUBLE_EQ(last, 5.4);
  for (int i = 0; i < 200 && stage.GetGain() != 0.0; ++i) {
    stage.Process(block, 257);
    if (stage.GetGain() != 0.0) {
      EXPECT_DOUBLE_EQ(stage.GetGain(), 0.9 * last);
    }
    last = stage.GetGain();
  }
  EXPECT_EQ(stage.GetGain(), 0.0);
}

// The shelf amount k follows a gain back to 0 dB by a factor per refresh; it must end at 0
// exactly rather than linger in the denormal range.
TEST(CFilterGlide, LowShelfAmountSettlesAtZero) {
  CLowShelf shelf;
  shelf.SetSampleRate(48000);
  shelf.SetFreq(120);
  shelf.SetGain(6);
  std::vector<double> block(4800, 0.0);
  shelf.Process(block.data(), 1);
  shelf.SetGain(0);
  for (int i = 0; i < 200; ++i) { // 20 s
    shelf.Process(block.data(), static_cast<int32_t>(block.size()));
  }
  EXPECT_EQ(shelf.GetGain(), 0.0);
  EXPECT_EQ(CoefficientsOf(shelf).num[6], 0.0);
}

TEST(CFilterGlide, QJumpsAtOnce) {
  CParametric stage;
  stage.SetSampleRate(48000);
  stage.SetQ(2.5);
  EXPECT_EQ(stage.GetQ(), 2.5);
}

struct SegmentCase {
  double value;
  int32_t index;
  double fraction;
};

TEST(CFilterGrid, FindGridSegmentClampsAndSearches) {
  const CFilter stage;
  const double grid[] = {1.0, 2.0, 4.0, 8.0};
  const SegmentCase cases[] = {
      {-5.0, 0, 0.0}, {1.0, 0, 0.0}, {1.5, 0, 0.5}, {2.0, 1, 0.0},
      {3.0, 1, 0.5},  {6.0, 2, 0.5}, {8.0, 2, 1.0}, {99.0, 2, 1.0},
  };
  for (const SegmentCase& c : cases) {
    double fraction = -1;
    int32_t index = -1;
    stage.FindGridSegment(c.value, grid, 4, fraction, index);
    EXPECT_EQ(index, c.index) << c.value;
    EXPECT_DOUBLE_EQ(fraction, c.fraction) << c.value;
  }
}

TEST(CFilterGrid, GettersOfAStageWithoutGrids) {
  const CFilter stage;
  EXPECT_EQ(stage.GetMinGain(), 0.0);
  EXPECT_EQ(stage.GetMaxGain(), 0.0);
  EXPECT_EQ(stage.GetMinFreq(), 0.0);
  EXPECT_EQ(stage.GetMaxQ(), 0.0);
  EXPECT_EQ(stage.GetGainGrid(), nullptr);
}

TEST(CFilterOrder, StageWithoutSectionsLeavesTheBlockUntouched) {
  CFilter stage;
  stage.SetSampleRate(48000);
  std::vector<double> block = Noise(600, 11);
  const std::vector<double> before = block;
  stage.Process(block.data(), 600);
  EXPECT_EQ(block, before);
}

TEST(CFilterOrder, ProcessBeforeTheFirstSampleRateIsSafe) {
  CLowShelf shelf;
  CParametric bell;
  std::vector<double> block = Noise(300, 12);
  shelf.Process(block.data(), 300);
  bell.Process(block.data(), 300);
  for (double v : block) {
    EXPECT_TRUE(std::isfinite(v));
  }
}

TEST(CFilterSettings, DiffersFromLooksOnlyAtUsedDimensions) {
  CLowpass stage; // frequency only
  stage.SetSampleRate(48000);
  stage.SetGainFreqQ(true, 0, 5000, 0);
  EXPECT_FALSE(stage.DiffersFrom(12, 5000, 3));
  EXPECT_TRUE(stage.DiffersFrom(0, 5001, 0));
  CParametric bell;
  bell.SetGainFreqQ(true, 3, 1000, 1);
  EXPECT_TRUE(bell.DiffersFrom(3, 1000, 2));
  EXPECT_FALSE(bell.DiffersFrom(3, 1000, 1));
}

TEST(CFilterSettings, SetGainFreqQSetsCurrentValuesWithoutGlide) {
  CParametric bell;
  bell.SetSampleRate(48000);
  bell.SetGainFreqQ(false, 3, 1000, 1);
  EXPECT_EQ(bell.GetGain(), 3.0);
  EXPECT_EQ(bell.GetFreq(), 1000.0);
  EXPECT_EQ(bell.GetQ(), 1.0);
}

// A low shelf at 100 Hz and +8 dB that has processed a sample.
void StartShelf(CLowShelf& shelf) {
  shelf.SetSampleRate(48000);
  shelf.SetFreq(100);
  shelf.SetGain(8);
  double block[1] = {};
  shelf.Process(block, 1);
}

TEST(CFilterSettings, NormalizeCoefficientsExchangesNumeratorAndDenominator) {
  CLowShelf shelf;
  StartShelf(shelf);
  const Coefficients before = CoefficientsOf(shelf);
  shelf.NormalizeCoefficients();
  const Coefficients after = CoefficientsOf(shelf);
  const double b0 = before.num[0];
  for (int i = 0; i < 3; ++i) {
    EXPECT_DOUBLE_EQ(after.num[i], before.den[i] / b0);
    EXPECT_DOUBLE_EQ(after.den[i], before.num[i] / b0);
  }
  for (int i = 3; i < 5; ++i) {
    EXPECT_DOUBLE_EQ(after.num[i], before.den[i] / b0);
    EXPECT_DOUBLE_EQ(after.den[i], before.num[i] / b0);
  }
  EXPECT_EQ(after.num[5], before.num[5]);
  EXPECT_EQ(after.den[5], before.den[5]);
}

// A refresh whose setting glides works the targets out anew without binding and wiring the
// stage again, but normalised coefficients have lost the wiring's unit a0 terms: the next such
// refresh wires them back, as a full reconfiguration does.
TEST(CFilterSettings, AGlideAfterNormalizingWiresTheUnitTermsBack) {
  CLowShelf shelf;
  StartShelf(shelf);
  shelf.NormalizeCoefficients();
  ASSERT_NE(CoefficientsOf(shelf).den[3], 1.0); // section 2's a0, now b0 / b0 of section 1
  shelf.SetGain(2);                             // glides: the refreshes work out new targets
  double block[17] = {};
  shelf.Process(block, 17);
  const Coefficients after = CoefficientsOf(shelf);
  EXPECT_EQ(after.den[0], 1.0);
  EXPECT_EQ(after.den[3], 1.0);
}

} // namespace
