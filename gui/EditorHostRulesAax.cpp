// The rules of the editor that runs inside AAX hosts: the host keeps Shift, Command gives the
// knobs' fine step, controls draw the host's highlight mark, and every click on a parameter's
// control is offered to the host's view container first.
#include "gui/EditorHostRules.h"

#include <cstdint>
#include <cstdio>

#include "aax/library/AAX_VViewContainer.h"
#include "gui/IEditor.h"
#include "gui/IMouseMod.h"

namespace EditorHostRules {

bool WheelFineStep(const IMouseMod& mod) {
  return mod.C;
}

bool DragFineStep(const IMouseMod& mod) {
  return mod.R;
}

bool DrawsHostHighlight() {
  return true;
}

} // namespace EditorHostRules

// The host's modifier word: Shift 1, Control 2, Option 4, Command 8 and the secondary button
// 16 (both taken as the right button). Bits only add to what the window reported.
bool IEditor::HostTakesParameterClick(int paramIdx, IMouseMod& mod) {
  if (!mViewContainer)
    return false;
  uint32_t modifiers = 0;
  if (mViewContainer->GetModifiers(&modifiers) != 0)
    modifiers = 0;
  mod.S = mod.S || (modifiers & 1);
  mod.C = mod.C || (modifiers & 2);
  mod.A = mod.A || (modifiers & 4);
  mod.R = mod.R || (modifiers & (8 | 16));
  // The adapter's AAX identifier of a parameter is its index in decimal.
  char id[32];
  std::snprintf(id, sizeof id, "%i", paramIdx);
  return mViewContainer->HandleParameterMouseDown(id, modifiers) == 0;
}
