// The five filter kinds: their configuration, how they pick a rate set and a table entry, and
// how their cuts are made. Table values are read straight from the compiled blocks.

#include "Projects/eq/CHighShelf.h"
#include "Projects/eq/CHighpass.h"
#include "Projects/eq/CLowShelf.h"
#include "Projects/eq/CLowpass.h"
#include "Projects/eq/CParametric.h"
#include "Projects/eq/EqCoefficientTables.h"
#include "tests/eq/OwnedStage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace {

struct Configuration {
  const char* name;
  OwnedStage (*make)();
  int order;
  bool gain, freq, q;
  int32_t freqPoints, gainPoints, qPoints;
  double minFreq, maxFreq, maxGain;
};

const Configuration kConfigurations[] = {
    {"parametric", MakeOwnedStage<CParametric>, 2, true, true, true, 20, 9, 4, 33, 18000, 16},
    {"highshelf", MakeOwnedStage<CHighShelf>, 2, true, true, false, 6, 9, 0, 3300, 18000, 16},
    {"lowshelf", MakeOwnedStage<CLowShelf>, 4, true, true, false, 6, 8, 0, 33, 460, 16},
    {"lowpass", MakeOwnedStage<CLowpass>, 3, false, true, false, 16, 0, 0, 100, 18000, 0},
    {"highpass", MakeOwnedStage<CHighpass>, 3, false, true, false, 15, 0, 0, 20, 6400, 0},
};

TEST(FilterKinds, Configuration) {
  for (const Configuration& c : kConfigurations) {
    SCOPED_TRACE(c.name);
    auto stage = c.make();
    EXPECT_EQ(stage->GetOrder(), c.order);
    EXPECT_EQ(stage->UsesGain(), c.gain);
    EXPECT_EQ(stage->UsesFreq(), c.freq);
    EXPECT_EQ(stage->UsesQ(), c.q);
    EXPECT_EQ(stage->GetFreqGridSize(), c.freqPoints);
    EXPECT_EQ(stage->GetGainGridSize(), c.gainPoints);
    EXPECT_EQ(stage->GetQGridSize(), c.qPoints);
    EXPECT_EQ(stage->GetMinFreq(), c.minFreq);
    EXPECT_EQ(stage->GetMaxFreq(), c.maxFreq);
    EXPECT_EQ(stage->GetMaxGain(), c.maxGain);
    EXPECT_EQ(stage->GetMinGain(), -c.maxGain);
  }
  CParametric bell;
  EXPECT_EQ(bell.GetMinQ(), 0.667);
  EXPECT_EQ(bell.GetMaxQ(), 4.0);
  CLowShelf shelf;
  EXPECT_EQ(shelf.GetGainGrid()[0], 2.0);
}

struct Coefficients {
  double num[7];
  double den[6];
};

template <class T> Coefficients Started(double rate, double gain, double freq, double q = 0) {
  T stage;
  stage.SetSampleRate(rate);
  stage.SetFreq(freq);
  stage.SetGain(gain);
  stage.SetQ(q);
  double sample = 0.0;
  stage.Process(&sample, 1); // starts on its targets
  Coefficients c;
  stage.GetCoefficients(c.num, c.den);
  return c;
}

// Entry `entry` of coefficient `coeff` in rate set `set` of a block.
double Entry(const double* block, int count, int entries, int set, int coeff, int entry) {
  return block[(set * count + coeff) * entries + entry];
}

double LowpassEntry(int set, int coeff, int entry) {
  return Entry(eqtables::kLowpass, 8, 16, set, coeff, entry);
}

struct RateCase {
  double rate;
  int set;
};

// Rates are matched to the listed ones within 1 Hz (47999.99 Hz is 48000 Hz); any other rate
// uses the 44100 Hz set.
TEST(FilterKinds, RateSetSelection) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const RateCase cases[] = {{44100, 0}, {48000, 1},   {47999.99, 1}, {48000.4, 1}, {88200, 2},
                            {96000, 3}, {96000.9, 3}, {176400, 4},   {192000, 5},  {191999.5, 5},
                            {22050, 0}, {32000, 0},   {50000, 0},    {0, 0},       {-48000, 0},
                            {nan, 0},   {1e300, 0}};
  for (const RateCase& c : cases) {
    EXPECT_EQ(eqtables::RateSetIndex(c.rate), c.set) << c.rate;
    const Coefficients got = Started<CLowpass>(c.rate, 0, 1600);
    EXPECT_EQ(got.num[0], LowpassEntry(c.set, 0, 7)) << c.rate; // 1600 Hz is entry 7
  }
  EXPECT_EQ(eqtables::kRates[3], 96000);
}

TEST(FilterKinds, PassFiltersWireTheirSections) {
  const Coefficients c = Started<CLowpass>(48000, 0, 3200); // entry 9
  const double want[] = {c.num[0], c.num[1], c.num[2], c.den[1],
                         c.den[2], c.num[3], c.num[4], c.den[4]};
  for (int coeff = 0; coeff < 8; ++coeff) {
    EXPECT_EQ(want[coeff], LowpassEntry(1, coeff, 9)) << coeff;
  }
  EXPECT_EQ(c.den[0], 1.0);
  EXPECT_EQ(c.den[3], 1.0);
  EXPECT_EQ(c.num[5], 0.0);
  EXPECT_EQ(c.den[5], 0.0);
}

