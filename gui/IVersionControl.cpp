#include "gui/IVersionControl.h"

#include <cmath>
#include <string>

#include "gui/IEditor.h"

namespace {
std::string VersionText() {
  return std::string("v") + kPluginVersionText;
}
} // namespace

IVersionControl::IVersionControl(IEditorDelegate* controller, const IRECT& rect, const IText& text,
                                 double heightFactor)
    : ITextControl(controller, rect, text, VersionText().c_str()),
      mStripRECT(rect.L, (int)std::trunc(rect.B - text.mSize * heightFactor), rect.R, rect.B) {}

void IVersionControl::OnMouseDown(int x, int y, const IMouseMod&) {
  if (mStripRECT.Contains(x, y))
    return;
  mFrameCounter = kShowFrames;
  SetDirty(true);
}

bool IVersionControl::IsDirty() {
  if (mFrameCounter < 0)
    return false;
  --mFrameCounter;
  return mFrameCounter >= 0;
}

bool IVersionControl::Draw(IEditor* graphics) {
  if (mFrameCounter < 1)
    return true;
  return graphics->DrawIText(&mText, mStr.Get(), &mStripRECT);
}
