#pragma once
// A meter: a bitmap strip driven by the plug-in; it takes neither clicks nor the wheel. It may
// use only a band of its strip (frames first + 1 to last): a needle drawn over a wider scale
// shows the same angles as the meter beneath it while covering less of the travel.

#include <algorithm>
#include <cmath>

#include "gui/IBitmapControl.h"
#include "gui/IEditor.h"

class IMeterControl : public IBitmapControl {
public:
  // The whole strip: frame 1 at value 0, the last frame at value 1.
  IMeterControl(IEditorDelegate* controller, int x, int y, int paramIdx, const IBitmap& bitmap)
      : IMeterControl(controller, x, y, paramIdx, bitmap, 0, bitmap.Frames()) {}
  // Frames first + 1 (value 0) to last (value 1), counted from 1.
  IMeterControl(IEditorDelegate* controller, int x, int y, int paramIdx, const IBitmap& bitmap,
                int firstFrame, int lastFrame)
      : IBitmapControl(controller, x, y, paramIdx, bitmap), mFirstFrame(firstFrame),
        mLastFrame(lastFrame) {}

  void OnMouseDown(int, int, const IMouseMod&) override {}
  void OnMouseWheel(int, int, const IMouseMod&, int) override {}

  bool Draw(IEditor* graphics) override {
    return graphics->DrawBitmap(&mBitmap, &mRECT, FrameForValue(mValue), &mBlend);
  }

  // The frame shown at value v; a band of fewer than two frames always shows frame 1.
  int FrameForValue(double v) const {
    if (mLastFrame - mFirstFrame < 2)
      return 1;
    if (std::isnan(v))
      v = 0.0;
    const double frame = mFirstFrame + std::trunc((mLastFrame - mFirstFrame - 1) * v + 0.5) + 1;
    return (int)std::clamp(frame, (double)mFirstFrame, (double)mLastFrame);
  }

private:
  int mFirstFrame;
  int mLastFrame;
};
