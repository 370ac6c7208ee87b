// The effect-parameters base as an AAX host drives it: initialisation against the recording
// host, the per-parameter slots by identifier, confirmed values, notifications, the default
// chunk and the object's lifetime.
#include "FakeAAXHost.h"
#include "FakeVst3Controller.h"
#include "aax/library/AAXWrapperDisplayDelegate.h"
#include "aax/library/AAXWrapperTaperDelegate.h"
#include "aax/library/AAX_CBinaryDisplayDelegate.h"
#include "aax/library/AAX_CBinaryTaperDelegate.h"
#include "aax/library/AAX_CEffectParameters.h"
#include "aax/library/AAX_CLinearTaperDelegate.h"
#include "aax/library/AAX_CParameter.h"
#include "aax/library/AAX_CStringDisplayDelegate.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using aaxhost::FakeAAXHost;
using aaxhost::FakeChunkRecord;
using Calls = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;

namespace {

// An effect with a list parameter "0", a master bypass, a continuous parameter "2" (plain
// value = normalised x 100) and the preview switch, in that index order.
class TestEffect : public AAX_CEffectParameters {
public:
  explicit TestEffect(bool withMasterBypass = true) : mWithMasterBypass(withMasterBypass) {}
  ~TestEffect() override { mController->release(); }

  AAX_Result EffectInit() override {
    ++effectInitCalls;
    if (effectInitResult != AAX_SUCCESS)
      return effectInitResult;
    const std::map<int, AAX_CString> modes = {{0, "Soft"}, {1, "Medium"}, {2, "Hard"}};
    auto* mode = new AAX_CParameter<int>("0", AAX_CString("ABCDEFGHI\nABCDEF\nABC"),
                                         AAX_CLinearTaperDelegate<int, 1>(0, 2),
                                         AAX_CStringDisplayDelegate<int>(modes), true, 1);
    mode->SetNumberOfSteps(3);
    mode->SetType(AAX_eParameterType_Discrete);
    Parameters().AddParameter(mode);
    if (mWithMasterBypass)
      Parameters().AddParameter(MakeSwitch("MasterBypassID"));
    Parameters().AddParameter(new AAX_CParameter<double>(
        "2", AAX_CString("Threshold"), AAXWrapperTaperDelegate<double>(mController, 3),
        AAXWrapperDisplayDelegate<double>(mController, 3), false, 30.0));
    Parameters().AddParameter(MakeSwitch("PreviewID"));
    // A second parameter under an identifier already present is not registered.
    Parameters().AddParameter(MakeSwitch("0"));
    return AAX_SUCCESS;
  }

  static AAX_CParameter<bool>* MakeSwitch(const char* id) {
    return new AAX_CParameter<bool>(id, AAX_CString(id), AAX_CBinaryTaperDelegate<bool>(),
                                    AAX_CBinaryDisplayDelegate<bool>("off", "on"), true, false);
  }

  using AAX_CEffectParameters::Parameters;
  int effectInitCalls = 0;
  AAX_Result effectInitResult = AAX_SUCCESS;

private:
  bool mWithMasterBypass;
  FakeVst3Controller* mController = new FakeVst3Controller;
};

// The effect as the host holds it: one reference through its effect-parameters interface.
class EffectParametersTest : public ::testing::Test {
protected:
  void SetUp() override {
    effect = new TestEffect;
    void* out = nullptr;
    ASSERT_EQ(effect->GetOuter()->QueryInterface(IID_EffectParameters, &out), ACF_OK);
    host.AttachEffect(static_cast<AAX_IACFEffectParameters*>(out));
    static_cast<AAX_IACFEffectParameters*>(out)->Release();
  }
  void TearDown() override {
    host.DetachEffect(); // the last reference: the effect deletes itself
    EXPECT_EQ(host.OutstandingReferences(), 0);
  }
  AAX_IACFEffectParameters& Effect() { return *host.Effect(); }
  double Normalized(const char* id) {
    double value = -1;
    EXPECT_EQ(Effect().GetParameterNormalizedValue(id, &value), AAX_SUCCESS);
    return value;
  }

