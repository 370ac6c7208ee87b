#pragma once
// A text label drawn with its text style.

#include "framework/KIT_String.h"
#include "gui/IControl.h"

class ITextControl : public IControl {
public:
  ITextControl(IEditorDelegate* controller, const IRECT& rect, const IText& text,
               const char* str = "");

  // Sets the text (no push) and marks the control dirty when it changed.
  void SetTextFromPlug(const char* str);
  void ClearTextFromPlug() { SetTextFromPlug(""); }
  const char* GetTextString() const { return mStr.Get(); }

  bool Draw(IEditor* graphics) override;

protected:
  KIT_String mStr;
};
