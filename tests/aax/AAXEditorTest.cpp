// The compressor's AAX editor object opened by the test host through create procedure 1 into
// a view container whose native view is an off-screen window: the plug view attaches, sizes
// travel both ways, parameter clicks are offered to the host with its modifier bits, the
// host's highlights mark plain bitmap controls, and opening and closing keep one view and one
// controller reference.
#include <gtest/gtest.h>

#include "EditorRenderSupport.h"
#include "Projects/compressor/OrvaneCompressorController.h"
#include "Projects/compressor/OrvaneCompressorParamIDs.h"
#include "aax/adapter/AAXWrapper_Description.h"
#include "aax/adapter/AAXWrapper_Parameters.h"
#include "aax/adapter/AAX_WrapperGUI.h"
#include "aax/library/AAX_ACFEntries.h"
#include "gui/StaticBitmapCache.h"
#include "public.sdk/source/common/pluginview.h"
#include "tests/hosts/aax/FakeAAXHost.h"
#include "tests/hosts/aax/FakeEffectInstance.h"

using namespace Steinberg;
using namespace editortest;

namespace {

// Records the modifiers of the presses that reach it.
class PressProbe : public IBitmapControl {
public:
  using IBitmapControl::IBitmapControl;
  void OnMouseDown(int, int, const IMouseMod& mod) override { presses.push_back(mod); }
  std::vector<IMouseMod> presses;
};

class AAXEditor : public ::testing::Test {
protected:
  void SetUp() override {
    IACFUnknown* registered = nullptr;
    ASSERT_EQ(AAX_ACFRegisterPlugin(&host, &registered, &AAXWrapper_DescribeEffects), AAX_SUCCESS);
    registered->Release();
    effect = host.factory.Collections()[0]->effects[0].second;
    host.controller.inputStemFormat = host.controller.outputStemFormat = 0x00010002;
    instance = std::make_unique<aaxhost::FakeEffectInstance>(host, *effect);
    ASSERT_EQ(instance->InitializeResult(), AAX_SUCCESS);
    wrapper = dynamic_cast<AAXWrapper_Parameters*>(instance->Parameters());
    ASSERT_NE(wrapper, nullptr);
    controller = dynamic_cast<OrvaneCompressorController*>(wrapper->EditController());
    ASSERT_NE(controller, nullptr);
    editor = AttachFolderEditor(controller, ORVANE_COMP_BITMAPS_DIR);
    window =
        new NSWindow(NSMakeRect(0, 0, 920, 315), std::make_unique<OffscreenWindowBackend>(1.0));
    screen = static_cast<OffscreenWindowBackend*>(window->backend());
    host.viewContainer.nativeView = window->contentView();
  }
  void TearDown() override {
    instance.reset();
    window->close();
    window->release();
    EXPECT_EQ(host.OutstandingReferences(), 0);
    StaticBitmapCache::Shared().Empty();
  }

  AAX_WrapperGUI* Open() {
    EXPECT_EQ(instance->OpenEditor(), AAX_SUCCESS);
    return dynamic_cast<AAX_WrapperGUI*>(instance->Editor());
  }
  // A click at a 1x editor pixel, as the window delivers it.
  void Click(int x, int y) {
    const NSPoint at = NSMakePoint(x + 2, 315 - 3 - y);
    screen->press(at);
    screen->release(at);
  }
  uint32 References() {
    controller->addRef();
    return controller->release();
  }

