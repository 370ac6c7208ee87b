#include "gui/ICaptionControl.h"

#include <cstdio>

#include "framework/IParam.h"

ICaptionControl::ICaptionControl(IEditorDelegate* controller, const IRECT& rect, int paramIdx,
                                 const IText& text, bool showParamLabel)
    : ITextControl(controller, rect, text), mShowParamLabel(showParamLabel) {
  mParamIdx = paramIdx;
  mDisablePrompt = false;
}

void ICaptionControl::OnMouseDown(int, int, const IMouseMod&) {
  PromptUserInput();
}

void ICaptionControl::OnMouseDblClick(int, int, const IMouseMod&) {
  PromptUserInput();
}

bool ICaptionControl::Draw(IEditor* graphics) {
  if (IParam* param = GetParam()) {
    char display[IParam::kDisplaySize] = "";
    param->GetDisplayForHost(display, true);
    char text[IParam::kDisplaySize + IParam::kMaxNameLen + 2];
    if (mShowParamLabel)
      std::snprintf(text, sizeof text, "%s %s", display, param->GetLabelForHost());
    else
      std::snprintf(text, sizeof text, "%s", display);
    mStr.Set(text);
  }
  return ITextControl::Draw(graphics);
}
