#include "framework/IParam.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::string Display(const IParam& p, double normalized, bool withTexts = true) {
  char out[IParam::kDisplaySize];
  p.GetDisplayForHost(true, out, withTexts, normalized);
  return out;
}

std::string DisplayPlain(const IParam& p, double plain, bool withTexts = true) {
  char out[IParam::kDisplaySize];
  p.GetDisplayForHost(false, out, withTexts, plain);
  return out;
}

TEST(IParamInit, DoubleRaisesMaxAndCountsDecimals) {
  IParam p;
  p.InitDouble("Freq", "Hz", "Band", false, 5, 10, 9, 0.5, 0.0);
  EXPECT_EQ(p.Type(), IParam::kTypeDouble);
  EXPECT_EQ(p.Max(), 10.5); // raised to min + step
  EXPECT_EQ(p.Value(), 5);
  EXPECT_EQ(p.DisplayPrecision(), 1);
  EXPECT_EQ(p.Shape(), 1.0); // 0.0 keeps the shape
  EXPECT_STREQ(p.GetGroupForHost(), "Band");

  struct {
    double step;
    int precision;
  } steps[] = {{0.1, 1}, {0.001, 3}, {1, 0}, {10, 0}, {0.0000001, 6}, {0.05, 2}};
  for (auto c : steps) {
    IParam q;
    q.InitDouble("x", "", "", false, 0, 0, 1, c.step);
    EXPECT_EQ(q.DisplayPrecision(), c.precision) << c.step;
  }
}

TEST(IParamInit, TypedInitialisersAndReadOnly) {
  IParam b, e, i, r;
  b.InitBool("On", true, "lbl");
  EXPECT_EQ(b.Type(), IParam::kTypeBool);
  EXPECT_EQ(b.NDisplayTexts(), 2);
  EXPECT_STREQ(b.GetDisplayText(1), "on");
  EXPECT_STREQ(b.GetLabelForHost(), ""); // the value has a display text
  b.Set(0);
  EXPECT_STREQ(b.GetLabelForHost(), "");

  e.InitEnum("Mode", 2, 4);
  EXPECT_EQ(e.Type(), IParam::kTypeEnum);
  EXPECT_EQ(e.Max(), 3);
  i.InitInt("Count", 3, -5, 5, "n");
  EXPECT_EQ(i.Type(), IParam::kTypeInt);
  EXPECT_EQ(i.Min(), -5);
  EXPECT_STREQ(i.GetLabelForHost(), "n");

  r.InitDouble("Meter", "", "", true, 0, 0, 1, 0.1);
  EXPECT_TRUE(r.ReadOnly());
  EXPECT_FALSE(r.CanAutomate());

  IParam typed; // an initialiser never changes a type once set
  typed.InitBool("x", false);
  typed.InitDouble("x", "", "", false, 0, 0, 1, 1);
  EXPECT_EQ(typed.Type(), IParam::kTypeBool);
}

TEST(IParamInit, LongTextsAreCutToFitTheirFields) {
  IParam p;
  const std::string longName(100, 'n');
  p.InitDouble(longName.c_str(), longName.c_str(), longName.c_str(), false, 0, 0, 1, 0.1);
  p.SetDisplayText(0, longName.c_str());
  EXPECT_EQ(std::string(p.GetNameForHost()), std::string(31, 'n'));
  EXPECT_EQ(std::string(p.GetGroupForHost()), std::string(31, 'n'));
  EXPECT_EQ(std::string(p.GetDisplayText(0)), std::string(31, 'n'));
}

TEST(IParamMapping, ShapeEndpointsAndRounding) {
  IParam d;
  d.InitDouble("d", "", "", false, 0, 20, 20000, 0.1, 2.0);
  d.SetNormalized(1.0);
  EXPECT_EQ(d.Value(), 20000);
  d.SetNormalized(0.5);
  EXPECT_DOUBLE_EQ(d.Value(), 20 + 19980 * 0.25);
  EXPECT_DOUBLE_EQ(d.ToNormalized(d.Value()), 0.5);
  EXPECT_EQ(d.ToNormalized(-100), 0.0);
  EXPECT_EQ(d.ToNormalized(1e9), 1.0);

  IParam i;
  i.InitInt("i", 0, 0, 10);
  i.SetNormalized(0.33);
  EXPECT_EQ(i.Value(), 3); // 3.3 rounded to the step
  i.SetNormalized(0.96);
  EXPECT_EQ(i.Value(), 10);
}