  aaxhost::FakeAAXHost host;
  aaxhost::FakeEffectDescriptor* effect = nullptr;
  std::unique_ptr<aaxhost::FakeEffectInstance> instance;
  AAXWrapper_Parameters* wrapper = nullptr;
  OrvaneCompressorController* controller = nullptr;
  IEditor* editor = nullptr;
  NSWindow* window = nullptr;
  OffscreenWindowBackend* screen = nullptr;
  TurnedClock clock;
};

TEST_F(AAXEditor, OpensTheViewInTheContainerAndPassesSizes) {
  // Opening pushes every parameter from the host's side to the controller.
  ASSERT_EQ(instance->Parameters()->UpdateParameterNormalizedValue("1", 0.3, 0), AAX_SUCCESS);
  controller->setParamNormalized(1, 0.9);
  AAX_WrapperGUI* gui = Open();
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(1), 0.3);
  ASSERT_NE(gui, nullptr);
  EXPECT_TRUE(editor->WindowIsOpen());
  ASSERT_EQ(window->contentView()->subviews().size(), 1u);
  EXPECT_NE(editor->GetViewContainer(), nullptr);

  AAX_Point size{-1.0f, -1.0f};
  EXPECT_EQ(gui->GetViewSize(&size), AAX_SUCCESS);
  EXPECT_EQ(size.vert, 315.0f);
  EXPECT_EQ(size.horz, 920.0f);

  // The editor shows in one view at a time: no second one while it is open. The resize
  // request names a view of its own.
  EXPECT_EQ(controller->createView("editor"), nullptr);
  IPlugView* view = new CPluginView();
  ViewRect wanted(0, 0, 400, 300);
  EXPECT_EQ(gui->resizeView(view, &wanted), kResultFalse); // 1 whatever happens
  ASSERT_TRUE(host.viewContainer.viewSize.has_value());
  EXPECT_EQ(host.viewContainer.viewSize->vert, 300.0f);
  EXPECT_EQ(host.viewContainer.viewSize->horz, 400.0f);
  view->release();

  // A second open without closing makes no second view.
  EXPECT_EQ(instance->OpenEditor(), AAX_SUCCESS);
  EXPECT_EQ(window->contentView()->subviews().size(), 1u);
}

// A click the host takes: no edit gesture, every control repaints. One it leaves: the usual
// gesture (the host's touch and release).
TEST_F(AAXEditor, ParameterClicksAreOfferedToTheHostFirst) {
  Open();
  clock.Frames(3);
  host.log.Take();
  host.viewContainer.mouseDownAnswer = AAX_SUCCESS;
  Click(173 + 35, 68 + 35); // Ratio
  EXPECT_EQ(host.log.Matching("ViewContainer.HandleParameterMouseDown"),
            std::vector<std::string>{"ViewContainer.HandleParameterMouseDown(2, 0)"});
  EXPECT_TRUE(host.log.Matching("Automation.PostTouchRequest").empty());
  for (int i = 0; i < editor->NControls() - 1; ++i) // the version label keeps its own count
    EXPECT_TRUE(editor->GetControl(i)->IsDirty()) << i;

  host.log.Take();
  host.viewContainer.mouseDownAnswer = AAX_ERROR_UNIMPLEMENTED;
  Click(173 + 35, 68 + 35);
  EXPECT_EQ(host.log.Matching("Automation.PostTouchRequest"),
            std::vector<std::string>{"Automation.PostTouchRequest(2)"});
  EXPECT_EQ(host.log.Matching("Automation.PostReleaseRequest"),
            std::vector<std::string>{"Automation.PostReleaseRequest(2)"});

  // A click on a control without a parameter never reaches the container.
  host.log.Take();
  Click(418 + 20, 92 + 20); // the level meter
  EXPECT_TRUE(host.log.Matching("ViewContainer.HandleParameterMouseDown").empty());
}

