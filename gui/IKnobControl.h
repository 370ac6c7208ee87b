#pragma once
// A knob turned by dragging: vertical or horizontal travel, geared down (finer with Control or
// Shift). It draws nothing itself: a derived control supplies Draw.

#include "gui/IControl.h"

class IKnobControl : public IControl {
public:
  enum EDirection : int { kVertical = 0, kHorizontal = 1 };

  IKnobControl(IEditorDelegate* controller, const IRECT& rect, int paramIdx,
               int direction = kVertical, double gearing = 2.0);

  void OnMouseDrag(int x, int y, int dX, int dY, const IMouseMod& mod) override;

  int GetDirection() const { return mDirection; }
  double GetGearing() const { return mGearing; }

protected:
  int mDirection;
  double mGearing;
};
