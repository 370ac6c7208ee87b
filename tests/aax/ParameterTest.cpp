// AAX parameters with their taper and display delegates, posting through the host's
// automation delegate of the recording host.
#include "FakeAAXHost.h"
#include "FakeVst3Controller.h"
#include "aax/library/AAXWrapperDisplayDelegate.h"
#include "aax/library/AAXWrapperTaperDelegate.h"
#include "aax/library/AAX_CBinaryDisplayDelegate.h"
#include "aax/library/AAX_CBinaryTaperDelegate.h"
#include "aax/library/AAX_CLinearTaperDelegate.h"
#include "aax/library/AAX_CParameter.h"
#include "aax/library/AAX_CStringDisplayDelegate.h"
#include "aax/library/AAX_VAutomationDelegate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

using aaxhost::FakeAAXHost;
using Calls = std::vector<std::string>;

namespace {

// A list parameter as the adapter builds one: steps 0..4 shown as texts.
std::unique_ptr<AAX_CParameter<int>> MakeListParameter(const char* id, int defaultValue) {
  const std::map<int, AAX_CString> texts = {{0, "Off"},  {1, "Low"}, {2, "Mid"},
                                            {3, "High"}, {4, "Max"}, {10, "Beyond"}};
  return std::make_unique<AAX_CParameter<int>>(
      id, AAX_CString("Mode"), AAX_CLinearTaperDelegate<int, 1>(0, 4),
      AAX_CStringDisplayDelegate<int>(texts), true, defaultValue);
}

std::unique_ptr<AAX_CParameter<bool>> MakeBypass() {
  return std::make_unique<AAX_CParameter<bool>>(
      "", AAX_CString("Master Bypass"), AAX_CBinaryTaperDelegate<bool>(),
      AAX_CBinaryDisplayDelegate<bool>("on", "bypass"), true, false);
}

TEST(AAX_CParameter, StartsWithDefaultsAndACutIdentifier) {
  auto parameter = MakeListParameter("0123456789012345678901234567890123456789", 3);
  EXPECT_STREQ(parameter->Identifier(), "0123456789012345678901234567890");
  EXPECT_EQ(parameter->GetNumberOfSteps(), 128);
  EXPECT_EQ(parameter->GetType(), int32_t(AAX_eParameterType_Continuous));
  EXPECT_EQ(parameter->GetHostAttribute(), 0);
  EXPECT_EQ(parameter->GetValue(), 3);
  EXPECT_DOUBLE_EQ(parameter->GetNormalizedValue(), 0.75);
  EXPECT_DOUBLE_EQ(parameter->GetNormalizedDefaultValue(), 0.75);
  EXPECT_STREQ(parameter->Name().Get(), "Mode");
  // A default outside the taper is kept as given, and the value is its quantised image.
  auto outside = MakeListParameter("x", 9);
  EXPECT_EQ(outside->GetDefaultValue(), 9);
  EXPECT_EQ(outside->GetValue(), 4);
}

TEST(AAX_CParameter, AppliesAtOnceWithoutAutomationAndPostsWithIt) {
  auto parameter = MakeListParameter("7", 0);
  parameter->SetNormalizedValue(0.5);
  EXPECT_EQ(parameter->GetValue(), 2);

  FakeAAXHost host;
  AAX_VAutomationDelegate automation(&host);
  parameter->SetAutomationDelegate(&automation);
  parameter->SetNormalizedValue(0.8); // quantised to step 3 before it is posted
  EXPECT_EQ(parameter->GetValue(), 2);
  EXPECT_EQ(host.log.Take(),
            (Calls{"Automation.RegisterParameter(7)", "Automation.PostTouchRequest(7)",
                   "Automation.PostSetValueRequest(7, 0.75)", "Automation.PostReleaseRequest(7)"}));

  parameter->UpdateNormalizedValue(0.75);
  EXPECT_EQ(parameter->GetValue(), 3);
  parameter->UpdateNormalizedValue(0.75); // unchanged: nothing reported
  EXPECT_EQ(host.log.Take(), (Calls{"Automation.PostCurrentValue(7, 0.75)"}));

  parameter.reset();
  EXPECT_EQ(host.log.Take(), (Calls{"Automation.UnregisterParameter(7)"}));
}

TEST(AAX_CParameter, ReportsAnUnchangedValueRightAfterATaperChange) {
  FakeAAXHost host;
  AAX_VAutomationDelegate automation(&host);
  auto parameter = MakeListParameter("1", 2);
  parameter->SetAutomationDelegate(&automation);
  host.log.Clear();

  AAX_CLinearTaperDelegate<int, 1> wider(0, 8);
  parameter->SetTaperDelegate(wider, false); // keeps the normalised value 0.5
  EXPECT_EQ(parameter->GetValue(), 4);
  EXPECT_EQ(host.log.Take(), (Calls{"Automation.PostCurrentValue(1, 0.5)"}));

  parameter->SetTaperDelegate(wider, true); // keeps the real value: posts it as a request
  EXPECT_EQ(host.log.Take(),
            (Calls{"Automation.PostTouchRequest(1)", "Automation.PostSetValueRequest(1, 0.5)",
                   "Automation.PostReleaseRequest(1)"}));
  parameter->UpdateNormalizedValue(0.5); // the force flag makes even this report
  EXPECT_EQ(host.log.Take(), (Calls{"Automation.PostCurrentValue(1, 0.5)"}));

  // A taper of another value type is refused.
  AAX_CBinaryTaperDelegate<bool> binary;
  parameter->SetTaperDelegate(binary, false);
  EXPECT_EQ(parameter->GetValue(), 4);
  parameter->SetAutomationDelegate(nullptr);
}

TEST(AAX_CParameter, StepsRoundToTheNearestAndIgnoreSingleStepParameters) {
  auto bypass = MakeBypass();
  bypass->SetNumberOfSteps(2);
  const struct {
    double normalized;
    int32_t step;
  } cases[] = {{0.0, 0}, {0.49, 0}, {0.5, 1}, {1.0, 1}};
  auto parameter = std::make_unique<AAX_CParameter<double>>(
      "g", AAX_CString("Gain"), AAXWrapperTaperDelegate<double>(nullptr, 0),
      AAXWrapperDisplayDelegate<double>(nullptr, 0), true, 0.0);
  for (const auto& c : cases) {
    FakeVst3Controller* controller = new FakeVst3Controller;
    AAXWrapperTaperDelegate<double> taper(controller, 1);
    parameter->SetTaperDelegate(taper, false);
    parameter->SetNumberOfSteps(2);
    parameter->UpdateNormalizedValue(c.normalized);
    EXPECT_EQ(parameter->GetStepValue(), c.step) << c.normalized;
    parameter->SetNumberOfSteps(1);
    EXPECT_EQ(parameter->GetStepValue(), 0);
    AAXWrapperTaperDelegate<double> none(nullptr, 0);
    parameter->SetTaperDelegate(none, false);
    controller->release();
  }

  auto list = MakeListParameter("s", 0);
  list->SetNumberOfSteps(5);
  list->SetStepValue(3);
  EXPECT_EQ(list->GetValue(), 3);
  list->SetStepValue(9); // beyond the last step: clamped to it
  EXPECT_EQ(list->GetValue(), 4);
  list->SetNumberOfSteps(1);
  list->SetStepValue(0); // ignored
  EXPECT_EQ(list->GetValue(), 4);
}

TEST(AAX_CParameter, TypedAccessorsAnswerOnlyForTheirOwnType) {
  auto list = MakeListParameter("i", 1);
  auto bypass = MakeBypass();
  bool b = false;
  int32_t i = 0;
  float f = 0;
  double d = 0;
  AAX_CString s;
  EXPECT_TRUE(list->GetValueAsInt32(&i));
  EXPECT_EQ(i, 1);
  EXPECT_FALSE(list->GetValueAsBool(&b));
  EXPECT_FALSE(list->GetValueAsDouble(&d));
  EXPECT_FALSE(list->GetValueAsFloat(&f));
  EXPECT_FALSE(list->GetValueAsString(&s));
  EXPECT_TRUE(list->SetValueWithInt32(4));
  EXPECT_EQ(list->GetValue(), 4);
  EXPECT_FALSE(list->SetValueWithDouble(1.0));
  EXPECT_FALSE(list->SetValueWithBool(true));
  EXPECT_FALSE(list->SetValueWithFloat(1.0f));
  EXPECT_FALSE(list->SetValueWithString(AAX_CString("Max")));

  EXPECT_TRUE(bypass->GetValueAsBool(&b));
  EXPECT_FALSE(b);
  EXPECT_FALSE(bypass->GetValueAsInt32(&i));
  EXPECT_TRUE(bypass->SetValueWithBool(true));
  EXPECT_TRUE(bypass->GetValueAsBool(&b));
  EXPECT_TRUE(b);
}

TEST(AAX_CParameter, ShortenedNamesPickTheLongestThatFits) {
  auto parameter = MakeListParameter("n", 0);
  parameter->SetName(AAX_CString("Compressor Mode"));                 // 15 characters
  EXPECT_STREQ(parameter->ShortenedName(5).Get(), "Compressor Mode"); // none stored yet
  parameter->AddShortenedName(AAX_CString("CompMode"));               // 8
  parameter->AddShortenedName(AAX_CString("Comp Mode Se"));           // 12
  const struct {
    int32_t length;
    const char* name;
  } cases[] = {{5, "CompMode"},      {8, "CompMode"},         {11, "CompMode"},
               {12, "Comp Mode Se"}, {15, "Compressor Mode"}, {-1, "Compressor Mode"}};
  for (const auto& c : cases)
    EXPECT_STREQ(parameter->ShortenedName(c.length).Get(), c.name) << c.length;
  parameter->AddShortenedName(AAX_CString("ModeMode")); // replaces the other 8-character name
  EXPECT_STREQ(parameter->ShortenedName(9).Get(), "ModeMode");
  parameter->ClearShortenedNames();
  EXPECT_STREQ(parameter->ShortenedName(3).Get(), "Compressor Mode");
}

TEST(AAX_CParameter, ConvertsTextsThroughTheDisplayAndChecksTheRange) {
  auto parameter = MakeListParameter("t", 1);
  AAX_CString text;
  EXPECT_TRUE(parameter->GetValueString(&text));
  EXPECT_STREQ(text.Get(), "Low");
  EXPECT_TRUE(parameter->GetStringFromNormalizedValue(0.5, text));
  EXPECT_STREQ(text.Get(), "Mid");

  double normalized = -1;
  EXPECT_TRUE(parameter->GetNormalizedValueFromString(AAX_CString("High"), &normalized));
  EXPECT_DOUBLE_EQ(normalized, 0.75);
  // A text whose value lies beyond the taper: the normalised value is written, the answer false.
  normalized = -1;
  EXPECT_FALSE(parameter->GetNormalizedValueFromString(AAX_CString("Beyond"), &normalized));
  EXPECT_DOUBLE_EQ(normalized, 1.0);
  normalized = -1;
  EXPECT_FALSE(parameter->GetNormalizedValueFromString(AAX_CString("nonsense"), &normalized));
  EXPECT_EQ(normalized, -1);

  EXPECT_TRUE(parameter->SetValueFromString(AAX_CString("Max")));
  EXPECT_EQ(parameter->GetValue(), 4);
  EXPECT_FALSE(parameter->SetValueFromString(AAX_CString("nonsense")));
  EXPECT_EQ(parameter->GetValue(), 4);
}

TEST(AAX_CParameter, DefaultsAreConstrainedAndNotReported) {
  FakeAAXHost host;
  AAX_VAutomationDelegate automation(&host);
  auto parameter = MakeListParameter("d", 0);
  parameter->SetAutomationDelegate(&automation);
  host.log.Clear();
  parameter->SetNormalizedDefaultValue(0.6); // 2.4 rounds to step 2
  EXPECT_EQ(parameter->GetDefaultValue(), 2);
  EXPECT_TRUE(host.log.Calls().empty());
  parameter->SetToDefaultValue();
  EXPECT_EQ(host.log.Matching("Automation.PostSetValueRequest"),
            (Calls{"Automation.PostSetValueRequest(d, 0.5)"}));
  parameter->Touch();
  parameter->Release();
  EXPECT_EQ(host.log.Matching("Automation.Post")[3], "Automation.PostTouchRequest(d)");
  parameter->SetAutomationDelegate(nullptr);
}

TEST(Delegates, LinearTaperRoundsAndClampsWithTheMaximumFirst) {
  AAX_CLinearTaperDelegate<int, 1> taper(-2, 6); // span 8
  const struct {
    double normalized;
    int real;
  } toReal[] = {{0.0, -2}, {0.0624, -2}, {0.0625, -1}, {0.5, 2}, {1.0, 6}, {1.7, 6}, {-3.0, -2}};
  for (const auto& c : toReal)
    EXPECT_EQ(taper.NormalizedToReal(c.normalized), c.real) << c.normalized;
  EXPECT_EQ(taper.NormalizedToReal(std::nan("")), -2); // not a number: the minimum
  EXPECT_DOUBLE_EQ(taper.RealToNormalized(2), 0.5);
  EXPECT_DOUBLE_EQ(taper.RealToNormalized(40), 1.0);
  EXPECT_DOUBLE_EQ(taper.RealToNormalized(-40), 0.0);
  EXPECT_EQ(taper.ConstrainRealValue(7), 6);
  EXPECT_EQ(taper.GetMinimumValue(), -2);
  EXPECT_EQ(taper.GetMaximumValue(), 6);
  std::unique_ptr<AAX_ITaperDelegate<int>> clone(taper.Clone());
  EXPECT_EQ(clone->NormalizedToReal(0.5), 2);
}

TEST(Delegates, BinaryAndStringDisplays) {
  AAX_CBinaryDisplayDelegate<bool> binary("on", "bypass");
  AAX_CString text;
  EXPECT_TRUE(binary.ValueToString(true, &text));
  EXPECT_STREQ(text.Get(), "bypass");
  EXPECT_TRUE(binary.ValueToString(false, 2, &text));
  EXPECT_STREQ(text.Get(), "on");
  EXPECT_EQ(binary.MaxLabelLength(), 6u);
  bool value = true;
  EXPECT_TRUE(binary.StringToValue(AAX_CString("on"), &value));
  EXPECT_FALSE(value);
  EXPECT_TRUE(binary.StringToValue(AAX_CString("bypass"), &value));
  EXPECT_TRUE(value);
  EXPECT_FALSE(binary.StringToValue(AAX_CString("On"), &value));
  EXPECT_FALSE(value);

  AAX_CBinaryTaperDelegate<bool> taper;
  EXPECT_FALSE(taper.NormalizedToReal(0.0));
  EXPECT_TRUE(taper.NormalizedToReal(1e-9));
  EXPECT_EQ(taper.RealToNormalized(true), 1.0);

  // Two values share a text: it reads back as the first (smallest) of them.
  AAX_CStringDisplayDelegate<int> list({{1, "One"}, {5, "Same"}, {3, "Same"}});
  EXPECT_FALSE(list.ValueToString(2, &text));
  EXPECT_STREQ(text.Get(), "String Not Found");
  EXPECT_TRUE(list.ValueToString(5, 8, &text));
  EXPECT_STREQ(text.Get(), "Same");
  int number = -1;
  EXPECT_TRUE(list.StringToValue(AAX_CString("Same"), &number));
  EXPECT_EQ(number, 3);
  EXPECT_FALSE(list.StringToValue(AAX_CString("same"), &number));
  EXPECT_EQ(number, 0);
}

class WrapperDelegateTest : public ::testing::Test {
protected:
  void TearDown() override {
    parameter.reset();
    controller->release();
  }
  std::unique_ptr<AAX_CParameter<double>> MakeParameter(Steinberg::Vst::ParamID id) {
    return std::make_unique<AAX_CParameter<double>>(
        "3", AAX_CString("Threshold"), AAXWrapperTaperDelegate<double>(controller, id),
        AAXWrapperDisplayDelegate<double>(controller, id), true, 25.0);
  }
  FakeVst3Controller* controller = new FakeVst3Controller;
  std::unique_ptr<AAX_CParameter<double>> parameter;
};

TEST_F(WrapperDelegateTest, JoinsTheUnitWithoutSpaceOrWithOneSpace) {
  parameter = MakeParameter(3);
  EXPECT_DOUBLE_EQ(parameter->GetValue(), 25.0);
  AAX_CString text;
  EXPECT_TRUE(parameter->GetValueString(&text));
  EXPECT_STREQ(text.Get(), "25.0dB");
  EXPECT_TRUE(parameter->GetStringFromNormalizedValue(0.5, text));
  EXPECT_STREQ(text.Get(), "50.0dB");
  EXPECT_TRUE(parameter->GetStringFromNormalizedValueOfLength(0.5, 3, text));
  EXPECT_STREQ(text.Get(), "50.0 dB");
  // The length form asks for no unit when there is none; unknown IDs have no info.
  parameter = MakeParameter(4);
  EXPECT_TRUE(parameter->GetStringFromNormalizedValueOfLength(0.5, 3, text));
  EXPECT_STREQ(text.Get(), "50.0");
  parameter = MakeParameter(9);
  EXPECT_TRUE(parameter->GetValueString(&text));
  EXPECT_STREQ(text.Get(), "25.0");
}

TEST_F(WrapperDelegateTest, ReadsTextsThroughTheControllerAndChecksTheRange) {
  parameter = MakeParameter(3);
  double normalized = -1;
  EXPECT_TRUE(parameter->GetNormalizedValueFromString(AAX_CString("40"), &normalized));
  EXPECT_DOUBLE_EQ(normalized, 0.4);
  EXPECT_FALSE(parameter->GetNormalizedValueFromString(AAX_CString("140"), &normalized));
  EXPECT_DOUBLE_EQ(normalized, 1.4);
  EXPECT_FALSE(parameter->GetNormalizedValueFromString(AAX_CString("loud"), &normalized));
  EXPECT_FALSE(parameter->GetStringFromNormalizedValue(1.5, *std::make_unique<AAX_CString>()));

  // A long text reaches the controller cut to 1023 characters.
  EXPECT_TRUE(parameter->SetValueFromString(AAX_CString(std::string(1500, '7'))));
  EXPECT_EQ(controller->lastParsedLength, 1023u);

  AAXWrapperTaperDelegate<double> taper(controller, 3);
  EXPECT_DOUBLE_EQ(taper.GetMaximumValue(), 100.0);
  EXPECT_DOUBLE_EQ(taper.GetMinimumValue(), 0.0);
  EXPECT_DOUBLE_EQ(taper.ConstrainRealValue(120.0), 100.0);
  EXPECT_DOUBLE_EQ(taper.ConstrainRealValue(-5.0), 0.0);
  EXPECT_DOUBLE_EQ(taper.ConstrainRealValue(42.0), 42.0);
}

} // namespace
