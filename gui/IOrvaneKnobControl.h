#pragma once
// The suite's knob: a bitmap-strip knob that never shows the highlight mark.

#include "gui/IKnobMultiControl.h"

class IOrvaneKnobControl : public IKnobMultiControl {
public:
  using IKnobMultiControl::IKnobMultiControl;

  bool DrawHighlight(IEditor* /*graphics*/) override { return true; }
};
