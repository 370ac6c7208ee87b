#pragma once
// A momentary switch: on while pressed, back to 0 on release.

#include "gui/ISwitchControl.h"

class IContactControl : public ISwitchControl {
public:
  using ISwitchControl::ISwitchControl;

  void OnMouseUp(int x, int y, const IMouseMod& mod) override;
};
