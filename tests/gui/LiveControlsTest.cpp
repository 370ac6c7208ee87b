// The live controls: the frame chosen from a strip by value, clamped knobs, switches, knob
// dragging, meters, text and the version label.
#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "gui/IBitmapControl.h"
#include "gui/IClampedKnobControl.h"
#include "gui/IKnobMultiControl.h"
#include "gui/IMeterControl.h"
#include "gui/IOrvaneKnobControl.h"
#include "gui/ISwitchControl.h"
#include "gui/ITextControl.h"
#include "gui/IVersionControl.h"
#include "gui/StaticBitmapCache.h"
#include "raster/PIX_Fill.h"
#include "raster/sys/PIX_SysBitmap.h"

using namespace guitest;

namespace {

TEST(FrameChoiceTest, NearestOfTheEvenlySpacedFramesEndsHeld) {
  // (frames, value, frame): trunc((N - 1) v + 0.5) + 1, within 1..N, worked by hand.
  struct Case {
    int n;
    double v;
    int frame;
  } cases[] = {{1, 0.7, 1},     {0, 0.5, 1},      {61, 0.0, 1},     {61, 0.5, 31},
               {61, 1.0, 61},   {61, -0.3, 1},    {61, 1.4, 61},    {61, 0.0083, 1},
               {61, 0.0084, 2}, {61, 0.9916, 60}, {61, 0.9917, 61}, {2, 0.49, 1},
               {2, 0.5, 2},     {3, 0.25, 2},     {3, 0.24, 1},     {3, 0.75, 3}};
  for (const Case& c : cases)
    EXPECT_EQ(IBitmapFrameForValue(c.n, c.v), c.frame) << c.n << " frames at " << c.v;
}

class LiveControlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    editor.CreateDrawBitmaps();
    knob61 = editor.LoadIBitmap(7201, "knob61.png", 61);
    switch2 = editor.LoadIBitmap(7202, "switch2.png", 2);
    strip3 = editor.LoadIBitmap(7203, "strip3.png", 3);
  }
  void TearDown() override { StaticBitmapCache::Shared().Empty(); }

  // The frame a control shows: the source row of its top-left pixel over the frame height.
  int ShownFrame(IControl* control, int frameHeight) {
    PIX_Clear(editor.GetDrawBitmap(), 0);
    IRECT r(0, 0, 100, 100);
    editor.Draw(&r);
    const PIX_Pixel p =
        PIX_GetPixel(editor.GetDrawBitmap(), control->GetRECT()->L, control->GetRECT()->T);
    return PIX_Green(p) / frameHeight + 1;
  }

  FakeController controller;
  TestEditor editor{&controller, 100, 100};
  IBitmap knob61, switch2, strip3;
  const IMouseMod left = LeftButton();
};

TEST_F(LiveControlsTest, BitmapControlsCoverOneFrameAndDrawTheChosenOne) {
  auto* knob = new IOrvaneKnobControl(&controller, 20, 30, 0, knob61);
  editor.AttachControl(knob);
  EXPECT_EQ(*knob->GetRECT(), IRECT(20, 30, 26, 34));
  const double values[] = {0.0, 0.5, 1.0, 0.25};
  const int frames[] = {1, 31, 61, 16};
  for (int i = 0; i < 4; ++i) {
    knob->SetDefaultValue(0.0);
    knob->SetValue(false, values[i]);
    EXPECT_EQ(ShownFrame(knob, 4), frames[i]) << values[i];
  }
  auto* plain = new IBitmapControl(&controller, 50, 0, -1, strip3);
  editor.AttachControl(plain);
  EXPECT_EQ(*plain->GetRECT(), IRECT(50, 0, 58, 30));
  plain->SetDefaultValue(0.0);
  plain->SetValue(false, 0.6);
  EXPECT_EQ(ShownFrame(plain, 30), 2);
}

