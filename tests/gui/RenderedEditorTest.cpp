// A small editor with the live controls, drawn through the timer road and saved as PNG to look
// at (rendered_editor.png in the test build folder).
#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "gui/IBitmapControl.h"
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

TEST(RenderedEditorTest, ASmallEditorDrawsItsControls) {
  FakeController controller;
  TestEditor editor(&controller, 200, 100);
  editor.CreateDrawBitmaps();
  editor.AttachBackground(7501, "render_bg.png");
  IBitmap knob = editor.LoadIBitmap(7502, "render_knob.png", 61);
  IBitmap vu = editor.LoadIBitmap(7503, "render_vu.png", 61);
  IBitmap button = editor.LoadIBitmap(7504, "render_btn.png", 2);
  auto* low = new IOrvaneKnobControl(&controller, 12, 20, 0, knob);
  auto* high = new IOrvaneKnobControl(&controller, 56, 20, 1, knob);
  auto* onOff = new ISwitchControl(&controller, 104, 28, 2, button);
  auto* meter = new IMeterControl(&controller, 130, 10, -1, vu);
  IText caption(11, COLOR_WHITE, "Arial");
  editor.AttachControl(low);
  editor.AttachControl(high);
  editor.AttachControl(onOff);
  editor.AttachControl(meter);
  editor.AttachControl(new ITextControl(&controller, IRECT(8, 60, 100, 76), caption, "Orvane"));
  auto* version = new IVersionControl(&controller, IRECT(130, 56, 190, 96), caption, 1.2);
  editor.AttachControl(version);

  for (int i = 0; i < controller.NParams(); ++i)
    editor.SetParameterFromPlug(i, controller.GetParam(i)->GetNormalized(), true);
  editor.SetParameterFromPlug(0, 25.0, false);
  editor.SetParameterFromPlug(1, 90.0, false);
  onOff->SetValue(false, 1.0);
  meter->SetValue(false, 0.0);
  meter->SetValue(false, 0.7);
  editor.OnMouseDown(140, 60, LeftButton()); // shows the version
  editor.OnMouseUp(140, 60, LeftButton());

  ASSERT_TRUE(editor.Tick());
  SavePng(editor.GetDrawBitmap(), std::string(ORVANE_TEST_OUTPUT) + "/rendered_editor.png");

  // Each control shows the frame its value picks: compare with the strip's own pixels.
  auto strip = [](const IBitmap& b, int frame, int x, int y) {
    const int row = b.FrameOffset(frame) + y;
    return b.mData->getBits()[row * b.mData->getRowSpan() + x];
  };
  auto at = [&](int x, int y) { return PIX_GetPixel(editor.GetDrawBitmap(), x, y); };
  EXPECT_EQ(at(12 + 16, 20 + 16), strip(knob, 16, 16, 16)); // 0.25 of 61 frames: frame 16
  EXPECT_EQ(at(130 + 30, 10 + 20), strip(vu, 43, 30, 20));  // 0.7: frame 43
  EXPECT_EQ(at(104 + 8, 28 + 8), strip(button, 2, 8, 8));
  // Untouched background shows through, one row up.
  EXPECT_EQ(at(110, 90), PIX_MakePixel(30 + 110 / 4, 36 + 91 / 3, 52 + 201 / 8, 255));
  StaticBitmapCache::Shared().Empty();
}

} // namespace