TEST_F(AAXEditor, HostModifierBitsAddToTheClick) {
  Open();
  const IBitmap strip = dynamic_cast<IBitmapControl*>(editor->GetControl(6))->GetBitmap();
  auto* probe = new PressProbe(controller, 600, 10, kBlend, strip);
  editor->AttachControl(probe);
  struct Case {
    uint32_t bits;
    bool S, C, A, reaches; // R opens the host's context menu instead
  } cases[] = {{1, true, false, false, true},    {2, false, true, false, true},
               {4, false, false, true, true},    {8, false, false, false, false},
               {16, false, false, false, false}, {7, true, true, true, true}};
  for (const Case& c : cases) {
    probe->presses.clear();
    host.viewContainer.modifiers = c.bits;
    Click(610, 20);
    ASSERT_EQ(probe->presses.size(), c.reaches ? 1u : 0u) << c.bits;
    if (!c.reaches)
      continue;
    const IMouseMod& m = probe->presses[0];
    EXPECT_TRUE(m.L) << c.bits;
    EXPECT_FALSE(m.R) << c.bits;
    EXPECT_EQ(m.S, c.S) << c.bits;
    EXPECT_EQ(m.C, c.C) << c.bits;
    EXPECT_EQ(m.A, c.A) << c.bits;
  }
}

// Plain bitmap controls show the host's mark (a dot near their bottom right corner in the
// highlight colour); knobs and switches do not; unknown identifiers are refused.
TEST_F(AAXEditor, HighlightsMarkPlainBitmapControls) {
  AAX_WrapperGUI* gui = Open();
  const IBitmap strip = dynamic_cast<IBitmapControl*>(editor->GetControl(6))->GetBitmap();
  auto* plain = new IBitmapControl(controller, 600, 10, kMakeUpGain, strip);
  editor->AttachControl(plain);
  clock.Frames(3);
  const IRECT r = *plain->GetRECT();
  const PIX_Pixel before = PIX_GetPixel(editor->GetDrawBitmap(), r.R - 5, r.B - 5);

  EXPECT_EQ(gui->SetControlHighlight("6", 1, 2), AAX_SUCCESS); // green
  clock.Frames(2);
  EXPECT_TRUE(plain->IsHighlighted());
  EXPECT_EQ(PIX_GetPixel(editor->GetDrawBitmap(), r.R - 5, r.B - 5), PIX_MakePixel(0, 255, 0, 255));
  // The knob bound to the same parameter shows its frame only.
  IControl* knob = editor->GetControl(7);
  ASSERT_EQ(knob->ParamIdx(), kMakeUpGain);
  EXPECT_TRUE(knob->IsHighlighted());
  const IRECT k = *knob->GetRECT();
  EXPECT_NE(PIX_GetPixel(editor->GetDrawBitmap(), k.R - 5, k.B - 5), PIX_MakePixel(0, 255, 0, 255));

  EXPECT_EQ(gui->SetControlHighlight("6", 0, 2), AAX_SUCCESS);
  clock.Frames(2);
  EXPECT_EQ(PIX_GetPixel(editor->GetDrawBitmap(), r.R - 5, r.B - 5), before);
  EXPECT_EQ(gui->SetControlHighlight("99", 1, 0), AAX_ERROR_UNKNOWN_PARAMETER);
}

// Closing twice gives the controller's reference back at most once, and the editor forgets
// the container; the object can open again.
TEST_F(AAXEditor, ClosingTwiceReleasesTheControllerOnceAndForgetsTheContainer) {
  const uint32 beforeOpen = References();
  AAX_WrapperGUI* gui = Open();
  const uint32 open = References(); // the editor object's and the plug view's
  gui->SetViewContainer(nullptr);
  EXPECT_FALSE(editor->WindowIsOpen());
  EXPECT_EQ(editor->GetViewContainer(), nullptr);
  const uint32 closed = References();
  EXPECT_EQ(closed, open - 1); // the view's went with the view; the object keeps its own
  EXPECT_GT(closed, beforeOpen);
  gui->SetViewContainer(nullptr);
  EXPECT_EQ(References(), closed);
  EXPECT_EQ(instance->OpenEditor(), AAX_SUCCESS);
  EXPECT_TRUE(editor->WindowIsOpen());
  EXPECT_EQ(References(), open);
  instance->CloseEditor();
  EXPECT_EQ(References(), beforeOpen);
}

} // namespace
