// The control base: values and defaults, the push to the controller, the value and name
// displays, redraw-again, the mouse and wheel defaults, graying, hits, highlights and the host
// context-menu target.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "GuiTestSupport.h"
#include "gui/ITextControl.h"
#include "raster/PIX_Circle.h"
#include "raster/PIX_Fill.h"
#include "raster/sys/PIX_SysBitmap.h"

using namespace guitest;
using Log = std::vector<std::string>;

namespace {

class ControlTest : public ::testing::Test {
protected:
  void SetUp() override {
    editor.CreateDrawBitmaps();
    control = new ProbeControl(&controller, IRECT(10, 10, 30, 40), 1);
    editor.AttachControl(control);
  }

  FakeController controller;
  TestEditor editor{&controller, 60, 60};
  ProbeControl* control;
};

TEST_F(ControlTest, TheFirstValueBecomesTheDefaultAndChangesNothingElse) {
  // A control no editor has taken yet: no default of its own.
  auto* loose = new ProbeControl(&controller, IRECT(10, 10, 30, 40), 1);
  ProbeControl* control = loose;
  control->SetClean();
  control->SetValue(true, 0.3);
  EXPECT_DOUBLE_EQ(control->GetValue(), 0.3);
  EXPECT_DOUBLE_EQ(control->GetDefaultValue(), 0.3);
  EXPECT_FALSE(control->IsDirty());
  EXPECT_TRUE(controller.log.empty());
  control->SetValue(true, 0.3); // the same again: nothing
  EXPECT_FALSE(control->IsDirty());
  control->SetValue(false, 0.6); // from the plug-in: dirty, no echo
  EXPECT_TRUE(control->IsDirty());
  EXPECT_TRUE(controller.log.empty());
  control->SetValue(false, std::nan("")); // not a value
  EXPECT_DOUBLE_EQ(control->GetValue(), 0.6);
  loose->release();
}

TEST_F(ControlTest, ABoundControlResetsToItsParametersDefaultWhateverItsFirstValue) {
  // Built (or rebuilt at another scale) while the parameter is elsewhere: the host's value
  // arrives first, the reset still goes to the parameter's own default.
  auto param = std::make_unique<IParam>();
  param->InitDouble("Gain", "dB", "", false, 4.0, -16.0, 16.0, 0.1); // default 4 dB: 0.625
  controller.params[1] = std::move(param);
  auto* knob = new ProbeControl(&controller, IRECT(40, 40, 50, 50), 1);
  editor.AttachControl(knob);
  auto* unbound = new ProbeControl(&controller, IRECT(0, 0, 5, 5));
  editor.AttachControl(unbound);
  EXPECT_DOUBLE_EQ(knob->GetDefaultValue(), 0.625);
  EXPECT_DOUBLE_EQ(unbound->GetDefaultValue(), -1.0); // nothing to take one from
  knob->SetValue(false, 0.9);
  controller.log.clear();
  knob->IControl::OnMouseDblClick(45, 45, LeftButton()); // the base reaction
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.625);
  EXPECT_EQ(controller.log, (Log{"set 1"}));
  knob->SetValue(false, 0.9);
  IMouseMod alt;
  alt.A = true;
  knob->OnMouseDown(45, 45, alt);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.625);
}

TEST(TextStyleTest, DefaultsAndFontNamesCutToTheirField) {
  IText text;
  EXPECT_STREQ(text.mFont, "Monaco");
  EXPECT_EQ(text.mSize, 10);
  EXPECT_EQ(text.mColor, COLOR_BLACK);
  EXPECT_EQ(text.mTextEntryBGColor, COLOR_WHITE);
  EXPECT_EQ(text.mAlign, IText::kAlignCenter);
  EXPECT_EQ(text.mCached, nullptr);
  text.SetFont("A font name far longer than the thirty-one characters it may hold");
  EXPECT_EQ(std::string(text.mFont), std::string("A font name far longer than the"));
  text.SetFont(nullptr);
  EXPECT_EQ(std::strlen(text.mFont), 31u);
}

TEST_F(ControlTest, PushSendsTheClampedValue) {
  control->SetDefaultValue(0.0);
  control->SetValue(true, 1.3);
  EXPECT_EQ(controller.log, Log{"set 1"});
  EXPECT_DOUBLE_EQ(controller.lastValue, 1.0);
  control->Clamp(0.2, 0.6);
  control->SetValue(true, 0.1);
  EXPECT_DOUBLE_EQ(controller.lastValue, 0.2);
  ProbeControl unbound(&controller, IRECT(0, 0, 5, 5));
  unbound.SetDefaultValue(0.0);
  unbound.SetValue(true, 0.5);
  EXPECT_EQ(controller.log.size(), 2u);
}

