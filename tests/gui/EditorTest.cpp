// The editor core: rectangles, dirty tracking and drawing, hit order, capture, the edit
// gestures of clicks, double clicks and the wheel, keys, values from the plug-in, resizing.
#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "gui/IBitmapControl.h"
#include "gui/IKeyCode.h"
#include "raster/PIX_Fill.h"
#include "gui/StaticBitmapCache.h"
#include "raster/sys/PIX_SysBitmap.h"

using namespace guitest;
using Log = std::vector<std::string>;

namespace {

TEST(IRECTTest, UnionMeetsAndContains) {
  const IRECT empty, a(10, 10, 20, 20), b(15, 5, 30, 12);
  EXPECT_TRUE(empty.Empty());
  EXPECT_EQ(empty.Union(a), a);
  EXPECT_EQ(a.Union(empty), a);
  EXPECT_EQ(a.Union(b), IRECT(10, 5, 30, 20));
  // The first operand's right and bottom edges are inside, the second's are not.
  EXPECT_TRUE(IRECT(0, 0, 10, 10).Intersects(IRECT(10, 10, 20, 20)));
  EXPECT_FALSE(IRECT(10, 10, 20, 20).Intersects(IRECT(0, 0, 10, 10)));
  EXPECT_FALSE(a.Intersects(empty));
  EXPECT_FALSE(empty.Intersects(a));
  EXPECT_TRUE(a.Contains(10, 10));
  EXPECT_FALSE(a.Contains(20, 15));
  EXPECT_FALSE(a.Contains(15, 20));
  EXPECT_FALSE(empty.Contains(0, 0));
}

TEST(EditorConstructionTest, FramesPerSecondAtMostZeroBecomes25) {
  FakeController c;
  EXPECT_EQ(TestEditor(&c, 10, 10, 0).FPS(), 25);
  EXPECT_EQ(TestEditor(&c, 10, 10, -3).FPS(), 25);
  EXPECT_EQ(TestEditor(&c, 10, 10, 30).FPS(), 30);
}

class EditorTest : public ::testing::Test {
protected:
  void SetUp() override { editor.CreateDrawBitmaps(); }
  void TearDown() override { StaticBitmapCache::Shared().Empty(); }

  ProbeControl* Add(const IRECT& r, int param = -1) {
    auto* c = new ProbeControl(&controller, r, param);
    editor.AttachControl(c);
    return c;
  }
  // The editor's timer ticks, n times.
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      IRECT r;
      editor.IsDirty(&r);
    }
  }
  void CleanAll() {
    IRECT r(0, 0, 100, 100);
    editor.Draw(&r);
  }

  FakeController controller;
  TestEditor editor{&controller, 100, 80};
  const IMouseMod left = LeftButton();
};

TEST_F(EditorTest, DirtyRectUnitesDirtyControlsHiddenOnesIncluded) {
  ProbeControl* a = Add(IRECT(10, 10, 20, 20));
  ProbeControl* b = Add(IRECT(30, 5, 40, 15));
  ProbeControl* zero = Add(IRECT());
  CleanAll();
  IRECT r;
  EXPECT_FALSE(editor.IsDirty(&r));
  EXPECT_TRUE(r.Empty());

  zero->SetDirty(false);
  EXPECT_TRUE(editor.IsDirty(&r));
  EXPECT_TRUE(r.Empty()); // counts, but adds no area

  a->SetDirty(false);
  b->Hide(true);
  r = IRECT();
  EXPECT_TRUE(editor.IsDirty(&r));
  EXPECT_EQ(r, IRECT(10, 5, 40, 20));
  a->draws = b->draws = 0;
  editor.Draw(&r);
  EXPECT_EQ(a->draws, 1);
  EXPECT_EQ(b->draws, 0);    // hidden: not drawn, but set clean with the others, apart from
  EXPECT_TRUE(b->IsDirty()); // the one frame more that Hide asks for
  editor.Draw(&r);
  EXPECT_FALSE(b->IsDirty());
  EXPECT_EQ(editor.screenRects.back(), r);
}

