#pragma once
// Where the editor differs between the builds. The compressor's AAX build runs its editor
// inside AAX hosts, which keep Shift and a click on a parameter's control for themselves and
// show their own highlight mark on controls; every other build is a plain VST editor. Each
// build links exactly one definition of these rules (EditorHostRulesVst.cpp or
// EditorHostRulesAax.cpp, chosen by orvane_add_editor_toolkit), so the controls and the editor
// read as one behaviour and ask here where a build differs.
struct IMouseMod;

namespace EditorHostRules {

// The modifier that turns a control's wheel step into the fine step (Shift or Control; under
// AAX hosts Shift belongs to the host, so Control alone).
bool WheelFineStep(const IMouseMod& mod);

// The modifier that gears a knob's drag down tenfold (Shift or Control; under AAX hosts
// Command, or the host's Command bit).
bool DragFineStep(const IMouseMod& mod);

// True where controls draw the host's highlight mark over themselves; a bitmap control then
// counts its frame as drawn whatever the blit said, since the mark is drawn either way.
bool DrawsHostHighlight();

} // namespace EditorHostRules
