// Vst2EditorWrapper: the controller's editor view behind the VST 2.4 editor opcodes.
//
// On Linux there is no window back end for VST 2.4 editors yet: the wrapper reports the
// view's size when the controller has a view, refuses to open (the host then shows its own
// generic editor), and pumps the run loop on the host's editor idle calls.
#pragma once

#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "public.sdk/source/vst2.x/aeffeditor.h"

namespace Steinberg {
namespace Vst {

class Vst2EditorWrapper : public ::AEffEditor {
public:
  Vst2EditorWrapper(::AudioEffect* effect, IEditController* controller);

  bool getRect(ERect** rect) override;
  bool open(void* parentWindow) override;
  void close() override;
  void idle() override;

private:
  IEditController* controller; // the effect's; the effect outlives its editor
  ERect rect{};
};

} // namespace Vst
} // namespace Steinberg
