// Edit gestures stay balanced whatever the user does: for every script of events below, per
// parameter the host sees beginEdit and endEdit alternate, every performEdit inside a
// gesture, and nothing left open once the view has closed.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "MacEditorTestSupport.h"

namespace {

using namespace guitest;
using Kind = orvane::testhost::EditCall::Kind;

// Where the user acts, in draw-bitmap pixels of the layout at scale 1.
const NSPoint kKnob = MacEditorHost::At(80, 80);
const NSPoint kKnobUp = MacEditorHost::At(80, 60);
const NSPoint kSwitch = MacEditorHost::At(190, 70);
const NSPoint kModeCaption = MacEditorHost::At(260, 50);

struct Script {
  const char* name;
  std::function<void(MacEditorHost&, OffscreenWindowBackend&)> act;
  bool edits; // the script changes a value
};

void DoubleClick(OffscreenWindowBackend& window, NSPoint at) {
  window.press(at, 0, 1);
  window.release(at);
  window.press(at, 0, 2);
  window.release(at);
}

const Script kScripts[] = {
    {"drag",
     [](MacEditorHost&, OffscreenWindowBackend& w) {
       w.press(kKnob);
       w.drag(kKnobUp);
       w.drag(MacEditorHost::At(80, 40));
       w.release(MacEditorHost::At(80, 40));
     },
     true},
    {"right-click",
     [](MacEditorHost&, OffscreenWindowBackend& w) {
       w.press(kKnob, 0, 1, true);
       w.release(kKnob, 0, true);
     },
     false},
    {"Alt-click released over another control",
     [](MacEditorHost& h, OffscreenWindowBackend& w) {
       h.controller->setParamNormalized(BridgeController::kGain, 0.9);
       h.controller->SetGUIParameterFromPlug(BridgeController::kGain, true, 0.9);
       w.press(kKnob, NSAlternateKeyMask);
       w.drag(kSwitch, NSAlternateKeyMask);
       w.release(kSwitch, NSAlternateKeyMask);
     },
     true},
    {"double-click on a knob",
     [](MacEditorHost& h, OffscreenWindowBackend& w) {
       h.controller->setParamNormalized(BridgeController::kGain, 0.9);
       h.controller->SetGUIParameterFromPlug(BridgeController::kGain, true, 0.9);
       DoubleClick(w, kKnob);
     },
     true},
    {"double-click on a switch",
     [](MacEditorHost&, OffscreenWindowBackend& w) { DoubleClick(w, kSwitch); }, true},
    {"wheel steps, then the view closed inside the wheel's second",
     [](MacEditorHost& h, OffscreenWindowBackend& w) {
       for (int i = 0; i < 3; ++i) {
         w.scroll(kKnob, 1.0);
         h.Run(100);
       }
       h.Close();
     },
     true},
    {"wheel steps, then the wheel's second runs out",
     [](MacEditorHost& h, OffscreenWindowBackend& w) {
       w.scroll(kKnob, 1.0);
       w.scroll(kKnob, -2.0);
       h.Run(1200);
     },
     true},
    {"wheel, then a press elsewhere",
     [](MacEditorHost&, OffscreenWindowBackend& w) {
       w.scroll(kKnob, 1.0);
       w.press(kSwitch);
       w.release(kSwitch);
     },
     true},
    {"the view closed in the middle of a drag",
     [](MacEditorHost& h, OffscreenWindowBackend& w) {
       w.press(kKnob);
       w.drag(kKnobUp);
       h.Close();
     },
     true},
    {"the editor deleted in the middle of a drag",
     [](MacEditorHost& h, OffscreenWindowBackend& w) {
       w.press(kKnob);
       w.drag(kKnobUp);
       h.controller->AttachGraphics(new IEditorMac(h.controller, 400, 315));
       h.editor = static_cast<IEditorMac*>(h.controller->GetGUI());
     },
     true},
    {"a menu prompt chosen on a press",
     [](MacEditorHost&, OffscreenWindowBackend& w) {
       w.respondToMenu = [](NSMenu* menu, NSPoint) { return menu->itemAtIndex(0); };
       w.press(kModeCaption);
       w.release(kModeCaption);
     },
     true},
    {"a press, then a second press before any release",
     [](MacEditorHost&, OffscreenWindowBackend& w) {
       w.press(kKnob);
       w.drag(kKnobUp);
       w.press(kSwitch);
       w.release(kSwitch);
     },
     true},
};

TEST(EditorGestures, StayBalancedForEveryScript) {
  for (const Script& script : kScripts) {
    MacEditorHost host;
    OffscreenWindowBackend& window = host.Open();
    script.act(host, window);
    host.Close();

    std::map<Steinberg::Vst::ParamID, bool> open;
    int performs = 0;
    for (const orvane::testhost::EditCall& call : host.log->edits) {
      bool& isOpen = open[call.id];
      switch (call.kind) {
      case Kind::Begin:
        EXPECT_FALSE(isOpen) << script.name << ": begin inside a gesture of " << call.id;
        isOpen = true;
        break;
      case Kind::Perform:
        EXPECT_TRUE(isOpen) << script.name << ": perform outside a gesture of " << call.id;
        ++performs;
        break;
      case Kind::End:
        EXPECT_TRUE(isOpen) << script.name << ": end without a begin of " << call.id;
        isOpen = false;
        break;
      }
    }
    for (const auto& [id, isOpen] : open)
      EXPECT_FALSE(isOpen) << script.name << ": left open on " << id;
    EXPECT_EQ(performs > 0, script.edits) << script.name;
  }
}

} // namespace