  FakeAAXHost host;
  TestEffect* effect = nullptr;
};

TEST_F(EffectParametersTest, InitializeRegistersEveryParameterWithTheHostOnce) {
  ASSERT_EQ(Effect().Initialize(&host), AAX_SUCCESS);
  EXPECT_EQ(
      host.log.Matching("Automation.Register"),
      (Calls{"Automation.RegisterParameter(0)", "Automation.RegisterParameter(MasterBypassID)",
             "Automation.RegisterParameter(2)", "Automation.RegisterParameter(PreviewID)"}));
  int32_t count = 0;
  EXPECT_EQ(Effect().GetNumberOfParameters(&count), AAX_SUCCESS);
  EXPECT_EQ(count, 4);
  AAX_CString id;
  EXPECT_EQ(Effect().GetMasterBypassParameter(&id), AAX_SUCCESS);
  EXPECT_STREQ(id.Get(), "MasterBypassID");
  for (int32_t index = 0; index < count; ++index) {
    EXPECT_EQ(Effect().GetParameterIDFromIndex(index, &id), AAX_SUCCESS);
    int32_t back = -1;
    EXPECT_EQ(Effect().GetParameterIndex(id.Get(), &back), AAX_SUCCESS);
    EXPECT_EQ(back, index);
  }
  EXPECT_EQ(Effect().Uninitialize(), AAX_SUCCESS);
  EXPECT_EQ(host.log.Matching("Automation.Unregister").size(), 4u);
  EXPECT_EQ(Effect().GetNumberOfParameters(&count), AAX_SUCCESS);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(host.OutstandingReferences(), 0); // every host object given back
}

TEST_F(EffectParametersTest, EveryPerParameterSlotRefusesAnUnknownIdentifier) {
  ASSERT_EQ(Effect().Initialize(&host), AAX_SUCCESS);
  const char* const unknown = "nope";
  AAX_CBoolean automatable = true;
  int32_t number = 77;
  double value = -5;
  AAX_CString text("untouched");
  AAX_IParameter* parameter = reinterpret_cast<AAX_IParameter*>(0x1);
  EXPECT_EQ(Effect().GetParameterIsAutomatable(unknown, &automatable), -20001);
  EXPECT_FALSE(automatable);
  EXPECT_EQ(Effect().GetParameterNumberOfSteps(unknown, &number), -20001);
  EXPECT_EQ(Effect().GetParameterDefaultNormalizedValue(unknown, &value), -20001);
  EXPECT_EQ(Effect().SetParameterDefaultNormalizedValue(unknown, 0.5), -20001);
  EXPECT_EQ(Effect().GetParameterType(unknown, &number), -20001);
  EXPECT_EQ(Effect().GetParameterHostAttribute(unknown, &number), -20001);
  EXPECT_EQ(Effect().GetParameterValueFromString(unknown, &value, AAX_CString("1")), -20001);
  EXPECT_EQ(Effect().GetParameterStringFromValue(unknown, 0.5, &text, 8), -20001);
  EXPECT_EQ(Effect().GetParameterValueString(unknown, &text, 8), -20001);
  EXPECT_STREQ(text.Get(), "untouched");
  EXPECT_EQ(Effect().GetParameterNormalizedValue(unknown, &value), -20001);
  EXPECT_EQ(Effect().SetParameterNormalizedValue(unknown, 0.5), -20001);
  EXPECT_EQ(Effect().SetParameterNormalizedRelative(unknown, 0.5), -20001);
  EXPECT_EQ(Effect().TouchParameter(unknown), -20001);
  EXPECT_EQ(Effect().ReleaseParameter(unknown), -20001);
  EXPECT_EQ(Effect().UpdateParameterNormalizedValue(unknown, 0.5, 0), -20001);
  EXPECT_EQ(Effect().UpdateParameterNormalizedRelative(unknown, 0.5), -20001);
  EXPECT_EQ(Effect().GetParameter(unknown, &parameter), -20001);
  EXPECT_EQ(parameter, nullptr);
  EXPECT_EQ(Effect().GetParameterIndex(unknown, &number), -20001);
  EXPECT_EQ(number, -1);
  EXPECT_EQ(Effect().GetParameterIDFromIndex(-1, &text), -20001);
  EXPECT_STREQ(text.Get(), "");
  EXPECT_EQ(Effect().GetParameterIDFromIndex(4, &text), -20001);
  // Names answer the empty text instead.
  text = "x";
  EXPECT_EQ(Effect().GetParameterName(unknown, &text), AAX_SUCCESS);
  EXPECT_STREQ(text.Get(), "");
  text = "x";
  EXPECT_EQ(Effect().GetParameterNameOfLength(unknown, &text, 4), AAX_SUCCESS);
  EXPECT_STREQ(text.Get(), "");
  EXPECT_EQ(Effect().GetParameterNameOfLength("0", nullptr, 4), -20002);
  int32_t updates = -1;
  EXPECT_EQ(Effect().GetUpdateCounter(&updates), AAX_SUCCESS);
  EXPECT_EQ(updates, 0);
}

TEST_F(EffectParametersTest, AnswersTheParametersOwnValues) {
  ASSERT_EQ(Effect().Initialize(&host), AAX_SUCCESS);
  AAX_CBoolean automatable = false;
  int32_t number = 0;
  double value = 0;
  AAX_CString text;
  EXPECT_EQ(Effect().GetParameterIsAutomatable("2", &automatable), AAX_SUCCESS);
  EXPECT_FALSE(automatable);
  EXPECT_EQ(Effect().GetParameterNumberOfSteps("0", &number), AAX_SUCCESS);
  EXPECT_EQ(number, 3);
  EXPECT_EQ(Effect().GetParameterType("0", &number), AAX_SUCCESS);
  EXPECT_EQ(number, 0);
  EXPECT_EQ(Effect().GetParameterDefaultNormalizedValue("2", &value), AAX_SUCCESS);
  EXPECT_DOUBLE_EQ(value, 0.3);
  EXPECT_EQ(Effect().GetParameterValueString("2", &text, 16), AAX_SUCCESS);
  EXPECT_STREQ(text.Get(), "30.0dB");
  EXPECT_EQ(Effect().GetParameterStringFromValue("2", 0.5, &text, 16), AAX_SUCCESS);
  EXPECT_STREQ(text.Get(), "50.0 dB");
  EXPECT_EQ(Effect().GetParameterStringFromValue("0", 0.9, &text, 16), AAX_SUCCESS);
  EXPECT_STREQ(text.Get(), "Hard");
  EXPECT_EQ(Effect().GetParameterValueFromString("0", &value, AAX_CString("Soft")), AAX_SUCCESS);
  EXPECT_DOUBLE_EQ(value, 0.0);
  value = -1;
  EXPECT_EQ(Effect().GetParameterValueFromString("0", &value, AAX_CString("Loud")), -20002);
  EXPECT_EQ(value, -1);
  EXPECT_EQ(Effect().GetParameterValueFromString("2", &value, AAX_CString("150")), -20002);
  EXPECT_EQ(Effect().GetParameterStringFromValue("2", 1.5, &text, 16), -20002);

  // Steps: a negative count leaves the out value alone.
  AAX_IParameter* mode = nullptr;
  ASSERT_EQ(Effect().GetParameter("0", &mode), AAX_SUCCESS);
  mode->SetNumberOfSteps(-1);
  number = 42;
  EXPECT_EQ(Effect().GetParameterNumberOfSteps("0", &number), -20033);
  EXPECT_EQ(number, 42);
}

TEST_F(EffectParametersTest, ShortNamesAreTheLongestPieceThatFits) {
  ASSERT_EQ(Effect().Initialize(&host), AAX_SUCCESS);
  const struct {
    int32_t length;
    const char* name;
  } cases[] = {{6, "ABCDEF"}, {9, "ABCDEFGHI"}, {8, "ABCDEF"}, {3, "ABC"}, {2, "AB"}, {0, ""}};
  for (const auto& c : cases) {
    AAX_CString name("previous");
    EXPECT_EQ(Effect().GetParameterNameOfLength("0", &name, c.length), AAX_SUCCESS);
    EXPECT_STREQ(name.Get(), c.name) << c.length;
  }
}

TEST_F(EffectParametersTest, HostConfirmsPostedValuesAndTheCounterGrows) {
  ASSERT_EQ(Effect().Initialize(&host), AAX_SUCCESS);
  host.log.Clear();
  EXPECT_EQ(Effect().SetParameterNormalizedValue("2", 0.9), AAX_SUCCESS);
  EXPECT_DOUBLE_EQ(Normalized("2"), 0.3); // posted only
  EXPECT_EQ(host.log.Take(),
            (Calls{"Automation.PostTouchRequest(2)", "Automation.PostSetValueRequest(2, 0.9)",
                   "Automation.PostReleaseRequest(2)"}));
  host.automation.ConfirmPendingRequests(Effect());
  EXPECT_DOUBLE_EQ(Normalized("2"), 0.9);
  int32_t updates = 0;
  Effect().GetUpdateCounter(&updates);
  EXPECT_EQ(updates, 1);

  EXPECT_EQ(Effect().UpdateParameterNormalizedRelative("2", 0.5), AAX_SUCCESS);
  EXPECT_DOUBLE_EQ(Normalized("2"), 1.0);
  EXPECT_EQ(Effect().UpdateParameterNormalizedRelative("2", -2.0), AAX_SUCCESS);
  EXPECT_DOUBLE_EQ(Normalized("2"), 0.0);
  Effect().GetUpdateCounter(&updates);
  EXPECT_EQ(updates, 3);
  EXPECT_EQ(Effect().TouchParameter("2"), AAX_SUCCESS);
  EXPECT_EQ(Effect().ReleaseParameter("2"), AAX_SUCCESS);
  EXPECT_EQ(Effect().DispatchParameterPackets(), AAX_SUCCESS);
}

TEST_F(EffectParametersTest, RelativeSetsClampIntoTheUnitRange) {
  host.Withhold(IID_AutomationDelegate); // values then apply at once
  ASSERT_EQ(Effect().Initialize(&host), AAX_SUCCESS);
  const struct {
    double start;
    double delta;
    double result;
  } cases[] = {{0.9, 0.5, 1.0}, {0.9, -2.0, 0.0}, {0.25, 0.25, 0.5}};
  for (const auto& c : cases) {
    ASSERT_EQ(Effect().SetParameterNormalizedValue("2", c.start), AAX_SUCCESS);
    EXPECT_EQ(Effect().SetParameterNormalizedRelative("2", c.delta), AAX_SUCCESS);
    EXPECT_DOUBLE_EQ(Normalized("2"), c.result) << c.start << " " << c.delta;
  }
  EXPECT_TRUE(host.log.Matching("Automation").empty());
}

TEST_F(EffectParametersTest, PreviewNotificationSwitchesThePreviewParameterOnly) {
  host.Withhold(IID_AutomationDelegate);
  ASSERT_EQ(Effect().Initialize(&host), AAX_SUCCESS);
  const int32_t on = 1;
  const uint8_t shortData[2] = {1, 1};
  EXPECT_EQ(Effect().NotificationReceived(AAX_FourCC('x', 'x', 'x', 'x'), &on, 4), AAX_SUCCESS);
  EXPECT_EQ(Normalized("PreviewID"), 0.0);
  EXPECT_EQ(Effect().NotificationReceived(AAX_FourCC('A', 'S', 'P', 'v'), shortData, 2),
            AAX_SUCCESS);
  EXPECT_EQ(Normalized("PreviewID"), 0.0);
  EXPECT_EQ(Effect().NotificationReceived(AAX_FourCC('A', 'S', 'P', 'v'), &on, 4), AAX_SUCCESS);
  EXPECT_EQ(Normalized("PreviewID"), 1.0);
}

TEST_F(EffectParametersTest, FixedSlotsAndInterfaces) {
  ASSERT_EQ(Effect().Initialize(&host), AAX_SUCCESS);
  int32_t out = 9;
  EXPECT_EQ(Effect().QueryParameterInfo("0", 1, &out), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(out, 0);
  EXPECT_EQ(Effect().ParameterHook("0", 1), AAX_SUCCESS);
  uint8_t block[6] = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(Effect().ResetFieldData(3, block, 5), AAX_SUCCESS);
  EXPECT_EQ(Bytes(block, block + 6), (Bytes{0, 0, 0, 0, 0, 6}));
  uint32_t written = 9;
  auto& v2 = static_cast<AAX_IACFEffectParameters_V2&>(Effect());
  EXPECT_EQ(v2.EffectHook1(), 0);
  EXPECT_EQ(v2.EffectHook2(0, nullptr, 0), -20009);
  EXPECT_EQ(v2.EffectHook3(0, nullptr, 0, &written), 0);
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(v2.EffectHook4(0, nullptr, 0), 0);
  EXPECT_EQ(v2.EffectHook5(), 0);
  EXPECT_EQ(v2.EffectHook6(nullptr, 0), -20009);
  EXPECT_EQ(v2.EffectHook7(), 0);
  EXPECT_EQ(v2.EffectHook8(), 0);

  void* interface = nullptr;
  ASSERT_EQ(Effect().QueryInterface(IID_EffectParameters_V2, &interface), ACF_OK);
  EXPECT_EQ(interface, &v2);
  static_cast<IACFUnknown*>(interface)->Release();
  EXPECT_EQ(Effect().QueryInterface(IID_EffectGUI, &interface), ACFRESULT(0x80000004u));
  EXPECT_EQ(interface, nullptr);
}

TEST_F(EffectParametersTest, WithoutMasterBypassTheAnswerIsEmpty) {
  TestEffect* plain = new TestEffect(false);
  plain->InternalAddRef();
  ASSERT_EQ(plain->Initialize(&host), AAX_SUCCESS);
  AAX_CString id("x");
  EXPECT_EQ(plain->GetMasterBypassParameter(&id), AAX_SUCCESS);
  EXPECT_STREQ(id.Get(), "");
  plain->InternalRelease();
}

TEST_F(EffectParametersTest, NoExceptionLeavesInitializeAndEffectInitErrorsStopIt) {
  host.Break(IID_Transport); // a successful query without interface throws inside
  EXPECT_EQ(Effect().Initialize(&host), AAX_ERROR_EXCEPTION_CAUGHT);
  EXPECT_EQ(effect->effectInitCalls, 0);

  FakeAAXHost other;
  effect->effectInitResult = AAX_ERROR_NULL_OBJECT;
  EXPECT_EQ(Effect().Initialize(&other), AAX_ERROR_NULL_OBJECT);
  EXPECT_EQ(Effect().Uninitialize(), AAX_SUCCESS);
  EXPECT_EQ(other.OutstandingReferences(), 0);
}

TEST_F(EffectParametersTest, LastReleaseDeletesTheEffect) {
  const int32_t live = CACFUnknown::GetLiveObjectCount();
  ASSERT_EQ(Effect().Initialize(&host), AAX_SUCCESS);
  host.DetachEffect();
  EXPECT_EQ(CACFUnknown::GetLiveObjectCount(), live - 1);
  // The parameters unregistered before the automation proxy went.
  EXPECT_EQ(host.log.Matching("Automation.Unregister").size(), 4u);
}

// The default chunk of the four parameters: the master bypass is left out; the list value is
// an int32, the threshold a double, the preview switch an int32 of 0 or 1.
Bytes ExpectedDefaultChunk(int32_t mode, uint64_t thresholdBits, uint8_t preview) {
  Bytes data = {1, 1, 1, 1, 'l', '_', '0', 0};
  for (int i = 3; i >= 0; --i)
    data.push_back(uint8_t(uint32_t(mode) >> (8 * i)));
  for (char b : {'d', '_', '2', '\0'})
    data.push_back(uint8_t(b));
  for (int i = 7; i >= 0; --i)
    data.push_back(uint8_t(thresholdBits >> (8 * i)));
  for (char c : std::string("l_PreviewID"))
    data.push_back(uint8_t(c));
  data.push_back(0);
  for (uint8_t b : {uint8_t(0), uint8_t(0), uint8_t(0), preview})
    data.push_back(b);
  return data;
}

TEST_F(EffectParametersTest, DefaultChunkStoresEveryParameterButTheMasterBypass) {
  host.Withhold(IID_AutomationDelegate);
  ASSERT_EQ(Effect().Initialize(&host), AAX_SUCCESS);
  int32_t chunks = 0;
  AAX_CTypeID chunkID = 0;
  EXPECT_EQ(Effect().GetNumberOfChunks(&chunks), AAX_SUCCESS);
  EXPECT_EQ(chunks, 1);
  EXPECT_EQ(Effect().GetChunkIDFromIndex(0, &chunkID), AAX_SUCCESS);
  EXPECT_EQ(chunkID, AAX_FourCC('e', 'l', 'c', 'k'));
  EXPECT_EQ(Effect().GetChunkIDFromIndex(1, &chunkID), -20006);
  EXPECT_EQ(chunkID, 0u);

  // GetChunk must follow a GetChunkSize of the same state.
  FakeChunkRecord early(64);
  EXPECT_EQ(Effect().GetChunk(AAX_FourCC('e', 'l', 'c', 'k'), early.Get()), -20008);

  int32_t size = 5;
  EXPECT_EQ(Effect().GetChunkSize(AAX_FourCC('x', 'x', 'x', 'x'), &size), -20007);
  EXPECT_EQ(size, 0);
  ASSERT_EQ(Effect().GetChunkSize(AAX_FourCC('e', 'l', 'c', 'k'), &size), AAX_SUCCESS);
  EXPECT_EQ(size, 40); // marker, "l_0" + 4, "d_2" + 8, "l_PreviewID" + 4
  FakeChunkRecord record{uint32_t(size)};
  record.Get()->fChunkID = AAX_FourCC('e', 'l', 'c', 'k');
  ASSERT_EQ(Effect().GetChunk(AAX_FourCC('e', 'l', 'c', 'k'), record.Get()), AAX_SUCCESS);
  EXPECT_EQ(record.Data(), ExpectedDefaultChunk(1, 0x403E000000000000ull, 0)); // 30.0
  EXPECT_EQ(record.Get()->fVersion, -1);
  EXPECT_STREQ(record.Get()->fName, "Complete Controls State");
  EXPECT_EQ(Effect().GetChunk(AAX_FourCC('x', 'x', 'x', 'x'), record.Get()), -20007);

  AAX_CBoolean equal = false;
  EXPECT_EQ(Effect().CompareActiveChunk(record.Get(), &equal), AAX_SUCCESS);
  EXPECT_TRUE(equal);

  // Change everything, compare, restore.
  Effect().SetParameterNormalizedValue("0", 1.0);
  Effect().SetParameterNormalizedValue("2", 0.5);
  Effect().SetParameterNormalizedValue("PreviewID", 1.0);
  Effect().SetParameterNormalizedValue("MasterBypassID", 1.0);
  EXPECT_EQ(Effect().CompareActiveChunk(record.Get(), &equal), AAX_SUCCESS);
  EXPECT_FALSE(equal);
  ASSERT_EQ(Effect().SetChunk(AAX_FourCC('e', 'l', 'c', 'k'), record.Get()), AAX_SUCCESS);
  EXPECT_DOUBLE_EQ(Normalized("0"), 0.5);
  EXPECT_DOUBLE_EQ(Normalized("2"), 0.3);
  EXPECT_EQ(Normalized("PreviewID"), 0.0);
  EXPECT_EQ(Normalized("MasterBypassID"), 1.0); // not part of the chunk
  EXPECT_EQ(Effect().CompareActiveChunk(record.Get(), &equal), AAX_SUCCESS);
  EXPECT_TRUE(equal);

  FakeChunkRecord foreign = FakeChunkRecord::WithData({}, AAX_FourCC('o', 'v', 'C', 'P'));
  equal = false;
  EXPECT_EQ(Effect().CompareActiveChunk(foreign.Get(), &equal), AAX_SUCCESS);
  EXPECT_TRUE(equal);
  EXPECT_EQ(Effect().SetChunk(AAX_FourCC('o', 'v', 'C', 'P'), foreign.Get()), -20007);
}

TEST_F(EffectParametersTest, ADamagedChunkChangesNothing) {
  host.Withhold(IID_AutomationDelegate);
  ASSERT_EQ(Effect().Initialize(&host), AAX_SUCCESS);
  Bytes data = ExpectedDefaultChunk(2, 0x4049000000000000ull, 1); // 50.0
  data.resize(data.size() - 2);                                   // the last value cut short
  FakeChunkRecord record = FakeChunkRecord::WithData(data, AAX_FourCC('e', 'l', 'c', 'k'));
  EXPECT_EQ(Effect().SetChunk(AAX_FourCC('e', 'l', 'c', 'k'), record.Get()), -333);
  EXPECT_DOUBLE_EQ(Normalized("0"), 0.5);
  EXPECT_DOUBLE_EQ(Normalized("2"), 0.3);
  AAX_CBoolean equal = true;
  EXPECT_EQ(Effect().CompareActiveChunk(record.Get(), &equal), AAX_SUCCESS);
  EXPECT_FALSE(equal);

  // A chunk that stores only some parameters leaves the others as they are.
  const Bytes partial = {1, 1, 1, 1, 'l', '_', '0', 0, 0, 0, 0, 2};
  FakeChunkRecord some = FakeChunkRecord::WithData(partial, AAX_FourCC('e', 'l', 'c', 'k'));
  EXPECT_EQ(Effect().SetChunk(AAX_FourCC('e', 'l', 'c', 'k'), some.Get()), AAX_SUCCESS);
  EXPECT_DOUBLE_EQ(Normalized("0"), 1.0);
  EXPECT_DOUBLE_EQ(Normalized("2"), 0.3);
}

} // namespace

namespace {

// A taper that fails the way the library signals a missing host interface.
class ThrowingTaper : public AAX_ITaperDelegate<double> {
public:
  ThrowingTaper* Clone() const override { return new ThrowingTaper(*this); }
  double GetMaximumValue() const override { return 1.0; }
  double GetMinimumValue() const override { return 0.0; }
  double ConstrainRealValue(double value) const override { return value; }
  double NormalizedToReal(double normalized) const override {
    if (armed)
      throw AAX_ERROR_MISSING_INTERFACE_THROWN;
    return normalized;
  }
  double RealToNormalized(double real) const override {
    if (armed)
      throw AAX_ERROR_MISSING_INTERFACE_THROWN;
    return real;
  }
  static bool armed;
};
bool ThrowingTaper::armed = false;

class EffectWithThrowingTaper : public AAX_CEffectParameters {
public:
  AAX_Result EffectInit() override {
    Parameters().AddParameter(
        new AAX_CParameter<double>("t", AAX_CString("T"), ThrowingTaper(),
                                   AAXWrapperDisplayDelegate<double>(nullptr, 0), true, 0.5));
    return AAX_SUCCESS;
  }
};

TEST(EffectParametersExceptions, NoExceptionReachesTheHost) {
  FakeAAXHost host;
  auto* effect = new EffectWithThrowingTaper;
  effect->InternalAddRef();
  ASSERT_EQ(effect->Initialize(&host), AAX_SUCCESS);
  ThrowingTaper::armed = true;
  double value = 0;
  AAX_CString text;
  EXPECT_EQ(effect->GetParameterNormalizedValue("t", &value), AAX_ERROR_EXCEPTION_CAUGHT);
  EXPECT_EQ(effect->SetParameterNormalizedValue("t", 0.2), AAX_ERROR_EXCEPTION_CAUGHT);
  EXPECT_EQ(effect->SetParameterNormalizedRelative("t", 0.2), AAX_ERROR_EXCEPTION_CAUGHT);
  EXPECT_EQ(effect->UpdateParameterNormalizedValue("t", 0.2, 0), AAX_ERROR_EXCEPTION_CAUGHT);
  EXPECT_EQ(effect->GetParameterDefaultNormalizedValue("t", &value), AAX_ERROR_EXCEPTION_CAUGHT);
  EXPECT_EQ(effect->GetParameterStringFromValue("t", 0.2, &text, 8), AAX_ERROR_EXCEPTION_CAUGHT);
  ThrowingTaper::armed = false;
  effect->InternalRelease();
  EXPECT_EQ(host.OutstandingReferences(), 0);
}

} // namespace