TEST_F(ControlTest, ASetValueStaysDirtyForOneMoreFrame) {
  control->SetDefaultValue(0.0);
  control->SetClean();
  control->SetValue(false, 0.5);
  EXPECT_TRUE(editor.Tick());
  EXPECT_TRUE(editor.Tick());
  EXPECT_FALSE(editor.Tick());
  control->SetDirty(false); // a plain SetDirty: one frame
  EXPECT_TRUE(editor.Tick());
  EXPECT_FALSE(editor.Tick());
}

TEST_F(ControlTest, DisplaysShowTheValueTextWithItsLabelAndTheName) {
  IText style;
  auto* value = new ITextControl(&controller, IRECT(0, 50, 30, 60), style);
  auto* name = new ITextControl(&controller, IRECT(30, 50, 60, 60), style);
  editor.AttachControl(value);
  editor.AttachControl(name);
  control->SetValueDisplayControl(value);
  control->SetNameDisplayControl(name);
  control->SetDefaultValue(0.0);
  control->SetValue(true, 0.25);
  // The controller here leaves the parameter as it is: it shows its own value.
  IParam* p = controller.GetParam(1);
  char display[IParam::kDisplaySize];
  p->GetDisplayForHost(display, true);
  EXPECT_EQ(std::string(value->GetTextString()), std::string(display) + " u");
  EXPECT_STREQ(name->GetTextString(), "P1");

  // An empty label still leaves the blank.
  auto unlabelled = std::make_unique<IParam>();
  unlabelled->InitBool("Switch", false);
  controller.params[1] = std::move(unlabelled);
  control->SetValue(true, 1.0);
  controller.params[1]->GetDisplayForHost(display, true);
  EXPECT_EQ(std::string(value->GetTextString()), std::string(display) + " ");
  EXPECT_STREQ(name->GetTextString(), "Switch");
}

TEST_F(ControlTest, ALongValueDisplayIsCutToItsFirst32Characters) {
  auto* value = new ITextControl(&controller, IRECT(0, 50, 30, 60), IText());
  editor.AttachControl(value);
  control->SetValueDisplayControl(value);
  // Sixty digits before the point: the display writer fills far more than a name's room.
  auto huge = std::make_unique<IParam>();
  huge->InitDouble("Huge", "u", "", false, 0.0, 0.0, 1e60, 0.1);
  huge->Set(9e59);
  controller.params[1] = std::move(huge);
  char display[IParam::kDisplaySize];
  controller.params[1]->GetDisplayForHost(display, true);
  ASSERT_GT(std::strlen(display), 60u);
  control->SetValue(true, 0.5);
  EXPECT_EQ(std::string(value->GetTextString()), std::string(display, 32) + " u");
}

TEST_F(ControlTest, MouseDefaults) {
  IMouseMod alt;
  alt.A = true;
  auto* loose = new ProbeControl(&controller, IRECT(10, 10, 30, 40), 1);
  loose->OnMouseDown(15, 15, alt); // no default: falls through, no R: nothing
  EXPECT_TRUE(controller.log.empty());
  loose->release();
  control->SetDefaultValue(0.2);
  control->SetValue(false, 0.9);
  editor.OnMouseDown(15, 15, alt);
  EXPECT_DOUBLE_EQ(control->GetValue(), 0.2);
  EXPECT_EQ(editor.GetMouseCapture(), -1); // the control released the capture
  control->SetValue(false, 0.9);
  control->IControl::OnMouseDblClick(15, 15, LeftButton()); // the base reaction
  EXPECT_DOUBLE_EQ(control->GetValue(), 0.2);
}

TEST_F(ControlTest, WheelStepsAreFineWithControlOrShift) {
  struct Case {
    bool shift, ctrl;
    int delta;
    double change;
  } cases[] = {{false, false, 3, 0.03},
               {true, false, 3, 0.003},
               {false, true, -2, -0.002},
               {false, false, -1, -0.01}};
  for (const Case& c : cases) {
    control->SetDefaultValue(0.0);
    control->SetValue(false, 0.5);
    IMouseMod mod;
    mod.S = c.shift;
    mod.C = c.ctrl;
    control->OnMouseWheel(15, 15, mod, c.delta);
    EXPECT_NEAR(control->GetValue(), 0.5 + c.change, 1e-12);
  }
  control->SetValue(false, 0.995);
  control->OnMouseWheel(15, 15, IMouseMod(), 5);
  EXPECT_DOUBLE_EQ(control->GetValue(), 1.0);
}