TEST_F(EditorTest, DrawDrawsOnlyControlsThatMeetTheRectangle) {
  ProbeControl* inside = Add(IRECT(10, 10, 20, 20));
  ProbeControl* touching = Add(IRECT(20, 20, 30, 30)); // its left/top on the rect's right/bottom
  ProbeControl* beyond = Add(IRECT(21, 21, 30, 30));
  IRECT r(0, 0, 20, 20);
  editor.Draw(&r);
  EXPECT_EQ(inside->draws, 1);
  EXPECT_EQ(touching->draws, 1);
  EXPECT_EQ(beyond->draws, 0);
  EXPECT_FALSE(beyond->IsDirty()); // every control is set clean
  EXPECT_EQ(editor.GetDrawRECT(), r);
}

TEST_F(EditorTest, NonStrictDrawingRedrawsAroundEachDirtyControl) {
  ProbeControl* background = Add(IRECT(0, 0, 100, 80));
  ProbeControl* a = Add(IRECT(10, 10, 20, 20));
  ProbeControl* b = Add(IRECT(15, 15, 25, 25));
  ProbeControl* far = Add(IRECT(60, 60, 70, 70));
  editor.SetStrictDrawing(false);
  IRECT r(0, 0, 100, 80);
  editor.Draw(&r); // background dirty: everything
  EXPECT_EQ(background->draws + a->draws + b->draws + far->draws, 4);
  a->SetDirty(false);
  editor.Draw(&r);
  EXPECT_EQ(background->draws, 2); // meets a's rectangle
  EXPECT_EQ(a->draws, 2);
  EXPECT_EQ(b->draws, 2);
  EXPECT_EQ(far->draws, 1);
  EXPECT_FALSE(a->IsDirty());
}

TEST_F(EditorTest, LaterControlsAreHitFirstUnlessHiddenGrayedOrIgnoringTheMouse) {
  ProbeControl* below = Add(IRECT(0, 0, 50, 50));
  ProbeControl* above = Add(IRECT(10, 10, 40, 40));
  EXPECT_EQ(editor.GetMouseControlIdx(20, 20), 1);
  above->GrayOut(true);
  EXPECT_EQ(editor.GetMouseControlIdx(20, 20), 0);
  above->SetMOWhenGrayed(true);
  EXPECT_EQ(editor.GetMouseControlIdx(20, 20, true), 1); // mouse-over only
  EXPECT_EQ(editor.GetMouseControlIdx(20, 20), 0);
  above->GrayOut(false);
  above->Hide(true);
  EXPECT_EQ(editor.GetMouseControlIdx(20, 20), 0);
  above->Hide(false);
  above->SetIgnoreMouse(true);
  editor.OnMouseDown(20, 20, left);
  EXPECT_TRUE(above->events.empty());
  EXPECT_EQ(below->events, Log{"down"});
  EXPECT_EQ(editor.GetMouseControlIdx(60, 60), 0); // captured
  editor.OnMouseUp(60, 60, left);
  EXPECT_EQ(editor.GetMouseControlIdx(60, 60), -1);
}

TEST_F(EditorTest, AClickOnABoundControlIsOneEditGesture) {
  ProbeControl* knob = Add(IRECT(10, 10, 30, 30), 2);
  editor.OnMouseDown(15, 15, left);
  EXPECT_EQ(editor.GetMouseCapture(), 0);
  knob->SetValue(true, 0.5);      // the parameter's default is the control's: this is an edit
  editor.OnMouseUp(50, 50, left); // released outside: still the captured control
  EXPECT_EQ(controller.log, (Log{"begin 2", "set 2", "end 2"}));
  EXPECT_EQ(knob->events, (Log{"down", "up"}));
  EXPECT_EQ(editor.GetMouseCapture(), -1);
}

TEST_F(EditorTest, ARightClickOnABoundControlOpensTheHostMenuInstead) {
  ProbeControl* bound = Add(IRECT(10, 10, 30, 30), 1);
  ProbeControl* plain = Add(IRECT(40, 10, 60, 30));
  IMouseMod right;
  right.R = true;
  editor.OnMouseDown(12, 14, right);
  EXPECT_EQ(controller.log, Log{"menu 0 1 12 14"});
  EXPECT_TRUE(bound->events.empty());
  EXPECT_EQ(editor.GetMouseCapture(), -1);
  editor.OnMouseDown(45, 14, right);
  EXPECT_EQ(plain->events, Log{"down"});
  EXPECT_TRUE(plain->lastMod.R);
  EXPECT_EQ(controller.log.size(), 1u);
}

