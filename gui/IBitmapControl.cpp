#include "gui/IBitmapControl.h"

#include <cmath>

#include "gui/EditorHostRules.h"
#include "gui/IEditor.h"

int IBitmapFrameForValue(int n, double v) {
  if (n < 2 || std::isnan(v))
    return 1;
  const double i = std::trunc((n - 1) * v + 0.5);
  if (i < 0.0)
    return 1;
  if (i >= n)
    return n;
  return (int)i + 1;
}

IRECT IBitmapFrameRect(int x, int y, const IBitmap& bitmap) {
  return IRECT(x, y, x + bitmap.FrameW(), y + bitmap.FrameH());
}

IBitmapControl::IBitmapControl(IEditorDelegate* controller, int x, int y, int paramIdx,
                               const IBitmap& bitmap, int blendMethod)
    : IControl(controller, IBitmapFrameRect(x, y, bitmap), paramIdx, blendMethod), mBitmap(bitmap) {
}

bool IDrawStripFrame(IControl* control, IEditor* graphics, IBitmap* bitmap) {
  const int frame = IBitmapFrameForValue(bitmap->Frames(), control->GetValue());
  const bool drawn = graphics->DrawBitmap(bitmap, control->GetRECT(), frame, control->GetBlend());
  if (!EditorHostRules::DrawsHostHighlight())
    return drawn;
  // The host's highlight mark goes over the frame (controls that show none override it).
  control->DrawHighlight(graphics);
  return true;
}

bool IBitmapControl::Draw(IEditor* graphics) {
  return IDrawStripFrame(this, graphics, &mBitmap);
}
