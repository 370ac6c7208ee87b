// The plain VST editor's rules: Shift or Control for the fine steps, no host highlight, and no
// host that takes a click before the controls.
#include "gui/EditorHostRules.h"

#include "gui/IEditor.h"
#include "gui/IMouseMod.h"

namespace EditorHostRules {

bool WheelFineStep(const IMouseMod& mod) {
  return mod.C || mod.S;
}

bool DragFineStep(const IMouseMod& mod) {
  return mod.C || mod.S;
}

bool DrawsHostHighlight() {
  return false;
}

} // namespace EditorHostRules

bool IEditor::HostTakesParameterClick(int, IMouseMod&) {
  return false;
}
