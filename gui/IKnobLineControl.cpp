#include "gui/IKnobLineControl.h"

#include <cmath>

#include "gui/IEditor.h"

IKnobLineControl::IKnobLineControl(IEditorDelegate* controller, const IRECT& rect, int paramIdx,
                                   const IColor& color, double innerRadius, double outerRadius,
                                   double minAngle, double maxAngle, int direction, double gearing,
                                   bool antiAlias)
    : IKnobControl(controller, rect, paramIdx, direction, gearing), mColor(color),
      mMinAngle((float)minAngle), mMaxAngle((float)maxAngle), mInnerRadius((float)innerRadius),
      mOuterRadius(outerRadius == 0.0 ? 0.5f * rect.W() : (float)outerRadius),
      mAntiAlias(antiAlias) {}

bool IKnobLineControl::Draw(IEditor* graphics) {
  const double angle = mMinAngle + mValue * (mMaxAngle - mMinAngle);
  const float cx = 0.5f * (mRECT.L + mRECT.R), cy = 0.5f * (mRECT.T + mRECT.B);
  const float s = (float)std::sin(angle), c = (float)std::cos(angle);
  return graphics->DrawLine(&mColor, cx + mInnerRadius * s, cy - mInnerRadius * c,
                            cx + mOuterRadius * s, cy - mOuterRadius * c, &mBlend, mAntiAlias);
}