// A release closes the gesture its press opened and no other: none after the host menu's right
// click, the pressed parameter's after an Alt-click that let go of the capture and a release
// over another control, and a press whose release never came is closed by the next press.
TEST_F(EditorTest, EveryEndMatchesABegin) {
  ProbeControl* p = Add(IRECT(0, 0, 20, 20), 1);
  Add(IRECT(30, 0, 50, 20), 2);
  IMouseMod right;
  right.R = true;
  editor.OnMouseDown(5, 5, right);
  editor.OnMouseUp(5, 5, right);
  EXPECT_TRUE(controller.Gestures().empty());

  IMouseMod alt = left;
  alt.A = true;
  p->SetDefaultValue(0.0);
  editor.OnMouseDown(5, 5, alt); // back to the default; the control lets go of the capture
  EXPECT_EQ(editor.GetMouseCapture(), -1);
  editor.OnMouseUp(35, 5, alt);
  EXPECT_EQ(controller.Gestures(), (Log{"begin 1", "end 1"}));

  controller.log.clear();
  editor.OnMouseDown(5, 5, left);
  editor.OnMouseDown(35, 5, left); // the first release was lost
  editor.OnMouseUp(35, 5, left);
  editor.OnMouseUp(35, 5, left); // a stray release
  EXPECT_EQ(controller.Gestures(), (Log{"begin 1", "end 1", "begin 2", "end 2"}));

  // The controls go with a resize; the held gesture still ends on release.
  controller.log.clear();
  editor.OnMouseDown(5, 5, left);
  editor.Resize(100, 80);
  editor.OnMouseUp(5, 5, left);
  EXPECT_EQ(controller.Gestures(), (Log{"begin 1", "end 1"}));
}

TEST_F(EditorTest, AControlBoundToAMissingParameterMakesNoGesture) {
  ProbeControl* stray = Add(IRECT(0, 0, 20, 20), 9); // the controller has 4 parameters
  editor.OnMouseDown(5, 5, left);
  stray->SetDefaultValue(0.0);
  stray->SetValue(true, 0.7);
  editor.OnMouseUp(5, 5, left);
  editor.OnMouseWheel(5, 5, left, 2);
  Ticks(30);
  IMouseMod right;
  right.R = true;
  editor.OnMouseDown(5, 5, right);
  EXPECT_TRUE(controller.log.empty());
  EXPECT_EQ(stray->events, (Log{"down", "up", "wheel", "down"}));
}

TEST_F(EditorTest, DragsReportTheMovementSinceTheLastPosition) {
  ProbeControl* knob = Add(IRECT(0, 0, 50, 50), 0);
  editor.OnMouseDrag(10, 10, left); // nothing captured
  editor.OnMouseDown(10, 10, left);
  editor.OnMouseDrag(10, 10, left); // same place: nothing
  editor.OnMouseDrag(13, 6, left);
  editor.OnMouseDrag(13, 4, left);
  EXPECT_EQ(knob->events, (Log{"down", "drag 3 -4", "drag 0 -2"}));
}

TEST_F(EditorTest, DoubleClicks) {
  ProbeControl* plain = Add(IRECT(0, 0, 20, 20), 0);
  ProbeControl* press = Add(IRECT(30, 0, 50, 20), 1);
  press->SetDblAsSingleClick(true);
  EXPECT_FALSE(editor.OnMouseDblClick(5, 5, left));
  EXPECT_EQ(plain->events, Log{"dbl"});
  EXPECT_EQ(editor.GetMouseCapture(), -1);
  // Not a press, but what the control does with it (a reset, a prompt) is an edit: it gets a
  // gesture of its own.
  EXPECT_EQ(controller.Gestures(), (Log{"begin 0", "end 0"}));
  EXPECT_FALSE(editor.OnMouseDblClick(90, 70, left)); // nothing there

  // Taken as a press: captured, and the gesture it opens is the one mouse-up closes.
  EXPECT_TRUE(editor.OnMouseDblClick(35, 5, left));
  EXPECT_EQ(editor.GetMouseCapture(), 1);
  editor.OnMouseUp(35, 5, left);
  EXPECT_EQ(press->events, (Log{"down", "up"}));
  EXPECT_EQ(controller.Gestures(), (Log{"begin 0", "end 0", "begin 1", "end 1"}));
}

