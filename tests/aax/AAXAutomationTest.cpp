// The compressor's parameters as the AAX host sees them, and values set through the host's
// automation.
#include "AAXBundleSession.h"

namespace aax_bundle_test {
namespace {

class Automation : public BundleSession {
protected:
  void SetUp() override {
    BundleSession::SetUp();
    if (!HasFatalFailure())
      MakeInstance(2);
  }
};

TEST_F(Automation, NineParametersAndTheMasterBypassRegisterWithTheHost) {
  int32_t count = 0;
  ASSERT_EQ(Effect().GetNumberOfParameters(&count), AAX_SUCCESS);
  ASSERT_EQ(count, 10);
  const char* const names[] = {"InputGain",   "Threshold",  "Ratio",        "Attack", "Release",
                               "AutoRelease", "MakeUpGain", "I/O Metering", "Blend"};
  aaxhost::HostString id;
  ASSERT_EQ(Effect().GetParameterIDFromIndex(0, &id), AAX_SUCCESS);
  EXPECT_EQ(id.StdString(), ""); // the master bypass, registered first
  aaxhost::HostString name;
  Effect().GetParameterName("", &name);
  EXPECT_EQ(name.StdString(), "Master Bypass");
  for (int32_t i = 0; i < 9; ++i) {
    ASSERT_EQ(Effect().GetParameterIDFromIndex(i + 1, &id), AAX_SUCCESS);
    EXPECT_EQ(id.StdString(), std::to_string(i));
    Effect().GetParameterName(id.Get(), &name);
    EXPECT_EQ(name.StdString(), names[i]);
    int32_t steps = 0;
    Effect().GetParameterNumberOfSteps(id.Get(), &steps);
    EXPECT_EQ(steps, 55);
  }
  EXPECT_EQ(host.automation.registered.size(), 10u);
  AAX_CBoolean automatable = true;
  Effect().GetParameterIsAutomatable("7", &automatable); // IOMetering
  EXPECT_FALSE(automatable);
  int32_t steps = 0;
  Effect().GetParameterNumberOfSteps("", &steps);
  EXPECT_EQ(steps, 2);
}

TEST_F(Automation, UnknownIdentifiersAreRefused) {
  EXPECT_EQ(Effect().UpdateParameterNormalizedValue("9", 0.5, 0), AAX_ERROR_UNKNOWN_PARAMETER);
  EXPECT_EQ(Effect().UpdateParameterNormalizedValue("65536", 0.5, 0), AAX_ERROR_UNKNOWN_PARAMETER);
  EXPECT_EQ(Effect().UpdateParameterNormalizedValue(nullptr, 0.5, 0), AAX_ERROR_UNKNOWN_PARAMETER);
  int32_t counter = -1;
  Effect().GetUpdateCounter(&counter);
  EXPECT_EQ(counter, 0);
}

TEST_F(Automation, ASetGoesThroughTheHostAndItsConfirmationCounts) {
  host.log.Clear();
  ASSERT_EQ(Effect().SetParameterNormalizedValue("1", 0.5), AAX_SUCCESS);
  EXPECT_EQ(host.log.Matching("Automation."),
            (std::vector<std::string>{"Automation.PostTouchRequest(1)",
                                      "Automation.PostSetValueRequest(1, 0.5)",
                                      "Automation.PostReleaseRequest(1)"}));
  const double before = Normalized("1");
  EXPECT_NE(before, 0.5); // not yet confirmed
  host.automation.ConfirmPendingRequests(Effect());
  EXPECT_DOUBLE_EQ(Normalized("1"), 0.5);
  int32_t counter = 0;
  Effect().GetUpdateCounter(&counter);
  EXPECT_EQ(counter, 1);
}

TEST_F(Automation, ValuesShowTheControllersTexts) {
  ASSERT_EQ(Effect().UpdateParameterNormalizedValue("1", 0.5, 0), AAX_SUCCESS);
  aaxhost::HostString text;
  ASSERT_EQ(Effect().GetParameterValueString("1", &text, 32), AAX_SUCCESS);
  EXPECT_NE(text.StdString().find("dB"), std::string::npos) << text.StdString();
  // The master bypass reads as what the plug-in does.
  ASSERT_EQ(Effect().GetParameterValueString("", &text, 32), AAX_SUCCESS);
  EXPECT_EQ(text.StdString(), "on");
  ASSERT_EQ(Effect().UpdateParameterNormalizedValue("", 1.0, 0), AAX_SUCCESS);
  ASSERT_EQ(Effect().GetParameterValueString("", &text, 32), AAX_SUCCESS);
  EXPECT_EQ(text.StdString(), "bypass");
  aaxhost::HostString on;
  on.Set("on");
  double normalized = -1.0;
  ASSERT_EQ(Effect().GetParameterValueFromString("", &normalized, on), AAX_SUCCESS);
  EXPECT_EQ(normalized, 0.0);
}

// Many more host updates than the queue to the processor holds, while no block runs (the
// host's engine is stopped): the processor still ends up with the last value of each, the
// same state as an instance that was only ever given those values.
TEST_F(Automation, UpdatesWhileNoBlockRunsAreNotLost) {
  const auto finalValue = [](int id) { return 0.1 + 0.05 * id; };
  for (int round = 0; round < 50; ++round)
    for (int id = 0; id < 9; ++id)
      ASSERT_EQ(Effect().UpdateParameterNormalizedValue(std::to_string(id).c_str(),
                                                        round == 49 ? finalValue(id) : 0.9, 0),
                AAX_SUCCESS);
  aaxhost::FakeInstanceBlock block(&Effect(), 2, 2, kBlock, kRate, nullptr);
  aaxhost::RenderInstances(ProcessProc(), {&block});
  const std::vector<uint8_t> flooded = instance->SaveChunk(kChunkID);

  aaxhost::FakeEffectInstance fresh(host, *effect);
  for (int id = 0; id < 9; ++id)
    fresh.Parameters()->UpdateParameterNormalizedValue(std::to_string(id).c_str(), finalValue(id),
                                                       0);
  aaxhost::FakeInstanceBlock freshBlock(fresh.Parameters(), 2, 2, kBlock, kRate, nullptr);
  aaxhost::RenderInstances(ProcessProc(), {&freshBlock});
  ASSERT_FALSE(flooded.empty());
  EXPECT_EQ(flooded, fresh.SaveChunk(kChunkID));
}

} // namespace
} // namespace aax_bundle_test
