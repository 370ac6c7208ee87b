#pragma once
// A bitmap-strip knob that shows only frames first to last of its strip.

#include "gui/IKnobMultiControl.h"

class IClampedKnobControl : public IKnobMultiControl {
public:
  IClampedKnobControl(IEditorDelegate* controller, int x, int y, int paramIdx,
                      const IBitmap& bitmap, int firstFrame, int lastFrame,
                      int direction = kVertical, double gearing = 2.0);

  bool Draw(IEditor* graphics) override;
  bool DrawHighlight(IEditor* /*graphics*/) override { return true; }

  // The frame shown at value v.
  int FrameForValue(double v) const;

protected:
  int mFirstFrame;
  int mLastFrame;
};
