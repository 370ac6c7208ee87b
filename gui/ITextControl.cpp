#include "gui/ITextControl.h"

#include <cstring>

#include "gui/EditorHostRules.h"
#include "gui/IEditor.h"

ITextControl::ITextControl(IEditorDelegate* controller, const IRECT& rect, const IText& text,
                           const char* str)
    : IControl(controller, rect), mStr(str) {
  mText = text;
}

void ITextControl::SetTextFromPlug(const char* str) {
  if (!str)
    str = "";
  if (std::strcmp(mStr.Get(), str) != 0) {
    SetDirty(false);
    mStr.Set(str);
  }
}

bool ITextControl::Draw(IEditor* graphics) {
  const char* str = mStr.Get();
  const bool drawn = !str[0] || graphics->DrawIText(&mText, str, &mRECT);
  // The host's highlight mark, over the text when there is one.
  if (EditorHostRules::DrawsHostHighlight())
    DrawHighlight(graphics);
  return drawn;
}
