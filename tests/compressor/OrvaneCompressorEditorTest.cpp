// The compressor's editor in its own back end (the AAX build of the toolkit) on an off-screen
// window: the layout, the frames every bitmap control shows at backing scale 1 and 2 with the
// host's highlight rule (renders left as PNG), the meters and the threshold needle, rebuilds
// after a scale change, and this build's drag and wheel gearing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditorRenderSupport.h"
#include "Projects/compressor/IOrvaneSwitchControl.h"
#include "Projects/compressor/OrvaneCompressorController.h"
#include "Projects/compressor/OrvaneCompressorEditorLayout.h"
#include "Projects/compressor/OrvaneCompressorParamIDs.h"
#include "gui/IOrvaneKnobControl.h"
#include "gui/IVersionControl.h"
#include "gui/StaticBitmapCache.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace editortest;

namespace {

// Control list: background, the nine parameter controls in layout order, the needle, the
// level meter, the gain-reduction meter, the version label.
constexpr int kNeedleIdx = 10, kLevelIdx = 11, kReductionIdx = 12, kVersionIdx = 13;

struct CompressorEditor : ::testing::Test {
  void SetUp() override {
    controller = new OrvaneCompressorController();
    controller->initialize(nullptr);
    editor = AttachFolderEditor(controller, ORVANE_COMP_BITMAPS_DIR);
  }
  void TearDown() override {
    controller->terminate();
    controller->release();
    StaticBitmapCache::Shared().Empty();
  }

  void SendMeters(double level, double reduction) {
    IPtr<HostMessage> gain = owned(new HostMessage());
    gain->setMessageID("GAIN");
    gain->getAttributes()->setFloat("GAIN", level);
    gain->getAttributes()->setFloat("GAIN_REDUCTION", reduction);
    controller->OnMessage(gain);
  }

