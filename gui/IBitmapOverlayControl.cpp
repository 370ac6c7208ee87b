#include "gui/IBitmapOverlayControl.h"

IBitmapOverlayControl::IBitmapOverlayControl(IEditorDelegate* controller, int x, int y,
                                             int paramIdx, const IBitmap& bitmap,
                                             const IRECT& buttonRect)
    : ISwitchControl(controller, x, y, paramIdx, bitmap), mButtonRECT(buttonRect) {}

bool IBitmapOverlayControl::Draw(IEditor* graphics) {
  if (mValue < 0.5)
    return true;
  return ISwitchControl::Draw(graphics);
}

bool IBitmapOverlayControl::IsHit(int x, int y) {
  if (mValue < 0.5)
    return mButtonRECT.Contains(x, y);
  return mRECT.Contains(x, y);
}