TEST_F(EditorTest, WheelStepsEachOpenAGestureAndTheLastClosesASecondLater) {
  Add(IRECT(0, 0, 20, 20), 3);
  Add(IRECT(30, 0, 50, 20), 1);
  for (int step = 0; step < 3; ++step) {
    editor.OnMouseWheel(5, 5, left, 1);
    Ticks(10);
  }
  EXPECT_EQ(controller.Gestures(), (Log{"begin 3", "end 3", "begin 3", "end 3", "begin 3"}));
  Ticks(14); // 24 ticks after the last step: still open
  EXPECT_EQ(editor.GetWheelGestureParam(), 3);
  Ticks(1);
  EXPECT_EQ(editor.GetWheelGestureParam(), -1);
  EXPECT_EQ(controller.Gestures().back(), "end 3");
  Ticks(50);
  EXPECT_EQ(controller.Gestures().size(), 6u);

  controller.log.clear();
  editor.OnMouseWheel(5, 5, left, 1);
  editor.OnMouseWheel(35, 5, left, -1); // another parameter while 3 is open
  EXPECT_EQ(controller.Gestures(), (Log{"begin 3", "end 3", "begin 1"}));
}

TEST_F(EditorTest, TheWheelGestureFollowsTheFrameRate) {
  FakeController c;
  TestEditor slow(&c, 20, 20, 10);
  slow.AttachControl(new ProbeControl(&c, IRECT(0, 0, 20, 20), 0));
  slow.OnMouseWheel(5, 5, left, 1);
  IRECT r;
  for (int i = 0; i < 9; ++i)
    slow.IsDirty(&r);
  EXPECT_EQ(c.Gestures(), Log{"begin 0"});
  slow.IsDirty(&r);
  EXPECT_EQ(c.Gestures(), (Log{"begin 0", "end 0"}));
}

TEST_F(EditorTest, AClickClosesAnOpenWheelGestureBeforeOpeningItsOwn) {
  Add(IRECT(0, 0, 20, 20), 2);
  editor.OnMouseWheel(5, 5, left, 1);
  editor.OnMouseDown(5, 5, left);
  editor.OnMouseUp(5, 5, left);
  Ticks(40);
  EXPECT_EQ(controller.Gestures(), (Log{"begin 2", "end 2", "begin 2", "end 2"}));
}

TEST_F(EditorTest, KeysGoToTheControlHitOrTheKeyCatcher) {
  ProbeControl* background = Add(IRECT(0, 0, 100, 80));
  ProbeControl* knob = Add(IRECT(10, 10, 30, 30), 0);
  EXPECT_FALSE(editor.OnKeyDown(50, 50, KEY_SPACE)); // background, no catcher
  EXPECT_TRUE(editor.OnKeyDown(15, 15, KEY_UPARROW));
  EXPECT_EQ(knob->events, Log{"key 1"});
  auto* catcher = new ProbeControl(&controller, IRECT());
  editor.SetKeyCatcher(catcher); // owned by the editor from here
  EXPECT_TRUE(editor.OnKeyDown(50, 50, KEY_ALPHA_A));
  EXPECT_EQ(catcher->events, Log{"key 15"});
  editor.OnMouseDown(50, 50, left); // the background captured: still the catcher
  EXPECT_TRUE(editor.OnKeyDown(15, 15, KEY_DIGIT_0));
  EXPECT_EQ(catcher->events, (Log{"key 15", "key 5"}));
  EXPECT_EQ(background->events, Log{"down"}); // the click only
}

TEST_F(EditorTest, ValuesFromThePlugInReachBoundAndAuxiliaryControlsWithoutEcho) {
  ProbeControl* a = Add(IRECT(0, 0, 10, 10), 1);
  ProbeControl* b = Add(IRECT(10, 0, 20, 10), 1);
  ProbeControl* aux = Add(IRECT(20, 0, 30, 10), 0);
  aux->AddAuxParam(1);
  a->SetDefaultValue(0.0);
  b->SetDefaultValue(0.0);
  editor.SetParameterFromPlug(1, 25.0, false); // plain: normalised by the parameter
  EXPECT_DOUBLE_EQ(a->GetValue(), 0.25);
  EXPECT_DOUBLE_EQ(b->GetValue(), 0.25);
  EXPECT_DOUBLE_EQ(aux->GetAuxParam(0)->mValue, 0.25);
  EXPECT_DOUBLE_EQ(aux->GetValue(), 0.0);
  editor.SetParameterFromPlug(1, 0.5, true);
  EXPECT_DOUBLE_EQ(a->GetValue(), 0.5);
  editor.SetParameterFromPlug(7, 3.0, false); // no such parameter: nothing
  EXPECT_TRUE(controller.log.empty());
  editor.PushParameterValue(1, 0.75);
  EXPECT_EQ(controller.log, (Log{"set 1", "set 1"}));
}

