#include "gui/IClampedKnobControl.h"

#include <cmath>

#include "gui/IEditor.h"

IClampedKnobControl::IClampedKnobControl(IEditorDelegate* controller, int x, int y, int paramIdx,
                                         const IBitmap& bitmap, int firstFrame, int lastFrame,
                                         int direction, double gearing)
    : IKnobMultiControl(controller, x, y, paramIdx, bitmap, direction, gearing),
      mFirstFrame(firstFrame), mLastFrame(lastFrame) {}

int IClampedKnobControl::FrameForValue(double v) const {
  if (std::isnan(v))
    v = 0.0;
  int frame = mFirstFrame + (int)std::trunc((mLastFrame - 1 - mFirstFrame) * v + 0.5) + 1;
  if (frame < mFirstFrame)
    frame = mFirstFrame;
  else if (frame > mLastFrame)
    frame = mLastFrame;
  return frame;
}

bool IClampedKnobControl::Draw(IEditor* graphics) {
  // DrawBitmap keeps a range that runs past the strip to its end frames.
  return graphics->DrawBitmap(&mBitmap, &mRECT, FrameForValue(mValue), &mBlend);
}
