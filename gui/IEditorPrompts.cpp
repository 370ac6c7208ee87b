// Parameter prompts: a menu of a parameter's display texts, or a text entry for a number. They
// are opened by the pop-up menu and text-entry side of the toolkit, which is not in place yet;
// until then a prompt opens nothing and changes nothing.
#include "gui/IEditor.h"

void IEditor::PromptUserInput(IControl*, IParam*, IRECT*) {}

void IEditor::SetFromStringAfterPrompt(IControl*, IParam*, const char*) {}
