// The stock controls: panels, pop-up, frame and invisible switches, radio buttons, contacts,
// faders, line, rotating and masked knobs, overlays, captions, links and bitmap text.
#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "gui/IBitmapOverlayControl.h"
#include "gui/IBitmapTextControl.h"
#include "gui/ICaptionControl.h"
#include "gui/IContactControl.h"
#include "gui/IFaderControl.h"
#include "gui/IInvisibleSwitchControl.h"
#include "gui/IKnobLineControl.h"
#include "gui/IKnobRotaterControl.h"
#include "gui/IPanelControl.h"
#include "gui/IRadioButtonsControl.h"
#include "gui/ISwitchFramesControl.h"
#include "gui/ISwitchPopUpControl.h"
#include "gui/IURLControl.h"
#include "gui/StaticBitmapCache.h"
#include "raster/PIX_Fill.h"
#include "raster/sys/PIX_SysBitmap.h"

using namespace guitest;
using Log = std::vector<std::string>;

namespace {

class StockControlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    editor.CreateDrawBitmaps();
    switch2 = editor.LoadIBitmap(7401, "switch2.png", 2);
    strip3 = editor.LoadIBitmap(7402, "strip3.png", 3);
    strip4h = editor.LoadIBitmap(7403, "strip4h.png", 4, true);
    glyphs = editor.LoadIBitmap(7404, "glyphs.png", 64);
    pointer = editor.LoadIBitmap(7405, "pointer.png");
  }
  void TearDown() override { StaticBitmapCache::Shared().Empty(); }

  void Click(int x, int y, IMouseMod mod = LeftButton()) {
    editor.OnMouseDown(x, y, mod);
    editor.OnMouseUp(x, y, mod);
  }
  void DrawAll() {
    IRECT r(0, 0, 120, 100);
    editor.Draw(&r);
  }
  PIX_Pixel At(int x, int y) { return PIX_GetPixel(editor.GetDrawBitmap(), x, y); }

  FakeController controller;
  TestEditor editor{&controller, 120, 100};
  IBitmap switch2, strip3, strip4h, glyphs, pointer;
};

TEST_F(StockControlsTest, APanelBackgroundFillsTheEditorFirst) {
  editor.AttachControl(new IPanelControl(&controller, IRECT(10, 10, 20, 20), COLOR_RED));
  editor.AttachPanelBackground(&COLOR_BLUE);
  ASSERT_EQ(editor.NControls(), 2);
  EXPECT_EQ(*editor.GetControl(0)->GetRECT(), IRECT(0, 0, 120, 100));
  DrawAll();
  EXPECT_EQ(At(0, 99), IColorToPixel(COLOR_BLUE));
  EXPECT_EQ(At(15, 15), IColorToPixel(COLOR_RED));
}

TEST_F(StockControlsTest, FrameSwitchesTakeTheFrameClicked) {
  auto* frames = new ISwitchFramesControl(&controller, 10, 10, 0, strip4h);
  editor.AttachControl(frames);
  EXPECT_EQ(*frames->GetRECT(), IRECT(10, 10, 30, 16));
  Click(26, 12); // the fourth frame
  EXPECT_DOUBLE_EQ(frames->GetValue(), 1.0);
  Click(16, 12);
  EXPECT_DOUBLE_EQ(frames->GetValue(), 1.0 / 3);
  auto* stacked = new ISwitchFramesControl(&controller, 50, 0, 1, strip3);
  editor.AttachControl(stacked);
  EXPECT_EQ(*stacked->GetRECT(), IRECT(50, 0, 58, 90));
  Click(52, 45);
  EXPECT_DOUBLE_EQ(stacked->GetValue(), 0.5);
}

TEST_F(StockControlsTest, PopUpSwitchesRestoreTheDefaultWithAlt) {
  auto* popUp = new ISwitchPopUpControl(&controller, 0, 0, 3, switch2);
  editor.AttachControl(popUp);
  EXPECT_FALSE(popUp->PromptsDisabled());
  popUp->SetValue(false, 0.0); // the default
  popUp->SetValue(false, 1.0);
  IMouseMod alt = LeftButton();
  alt.A = true;
  Click(2, 2, alt);
  EXPECT_EQ(popUp->GetValue(), 0.0);
  EXPECT_EQ(controller.log, (Log{"begin 3", "set 3", "end 3"}));
}