TEST_F(EditorTest, ControlsFoundByParameter) {
  ProbeControl* a = Add(IRECT(0, 0, 10, 10), 1);
  ProbeControl* other = Add(IRECT(10, 0, 20, 10), 2);
  editor.HideControl(1, true);
  EXPECT_TRUE(a->IsHidden());
  editor.GrayOutControl(1, true);
  EXPECT_TRUE(a->IsGrayed());
  editor.ClampControl(1, 20.0, 40.0, false);
  a->SetDefaultValue(0.0);
  a->SetValue(false, 0.9);
  EXPECT_DOUBLE_EQ(a->GetValue(), 0.4);
  editor.SetControlHighlight(1, true, 1);
  EXPECT_TRUE(a->IsHighlighted());
  EXPECT_EQ(*a->GetHighlightColor(), COLOR_BLUE);
  EXPECT_FALSE(other->IsHidden() || other->IsGrayed() || other->IsHighlighted());
}

TEST_F(EditorTest, MouseOverOnlyWhenHandled) {
  ProbeControl* a = Add(IRECT(0, 0, 10, 10));
  ProbeControl* b = Add(IRECT(20, 0, 30, 10));
  EXPECT_FALSE(editor.OnMouseOver(5, 5, left));
  EXPECT_TRUE(a->events.empty());
  editor.HandleMouseOver(true);
  EXPECT_TRUE(editor.OnMouseOver(5, 5, left));
  EXPECT_TRUE(editor.OnMouseOver(25, 5, left));
  EXPECT_EQ(a->events, (Log{"over", "out"}));
  EXPECT_EQ(editor.GetMouseOver(), 1);
  editor.OnMouseOut();
  EXPECT_EQ(b->events, (Log{"over", "out"}));
  EXPECT_EQ(editor.GetMouseOver(), -1);
}

TEST_F(EditorTest, ParameterUnderTheMouse) {
  Add(IRECT(0, 0, 100, 80), 3); // the background never counts
  Add(IRECT(10, 10, 20, 20), 2);
  editor.NoteParamUnderMouse(15, 15);
  EXPECT_EQ(editor.TakeParamUnderMouse(), 2);
  EXPECT_EQ(editor.TakeParamUnderMouse(), -1);
  editor.NoteParamUnderMouse(50, 50);
  EXPECT_EQ(editor.TakeParamUnderMouse(), -1);
}

TEST_F(EditorTest, TheBackgroundGoesFirstOnePixelAboveTheTop) {
  ProbeControl* knob = Add(IRECT(10, 10, 20, 20), 0);
  editor.AttachBackground(102, "background.png");
  ASSERT_EQ(editor.NControls(), 2);
  EXPECT_EQ(editor.GetControl(1), knob);
  IControl* background = editor.GetControl(0);
  EXPECT_EQ(*background->GetRECT(), IRECT(0, -1, 64, 47));
  EXPECT_EQ(background->ParamIdx(), -1);
  EXPECT_EQ(background->GetBlend()->mMethod, IChannelBlend::kBlendClobber);
  IRECT r(0, 0, 100, 80);
  editor.Draw(&r);
  // Row 0 of the editor shows row 1 of the picture (R = 4x, G = 5y).
  EXPECT_EQ(PIX_GetPixel(editor.GetDrawBitmap(), 3, 0), PIX_MakePixel(12, 5, 100, 255));
}

TEST_F(EditorTest, ResizeDropsTheControlsAndRemakesTheBitmaps) {
  Add(IRECT(0, 0, 10, 10), 0);
  editor.OnMouseDown(5, 5, left);
  const int shown = editor.cursorShown;
  editor.Resize(200, 160);
  EXPECT_EQ(editor.NControls(), 0);
  EXPECT_EQ(editor.GetMouseCapture(), -1);
  EXPECT_GT(editor.cursorShown, shown);
  EXPECT_EQ(editor.GetDrawBitmap()->getWidth(), 200);
  EXPECT_EQ(editor.GetDrawBitmap()->getHeight(), 160);
  IRECT r(0, 0, 10, 10);
  EXPECT_TRUE(editor.Draw(&r)); // no controls: nothing, success
}

} // namespace
