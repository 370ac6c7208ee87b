#include "gui/IRadioButtonsControl.h"

#include <cmath>

#include "gui/IEditor.h"

IRadioButtonsControl::IRadioButtonsControl(IEditorDelegate* controller, const IRECT& rect,
                                           int paramIdx, int nButtons, const IBitmap& bitmap,
                                           int direction, bool reverse)
    : IControl(controller, rect, paramIdx), mBitmap(bitmap) {
  const int n = nButtons < 1 ? 1 : nButtons;
  const int w = mBitmap.FrameW(), h = mBitmap.FrameH();
  // Even spacing: the first button at one end, the last at the other.
  const int spanX = rect.W() - w, spanY = rect.H() - h;
  for (int i = 0; i < n; ++i) {
    const int k = reverse ? n - 1 - i : i;
    const double t = n >= 2 ? (double)k / (n - 1) : 0.0;
    const int x = direction == kHorizontal ? rect.L + (int)(spanX * t) : rect.L;
    const int y = direction == kHorizontal ? rect.T : rect.T + (int)(spanY * t);
    mRECTs.push_back(IRECT(x, y, x + w, y + h));
  }
}

int IRadioButtonsControl::SelectedButton() const {
  const int n = (int)mRECTs.size();
  const int i = (int)std::round((n - 1) * mValue);
  return i < 0 ? 0 : (i >= n ? n - 1 : i);
}

void IRadioButtonsControl::OnMouseDown(int x, int y, const IMouseMod& mod) {
  if (mod.A && mDefaultValue >= 0.0) {
    mValue = mDefaultValue;
    if (IEditor* gui = GetGUI())
      gui->ReleaseMouseCapture();
    SetDirty(true);
    return;
  }
  if (mod.R) {
    PromptUserInput();
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

bool IRadioButtonsControl::Draw(IEditor* graphics) {
  const int selected = SelectedButton();
  for (int i = 0; i < (int)mRECTs.size(); ++i)
    graphics->DrawBitmap(&mBitmap, &mRECTs[i], i == selected ? 2 : 1, &mBlend);
  return true;
}
