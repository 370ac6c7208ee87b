// The equaliser's editor in its own back end on an off-screen window: the layout at the drawing
// scales, the frames every bitmap control shows at backing scale 1 and 2 (renders left as
// PNG), the meter fed by "GAIN", rebuilds after a scale change, and a knob drag reaching the
// host as one edit gesture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditorRenderSupport.h"
#include "Projects/eq/OrvaneEQController.h"
#include "Projects/eq/OrvaneEQEditorLayout.h"
#include "Projects/eq/OrvaneEQParamIDs.h"
#include "gui/IClampedKnobControl.h"
#include "gui/IVersionControl.h"
#include "gui/StaticBitmapCache.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace editortest;

namespace {

// Control list: background, the 13 knobs in layout order, the meter, the version label.
constexpr int kFirstKnob = 1;
constexpr int kMeterIdx = 14;
constexpr int kVersionIdx = 15;

struct EqEditor : ::testing::Test {
  void SetUp() override {
    controller = new OrvaneEQController();
    controller->initialize(nullptr);
    editor = AttachFolderEditor(controller, ORVANE_EQ_BITMAPS_DIR);
  }
  void TearDown() override {
    controller->terminate();
    controller->release();
    StaticBitmapCache::Shared().Empty();
  }

  // What each bitmap control should show, from its value and the frame rules.
  std::vector<ShownFrame> ExpectedFrames() {
    std::vector<ShownFrame> frames;
    for (int i = kFirstKnob; i < kMeterIdx; ++i) {
      auto* knob = dynamic_cast<IKnobMultiControl*>(editor->GetControl(i));
      const OrvaneEQLayout::Knob& k = OrvaneEQLayout::kKnobs[i - kFirstKnob];
      const int frame = k.lastFrame > 0 ? BandFrame(k.firstFrame, k.lastFrame, knob->GetValue())
                                        : StripFrame(61, knob->GetValue());
      frames.push_back({&knob->GetBitmap(), *knob->GetRECT(), frame});
    }
    auto* meter = dynamic_cast<IMeterControl*>(editor->GetControl(kMeterIdx));
    frames.push_back({&meter->GetBitmap(), *meter->GetRECT(), StripFrame(61, meter->GetValue())});
    return frames;
  }
  OrvaneEQController* controller = nullptr;
  IEditor* editor = nullptr;
};

TEST_F(EqEditor, LayoutPlacesEveryControlAtItsScaledCorner) {
  struct Case {
    double scale;
    int knobBitmapId; // the large knob's resource
  } cases[] = {{1.0, 116}, {1.5, 116}, {2.0, 117}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scale);
    if (c.scale != editor->GetDrawScale()) { // a scale change, as the back end makes it
      editor->SetDrawScale(c.scale);
      editor->Resize(int(920 * c.scale), int(315 * c.scale));
      controller->LayoutGUI();
    }
    ASSERT_EQ(editor->NControls(), 16);
    const int twice = c.scale == 2.0 ? 2 : 1;
    for (int i = kFirstKnob; i < kMeterIdx; ++i) {
      const OrvaneEQLayout::Knob& k = OrvaneEQLayout::kKnobs[i - kFirstKnob];
      IControl* knob = editor->GetControl(i);
      EXPECT_EQ(knob->ParamIdx(), k.param);
      EXPECT_EQ(knob->GetRECT()->L, int(k.x * c.scale));
      EXPECT_EQ(knob->GetRECT()->T, int(k.y * c.scale));
      // Knob sizes: large W = 80, medium W - 4, small W - 16, square frames.
      const int w = (k.size == OrvaneEQLayout::kLarge    ? 80
                     : k.size == OrvaneEQLayout::kMedium ? 76
                                                         : 64) *
                    twice;
      EXPECT_EQ(knob->GetRECT()->W(), w);
      EXPECT_EQ(knob->GetRECT()->H(), w);
      EXPECT_EQ(dynamic_cast<IClampedKnobControl*>(knob) != nullptr, k.lastFrame > 0);
    }
    IControl* meter = editor->GetControl(kMeterIdx);
    EXPECT_EQ(meter->GetRECT()->L, int(750 * c.scale));
    EXPECT_EQ(meter->GetRECT()->T, int(87 * c.scale));
    EXPECT_EQ(meter->ParamIdx(), -1);
    auto* version = dynamic_cast<IVersionControl*>(editor->GetControl(kVersionIdx));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->GetRECT()->L, int(53 * c.scale));
    EXPECT_EQ(version->GetRECT()->B, int(147 * c.scale));
    // The background fills the editor exactly, one row above its top edge.
    EXPECT_EQ(editor->GetControl(0)->GetRECT()->R, 920 * twice);
    EXPECT_EQ(editor->GetControl(0)->GetRECT()->B, 315 * twice - 1);
    ExpectLaidOutApart(editor, {});
  }
}