TEST_F(LiveControlsTest, ClampedKnobsShowOnlyTheirFrames) {
  auto* knob = new IClampedKnobControl(&controller, 0, 0, 0, knob61, 16, 43);
  editor.AttachControl(knob);
  EXPECT_EQ(knob->FrameForValue(0.0), 17);
  EXPECT_EQ(knob->FrameForValue(1.0), 43);
  EXPECT_EQ(knob->FrameForValue(0.5), 16 + 13 + 1);
  EXPECT_EQ(knob->FrameForValue(-1.0), 16);
  EXPECT_EQ(knob->FrameForValue(2.0), 43);
  knob->SetDefaultValue(0.0);
  knob->SetValue(false, 1.0);
  EXPECT_EQ(ShownFrame(knob, 4), 43);

  // A range that runs past the strip shows its end frame, not pixels beyond it.
  auto* wide = new IClampedKnobControl(&controller, 40, 0, 1, knob61, 50, 80);
  editor.AttachControl(wide);
  wide->SetDefaultValue(0.0);
  wide->SetValue(false, 1.0);
  EXPECT_EQ(ShownFrame(wide, 4), 61);
}

TEST_F(LiveControlsTest, SwitchesStepThroughTheirFramesAndWrap) {
  auto* two = new ISwitchControl(&controller, 0, 0, 0, switch2);
  auto* three = new ISwitchControl(&controller, 20, 0, 1, strip3);
  editor.AttachControl(two);
  editor.AttachControl(three);
  std::vector<double> seen2, seen3;
  for (int i = 0; i < 3; ++i) {
    editor.OnMouseDown(2, 2, left);
    editor.OnMouseUp(2, 2, left);
    seen2.push_back(two->GetValue());
  }
  for (int i = 0; i < 4; ++i) {
    editor.OnMouseDown(22, 2, left);
    editor.OnMouseUp(22, 2, left);
    seen3.push_back(three->GetValue());
  }
  EXPECT_EQ(seen2, (std::vector<double>{1.0, 0.0, 1.0}));
  EXPECT_EQ(seen3, (std::vector<double>{0.5, 1.0, 0.0, 0.5}));
  EXPECT_EQ(controller.Gestures().size(), 14u); // each click bracketed
  two->OnMouseDblClick(2, 2, left);             // a second press
  EXPECT_EQ(two->GetValue(), 0.0);

  IMouseMod alt = left;
  alt.A = true;
  two->SetDefaultValue(1.0);
  editor.OnMouseDown(2, 2, alt);
  EXPECT_EQ(two->GetValue(), 1.0);
  EXPECT_EQ(editor.GetMouseCapture(), -1);
}

TEST_F(LiveControlsTest, KnobDragsOverTwiceTheHeightSweepTheRange) {
  auto* knob = new IOrvaneKnobControl(&controller, 0, 0, 0, IBitmap(nullptr, 40, 40 * 61, 61));
  editor.AttachControl(knob);
  ASSERT_EQ(knob->GetRECT()->H(), 40);
  knob->SetDefaultValue(0.0);
  knob->SetValue(false, 0.5);
  editor.OnMouseDown(10, 20, left);
  editor.OnMouseDrag(10, 12, left); // up 8 pixels
  EXPECT_NEAR(knob->GetValue(), 0.6, 1e-12);
  IMouseMod shift = left;
  shift.S = true;
  editor.OnMouseDrag(10, 4, shift);
  EXPECT_NEAR(knob->GetValue(), 0.61, 1e-12);
  editor.OnMouseDrag(10, 200, left); // far down: held at 0
  EXPECT_EQ(knob->GetValue(), 0.0);
  editor.OnMouseUp(10, 200, left);

  auto* sideways = new IKnobMultiControl(&controller, 50, 50, 1, IBitmap(nullptr, 20, 40, 1),
                                         IKnobControl::kHorizontal, 1.0);
  editor.AttachControl(sideways);
  sideways->SetDefaultValue(0.0);
  sideways->SetValue(false, 0.2);
  sideways->OnMouseDrag(0, 0, 5, 30, left);
  EXPECT_NEAR(sideways->GetValue(), 0.45, 1e-12);

  // No height to turn over: the value stays a number.
  auto* flat = new IOrvaneKnobControl(&controller, 0, 90, 2, IBitmap(nullptr, 10, 0, 61));
  flat->SetDefaultValue(0.0);
  flat->SetValue(false, 0.3);
  flat->OnMouseDrag(0, 0, 0, -5, left);
  EXPECT_EQ(flat->GetValue(), 0.3);
  delete flat;
}

