#include "gui/IInvisibleSwitchControl.h"

#include "gui/IEditor.h"

IInvisibleSwitchControl::IInvisibleSwitchControl(IEditorDelegate* controller, const IRECT& rect,
                                                 int paramIdx)
    : ISwitchControl(controller, rect.L, rect.T, paramIdx, IBitmap()) {
  mRECT = mTargetRECT = rect;
}

void IInvisibleSwitchControl::OnMouseDown(int, int, const IMouseMod& mod) {
  if (mod.A && mDefaultValue >= 0.0) {
    mValue = mDefaultValue;
    if (IEditor* gui = GetGUI())
      gui->ReleaseMouseCapture();
  } else {
    mValue = mValue < 0.5 ? 1.0 : 0.0;
  }
  SetDirty(true);
}