TEST_F(EqEditor, ControlsShowTheirParametersAfterEveryBuild) {
  // Values set while the editor was being rebuilt must show on the new controls.
  controller->setParamNormalized(kLowShelfGain, 0.8);
  controller->setParamNormalized(kHiPassFreq, 0.3);
  editor->Resize(1840, 630);
  editor->SetDrawScale(2.0);
  controller->LayoutGUI();
  EXPECT_DOUBLE_EQ(editor->GetControl(3)->GetValue(), 0.8);  // LowShelfGain
  EXPECT_DOUBLE_EQ(editor->GetControl(1)->GetValue(), 0.3);  // HiPassFreq
  EXPECT_DOUBLE_EQ(editor->GetControl(13)->GetValue(), 0.5); // Gain at 0 dB
}

TEST_F(EqEditor, MeterFollowsGainMessagesAndRestsWhileBypassed) {
  IPtr<HostMessage> gain = owned(new HostMessage());
  gain->setMessageID("GAIN");
  gain->getAttributes()->setFloat("GAIN", 0.75);
  controller->OnMessage(gain);
  EXPECT_EQ(editor->GetControl(kMeterIdx)->GetValue(), 0.75);

  // Between the deletion of the controls and their rebuild a message touches nothing; the
  // rebuilt meter shows the last reading.
  editor->Resize(1840, 630);
  gain->getAttributes()->setFloat("GAIN", 0.5);
  controller->OnMessage(gain);
  EXPECT_EQ(controller->MeterControl(), nullptr);
  editor->SetDrawScale(2.0);
  controller->LayoutGUI();
  EXPECT_EQ(controller->MeterControl()->GetValue(), 0.5);

  controller->setParamNormalized(0x10000, 1.0); // the host's bypass
  IPtr<HostMessage> other = owned(new HostMessage());
  other->setMessageID("Other");
  controller->OnMessage(other);
  EXPECT_EQ(controller->MeterControl()->GetValue(), 0.0);
}

// Opened on windows of both densities, every bitmap control shows the frame its value picks.
TEST_F(EqEditor, OpenEditorShowsEachControlsFrameAtBothScales) {
  const double values[] = {0.1, 0.9, 0.25, 0.55, 0.0, 1.0, 0.4, 0.66, 0.33, 0.75, 0.5, 0.2, 0.95};
  for (int p = 0; p < kNumOrvaneEQParams; ++p)
    controller->setParamNormalized(p, values[p]);
  IPtr<HostMessage> gain = owned(new HostMessage());
  gain->setMessageID("GAIN");
  gain->getAttributes()->setFloat("GAIN", 0.8);
  controller->OnMessage(gain);

  ExpectShownAtBothScales(
      controller, editor, ORVANE_TEST_OUTPUT, "eq_editor", [this] { return ExpectedFrames(); },
      [] {});
}

// A drag on a knob: one gesture with the values the gearing gives (height x 2 for the whole
// travel, ten times finer with Shift or Control in this build).
TEST_F(EqEditor, DraggingAKnobEditsItsParameterInOneGesture) {
  TurnedClock clock;
  GestureRecorder handler;
  controller->setComponentHandler(&handler);
  OpenEditor open(controller, 1.0);
  ASSERT_EQ(open.attached, kResultOk);
  clock.Frames(2);
  controller->setParamNormalized(kLowShelfGain, 0.5);
  // The knob's centre in window points (origin bottom left).
  const NSPoint at = NSMakePoint(173 + 40, 315 - (56 + 40));
  open.screen->press(at);
  open.screen->drag(NSMakePoint(at.x, at.y + 16));                 // 16 up: 16 / 80 / 2 = 0.1
  open.screen->drag(NSMakePoint(at.x, at.y + 36), NSShiftKeyMask); // 20 up, fine
  open.screen->release(NSMakePoint(at.x, at.y + 36));
  const std::vector<std::string> expected = {"begin 2", "perform 2", "perform 2", "end 2"};
  EXPECT_EQ(handler.log, expected);
  ASSERT_EQ(handler.values.size(), 2u);
  EXPECT_NEAR(handler.values[0], 0.6, 1e-12);
  EXPECT_NEAR(handler.values[1], 0.6125, 1e-12);
  controller->setComponentHandler(nullptr);
}

} // namespace
