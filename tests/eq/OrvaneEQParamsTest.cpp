// The equaliser's parameter table against the framework tests' own transcription of it
// (tests/framework/support): every attribute, and the knob mapping through the break points.
#include "Projects/eq/OrvaneEQParams.h"
#include "support/PluginParamTables.h"

#include <gtest/gtest.h>

namespace {

class Half : public IFxBase {
public:
  Half() : IFxBase(kNumOrvaneEQParams, 0x10100, 0, 0, 0, false, false, false, kAPIVST3) {}
  int UnserializeParams(const KIT_HeapBuf& chunk, int pos) override {
    return UnserializeParamBlock(chunk, pos);
  }
  void SetLatency(int) override {}
};

TEST(OrvaneEQParams, MatchTheIndependentTable) {
  ASSERT_EQ(kNumOrvaneEQParams, kEqParams);
  Half ours, theirs;
  DeclareOrvaneEQParams(ours);
  DeclareEqParams(theirs);
  for (int i = 0; i < kNumOrvaneEQParams; ++i) {
    const IParam& a = *ours.GetParam(i);
    const IParam& b = *theirs.GetParam(i);
    SCOPED_TRACE(b.GetNameForHost());
    EXPECT_STREQ(a.GetNameForHost(), b.GetNameForHost());
    EXPECT_STREQ(a.GetLabelForHost(), b.GetLabelForHost());
    EXPECT_STREQ(a.GetGroupForHost(), "");
    EXPECT_EQ(a.Type(), IParam::kTypeDouble);
    EXPECT_FALSE(a.ReadOnly());
    EXPECT_EQ(a.Default(), b.Default());
    EXPECT_EQ(a.Value(), b.Default());
    EXPECT_EQ(a.Min(), b.Min());
    EXPECT_EQ(a.Max(), b.Max());
    EXPECT_EQ(a.Step(), b.Step());
    EXPECT_EQ(a.Shape(), 1.0);
    ASSERT_EQ(a.BreakPoints().size(), b.BreakPoints().size());
    for (double x = 0.0; x <= 1.0; x += 1.0 / 64) {
      EXPECT_EQ(a.FromNormalized(x), b.FromNormalized(x)) << x;
    }
  }
}

TEST(OrvaneEQParams, FrequencyKnobsFollowTheirBreakPoints) {
  Half half;
  DeclareOrvaneEQParams(half);
  struct Case {
    int param;
    double position, value;
  };
  const Case cases[] = {
      {kHiPassFreq, 0.168478, 36},     {kHiPassFreq, 0.543478, 105},
      {kLowShelfFreq, 0.744565, 130},  {kLowMidFreq, 0.581522, 300},
      {kHiMidFreq, 0.798913, 10000},   {kHiShelfFreq, 0.246217, 5000},
      {kLowPassFreq, 0.809783, 16000}, {kLowPassFreq, 1.0, 22000},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(half.GetParam(c.param)->FromNormalized(c.position), c.value, 1e-9 * c.value)
        << c.param << " at " << c.position;
  }
}

} // namespace
