#include "gui/ISwitchFramesControl.h"

#include "gui/IEditor.h"

ISwitchFramesControl::ISwitchFramesControl(IEditorDelegate* controller, int x, int y, int paramIdx,
                                           const IBitmap& bitmap)
    : ISwitchControl(controller, x, y, paramIdx, bitmap) {
  const int n = mBitmap.Frames();
  const int w = mBitmap.FrameW(), h = mBitmap.FrameH();
  for (int i = 0; i < n; ++i)
    mRECTs.push_back(mBitmap.mFramesAreHorizontal ? IRECT(x + i * w, y, x + (i + 1) * w, y + h)
                                                  : IRECT(x, y + i * h, x + w, y + (i + 1) * h));
  mRECT = mTargetRECT = mRECTs.front().Union(mRECTs.back());
}

void ISwitchFramesControl::OnMouseDown(int x, int y, const IMouseMod& mod) {
  if (mod.A && mDefaultValue >= 0.0) {
    mValue = mDefaultValue;
    if (IEditor* gui = GetGUI())
      gui->ReleaseMouseCapture();
    SetDirty(true);
    return;
  }
  const int n = (int)mRECTs.size();
  for (int i = 0; i < n; ++i) {
    if (mRECTs[i].Contains(x, y)) {
      mValue = n >= 2 ? (double)i / (n - 1) : 0.0;
      break;
    }
  }
  SetDirty(true);
}