  std::vector<ShownFrame> ExpectedFrames() {
    std::vector<ShownFrame> frames;
    for (int i = 1; i < kVersionIdx; ++i) {
      IControl* c = editor->GetControl(i);
      if (c->IsHidden())
        continue;
      if (auto* knob = dynamic_cast<IKnobMultiControl*>(c))
        frames.push_back({&knob->GetBitmap(), *c->GetRECT(), StripFrame(61, c->GetValue())});
      else if (i == kNeedleIdx)
        frames.push_back({&dynamic_cast<IBitmapControl*>(c)->GetBitmap(), *c->GetRECT(),
                          BandFrame(10, 51, c->GetValue())});
      else
        frames.push_back(
            {&dynamic_cast<IBitmapControl*>(c)->GetBitmap(), *c->GetRECT(),
             StripFrame(dynamic_cast<IBitmapControl*>(c)->GetBitmap().Frames(), c->GetValue())});
    }
    return frames;
  }
  OrvaneCompressorController* controller = nullptr;
  IEditor* editor = nullptr;
};

TEST_F(CompressorEditor, LayoutPlacesEveryControlAtItsScaledCorner) {
  for (double scale : {1.0, 1.5, 2.0}) {
    SCOPED_TRACE(scale);
    if (scale != editor->GetDrawScale()) {
      editor->SetDrawScale(scale);
      editor->Resize(int(920 * scale), int(315 * scale));
      controller->LayoutGUI();
    }
    ASSERT_EQ(editor->NControls(), 14);
    const int twice = scale == 2.0 ? 2 : 1;
    for (int i = 1; i <= 9; ++i) {
      const OrvaneCompressorLayout::Placement& p = OrvaneCompressorLayout::kControls[i - 1];
      IControl* c = editor->GetControl(i);
      EXPECT_EQ(c->ParamIdx(), p.param);
      EXPECT_EQ(c->GetRECT()->L, int(p.x * scale));
      EXPECT_EQ(c->GetRECT()->T, int(p.y * scale));
      const bool isSwitch = p.kind == OrvaneCompressorLayout::kCrimsonSwitch ||
                            p.kind == OrvaneCompressorLayout::kYellowSwitch;
      EXPECT_EQ(dynamic_cast<IOrvaneSwitchControl*>(c) != nullptr, isSwitch);
      EXPECT_EQ(dynamic_cast<IOrvaneKnobControl*>(c) != nullptr, !isSwitch);
      // Large knobs 70, the medium one 64 (columns share their centres), buttons 40 x 24.
      const int w = isSwitch ? 40 : p.kind == OrvaneCompressorLayout::kLargeKnobControl ? 70 : 64;
      EXPECT_EQ(c->GetRECT()->W(), w * twice);
    }
    // The needle lies exactly over the level meter.
    EXPECT_EQ(*editor->GetControl(kNeedleIdx)->GetRECT(),
              *editor->GetControl(kLevelIdx)->GetRECT());
    EXPECT_EQ(editor->GetControl(kReductionIdx)->GetRECT()->L, int(626 * scale));
    EXPECT_EQ(editor->GetControl(kReductionIdx)->GetRECT()->T, int(138 * scale));
    EXPECT_NE(dynamic_cast<IVersionControl*>(editor->GetControl(kVersionIdx)), nullptr);
    ExpectLaidOutApart(editor, {{kNeedleIdx, kLevelIdx}});
  }
}

// Rebuilds after a scale change keep what the controls showed: values, readings and the
// needle's state (hidden while the meters tap the output).
TEST_F(CompressorEditor, RebuiltControlsShowValuesMetersAndTheNeedlesState) {
  controller->setParamNormalized(kRatio, 0.6);
  controller->setParamNormalized(kThreshold, 0.25);
  SendMeters(0.7, 0.4);
  EXPECT_DOUBLE_EQ(controller->ThresholdNeedle()->GetValue(), 0.25);
  controller->setParamNormalized(kIOMetering, 1.0);
  EXPECT_TRUE(controller->ThresholdNeedle()->IsHidden());

  editor->SetDrawScale(2.0);
  editor->Resize(1840, 630);
  SendMeters(0.6, 0.3); // controls deleted: only the readings are kept
  EXPECT_EQ(controller->LevelMeter(), nullptr);
  controller->LayoutGUI();
  EXPECT_DOUBLE_EQ(editor->GetControl(3)->GetValue(), 0.6); // Ratio
  EXPECT_EQ(controller->LevelMeter()->GetValue(), 0.6);
  EXPECT_EQ(controller->GainReductionMeter()->GetValue(), 0.3);
  EXPECT_TRUE(controller->ThresholdNeedle()->IsHidden());
  EXPECT_DOUBLE_EQ(controller->ThresholdNeedle()->GetValue(), 0.25);

  controller->setParamNormalized(kIOMetering, 0.0);
  EXPECT_FALSE(controller->ThresholdNeedle()->IsHidden());
  controller->setParamNormalized(0x10000, 1.0); // bypassed: meters at rest
  SendMeters(0.9, 0.2);
  EXPECT_EQ(controller->LevelMeter()->GetValue(), 0.0);
  EXPECT_EQ(controller->GainReductionMeter()->GetValue(), 1.0);
}

// The meter frames: the needle of frames 10 to 51 shows frame 11 at value 0 and 51 at 1; the
// meters of the whole strip 1 and 61.
TEST_F(CompressorEditor, MeterBandsPickTheirFrames) {
  struct Case {
    int first, last;
    double value;
    int frame;
  } cases[] = {{10, 51, 0.0, 11},  {10, 51, 1.0, 51}, {10, 51, 0.5, 31},
               {10, 51, -3.0, 10}, {10, 51, 7.0, 51}, {0, 61, 0.0, 1},
               {0, 61, 1.0, 61},   {0, 61, 0.5, 31},  {4, 5, 0.7, 1}};
  const IBitmap strip = dynamic_cast<IBitmapControl*>(editor->GetControl(kLevelIdx))->GetBitmap();
  for (const Case& c : cases) {
    IMeterControl meter(controller, 0, 0, -1, strip, c.first, c.last);
    EXPECT_EQ(meter.FrameForValue(c.value), c.frame)
        << c.first << ".." << c.last << " at " << c.value;
  }
}

TEST_F(CompressorEditor, OpenEditorShowsEachControlsFrameAtBothScales) {
  const double values[] = {0.3, 0.7, 0.45, 0.1, 0.9, 1.0, 0.35, 0.0, 0.8};
  for (int p = 0; p < kNumOrvaneCompressorParams; ++p)
    controller->setParamNormalized(p, values[p]);
  SendMeters(0.55, 0.85);
  // A highlighted switch and knob show no mark: each shows its frame only.
  controller->SetControlHighlight(kAutoRelease, true, 2);
  controller->SetControlHighlight(kRatio, true, 1);

  ExpectShownAtBothScales(
      controller, editor, ORVANE_TEST_OUTPUT, "compressor_editor",
      [this] { return ExpectedFrames(); },
      // again on the controls rebuilt for the scale
      [this] { controller->SetControlHighlight(kAutoRelease, true, 2); });
}

// This build's gearing: Command (the right-button flag) gives the fine drag, Control alone the
// fine wheel step; Shift changes neither.
TEST_F(CompressorEditor, DragAndWheelGearing) {
  TurnedClock clock;
  GestureRecorder handler;
  controller->setComponentHandler(&handler);
  OpenEditor open(controller, 1.0);
  ASSERT_EQ(open.attached, kResultOk);
  clock.Frames(2);
  controller->setParamNormalized(kAttack, 0.5);
  const NSPoint at = NSMakePoint(173 + 35, 315 - (180 + 35)); // Attack's centre
  struct Step {
    NSEventModifierFlags flags;
    double expected; // value after 14 points up (70 high, gearing 2: 0.1)
  } drags[] = {{0, 0.6}, {NSShiftKeyMask, 0.7}, {NSCommandKeyMask, 0.71}};
  open.screen->press(at);
  double y = at.y;
  for (const Step& s : drags) {
    y += 14;
    open.screen->drag(NSMakePoint(at.x, y), s.flags);
    ASSERT_FALSE(handler.values.empty());
    EXPECT_NEAR(handler.values.back(), s.expected, 1e-12) << s.flags;
  }
  open.screen->release(NSMakePoint(at.x, y));
  EXPECT_EQ(handler.log.front(), "begin 3");
  EXPECT_EQ(handler.log.back(), "end 3");

  struct Wheel {
    NSEventModifierFlags flags;
    double step;
  } wheels[] = {{0, 0.01}, {NSShiftKeyMask, 0.01}, {NSControlKeyMask, 0.001}};
  for (const Wheel& w : wheels) {
    const double before = handler.values.back();
    open.screen->scroll(at, 2.0, w.flags);
    EXPECT_NEAR(handler.values.back() - before, 2 * w.step, 1e-12) << w.flags;
  }
  controller->setComponentHandler(nullptr);
}

} // namespace
