#include "gui/ISwitchPopUpControl.h"

#include "gui/IEditor.h"

ISwitchPopUpControl::ISwitchPopUpControl(IEditorDelegate* controller, int x, int y, int paramIdx,
                                         const IBitmap& bitmap)
    : ISwitchControl(controller, x, y, paramIdx, bitmap) {
  mDisablePrompt = false;
}

void ISwitchPopUpControl::OnMouseDown(int, int, const IMouseMod& mod) {
  if (mod.A && mDefaultValue >= 0.0) {
    mValue = mDefaultValue;
    if (IEditor* gui = GetGUI())
      gui->ReleaseMouseCapture();
  } else {
    PromptUserInput();
  }
  SetDirty(true);
}