TEST_F(StockControlsTest, InvisibleSwitchesToggleAndDrawNothing) {
  auto* invisible = new IInvisibleSwitchControl(&controller, IRECT(0, 0, 30, 30), 0);
  editor.AttachControl(invisible);
  PIX_Clear(editor.GetDrawBitmap(), 0x11223344);
  Click(5, 5);
  EXPECT_EQ(invisible->GetValue(), 1.0);
  Click(5, 5);
  EXPECT_EQ(invisible->GetValue(), 0.0);
  DrawAll();
  EXPECT_EQ(At(5, 5), 0x11223344u);
}

TEST_F(StockControlsTest, RadioButtonsSpreadEvenlyAndShowOneOn) {
  auto* radio = new IRadioButtonsControl(&controller, IRECT(0, 0, 10, 60), 0, 3, switch2);
  editor.AttachControl(radio);
  const auto& rects = radio->ButtonRects();
  ASSERT_EQ(rects.size(), 3u);
  EXPECT_EQ(rects[0], IRECT(0, 0, 10, 6));
  EXPECT_EQ(rects[1], IRECT(0, 27, 10, 33));
  EXPECT_EQ(rects[2], IRECT(0, 54, 10, 60));
  Click(3, 56);
  EXPECT_DOUBLE_EQ(radio->GetValue(), 1.0);
  Click(3, 29);
  EXPECT_DOUBLE_EQ(radio->GetValue(), 0.5);
  DrawAll();
  // Frame 2 (rows 6-11 of the strip) on the selected button, frame 1 elsewhere.
  EXPECT_EQ(PIX_Green(At(0, 27)), 6);
  EXPECT_EQ(PIX_Green(At(0, 0)), 0);
  EXPECT_EQ(PIX_Green(At(0, 54)), 0);

  auto* reversed = new IRadioButtonsControl(&controller, IRECT(20, 0, 80, 6), 1, 2, switch2,
                                            IRadioButtonsControl::kHorizontal, true);
  EXPECT_EQ(reversed->ButtonRects()[0], IRECT(70, 0, 80, 6));
  delete reversed;
}

TEST_F(StockControlsTest, ContactsSpringBackOnRelease) {
  auto* contact = new IContactControl(&controller, 0, 0, 2, switch2);
  editor.AttachControl(contact);
  editor.OnMouseDown(2, 2, LeftButton());
  EXPECT_EQ(contact->GetValue(), 1.0);
  editor.OnMouseUp(2, 2, LeftButton());
  EXPECT_EQ(contact->GetValue(), 0.0);
  EXPECT_EQ(controller.log, (Log{"begin 2", "set 2", "set 2", "end 2"}));
}

TEST_F(StockControlsTest, FadersFollowThePointer) {
  // A 6-pixel handle on a 66-pixel track: 60 pixels of travel.
  auto* fader = new IFaderControl(&controller, 10, 10, 66, 0, IBitmap(nullptr, 10, 6, 1));
  editor.AttachControl(fader);
  EXPECT_EQ(*fader->GetRECT(), IRECT(10, 10, 20, 76));
  editor.OnMouseDown(15, 13, LeftButton()); // handle centred on the top
  EXPECT_DOUBLE_EQ(fader->GetValue(), 1.0);
  editor.OnMouseDrag(15, 43, LeftButton());
  EXPECT_DOUBLE_EQ(fader->GetValue(), 0.5);
  EXPECT_EQ(fader->GetHandleRECT(0.5), IRECT(10, 40, 20, 46));
  editor.OnMouseDrag(15, 200, LeftButton());
  EXPECT_DOUBLE_EQ(fader->GetValue(), 0.0);
  editor.OnMouseUp(15, 200, LeftButton());

  auto* grip = new IFaderControl(&controller, 40, 0, 50, 1, IBitmap(nullptr, 10, 10, 1),
                                 IFaderControl::kHorizontal, true);
  editor.AttachControl(grip);
  EXPECT_TRUE(grip->IsHit(45, 5)); // the handle at value 0
  EXPECT_FALSE(grip->IsHit(80, 5));
  // A handle as long as its track has nowhere to move.
  auto* stuck = new IFaderControl(&controller, 0, 0, 6, 2, IBitmap(nullptr, 10, 6, 1));
  stuck->SetDefaultValue(0.0);
  stuck->SetValue(false, 0.5);
  stuck->OnMouseDrag(3, 40, 0, 0, LeftButton());
  EXPECT_EQ(stuck->GetValue(), 0.5);
  delete stuck;
}