TEST(IParamMapping, HostInputOutsideTheRangeIsClamped) {
  IParam bp;
  bp.InitDouble("f", "Hz", "", false, 100, 20, 330, 0.1);
  bp.AddBreakPoint(0, 20);
  bp.AddBreakPoint(0.5, 100);
  bp.AddBreakPoint(1, 330);
  for (double x : {-0.5, -1e-300, -std::numeric_limits<double>::infinity()}) {
    bp.SetNormalized(x);
    EXPECT_EQ(bp.Value(), 20) << x;
    EXPECT_EQ(bp.FromNormalized(x), 20) << x;
  }
  for (double x : {1.0000001, 7.0, std::numeric_limits<double>::infinity()}) {
    bp.SetNormalized(x);
    EXPECT_EQ(bp.Value(), 330) << x;
  }
  // NaN from a host leaves the value where it is.
  bp.SetNormalized(0.5);
  bp.SetNormalized(kNaN);
  EXPECT_EQ(bp.Value(), 100);
  EXPECT_EQ(bp.FromNormalized(kNaN), 100);
  EXPECT_EQ(bp.ToNormalized(kNaN), 0.5);
  EXPECT_EQ(Display(bp, kNaN), "100.0");

  IParam shaped; // a shape mapping of a negative input would be NaN
  shaped.InitDouble("s", "", "", false, 1, 0, 10, 0.1, 1.5);
  shaped.SetNormalized(-0.25);
  EXPECT_EQ(shaped.Value(), 0);
}

TEST(IParamMapping, BreakPointListsNotSpanningTheRangeHoldTheirEnds) {
  IParam p;
  p.InitDouble("p", "", "", false, 5, 0, 10, 0.1);
  p.AddBreakPoint(0.8, 8);
  p.AddBreakPoint(0.2, 2); // inserted before 0.8
  ASSERT_EQ(p.BreakPoints().front().normalized, 0.2);
  EXPECT_EQ(p.FromNormalized(0.1), 2);
  EXPECT_EQ(p.FromNormalized(0.9), 8);
  EXPECT_DOUBLE_EQ(p.FromNormalized(0.5), 5);
  EXPECT_EQ(p.ToNormalized(1), 0.2);
  EXPECT_EQ(p.ToNormalized(9), 0.8);

  IParam dup; // two points at one position must not divide by zero
  dup.InitDouble("d", "", "", false, 0, 0, 10, 0.1);
  dup.AddBreakPoint(0, 0);
  dup.AddBreakPoint(0.5, 4);
  dup.AddBreakPoint(0.5, 6);
  dup.AddBreakPoint(1, 10);
  EXPECT_TRUE(std::isfinite(dup.FromNormalized(0.5)));
  EXPECT_TRUE(std::isfinite(dup.ToNormalized(5)));
}

TEST(IParamDisplay, TruncatesAndShowsWhatTheValueBecomes) {
  IParam p;
  p.InitDouble("p", "", "", false, 0, 0, 100, 1);
  EXPECT_EQ(DisplayPlain(p, 12.7), "12"); // precision 0 truncates toward zero
  EXPECT_EQ(DisplayPlain(p, -12.7), "-12");
  IParam q;
  q.InitDouble("q", "", "", false, 0, 0, 100, 0.1);
  EXPECT_EQ(DisplayPlain(q, 12.7), "12.7");
  EXPECT_EQ(DisplayPlain(q, 1e300).size(), 127u); // cut to the buffer, terminated
  char small[4];
  q.GetDisplayForHost(false, small, false, 12345.6, sizeof small);
  EXPECT_STREQ(small, "123");

  // A bool at 0.6 becomes on; its display must say so.
  IParam b;
  b.InitBool("b", false);
  EXPECT_EQ(Display(b, 0.6), "on");
  EXPECT_EQ(Display(b, 0.4), "off");
  EXPECT_EQ(Display(b, 0.6, false), "1");
  b.SetNormalized(0.6);
  EXPECT_EQ(b.Value(), 1);

  IParam e; // an enum shows the entry it would select, within its range
  e.InitEnum("e", 0, 3);
  e.SetDisplayText(0, "low");
  e.SetDisplayText(1, "mid");
  e.SetDisplayText(2, "high");
  EXPECT_EQ(Display(e, 0.26), "mid");
  EXPECT_EQ(Display(e, 1.7), "high");
  EXPECT_EQ(Display(e, -3), "low");
}

TEST(IParamDisplay, NegatedDisplayAndHugeValues) {
  IParam p;
  p.InitDouble("atten", "dB", "", false, 0, 0, 60, 0.5);
  p.SetNegateDisplay(true);
  EXPECT_EQ(DisplayPlain(p, 12.5), "-12.5");
  IParam i;
  i.InitInt("i", 0, 0, 10);
  i.SetNegateDisplay(true);
  EXPECT_EQ(DisplayPlain(i, 3), "-3");
  // Plain values beyond the int range truncate to its ends instead of overflowing.
  IParam big;
  big.InitDouble("big", "", "", false, 0, 0, 1e12, 1);
  EXPECT_EQ(DisplayPlain(big, 1e12), "2147483647");
}

