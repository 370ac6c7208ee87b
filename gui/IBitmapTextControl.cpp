#include "gui/IBitmapTextControl.h"

#include <cstring>

#include "gui/IEditor.h"

IBitmapTextControl::IBitmapTextControl(IEditorDelegate* controller, const IRECT& rect,
                                       const IBitmap& bitmap, const char* str, const IText* text,
                                       int charWidth, int charHeight, int charOffset,
                                       bool multiLine, bool vCenter)
    : IControl(controller, rect), mStr(str), mTextBitmap(bitmap), mCharWidth(charWidth),
      mCharHeight(charHeight), mCharOffset(charOffset), mMultiLine(multiLine), mVCentre(vCenter) {
  if (text)
    mText = *text;
}

void IBitmapTextControl::SetTextFromPlug(const char* str) {
  if (!str)
    str = "";
  if (std::strcmp(mStr.Get(), str) != 0) {
    SetDirty(false);
    mStr.Set(str);
  }
}

bool IBitmapTextControl::Draw(IEditor* graphics) {
  const char* str = mStr.Get();
  if (!str[0])
    return true;
  return graphics->DrawBitmapFontText(&mTextBitmap, &mRECT, &mText, &mBlend, str, mVCentre,
                                      mMultiLine, mCharWidth, mCharHeight, mCharOffset);
}
