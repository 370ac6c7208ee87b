// Vst2EditorWrapper: the controller's editor view behind the VST 2.4 editor opcodes.
//
// A Linux VST 2.4 host passes its X window to effEditOpen and calls effEditIdle from its GUI
// loop. The wrapper embeds the controller's VST 3 view there as an X11 host would
// ("X11EmbedWindowID"), with a frame of its own (Vst2EditorFrame) that answers the view's
// IRunLoop: effEditIdle runs the view's descriptors and timers, which pump the plug-in's run
// loop and the X events. effEditGetRect reports the open view's size (a temporary view's
// before opening); a resize the view asks for reaches the host as audioMasterSizeWindow.
#pragma once

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "public.sdk/source/vst2.x/aeffeditor.h"

class AudioEffectX;

namespace Steinberg {
namespace Vst {

class Vst2EditorFrame;

class Vst2EditorWrapper : public ::AEffEditor {
public:
  Vst2EditorWrapper(::AudioEffectX* effect, IEditController* controller);
  ~Vst2EditorWrapper() override;

  // Whether the controller offers an editor view at all (the effect's has-editor flag).
  static bool controllerHasEditor(IEditController* controller);

  bool getRect(ERect** rect) override;
  // False (nothing left open) without a parent, when open already, or when the view refuses
  // the window.
  bool open(void* parentWindow) override;
  void close() override;
  void idle() override;

private:
  IEditController* controller; // the effect's; the effect outlives its editor
  ::AudioEffectX* effectX;
  IPlugView* view = nullptr;
  Vst2EditorFrame* frame = nullptr;
  ERect rect{};
};

} // namespace Vst
} // namespace Steinberg
