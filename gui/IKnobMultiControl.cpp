#include "gui/IKnobMultiControl.h"

#include "gui/IBitmapControl.h"
#include "gui/IEditor.h"

IKnobMultiControl::IKnobMultiControl(IEditorDelegate* controller, int x, int y, int paramIdx,
                                     const IBitmap& bitmap, int direction, double gearing)
    : IKnobControl(controller, IBitmapFrameRect(x, y, bitmap), paramIdx, direction, gearing),
      mBitmap(bitmap) {}

bool IKnobMultiControl::Draw(IEditor* graphics) {
  return IDrawStripFrame(this, graphics, &mBitmap);
}
