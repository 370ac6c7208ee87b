// The effect GUI base as the host opens and closes an editor window.
#include "FakeAAXHost.h"
#include "aax/library/AAX_CBinaryDisplayDelegate.h"
#include "aax/library/AAX_CBinaryTaperDelegate.h"
#include "aax/library/AAX_CEffectGUI.h"
#include "aax/library/AAX_CEffectParameters.h"
#include "aax/library/AAX_CParameter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using aaxhost::FakeAAXHost;
using Calls = std::vector<std::string>;

namespace {

class ThreeSwitches : public AAX_CEffectParameters {
public:
  AAX_Result EffectInit() override {
    for (const char* id : {"b", "a", "c"}) {
      Parameters().AddParameter(
          new AAX_CParameter<bool>(id, AAX_CString(id), AAX_CBinaryTaperDelegate<bool>(),
                                   AAX_CBinaryDisplayDelegate<bool>("off", "on"), true, false));
    }
    return AAX_SUCCESS;
  }
};

// Records what the base asks of its subclass, and what the subclass can see then.
class RecordingGUI : public AAX_CEffectGUI {
public:
  explicit RecordingGUI(Calls& events) : mEvents(events) {}
  AAX_Result ParameterUpdated(AAX_CParamID id) override {
    mEvents.push_back(std::string("ParameterUpdated ") + id);
    return AAX_SUCCESS;
  }
  using AAX_CEffectGUI::GetEffectParameters;
  using AAX_CEffectGUI::GetViewContainer;
  using AAX_CEffectGUI::GetViewContainerPtr;

protected:
  void CreateViewContents() override {
    mEvents.push_back(GetEffectParameters() ? "CreateViewContents with parameters"
                                            : "CreateViewContents");
  }
  void CreateViewContainer() override {
    mEvents.push_back(GetViewContainerPtr() ? "CreateViewContainer with view"
                                            : "CreateViewContainer");
  }
  void DeleteViewContainer() override {
    mEvents.push_back(GetViewContainer() ? "DeleteViewContainer with container"
                                         : "DeleteViewContainer");
  }

private:
  Calls& mEvents;
};

class EffectGUITest : public ::testing::Test {
protected:
  void SetUp() override {
    auto* effect = new ThreeSwitches;
    effect->InternalAddRef();
    ASSERT_EQ(effect->Initialize(&host), AAX_SUCCESS);
    host.AttachEffect(effect->GetOuter());
    effect->InternalRelease();
    gui = new RecordingGUI(events);
    gui->AddRef();
  }
  void TearDown() override {
    gui->Release();
    host.Effect()->Uninitialize();
    host.DetachEffect();
    EXPECT_EQ(host.OutstandingReferences(), 0);
  }

  FakeAAXHost host;
  Calls events;
  RecordingGUI* gui = nullptr;
  int nativeView = 0;
};

TEST_F(EffectGUITest, OpeningPushesEveryParameterInIndexOrderAndClosingMayRepeat) {
  ASSERT_EQ(gui->Initialize(&host), AAX_SUCCESS);
  host.viewContainer.nativeView = &nativeView;
  ASSERT_EQ(gui->SetViewContainer(&host.viewContainer), AAX_SUCCESS);
  EXPECT_EQ(gui->GetViewContainerPtr(), &nativeView);
  EXPECT_EQ(gui->SetViewContainer(nullptr), AAX_SUCCESS);
  EXPECT_EQ(gui->SetViewContainer(nullptr), AAX_SUCCESS);
  EXPECT_EQ(gui->GetViewContainerPtr(), nullptr);
  EXPECT_EQ(events, (Calls{"CreateViewContents with parameters", "CreateViewContainer with view",
                           "ParameterUpdated b", "ParameterUpdated a", "ParameterUpdated c",
                           "DeleteViewContainer", "DeleteViewContainer"}));
  EXPECT_EQ(host.viewContainer.References(), 0);
  EXPECT_EQ(gui->Uninitialize(), AAX_SUCCESS);
  EXPECT_EQ(gui->GetEffectParameters(), nullptr);
}

TEST_F(EffectGUITest, WithoutHostItAnswersTheNoHostCodeAndMakesNoContents) {
  EXPECT_EQ(gui->Initialize(nullptr), AAX_ERROR_NO_HOST);
  EXPECT_TRUE(events.empty());
  // Without effect parameters opening the window pushes nothing.
  EXPECT_EQ(gui->SetViewContainer(&host.viewContainer), AAX_SUCCESS);
  EXPECT_EQ(events, (Calls{"CreateViewContainer"}));
  gui->SetViewContainer(nullptr);
}

TEST_F(EffectGUITest, ReplacingAnOpenContainerKeepsTheOldProxyAlive) {
  ASSERT_EQ(gui->Initialize(&host), AAX_SUCCESS);
  aaxhost::FakeViewContainer second(host.log);
  gui->SetViewContainer(&host.viewContainer);
  AAX_VViewContainer* first = gui->GetViewContainer();
  gui->SetViewContainer(&second);
  EXPECT_NE(gui->GetViewContainer(), first);
  // The first proxy still answers (a view made for it may still hold it).
  EXPECT_EQ(first->GetType(), int32_t(AAX_eViewContainer_Type_NSView));
  gui->SetViewContainer(nullptr);
  gui->Release(); // deleting the editor gives both containers back
  gui = new RecordingGUI(events);
  gui->AddRef();
  EXPECT_EQ(second.References(), 0);
  EXPECT_EQ(host.viewContainer.References(), 0);
}

TEST_F(EffectGUITest, FixedAnswersAndInterfaces) {
  EXPECT_EQ(gui->GuiHook1(), 0);
  EXPECT_EQ(gui->GuiHook2(), 0);
  EXPECT_EQ(gui->GuiHook3(), -20003);
  EXPECT_EQ(gui->Draw(nullptr), 0);
  AAX_Point size{5, 6};
  EXPECT_EQ(gui->GetViewSize(&size), 0);
  EXPECT_EQ(size.vert, 5);
  EXPECT_EQ(gui->SetControlHighlight("a", 1, 2), 0);
  void* out = nullptr;
  ASSERT_EQ(gui->QueryInterface(IID_EffectGUI, &out), ACF_OK);
  EXPECT_EQ(out, static_cast<AAX_IACFEffectGUI*>(gui));
  static_cast<IACFUnknown*>(out)->Release();
  EXPECT_EQ(gui->QueryInterface(IID_EffectParameters, &out), ACFRESULT(0x80000004u));
}

} // namespace