// At its last grid point the high-pass interpolates entries 13 and 14 with fraction 1: it
// reads entry 14 and never the unused sixteenth entry.
TEST(FilterKinds, HighpassAtItsLastGridPoint) {
  for (double freq : {6400.0, 9000.0}) {
    const Coefficients c = Started<CHighpass>(44100, 0, freq);
    EXPECT_EQ(c.num[0], Entry(eqtables::kHighpass, 8, 16, 0, 0, 14));
    EXPECT_EQ(c.den[4], Entry(eqtables::kHighpass, 8, 16, 0, 7, 14));
  }
  EXPECT_EQ(Entry(eqtables::kHighpass, 8, 16, 0, 0, 15), 0.0);
}

TEST(FilterKinds, LowShelfCutReadsTheCutHalf) {
  // -6 dB at 95 Hz: gain point 2, frequency point 2, in the cut half (entries 48..95).
  const Coefficients c = Started<CLowShelf>(96000, -6, 95);
  const int entry = 48 + 2 * 6 + 2;
  const double got[] = {c.num[0], c.num[1], c.num[2], c.den[1], c.den[2],
                        c.num[3], c.num[4], c.num[5], c.den[4], c.den[5]};
  for (int coeff = 0; coeff < 10; ++coeff) {
    EXPECT_EQ(got[coeff], Entry(eqtables::kLowShelf, 10, 96, 3, coeff, entry)) << coeff;
  }
  EXPECT_DOUBLE_EQ(c.num[6], std::pow(10.0, -6.0 / 20.0) - 1.0);
}

TEST(FilterKinds, LowShelfBelowItsGridUsesTheTwoDecibelShape) {
  const Coefficients one = Started<CLowShelf>(48000, 1, 56);
  const Coefficients two = Started<CLowShelf>(48000, 2, 56);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(one.num[i], two.num[i]);
  }
  EXPECT_DOUBLE_EQ(one.num[6], std::pow(10.0, 1.0 / 20.0) - 1.0);
}

// An order-2 cut is the exact inverse of the boost of the same |gain|: targets
// (1, a1, a2, b1, b2) / b0 of the boost's [b0, b1, b2, a1, a2].
template <class T> void ExpectCutInvertsBoost(double gain, double freq, double q) {
  const Coefficients up = Started<T>(48000, gain, freq, q);
  const Coefficients down = Started<T>(48000, -gain, freq, q);
  const double b0 = up.num[0];
  EXPECT_DOUBLE_EQ(down.num[0], 1.0 / b0);
  EXPECT_DOUBLE_EQ(down.num[1], up.den[1] / b0);
  EXPECT_DOUBLE_EQ(down.num[2], up.den[2] / b0);
  EXPECT_DOUBLE_EQ(down.den[1], up.num[1] / b0);
  EXPECT_DOUBLE_EQ(down.den[2], up.num[2] / b0);
  EXPECT_EQ(down.den[0], 1.0);
}

TEST(FilterKinds, OrderTwoCutsInvertTheBoost) {
  ExpectCutInvertsBoost<CParametric>(16, 800, 1);
  ExpectCutInvertsBoost<CParametric>(5.5, 2345, 2.7);
  ExpectCutInvertsBoost<CHighShelf>(9, 7000, 0);
}

double GainDb(const Coefficients& c, double hz, double rate) {
  const double w = 2 * M_PI * hz / rate;
  const double cr = std::cos(w), ci = -std::sin(w);
  const double c2r = std::cos(2 * w), c2i = -std::sin(2 * w);
  const double nr = c.num[0] + c.num[1] * cr + c.num[2] * c2r;
  const double ni = c.num[1] * ci + c.num[2] * c2i;
  const double dr = 1.0 + c.den[1] * cr + c.den[2] * c2r;
  const double di = c.den[1] * ci + c.den[2] * c2i;
  return 20 * std::log10(std::hypot(nr, ni) / std::hypot(dr, di));
}

// The 16 dB, 800 Hz cut is a dip that mirrors the boost (the old derivation gave about -1 dB
// broadband with inverted polarity and +5 dB at 5 kHz).
TEST(FilterKinds, ParametricCutMirrorsTheBoost) {
  const Coefficients up = Started<CParametric>(44100, 16, 800, 1);
  const Coefficients down = Started<CParametric>(44100, -16, 800, 1);
  EXPECT_LT(GainDb(down, 800, 44100), -14.0);
  EXPECT_NEAR(GainDb(down, 30, 44100), 0.0, 0.3);
  for (double hz : {30.0, 200.0, 800.0, 1500.0, 5000.0, 15000.0}) {
    EXPECT_NEAR(GainDb(down, hz, 44100), -GainDb(up, hz, 44100), 1e-9) << hz;
  }
  EXPECT_GT(down.num[0], 0.0);
}

} // namespace
