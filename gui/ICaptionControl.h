#pragma once
// A text showing a parameter's display value (and its label when asked); a click prompts for
// a new value.

#include "gui/ITextControl.h"

class ICaptionControl : public ITextControl {
public:
  ICaptionControl(IEditorDelegate* controller, const IRECT& rect, int paramIdx, const IText& text,
                  bool showParamLabel = true);

  void OnMouseDown(int x, int y, const IMouseMod& mod) override;
  void OnMouseDblClick(int x, int y, const IMouseMod& mod) override;
  bool Draw(IEditor* graphics) override;

protected:
  bool mShowParamLabel;
};
