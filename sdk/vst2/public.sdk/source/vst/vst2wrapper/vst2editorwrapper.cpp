#include "public.sdk/source/vst/vst2wrapper/vst2editorwrapper.h"

#include "pluginterfaces/gui/iplugview.h"
#include "sdk/macos/runloop/RunLoop.h"

#include <limits>

namespace Steinberg {
namespace Vst {

namespace {

VstInt16 clampToShort(int32 v) {
  if (v < std::numeric_limits<VstInt16>::min())
    return std::numeric_limits<VstInt16>::min();
  if (v > std::numeric_limits<VstInt16>::max())
    return std::numeric_limits<VstInt16>::max();
  return VstInt16(v);
}

} // namespace

Vst2EditorWrapper::Vst2EditorWrapper(::AudioEffect* effect, IEditController* controller)
    : ::AEffEditor(effect), controller(controller) {}

bool Vst2EditorWrapper::getRect(ERect** out) {
  *out = nullptr;
  if (!controller)
    return false;
  IPlugView* view = controller->createView(ViewType::kEditor);
  if (!view)
    return false;
  ViewRect size{};
  const bool known = view->getSize(&size) == kResultOk;
  view->release();
  if (!known)
    return false;
  rect = {0, 0, clampToShort(size.getHeight()), clampToShort(size.getWidth())};
  *out = &rect;
  return true;
}

bool Vst2EditorWrapper::open(void*) {
  // No window back end for VST 2.4 editors on Linux yet.
  return false;
}

void Vst2EditorWrapper::close() {
  systemWindow = nullptr;
}

void Vst2EditorWrapper::idle() {
  orvane::RunLoop::instance().pump();
}

} // namespace Vst
} // namespace Steinberg
