#include "gui/IKnobMultiControl.h"

#include "gui/IBitmapControl.h"
#include "gui/IEditor.h"

IKnobMultiControl::IKnobMultiControl(IEditorDelegate* controller, int x, int y, int paramIdx,
                                     const IBitmap& bitmap, int direction, double gearing)
    : IKnobControl(controller, IBitmapFrameRect(x, y, bitmap), paramIdx, direction, gearing),
      mBitmap(bitmap) {}

bool IKnobMultiControl::Draw(IEditor* graphics) {
  const int frame = IBitmapFrameForValue(mBitmap.Frames(), mValue);
  [[maybe_unused]] const bool drawn = graphics->DrawBitmap(&mBitmap, &mRECT, frame, &mBlend);
#if ORVANE_AAX_EDITOR
  // The host's highlight mark goes over the frame (knobs that show none override it).
  DrawHighlight(graphics);
  return true;
#else
  return drawn;
#endif
}
