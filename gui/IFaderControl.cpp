#include "gui/IFaderControl.h"

#include "gui/IEditor.h"

namespace {
IRECT FaderRect(int x, int y, int len, const IBitmap& handle, int direction) {
  if (direction == IFaderControl::kVertical)
    return IRECT(x, y, x + handle.FrameW(), y + len);
  return IRECT(x, y, x + len, y + handle.FrameH());
}
} // namespace

IFaderControl::IFaderControl(IEditorDelegate* controller, int x, int y, int len, int paramIdx,
                             const IBitmap& handle, int direction, bool onlyHandle)
    : IControl(controller, FaderRect(x, y, len, handle, direction), paramIdx), mLen(len),
      mHandleHeadroom(direction == kVertical ? handle.FrameH() : handle.FrameW()), mBitmap(handle),
      mDirection(direction), mOnlyHandle(onlyHandle) {}

IRECT IFaderControl::GetHandleRECT(double value) const {
  const int travel = mLen - mHandleHeadroom;
  if (mDirection == kVertical) {
    const int top = mRECT.T + (int)(travel * (1.0 - value));
    return IRECT(mRECT.L, top, mRECT.R, top + mHandleHeadroom);
  }
  const int left = mRECT.L + (int)(travel * value);
  return IRECT(left, mRECT.T, left + mHandleHeadroom, mRECT.B);
}

void IFaderControl::OnMouseDown(int x, int y, const IMouseMod& mod) {
  if (mod.R) {
    PromptUserInput();
    return;
  }
  SnapToMouse(x, y);
}

void IFaderControl::OnMouseDrag(int x, int y, int, int, const IMouseMod&) {
  SnapToMouse(x, y);
}

void IFaderControl::SnapToMouse(int x, int y) {
  const int travel = mLen - mHandleHeadroom;
  if (travel <= 0)
    return; // a handle as long as the track has nowhere to go
  if (mDirection == kVertical)
    mValue = 1.0 - (double)(y - mRECT.T - mHandleHeadroom / 2) / travel;
  else
    mValue = (double)(x - mRECT.L - mHandleHeadroom / 2) / travel;
  SetDirty(true);
}

bool IFaderControl::Draw(IEditor* graphics) {
  IRECT handle = GetHandleRECT(mValue);
  return graphics->DrawBitmap(&mBitmap, &handle, 1, &mBlend);
}

bool IFaderControl::IsHit(int x, int y) {
  if (mOnlyHandle)
    return GetHandleRECT(mValue).Contains(x, y);
  return mTargetRECT.Contains(x, y);
}
