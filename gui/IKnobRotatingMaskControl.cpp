#include "gui/IKnobRotatingMaskControl.h"

#include "gui/IEditor.h"

IKnobRotatingMaskControl::IKnobRotatingMaskControl(IEditorDelegate* controller, int x, int y,
                                                   int paramIdx, const IBitmap& base,
                                                   const IBitmap& mask, const IBitmap& top,
                                                   double minAngle, double maxAngle, int direction,
                                                   double gearing)
    : IKnobControl(controller, IRECT(x, y, x + base.W, y + base.H), paramIdx, direction, gearing),
      mBase(base), mMask(mask), mTop(top), mMinAngle(minAngle), mMaxAngle(maxAngle) {}

bool IKnobRotatingMaskControl::Draw(IEditor* graphics) {
  const double angle = mMinAngle + mValue * (mMaxAngle - mMinAngle);
  return graphics->DrawRotatedMask(&mBase, &mMask, &mTop, mRECT.L, mRECT.T, angle, &mBlend);
}