TEST(IParamDisplayTexts, LookupsAndMapping) {
  IParam e;
  e.InitEnum("e", 0, 3);
  e.SetDisplayText(1, "one");
  e.SetDisplayText(1, "uno"); // duplicates allowed; lookups take the first
  e.SetDisplayText(2, "");
  EXPECT_STREQ(e.GetDisplayText(1), "one");
  EXPECT_STREQ(e.GetDisplayText(7), "");
  int v = -1;
  EXPECT_STREQ(e.GetDisplayTextAtIdx(1, &v), "uno");
  EXPECT_EQ(v, 1);
  v = -1;
  EXPECT_STREQ(e.GetDisplayTextAtIdx(3, &v), ""); // past the table: nothing read
  EXPECT_EQ(v, -1);
  EXPECT_TRUE(e.MapDisplayText("uno", &v));
  EXPECT_EQ(v, 1);
  v = 42;
  EXPECT_FALSE(e.MapDisplayText("One", &v)); // exact byte comparison
  EXPECT_EQ(v, 42);
  e.Set(2); // an empty text falls back to the number and the label
  EXPECT_EQ(DisplayPlain(e, 2), "2");
}

struct ParseCase {
  const char* text;
  bool ok;
  double plain; // expected value stored from the parsed text
};

class BoolParse : public ::testing::TestWithParam<ParseCase> {};
TEST_P(BoolParse, AcceptsItsTextsAndNumbers) {
  IParam b;
  b.InitBool("b", false);
  const ParseCase c = GetParam();
  double n = -7;
  EXPECT_EQ(b.ParseDisplayString(c.text, &n), c.ok) << c.text;
  if (c.ok) {
    b.SetNormalized(n);
    EXPECT_EQ(b.Value(), c.plain) << c.text;
  } else {
    EXPECT_EQ(n, -7) << c.text;
  }
}
INSTANTIATE_TEST_SUITE_P(Texts, BoolParse,
                         ::testing::Values(ParseCase{"on", true, 1}, ParseCase{"off", true, 0},
                                           ParseCase{" on ", true, 1}, ParseCase{"1", true, 1},
                                           ParseCase{"0", true, 0}, ParseCase{"abc", false, 0},
                                           ParseCase{"", false, 0}, ParseCase{"onn", false, 0}));

class DoubleParse : public ::testing::TestWithParam<ParseCase> {};
TEST_P(DoubleParse, NumbersWithOptionalUnit) {
  IParam p;
  p.InitDouble("f", "Hz", "", false, 100, 20, 330, 0.1);
  const ParseCase c = GetParam();
  double n = -7;
  EXPECT_EQ(p.ParseDisplayString(c.text, &n), c.ok) << c.text;
  if (c.ok)
    EXPECT_NEAR(p.FromNormalized(n), c.plain, 1e-9) << c.text;
  else
    EXPECT_EQ(n, -7) << c.text;
}
INSTANTIATE_TEST_SUITE_P(
    Texts, DoubleParse,
    ::testing::Values(ParseCase{"150", true, 150}, ParseCase{"150.5 Hz", true, 150.5},
                      ParseCase{"150.5Hz", true, 150.5}, ParseCase{"1e2", true, 100},
                      ParseCase{"5", true, 20}, ParseCase{"5000", true, 330},
                      ParseCase{"abc", false, 0}, ParseCase{"12 kHz", false, 0},
                      ParseCase{"nan", false, 0}, ParseCase{"inf", false, 0},
                      ParseCase{"150 150", false, 0}, ParseCase{nullptr, false, 0}));

TEST(IParamParse, NegatedDisplayRoundTrips) {
  IParam p;
  p.InitDouble("atten", "dB", "", false, 0, 0, 60, 0.5);
  p.SetNegateDisplay(true);
  p.Set(12.5);
  char text[IParam::kDisplaySize];
  p.GetDisplayForHost(text, true);
  ASSERT_STREQ(text, "-12.5");
  double n = 0;
  ASSERT_TRUE(p.ParseDisplayString(text, &n));
  EXPECT_DOUBLE_EQ(p.FromNormalized(n), 12.5);
}

TEST(IParamMisc, DBToAmpAndBounds) {
  IParam g;
  g.InitDouble("g", "dB", "", false, 6, -18, 18, 0.1);
  EXPECT_NEAR(g.DBToAmp(), std::pow(10.0, 6.0 / 20.0), 1e-12);
  double lo = 0, hi = 0;
  g.GetBounds(&lo, &hi);
  EXPECT_EQ(lo, -18);
  EXPECT_EQ(hi, 18);
  EXPECT_DOUBLE_EQ(g.ToNormalizedFromString("0"), 0.5);
}

} // namespace