TEST_F(ControlTest, GrayingDimsTheBlendAndTakesTheControlOutOfTheMouse) {
  control->GrayOut(true);
  EXPECT_FLOAT_EQ(control->GetBlend()->mWeight, 0.25f);
  EXPECT_EQ(editor.GetMouseControlIdx(15, 15), -1);
  control->GrayOut(false);
  EXPECT_FLOAT_EQ(control->GetBlend()->mWeight, 1.0f);
  EXPECT_EQ(editor.GetMouseControlIdx(15, 15), 0);
}

TEST_F(ControlTest, HitsUseTheTargetRectangleRightAndBottomOutside) {
  EXPECT_TRUE(control->IsHit(10, 10));
  EXPECT_TRUE(control->IsHit(29, 39));
  EXPECT_FALSE(control->IsHit(30, 20));
  EXPECT_FALSE(control->IsHit(20, 40));
  control->SetTargetArea(IRECT(0, 0, 5, 5));
  EXPECT_FALSE(control->IsHit(15, 15));
  EXPECT_TRUE(control->IsHit(1, 1));
  control->SetTargetArea(IRECT());
  EXPECT_FALSE(control->IsHit(0, 0));
}

TEST_F(ControlTest, HighlightIsASmallDiscInTheChosenColour) {
  const IColor expected[] = {COLOR_RED, COLOR_BLUE, COLOR_GREEN, COLOR_YELLOW};
  for (int i = 0; i < 4; ++i) {
    control->SetHighlight(true, i);
    EXPECT_EQ(*control->GetHighlightColor(), expected[i]);
  }
  control->SetHighlight(true, 7); // unknown: keeps the colour
  EXPECT_EQ(*control->GetHighlightColor(), COLOR_YELLOW);

  PIX_SysBitmap reference(60, 60);
  PIX_Clear(editor.GetDrawBitmap(), 0x808080FF);
  PIX_Clear(&reference, 0x808080FF);
  control->DrawHighlight(&editor);
  PIX_FillCircle(&reference, 25.0f, 35.0f, 2.0f, IColorToPixel(COLOR_YELLOW), 1.0f,
                 PIX_COMBINE_COPY | PIX_COMBINE_SOURCEALPHA, true);
  int drawn = 0, differ = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) {
      const PIX_Pixel p = PIX_GetPixel(editor.GetDrawBitmap(), x, y);
      drawn += p != 0x808080FF;
      differ += p != PIX_GetPixel(&reference, x, y);
    }
  EXPECT_GT(drawn, 4);
  EXPECT_EQ(differ, 0);
  control->SetHighlight(false, 0);
  PIX_Clear(editor.GetDrawBitmap(), 0x808080FF);
  control->DrawHighlight(&editor);
  EXPECT_EQ(PIX_GetPixel(editor.GetDrawBitmap(), 25, 35), 0x808080FFu);
}

class MenuTargetProbe : public ProbeControl {
public:
  using ProbeControl::ProbeControl;
  void OnContextMenuItem(int tag) override { tags.push_back(tag); }
  std::vector<int> tags;
};

TEST_F(ControlTest, AControlIsAHostMenuTarget) {
  MenuTargetProbe target(&controller, IRECT(0, 0, 5, 5));
  void* obj = nullptr;
  ASSERT_EQ(target.queryInterface(Steinberg::Vst::IContextMenuTarget::iid, &obj),
            Steinberg::kResultOk);
  auto* menuTarget = static_cast<Steinberg::Vst::IContextMenuTarget*>(obj);
  EXPECT_EQ(menuTarget->executeMenuItem(4), Steinberg::kResultOk);
  EXPECT_EQ(target.tags, std::vector<int>{4});
  EXPECT_EQ(target.getRefCount(), 2);
  menuTarget->release();
  EXPECT_EQ(target.getRefCount(), 1);
  EXPECT_STREQ(target.isA(), "IControl");
  EXPECT_TRUE(target.isTypeOf("IControl", false));
  EXPECT_FALSE(target.isTypeOf("FObject", false));
  EXPECT_TRUE(target.isTypeOf("FObject", true));
}

TEST_F(ControlTest, AuxiliaryParameters) {
  control->AddAuxParam(2);
  control->AddAuxParam(3);
  EXPECT_EQ(control->AuxParamIdx(3), 1);
  EXPECT_EQ(control->AuxParamIdx(1), -1);
  control->SetClean();
  control->SetAuxParamValueFromPlug(1, 0.7);
  EXPECT_TRUE(control->IsDirty());
  control->SetAuxParamValueFromPlug(9, 0.7); // no such record: nothing
  control->SetAllAuxParamsFromGUI();
  EXPECT_EQ(controller.log, (Log{"set 2", "set 3"}));
  EXPECT_DOUBLE_EQ(controller.lastValue, 0.7);
}

} // namespace
