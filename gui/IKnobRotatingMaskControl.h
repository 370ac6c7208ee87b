#pragma once
// A knob composed of a base bitmap, a mask turned by the value, and a top bitmap over both.

#include "gui/IBitmap.h"
#include "gui/IKnobControl.h"

class IKnobRotatingMaskControl : public IKnobControl {
public:
  IKnobRotatingMaskControl(IEditorDelegate* controller, int x, int y, int paramIdx,
                           const IBitmap& base, const IBitmap& mask, const IBitmap& top,
                           double minAngle = -0.75 * 3.14159265358979323846,
                           double maxAngle = 0.75 * 3.14159265358979323846,
                           int direction = kVertical, double gearing = 2.0);

  bool Draw(IEditor* graphics) override;

protected:
  IBitmap mBase, mMask, mTop;
  double mMinAngle, mMaxAngle;
};
