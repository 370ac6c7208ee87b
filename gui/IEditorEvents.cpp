// The editor's routing of mouse, wheel and key events to one control, and the host edit
// gestures they open and close.
#include "gui/IEditor.h"

#include <cstdint>
#include <cstdio>

#include "gui/IControl.h"
#include "gui/IEditorDelegate.h"

bool IEditor::IsBoundToParam(IControl* control) const {
  return control && control->ParamIdx() >= 0 && mController &&
         mController->GetParam(control->ParamIdx());
}

void IEditor::BeginGesture(int paramIdx) {
  if (mController)
    mController->BeginEdit(paramIdx);
}

void IEditor::EndGesture(int paramIdx) {
  if (mController)
    mController->EndEdit(paramIdx);
}

void IEditor::CloseWheelGesture() {
  if (mWheelParam < 0)
    return;
  EndGesture(mWheelParam);
  mWheelParam = -1;
  mWheelFrames = 0;
}

void IEditor::OpenMouseGesture(int paramIdx) {
  // A wheel gesture, or a press whose release never came, would overlap this one.
  CloseWheelGesture();
  CloseMouseGesture();
  BeginGesture(paramIdx);
  mMouseGestureParam = paramIdx;
}

void IEditor::CloseMouseGesture() {
  if (mMouseGestureParam < 0)
    return;
  EndGesture(mMouseGestureParam);
  mMouseGestureParam = -1;
}

void IEditor::EndOpenGestures() {
  CloseWheelGesture();
  CloseMouseGesture();
  mMouseCapture = mMouseX = mMouseY = -1;
}

void IEditor::SetValueAsEdit(IControl* control, double normalized) {
  const int paramIdx = control->ParamIdx();
  const bool bracketed =
      !IsBoundToParam(control) || paramIdx == mMouseGestureParam || paramIdx == mWheelParam;
  if (!bracketed)
    BeginGesture(paramIdx);
  control->SetValue(true, normalized);
  if (!bracketed)
    EndGesture(paramIdx);
}

int IEditor::FindControlAt(int x, int y, bool mouseOver) const {
  for (int i = (int)mControls.size() - 1; i >= 0; --i) {
    IControl* control = mControls[i];
    if (control->IsHidden() || control->GetIgnoreMouse())
      continue;
    if (control->IsGrayed() && !(mouseOver && control->GetMOWhenGrayed()))
      continue;
    if (control->IsHit(x, y))
      return i;
  }
  return -1;
}

int IEditor::GetMouseControlIdx(int x, int y, bool mouseOver) {
  if (mMouseCapture >= 0 && mMouseCapture < (int)mControls.size())
    return mMouseCapture;
  return FindControlAt(x, y, mouseOver);
}

void IEditor::ReleaseMouseCapture() {
  mMouseCapture = mMouseX = mMouseY = -1;
  ShowMouseCursor();
}

void IEditor::NoteParamUnderMouse(int x, int y) {
  const int idx = GetMouseControlIdx(x, y);
  mLastParamUnderMouse = idx > 0 ? mControls[idx]->ParamIdx() : -1;
}

int IEditor::TakeParamUnderMouse() {
  const int idx = mLastParamUnderMouse;
  mLastParamUnderMouse = -1;
  return idx;
}

void IEditor::OnMouseDown(int x, int y, const IMouseMod& windowMod) {
  IMouseMod mod = windowMod;
  ReleaseMouseCapture();
  const int idx = FindControlAt(x, y, false);
  if (idx < 0)
    return;
  IControl* control = mControls[idx];
  mMouseCapture = idx;
  mMouseX = x;
  mMouseY = y;
  const bool bound = IsBoundToParam(control);
  // A click the host takes (automation, its own menus) is the host's: no edit gesture, and
  // every control repaints over whatever the host showed. The control stays captured.
  if (bound && HostTakesParameterClick(control->ParamIdx(), mod)) {
    for (IControl* c : mControls)
      c->SetDirty(false);
    return;
  }
  if (mod.R && bound) {
    ReleaseMouseCapture();
    if (mController)
      mController->PopupHostContextMenu(idx, control->ParamIdx(), x, y);
    return;
  }
  if (bound)
    OpenMouseGesture(control->ParamIdx());
  control->OnMouseDown(x, y, mod);
  // A pop-up menu the press opened released the capture and took the button's release with
  // it: the release will not reach the editor, so the press's gesture ends here.
  if (mMouseCapture < 0)
    CloseMouseGesture();
}

