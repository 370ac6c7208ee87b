#pragma once
// A knob drawn as a line from an inner to an outer radius about the rectangle's centre, at an
// angle between minAngle and maxAngle (radians clockwise from straight up).

#include "gui/IKnobControl.h"

class IKnobLineControl : public IKnobControl {
public:
  // outerRadius 0 means half the rectangle's width.
  IKnobLineControl(IEditorDelegate* controller, const IRECT& rect, int paramIdx,
                   const IColor& color, double innerRadius = 0.0, double outerRadius = 0.0,
                   double minAngle = -0.75 * 3.14159265358979323846,
                   double maxAngle = 0.75 * 3.14159265358979323846, int direction = kVertical,
                   double gearing = 2.0, bool antiAlias = true);

  bool Draw(IEditor* graphics) override;

protected:
  IColor mColor;
  float mMinAngle, mMaxAngle, mInnerRadius, mOuterRadius;
  bool mAntiAlias;
};
