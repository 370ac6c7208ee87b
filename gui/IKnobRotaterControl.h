#pragma once
// A knob drawn as its bitmap turned about the rectangle's centre.

#include "gui/IBitmap.h"
#include "gui/IKnobControl.h"

class IKnobRotaterControl : public IKnobControl {
public:
  IKnobRotaterControl(IEditorDelegate* controller, int x, int y, int paramIdx,
                      const IBitmap& bitmap, double minAngle = -0.75 * 3.14159265358979323846,
                      double maxAngle = 0.75 * 3.14159265358979323846, int direction = kVertical,
                      double gearing = 2.0);

  bool Draw(IEditor* graphics) override;

protected:
  IBitmap mBitmap;
  double mMinAngle, mMaxAngle;
};
