#pragma once
// The compressor's two-state lamp button: a switch that never shows the host's highlight mark
// (the lamp itself shows the state).

#include "gui/ISwitchControl.h"

class IOrvaneSwitchControl : public ISwitchControl {
public:
  using ISwitchControl::ISwitchControl;

  bool DrawHighlight(IEditor* /*graphics*/) override { return true; }
};
