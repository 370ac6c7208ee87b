#pragma once
// A text drawn with a fixed-width bitmap font (the frame of character code c is c - 31).

#include "framework/KIT_String.h"
#include "gui/IBitmap.h"
#include "gui/IControl.h"

class IBitmapTextControl : public IControl {
public:
  IBitmapTextControl(IEditorDelegate* controller, const IRECT& rect, const IBitmap& bitmap,
                     const char* str = "", const IText* text = nullptr, int charWidth = 6,
                     int charHeight = 12, int charOffset = 0, bool multiLine = false,
                     bool vCenter = true);

  // Sets the text when it differs, marking the control dirty first.
  virtual void SetTextFromPlug(const char* str);
  void ClearTextFromPlug() { SetTextFromPlug(""); }
  const char* GetTextString() const { return mStr.Get(); }

  bool Draw(IEditor* graphics) override;

protected:
  KIT_String mStr;
  IBitmap mTextBitmap;
  int mCharWidth, mCharHeight, mCharOffset;
  bool mMultiLine, mVCentre;
};