TEST_F(LiveControlsTest, MetersIgnoreClicksAndTheWheel) {
  auto* meter = new IMeterControl(&controller, 0, 0, -1, knob61);
  editor.AttachControl(meter);
  meter->SetValue(false, 0.0);
  meter->SetValue(false, 0.4);
  editor.OnMouseDown(2, 2, left);
  editor.OnMouseWheel(2, 2, left, 5);
  IMouseMod alt = left;
  alt.A = true;
  editor.OnMouseDown(2, 2, alt);
  EXPECT_EQ(meter->GetValue(), 0.4);
  EXPECT_TRUE(controller.log.empty());
  EXPECT_EQ(ShownFrame(meter, 4), 25);
}

TEST_F(LiveControlsTest, TextControlsDrawTheirText) {
  IText style(12, COLOR_BLACK, "Arial");
  auto* label = new ITextControl(&controller, IRECT(0, 0, 100, 30), style, "Gain");
  editor.AttachControl(label);
  auto inked = [&] {
    int n = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 100; ++x)
        n += PIX_GetPixel(editor.GetDrawBitmap(), x, y) != 0xFFFFFFFF;
    return n;
  };
  PIX_Clear(editor.GetDrawBitmap(), 0xFFFFFFFF);
  IRECT r(0, 0, 100, 30);
  editor.Draw(&r);
  EXPECT_GT(inked(), 10);
  label->SetTextFromPlug("");
  EXPECT_TRUE(label->IsDirty());
  PIX_Clear(editor.GetDrawBitmap(), 0xFFFFFFFF);
  editor.Draw(&r);
  EXPECT_EQ(inked(), 0);
}

TEST_F(LiveControlsTest, TheVersionShowsFor29FramesAfterAClickOutsideItsStrip) {
  IText style(12, COLOR_BLACK, "Arial");
  auto* version = new IVersionControl(&controller, IRECT(53, 53, 100, 147), style, 1.0);
  editor.AttachControl(version);
  EXPECT_EQ(version->GetStripRECT(), IRECT(53, 135, 100, 147));
  EXPECT_STREQ(version->GetTextString(), "v1.1");
  EXPECT_FALSE(editor.Tick());       // not dirty before the first click
  editor.OnMouseDown(60, 140, left); // inside the strip: nothing
  EXPECT_FALSE(editor.Tick());

  editor.OnMouseDown(60, 60, left);
  EXPECT_EQ(version->GetFrameCounter(), 30);
  int frames = 0, shown = 0;
  while (editor.Tick()) {
    ++frames;
    shown += version->GetFrameCounter() >= 1;
  }
  EXPECT_EQ(frames, 30);
  EXPECT_EQ(shown, 29);
  EXPECT_TRUE(controller.log.empty());
}

TEST_F(LiveControlsTest, TheVersionTextIsDrawnInItsStrip) {
  FakeController c;
  TestEditor tall(&c, 120, 160);
  tall.CreateDrawBitmaps();
  IText style(12, COLOR_BLACK, "Arial");
  auto* version = new IVersionControl(&c, IRECT(53, 53, 100, 147), style, 1.0);
  tall.AttachControl(version);
  PIX_Clear(tall.GetDrawBitmap(), 0xFFFFFFFF);
  tall.OnMouseDown(60, 60, left);
  ASSERT_TRUE(tall.Tick());
  int inStrip = 0, above = 0;
  for (int y = 0; y < 147; ++y)
    for (int x = 0; x < 120; ++x)
      if (PIX_GetPixel(tall.GetDrawBitmap(), x, y) != 0xFFFFFFFF)
        (y >= 135 && x >= 53 && x < 100 ? inStrip : above)++;
  EXPECT_GT(inStrip, 10);
  EXPECT_EQ(above, 0);
}

TEST_F(LiveControlsTest, StripsWithoutPixelsDrawNothing) {
  auto* none = new IBitmapControl(&controller, 0, 0, -1, IBitmap());
  editor.AttachControl(none);
  EXPECT_EQ(*none->GetRECT(), IRECT(0, 0, 0, 0));
  IRECT r(0, 0, 100, 100);
  PIX_Clear(editor.GetDrawBitmap(), 0x12345678);
  EXPECT_TRUE(editor.Draw(&r));
  EXPECT_EQ(PIX_GetPixel(editor.GetDrawBitmap(), 0, 0), 0x12345678u);
}

} // namespace
