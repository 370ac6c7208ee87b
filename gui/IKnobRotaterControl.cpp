#include "gui/IKnobRotaterControl.h"

#include "gui/IEditor.h"

IKnobRotaterControl::IKnobRotaterControl(IEditorDelegate* controller, int x, int y, int paramIdx,
                                         const IBitmap& bitmap, double minAngle, double maxAngle,
                                         int direction, double gearing)
    : IKnobControl(controller, IRECT(x, y, x + bitmap.W, y + bitmap.H), paramIdx, direction,
                   gearing),
      mBitmap(bitmap), mMinAngle(minAngle), mMaxAngle(maxAngle) {}

bool IKnobRotaterControl::Draw(IEditor* graphics) {
  const double angle = mMinAngle + mValue * (mMaxAngle - mMinAngle);
  return graphics->DrawRotatedBitmap(&mBitmap, (mRECT.L + mRECT.R) / 2, (mRECT.T + mRECT.B) / 2,
                                     angle, &mBlend);
}
