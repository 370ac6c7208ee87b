#pragma once
// An on/off area without a picture of its own (the background shows the state).

#include "gui/ISwitchControl.h"

class IInvisibleSwitchControl : public ISwitchControl {
public:
  IInvisibleSwitchControl(IEditorDelegate* controller, const IRECT& rect, int paramIdx);

  void OnMouseDown(int x, int y, const IMouseMod& mod) override;
  bool Draw(IEditor* /*graphics*/) override { return true; }
};
