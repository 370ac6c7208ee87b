#include "framework/IFxParameter.h"
#include "support/PluginParamTables.h"
#include "support/TestHalf.h"

#include "base/source/fstring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::string Ascii(const TChar* text) {
  char out[256];
  utf16ToAscii(text, out);
  return out;
}

std::u16string Wide(const char* text) {
  TChar out[256];
  utf8ToUtf16(text, out);
  return std::u16string(out);
}

class IFxParameterFixture : public ::testing::Test {
protected:
  IFxParameterFixture() : eq(kEqParams), comp(kCompressorParams) {
    DeclareEqParams(eq);
    DeclareCompressorParams(comp);
  }
  TestHalf eq, comp;
};

TEST_F(IFxParameterFixture, InfoComesFromTheParam) {
  IFxParameter hiPass(eq.GetParam(0), 0, ParameterInfo::kCanAutomate, 0);
  const ParameterInfo& info = hiPass.getInfo();
  EXPECT_EQ(Ascii(info.title), "HiPassFreq");
  EXPECT_EQ(Ascii(info.units), "Hz");
  EXPECT_EQ(info.stepCount, 0);
  EXPECT_EQ(info.defaultNormalizedValue, 0.0);
  EXPECT_EQ(hiPass.getNormalized(), 0.0);
  EXPECT_EQ(hiPass.getPrecision(), 1);
  EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate);

  IFxParameter lowPass(eq.GetParam(11), 11, 0, 3);
  EXPECT_EQ(lowPass.getInfo().defaultNormalizedValue, 1.0);
  EXPECT_EQ(lowPass.getInfo().id, 11u);
  EXPECT_EQ(lowPass.getInfo().unitId, 3);

  IFxParameter autoRelease(comp.GetParam(5), 5, ParameterInfo::kCanAutomate, 0);
  EXPECT_EQ(autoRelease.getInfo().stepCount, 1);
  EXPECT_EQ(Ascii(autoRelease.getInfo().units), ""); // "on" has a display text
  EXPECT_EQ(autoRelease.getInfo().defaultNormalizedValue, 1.0);

  IFxParameter ratio(comp.GetParam(2), 2, 0, 0);
  EXPECT_EQ(ratio.getInfo().defaultNormalizedValue, 0.0);
  EXPECT_EQ(ratio.getPrecision(), 2);

  IParam e;
  e.InitEnum("Mode", 1, 5);
  IFxParameter mode(&e, 0, 0, 0);
  EXPECT_EQ(mode.getInfo().stepCount, 4);
  EXPECT_DOUBLE_EQ(mode.getInfo().defaultNormalizedValue, 0.25);

  IParam huge;
  huge.InitInt("Huge", 0, -2000000000, 2000000000);
  IFxParameter wide(&huge, 0, 0, 0);
  EXPECT_EQ(wide.getInfo().stepCount, 2147483647); // the range does not fit an int32
  IParam untyped;
  IFxParameter none(&untyped, 0, 0, 0);
  EXPECT_EQ(none.getInfo().stepCount, 0);
}

TEST_F(IFxParameterFixture, RunTimeClassAnswers) {
  IFxParameter p(eq.GetParam(0), 0, 0, 0);
  EXPECT_STREQ(p.isA(), "IFxParameter");
  EXPECT_TRUE(p.isA("IFxParameter"));
  EXPECT_TRUE(p.isTypeOf("Parameter"));
  EXPECT_FALSE(p.isA("Parameter"));
  EXPECT_EQ(FCast<IFxParameter>(static_cast<FObject*>(&p)), &p);
}

TEST_F(IFxParameterFixture, ToStringShowsWhatTheValueBecomes) {
  IFxParameter autoRelease(comp.GetParam(5), 5, 0, 0);
  String128 text;
  autoRelease.toString(0.6, text);
  EXPECT_EQ(Ascii(text), "on");
  autoRelease.toString(0.4, text);
  EXPECT_EQ(Ascii(text), "off");
  IFxParameter hiMid(eq.GetParam(6), 6, 0, 0);
  hiMid.toString(0.581522, text);
  EXPECT_EQ(Ascii(text), "5000.0");
  hiMid.toString(-3.0, text);
  EXPECT_EQ(Ascii(text), "600.0");
  hiMid.toString(std::numeric_limits<double>::quiet_NaN(), text);
  EXPECT_EQ(Ascii(text), "5000.0"); // the current value
}

TEST_F(IFxParameterFixture, FromStringFailsForTextThatDoesNotParse) {
  IFxParameter autoRelease(comp.GetParam(5), 5, 0, 0);
  ParamValue v = 0.5;
  EXPECT_TRUE(autoRelease.fromString(Wide("off").c_str(), v));
  EXPECT_EQ(v, 0.0);
  EXPECT_TRUE(autoRelease.fromString(Wide("on").c_str(), v));
  EXPECT_EQ(v, 1.0);
  v = 0.5;
  EXPECT_FALSE(autoRelease.fromString(Wide("abc").c_str(), v));
  EXPECT_EQ(v, 0.5);
  EXPECT_FALSE(autoRelease.fromString(nullptr, v));

  IFxParameter gain(eq.GetParam(12), 12, 0, 0);
  EXPECT_TRUE(gain.fromString(Wide("9 dB").c_str(), v));
  EXPECT_DOUBLE_EQ(v, 0.75);
  EXPECT_FALSE(gain.fromString(Wide("loud").c_str(), v));
  EXPECT_FALSE(gain.fromString(Wide("").c_str(), v));

  IParam atten;
  atten.InitDouble("Atten", "dB", "", false, 0, 0, 60, 0.5);
  atten.SetNegateDisplay(true);
  IFxParameter negated(&atten, 0, 0, 0);
  String128 text;
  negated.toString(0.25, text);
  ASSERT_EQ(Ascii(text), "-15.0");
  ASSERT_TRUE(negated.fromString(text, v));
  EXPECT_DOUBLE_EQ(v, 0.25);
}

TEST_F(IFxParameterFixture, PlainConversionsGoThroughTheParam) {
  IFxParameter ratio(comp.GetParam(2), 2, 0, 0);
  EXPECT_DOUBLE_EQ(ratio.toPlain(0.7), 7.5);
  EXPECT_EQ(ratio.toPlain(-1.0), 1.5);
  EXPECT_EQ(ratio.toNormalized(10.0), 0.8);
  EXPECT_EQ(ratio.toNormalized(1000.0), 1.0);
}

} // namespace
