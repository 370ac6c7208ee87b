// A whole host session on the library classes: registration with create procedures, an
// instance made and initialised from the recorded description, its editor opened and closed,
// its default chunk saved, compared and restored, and everything given back at the end.
#include "FakeEffectInstance.h"
#include "aax/library/AAX_ACFEntries.h"
#include "aax/library/AAX_CBinaryDisplayDelegate.h"
#include "aax/library/AAX_CBinaryTaperDelegate.h"
#include "aax/library/AAX_CEffectGUI.h"
#include "aax/library/AAX_CEffectParameters.h"
#include "aax/library/AAX_CLinearTaperDelegate.h"
#include "aax/library/AAX_CParameter.h"
#include "aax/library/AAX_CStringDisplayDelegate.h"
#include "aax/library/AAX_VCollection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using aaxhost::FakeAAXHost;
using aaxhost::FakeEffectInstance;

namespace {

class SessionEffect : public AAX_CEffectParameters {
public:
  static IACFUnknown* Create() { return (new SessionEffect)->GetOuter(); }
  AAX_Result EffectInit() override {
    Parameters().AddParameter(new AAX_CParameter<int>(
        "0", AAX_CString("Ratio"), AAX_CLinearTaperDelegate<int, 1>(0, 3),
        AAX_CStringDisplayDelegate<int>({{0, "2:1"}, {1, "4:1"}, {2, "8:1"}, {3, "20:1"}}), true,
        1));
    Parameters().AddParameter(
        new AAX_CParameter<bool>("1", AAX_CString("Auto"), AAX_CBinaryTaperDelegate<bool>(),
                                 AAX_CBinaryDisplayDelegate<bool>("off", "on"), true, false));
    return AAX_SUCCESS;
  }
};

std::vector<std::string> gEditorEvents;

class SessionEditor : public AAX_CEffectGUI {
public:
  static IACFUnknown* Create() { return (new SessionEditor)->GetOuter(); }
  AAX_Result ParameterUpdated(AAX_CParamID id) override {
    double value = -1;
    GetEffectParameters()->GetParameterNormalizedValue(id, &value);
    gEditorEvents.push_back(std::string(id) + "=" + std::to_string(value));
    return AAX_SUCCESS;
  }

protected:
  void CreateViewContents() override { gEditorEvents.push_back("contents"); }
  void CreateViewContainer() override { gEditorEvents.push_back("attached"); }
  void DeleteViewContainer() override { gEditorEvents.push_back("detached"); }
};

AAX_Result DescribeSession(AAX_VCollection& collection) {
  AAX_VEffectDescriptor* effect = collection.NewDescriptor();
  if (!effect)
    return AAX_ERROR_NULL_OBJECT;
  AAX_Result result = effect->AddName("Session");
  result |= effect->AddProcPtr(reinterpret_cast<void*>(&SessionEffect::Create), 0);
  result |= effect->AddProcPtr(reinterpret_cast<void*>(&SessionEditor::Create), 1);
  if (result == AAX_SUCCESS)
    result |= collection.AddEffect("com.test.session", effect);
  return result;
}

TEST(InstanceLifecycle, AHostSessionFromRegistrationToTeardown) {
  const int32_t live = CACFUnknown::GetLiveObjectCount();
  FakeAAXHost host;
  gEditorEvents.clear();
  ASSERT_EQ(AAX_ACFStartup(&host), AAX_SUCCESS);
  IACFUnknown* registered = nullptr;
  ASSERT_EQ(AAX_ACFRegisterPlugin(&host, &registered, DescribeSession), AAX_SUCCESS);
  registered->Release();
  const aaxhost::FakeEffectDescriptor& description =
      *host.factory.Collections()[0]->effects.at(0).second;
  {
    FakeEffectInstance instance(host, description);
    ASSERT_EQ(instance.InitializeResult(), AAX_SUCCESS);
    ASSERT_NE(instance.Parameters(), nullptr);
    EXPECT_EQ(CACFUnknown::GetLiveObjectCount(), live + 1);

    ASSERT_EQ(instance.OpenEditor(), AAX_SUCCESS);
    EXPECT_EQ(gEditorEvents,
              (std::vector<std::string>{"contents", "attached", "0=0.333333", "1=0.000000"}));

    AAX_Result saved = AAX_ERROR_NULL_OBJECT;
    const std::vector<uint8_t> chunk =
        instance.SaveChunk(AAX_CEffectParameters::kDefaultChunkID, &saved);
    ASSERT_EQ(saved, AAX_SUCCESS);
    EXPECT_EQ(chunk, (std::vector<uint8_t>{1, 1, 1,   1,   'l', '_', '0', 0, 0, 0,
                                           0, 1, 'l', '_', '1', 0,   0,   0, 0, 0}));

    // The host edits through its automation and confirms; the chunk no longer matches.
    instance.Parameters()->SetParameterNormalizedValue("0", 1.0);
    instance.Parameters()->SetParameterNormalizedValue("1", 1.0);
    host.automation.ConfirmPendingRequests(*instance.Parameters());
    bool equal = true;
    EXPECT_EQ(instance.CompareChunk(AAX_CEffectParameters::kDefaultChunkID, chunk, &equal),
              AAX_SUCCESS);
    EXPECT_FALSE(equal);

    // Restoring posts the stored values; once confirmed the state matches again.
    EXPECT_EQ(instance.RestoreChunk(AAX_CEffectParameters::kDefaultChunkID, chunk), AAX_SUCCESS);
    host.automation.ConfirmPendingRequests(*instance.Parameters());
    EXPECT_EQ(instance.CompareChunk(AAX_CEffectParameters::kDefaultChunkID, chunk, &equal),
              AAX_SUCCESS);
    EXPECT_TRUE(equal);

    EXPECT_EQ(instance.OpenEditor(), AAX_SUCCESS); // again, while open
    instance.CloseEditor();
    EXPECT_EQ(gEditorEvents.back(), "detached");
  }
  EXPECT_EQ(AAX_ACFShutdown(&host), AAX_SUCCESS);
  EXPECT_EQ(CACFUnknown::GetLiveObjectCount(), live);
  EXPECT_EQ(host.OutstandingReferences(), 0);
  EXPECT_TRUE(host.automation.registered.empty());
}

} // namespace
