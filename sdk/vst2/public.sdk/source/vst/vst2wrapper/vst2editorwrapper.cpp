#include "public.sdk/source/vst/vst2wrapper/vst2editorwrapper.h"

#include "public.sdk/source/vst/vst2wrapper/vst2editorframe.h"
#include "public.sdk/source/vst2.x/audioeffectx.h"
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

Vst2EditorWrapper::Vst2EditorWrapper(::AudioEffectX* effect, IEditController* controller)
    : ::AEffEditor(effect), controller(controller), effectX(effect) {}

Vst2EditorWrapper::~Vst2EditorWrapper() {
  close();
}

bool Vst2EditorWrapper::controllerHasEditor(IEditController* controller) {
  IPlugView* probe = controller ? controller->createView(ViewType::kEditor) : nullptr;
  if (!probe)
    return false;
  probe->release();
  return true;
}

bool Vst2EditorWrapper::getRect(ERect** out) {
  *out = nullptr;
  IPlugView* sized = view;
  if (!sized) {
    if (!controller)
      return false;
    sized = controller->createView(ViewType::kEditor);
  }
  if (!sized)
    return false;
  ViewRect size{};
  const bool known = sized->getSize(&size) == kResultOk;
  if (sized != view)
    sized->release();
  if (!known)
    return false;
  rect = {0, 0, clampToShort(size.getHeight()), clampToShort(size.getWidth())};
  *out = &rect;
  return true;
}

bool Vst2EditorWrapper::open(void* parentWindow) {
  if (!parentWindow || view || !controller)
    return false;
  view = controller->createView(ViewType::kEditor);
  if (!view)
    return false;
  frame = new Vst2EditorFrame(effectX);
  view->setFrame(frame);
  if (view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID) != kResultTrue ||
      view->attached(parentWindow, kPlatformTypeX11EmbedWindowID) != kResultOk) {
    view->setFrame(nullptr);
    view->release();
    view = nullptr;
    frame->release();
    frame = nullptr;
    return false;
  }
  systemWindow = parentWindow;
  return true;
}

void Vst2EditorWrapper::close() {
  if (view) {
    view->removed();
    view->setFrame(nullptr);
    view->release();
    view = nullptr;
  }
  if (frame) {
    frame->release();
    frame = nullptr;
  }
  systemWindow = nullptr;
}

void Vst2EditorWrapper::idle() {
  if (frame)
    frame->idle(); // the view's pump timer runs the run loop
  else
    orvane::RunLoop::instance().pump();
}

} // namespace Vst
} // namespace Steinberg
