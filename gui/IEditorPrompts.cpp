// Parameter prompts. A parameter with named values (an enum, or a bool with display texts) is
// offered as a menu of those names; any other parameter gets a text entry for a number. The
// back end runs the menu modally and reports a finished text entry through
// SetFromStringAfterPrompt. Either way the result reaches the control as a user edit (pushed
// to the controller).
#include <cstdlib>
#include <cstring>

#include "framework/IParam.h"
#include "gui/IControl.h"
#include "gui/IEditor.h"
#include "gui/IPopupMenu.h"

namespace {

bool PromptsWithMenu(const IParam& param) {
  return param.Type() == IParam::kTypeEnum ||
         (param.Type() == IParam::kTypeBool && param.NDisplayTexts() > 0);
}

bool HasNamedValues(const IParam& param) {
  return param.Type() == IParam::kTypeEnum || param.Type() == IParam::kTypeBool;
}

// A menu of the parameter's display texts with the current one checked.
void FillValueMenu(const IParam& param, IPopupMenu& menu) {
  char current[IParam::kDisplaySize];
  param.GetDisplayForHost(current, true);
  for (int i = 0; i < param.NDisplayTexts(); ++i) {
    const char* text = param.GetDisplayText(i);
    const bool isCurrent = std::strcmp(text, current) == 0;
    menu.AddItem(text, IPopupMenu::kAppend,
                 isCurrent ? IPopupMenuItem::kChecked : IPopupMenuItem::kNoFlags);
  }
}

// The normalised value a finished text entry stands for. What the parameter itself can parse (a
// display text, or a number in displayed form with or without the unit) comes first; failing
// that, a parameter with named values falls back to its first value and any other to the
// text's leading number (0 when there is none), shown negated as the parameter shows it.
double NormalizedValueFromText(const IParam& param, const char* text) {
  double normalized = 0.0;
  if (param.ParseDisplayString(text, &normalized))
    return normalized;
  if (HasNamedValues(param))
    return param.ToNormalized(0.0);
  const double typed = std::atof(text);
  return param.ToNormalized(param.NegateDisplay() ? -typed : typed);
}

} // namespace

void IEditor::PromptUserInput(IControl* control, IParam* param, IRECT* rect) {
  if (!control || !param || !rect)
    return;
  if (PromptsWithMenu(*param)) {
    IPopupMenu menu;
    FillValueMenu(*param, menu);
    IPopupMenu* chosen = CreateIPopupMenu(&menu, rect);
    if (chosen && chosen->GetChosenItemIdx() >= 0)
      SetValueAsEdit(control, param->ToNormalized(chosen->GetChosenItemIdx()));
    return;
  }
  char initial[IParam::kDisplaySize];
  param->GetDisplayForHost(initial, false);
  CreateTextEntry(control, control->GetText(), rect, initial, param);
}

void IEditor::SetFromStringAfterPrompt(IControl* control, IParam* param, const char* text) {
  if (!control || !param)
    return;
  SetValueAsEdit(control, NormalizedValueFromText(*param, text ? text : ""));
}