TEST_F(StockControlsTest, OverlaysTakeOnlyTheirButtonUntilOpened) {
  auto* overlay = new IBitmapOverlayControl(&controller, 0, 0, -1, IBitmap(strip3.mData, 8, 90, 1),
                                            IRECT(0, 0, 4, 4));
  editor.AttachControl(overlay);
  EXPECT_FALSE(overlay->IsHit(6, 50));
  PIX_Clear(editor.GetDrawBitmap(), 0x01020304);
  DrawAll();
  EXPECT_EQ(At(6, 50), 0x01020304u); // closed: draws nothing
  Click(1, 1);
  EXPECT_EQ(overlay->GetValue(), 1.0);
  EXPECT_TRUE(overlay->IsHit(6, 50));
  DrawAll();
  EXPECT_EQ(At(6, 50), PIX_MakePixel(6, 50, 3, 255));
  Click(6, 50);
  EXPECT_EQ(overlay->GetValue(), 0.0);
}

TEST_F(StockControlsTest, CaptionsShowTheParameterAndPrompt) {
  IText style(10, COLOR_BLACK, "Arial");
  auto* caption = new ICaptionControl(&controller, IRECT(0, 0, 80, 20), 1, style, true);
  editor.AttachControl(caption);
  EXPECT_FALSE(caption->PromptsDisabled());
  DrawAll();
  char display[IParam::kDisplaySize];
  controller.GetParam(1)->GetDisplayForHost(display, true);
  EXPECT_EQ(std::string(caption->GetTextString()), std::string(display) + " u");
}

TEST_F(StockControlsTest, LinksFallBackToTheBackupAddress) {
  editor.AttachControl(
      new IURLControl(&controller, IRECT(0, 0, 20, 20), "https://a.example", "https://b.example"));
  Click(5, 5);
  EXPECT_EQ(editor.urls, Log{"https://a.example"});
  editor.openURLResult = false;
  Click(5, 5);
  EXPECT_EQ(editor.urls, (Log{"https://a.example", "https://a.example", "https://b.example"}));
}

TEST_F(StockControlsTest, BitmapTextDrawsOneFramePerCharacterAndCutsWhatDoesNotFit) {
  IText left;
  left.mAlign = IText::kAlignNear;
  auto* text = new IBitmapTextControl(&controller, IRECT(0, 0, 12, 6), glyphs, "AB!!", &left, 4, 6,
                                      1, false, false);
  editor.AttachControl(text);
  PIX_Clear(editor.GetDrawBitmap(), 0);
  DrawAll();
  // Cells of 4 + 1 pixels: "A", "B" fit, the rest is cut. Glyph frames carry their index in B.
  EXPECT_EQ(PIX_Blue(At(0, 0)), 'A' - 32);
  EXPECT_EQ(PIX_Blue(At(5, 0)), 'B' - 32);
  EXPECT_EQ(At(10, 0), 0u);
  text->SetTextFromPlug("AB!!");
  EXPECT_FALSE(editor.Tick());
  text->SetTextFromPlug("C");
  EXPECT_TRUE(editor.Tick());
  EXPECT_EQ(PIX_Blue(At(0, 0)), 'C' - 32);
}

TEST_F(StockControlsTest, DrawnKnobsTurnWithTheValue) {
  auto* line = new IKnobLineControl(&controller, IRECT(0, 0, 40, 40), 0, COLOR_WHITE, 0.0, 0.0,
                                    -M_PI / 2, M_PI / 2, IKnobControl::kVertical, 2.0, false);
  auto* rotater = new IKnobRotaterControl(&controller, 60, 0, 1, pointer);
  editor.AttachControl(line);
  editor.AttachControl(rotater);
  line->SetDefaultValue(0.0);
  line->SetValue(false, 0.0); // pointing left
  PIX_Clear(editor.GetDrawBitmap(), 0);
  DrawAll();
  EXPECT_EQ(At(5, 20), IColorToPixel(COLOR_WHITE));
  EXPECT_EQ(At(35, 20), 0u);
  line->SetValue(false, 1.0); // pointing right
  PIX_Clear(editor.GetDrawBitmap(), 0);
  DrawAll();
  EXPECT_EQ(At(35, 20), IColorToPixel(COLOR_WHITE));
  EXPECT_EQ(*rotater->GetRECT(), IRECT(60, 0, 75, 15));
}

} // namespace
