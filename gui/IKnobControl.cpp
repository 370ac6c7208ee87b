#include "gui/IKnobControl.h"

#include <cmath>

#include "gui/EditorHostRules.h"

IKnobControl::IKnobControl(IEditorDelegate* controller, const IRECT& rect, int paramIdx,
                           int direction, double gearing)
    : IControl(controller, rect, paramIdx), mDirection(direction), mGearing(gearing) {}

void IKnobControl::OnMouseDrag(int, int, int dX, int dY, const IMouseMod& mod) {
  double gearing = mGearing;
  if (EditorHostRules::DragFineStep(mod))
    gearing *= 10.0;
  // Travel over the control's height (up raises the value) or width; a control without
  // extent along its direction, or without gearing, has nothing to turn.
  const int travel = mDirection == kVertical ? mRECT.T - mRECT.B : mRECT.R - mRECT.L;
  const int delta = mDirection == kVertical ? dY : dX;
  if (travel == 0 || gearing == 0.0)
    return;
  const double step = (double)delta / travel / gearing;
  if (!std::isfinite(step))
    return;
  mValue += step;
  SetDirty(true);
}
