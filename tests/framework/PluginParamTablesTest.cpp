// The parameter model on the equaliser's and the compressor's real parameter tables,
// against expected values computed by an independent transcription of the mapping and
// display rules (oracle/param_oracle.py).
#include "framework/IParam.h"
#include "support/PluginParamTables.h"
#include "support/TestHalf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct NormalizedCase {
  int param;
  const char* name;
  double x;      // normalised input from a host
  double stored; // plain value the parameter must then hold
  const char* display;
};
struct PlainCase {
  int param;
  double plain;
  double normalized;
};

#include "param_cases.inc"

template <size_t N>
void CheckNormalizedCases(void (*declare)(IFxBase&), int nParams,
                          const NormalizedCase (&cases)[N]) {
  for (const NormalizedCase& c : cases) {
    TestHalf half(nParams);
    declare(half);
    IParam* p = half.GetParam(c.param);
    ASSERT_STREQ(p->GetNameForHost(), c.name);
    SCOPED_TRACE(std::string(c.name) + " x=" + std::to_string(c.x));

    char shown[IParam::kDisplaySize];
    p->GetDisplayForHost(true, shown, true, c.x);
    EXPECT_STREQ(shown, c.display);

    p->SetNormalized(c.x);
    EXPECT_DOUBLE_EQ(p->Value(), c.stored);
    // What the host is shown for x is what the parameter now holds.
    p->GetDisplayForHost(shown, true);
    EXPECT_STREQ(shown, c.display);

    // The display text parses back to a value the same display stands for.
    double n = -1;
    ASSERT_TRUE(p->ParseDisplayString(c.display, &n)) << c.display;
    const double parsed = p->FromNormalized(n);
    int textValue = 0;
    if (p->MapDisplayText(c.display, &textValue)) {
      EXPECT_EQ(parsed, textValue);
    } else {
      const double unit = p->DisplayPrecision() ? std::pow(10.0, -p->DisplayPrecision()) : 1.0;
      EXPECT_NEAR(parsed, std::atof(c.display), unit * 1e-6 + 1e-9 * std::fabs(parsed));
    }
  }
}

template <size_t N>
void CheckPlainCases(void (*declare)(IFxBase&), int nParams, const PlainCase (&cases)[N]) {
  TestHalf half(nParams);
  declare(half);
  for (const PlainCase& c : cases) {
    const IParam* p = half.GetParam(c.param);
    SCOPED_TRACE(std::string(p->GetNameForHost()) + " plain=" + std::to_string(c.plain));
    const double n = p->ToNormalized(c.plain);
    EXPECT_DOUBLE_EQ(n, c.normalized);
    EXPECT_GE(n, 0.0);
    EXPECT_LE(n, 1.0);
  }
}

TEST(EqParamTable, NormalisedInputsStoreAndDisplayAsTheOracleSays) {
  CheckNormalizedCases(DeclareEqParams, kEqParams, kEqNormalizedCases);
}

TEST(EqParamTable, PlainValuesMapToTheOracleNormalisedPositions) {
  CheckPlainCases(DeclareEqParams, kEqParams, kEqPlainCases);
}

TEST(CompressorParamTable, NormalisedInputsStoreAndDisplayAsTheOracleSays) {
  CheckNormalizedCases(DeclareCompressorParams, kCompressorParams, kCompNormalizedCases);
}

TEST(CompressorParamTable, PlainValuesMapToTheOracleNormalisedPositions) {
  CheckPlainCases(DeclareCompressorParams, kCompressorParams, kCompPlainCases);
}

// Values read straight from the tables, as a person checks them by hand.
TEST(PluginParamTables, HandCheckedPoints) {
  TestHalf eq(kEqParams);
  DeclareEqParams(eq);
  IParam* hiPass = eq.GetParam(0);
  hiPass->SetNormalized(0.168478);
  EXPECT_EQ(hiPass->Value(), 36);
  EXPECT_EQ(hiPass->ToNormalized(105), 0.543478);
  EXPECT_DOUBLE_EQ(hiPass->FromNormalized((0.168478 + 0.543478) / 2), (36 + 105) / 2.0);
  EXPECT_EQ(eq.GetParam(11)->GetNormalized(), 1.0); // LowPassFreq defaults to its maximum
  EXPECT_EQ(eq.GetParam(5)->DisplayPrecision(), 3);
  EXPECT_STREQ(eq.GetParam(5)->GetLabelForHost(), "dB");

  TestHalf comp(kCompressorParams);
  DeclareCompressorParams(comp);
  IParam* ratio = comp.GetParam(2);
  ASSERT_EQ(ratio->BreakPoints().size(), 6u);
  for (size_t i = 1; i < ratio->BreakPoints().size(); ++i)
    EXPECT_LT(ratio->BreakPoints()[i - 1].normalized, ratio->BreakPoints()[i].normalized);
  ratio->SetNormalized(0.7);
  EXPECT_DOUBLE_EQ(ratio->Value(), 7.5);
  EXPECT_FALSE(comp.GetParam(7)->CanAutomate());
  EXPECT_STREQ(comp.GetParam(5)->GetLabelForHost(), ""); // on has a display text
  comp.GetParam(8)->SetNormalized(0.555);
  char shown[IParam::kDisplaySize];
  comp.GetParam(8)->GetDisplayForHost(shown, true);
  EXPECT_STREQ(shown, "55"); // a double of precision 0 is shown truncated
  EXPECT_DOUBLE_EQ(comp.GetParam(8)->GetNormalized(), 0.555);
}

} // namespace
