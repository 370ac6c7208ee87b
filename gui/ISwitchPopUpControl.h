#pragma once
// A switch that asks for its value: a click prompts (a menu of the parameter's display texts,
// or a text entry); Alt-click restores the default.

#include "gui/ISwitchControl.h"

class ISwitchPopUpControl : public ISwitchControl {
public:
  ISwitchPopUpControl(IEditorDelegate* controller, int x, int y, int paramIdx,
                      const IBitmap& bitmap);

  void OnMouseDown(int x, int y, const IMouseMod& mod) override;
};
