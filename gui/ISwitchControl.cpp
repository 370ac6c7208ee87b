#include "gui/ISwitchControl.h"

#include "gui/IEditor.h"

void ISwitchControl::OnMouseDown(int, int, const IMouseMod& mod) {
  if (mod.A && mDefaultValue >= 0.0) {
    mValue = mDefaultValue;
    if (IEditor* gui = GetGUI())
      gui->ReleaseMouseCapture();
    SetDirty(true);
    return;
  }
  const int n = mBitmap.Frames();
  mValue += n >= 2 ? 1.0 / (n - 1) : 1.0;
  if (mValue > 1.001)
    mValue = 0.0;
  SetDirty(true);
}

void ISwitchControl::OnMouseDblClick(int x, int y, const IMouseMod& mod) {
  OnMouseDown(x, y, mod);
}