void IEditor::OnMouseUp(int x, int y, const IMouseMod& mod) {
  const int idx = GetMouseControlIdx(x, y);
  mMouseCapture = mMouseX = mMouseY = -1;
  if (idx >= 0)
    mControls[idx]->OnMouseUp(x, y, mod);
  // Only a gesture a press opened is closed: a release after a right click (the host menu)
  // or over another control sends no unmatched end.
  CloseMouseGesture();
}

void IEditor::OnMouseDrag(int x, int y, const IMouseMod& mod) {
  if (mMouseCapture < 0 || mMouseCapture >= (int)mControls.size())
    return;
  if (x == mMouseX && y == mMouseY)
    return;
  const int dX = x - mMouseX, dY = y - mMouseY;
  mMouseX = x;
  mMouseY = y;
  mControls[mMouseCapture]->OnMouseDrag(x, y, dX, dY, mod);
}

bool IEditor::OnMouseDblClick(int x, int y, const IMouseMod& mod) {
  ReleaseMouseCapture();
  const int idx = FindControlAt(x, y, false);
  if (idx < 0)
    return false;
  IControl* control = mControls[idx];
  if (!control->GetDblAsSingleClick()) {
    // No capture, but the control's answer (a reset to its default, a prompt) is an edit of
    // its parameter, so it gets a gesture of its own.
    const bool bound = IsBoundToParam(control);
    if (bound)
      OpenMouseGesture(control->ParamIdx());
    control->OnMouseDblClick(x, y, mod);
    if (bound)
      CloseMouseGesture();
    return false;
  }
  mMouseCapture = idx;
  mMouseX = x;
  mMouseY = y;
  // Taken as a press, it opens the gesture that the following mouse-up closes.
  if (IsBoundToParam(control))
    OpenMouseGesture(control->ParamIdx());
  control->OnMouseDown(x, y, mod);
  return true;
}

bool IEditor::OnMouseOver(int x, int y, const IMouseMod& mod) {
  if (!mHandleMouseOver)
    return false;
  const int idx = GetMouseControlIdx(x, y, true);
  if (idx >= 0) {
    mMouseX = x;
    mMouseY = y;
    mControls[idx]->OnMouseOver(x, y, mod);
    if (mMouseOver >= 0 && mMouseOver < (int)mControls.size() && mMouseOver != idx)
      mControls[mMouseOver]->OnMouseOut();
    mMouseOver = idx;
  }
  return mHandleMouseOver;
}

void IEditor::OnMouseOut() {
  for (IControl* control : mControls)
    control->OnMouseOut();
  mMouseOver = -1;
}

void IEditor::OnMouseWheel(int x, int y, const IMouseMod& mod, int delta) {
  // A sideways scroll, or a touchpad's fraction of a notch, turns nothing: no step, no edit.
  if (delta == 0)
    return;
  const int idx = GetMouseControlIdx(x, y);
  if (idx < 0)
    return;
  IControl* control = mControls[idx];
  // A button holding the control keeps its one gesture open until the release: the step
  // performs into it, and no wheel gesture (whose timeout would end it) opens inside.
  if (IsBoundToParam(control) && control->ParamIdx() != mMouseGestureParam) {
    // Every step closes the previous gesture and opens its own; IsDirty closes the last.
    CloseWheelGesture();
    BeginGesture(control->ParamIdx());
    mWheelFrames = 1;
    mWheelParam = control->ParamIdx();
  }
  control->OnMouseWheel(x, y, mod, delta);
}

bool IEditor::OnKeyDown(int x, int y, int key) {
  int idx = mMouseCapture >= 0 && mMouseCapture < (int)mControls.size() ? mMouseCapture : -1;
  if (idx < 0)
    idx = FindControlAt(x, y, false);
  if (idx > 0)
    return mControls[idx]->OnKeyDown(x, y, key);
  // The background, or nothing: the key catcher's turn.
  return mKeyCatcher ? mKeyCatcher->OnKeyDown(x, y, key) : false;
}
