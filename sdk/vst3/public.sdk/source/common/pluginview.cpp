#include "public.sdk/source/common/pluginview.h"

#include "sdk/macos/runloop/RunLoop.h"

#include <cstring>

namespace Steinberg {

// The host timer handler that pumps the process-wide run loop.
class CPluginView::RunLoopPump : public FObject, public Linux::ITimerHandler {
public:
  void PLUGIN_API onTimer() override { orvane::RunLoop::instance().pump(); }

  OBJ_METHODS(RunLoopPump, FObject)
  FUNKNOWN_METHODS(Linux::ITimerHandler, FObject)
};

CPluginView::CPluginView(const ViewRect* rect_) : rect(rect_ ? *rect_ : ViewRect()) {}

CPluginView::~CPluginView() {
  stopRunLoopPump();
}

tresult PLUGIN_API CPluginView::isPlatformTypeSupported(FIDString type) {
  if (!type)
    return kInvalidArgument;
  return std::strcmp(type, kPlatformTypeX11EmbedWindowID) == 0 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API CPluginView::attached(void* parent, FIDString type) {
  if (!parent)
    return kInvalidArgument;
  if (isAttached() || isPlatformTypeSupported(type) != kResultTrue)
    return kResultFalse;
  systemWindow = parent;
  attachedToParent();
  return kResultOk;
}

tresult PLUGIN_API CPluginView::removed() {
  if (!isAttached())
    return kResultFalse;
  systemWindow = nullptr;
  removedFromParent();
  return kResultOk;
}

tresult PLUGIN_API CPluginView::onWheel(float /*distance*/) {
  return kResultFalse;
}

tresult PLUGIN_API CPluginView::onKeyDown(char16 /*key*/, int16 /*keyCode*/, int16 /*modifiers*/) {
  return kResultFalse;
}

tresult PLUGIN_API CPluginView::onKeyUp(char16 /*key*/, int16 /*keyCode*/, int16 /*modifiers*/) {
  return kResultFalse;
}

tresult PLUGIN_API CPluginView::getSize(ViewRect* size) {
  if (!size)
    return kInvalidArgument;
  *size = rect;
  return kResultTrue;
}

tresult PLUGIN_API CPluginView::onSize(ViewRect* newSize) {
  if (newSize)
    rect = *newSize;
  return kResultTrue;
}

tresult PLUGIN_API CPluginView::onFocus(TBool /*state*/) {
  return kResultFalse;
}

tresult PLUGIN_API CPluginView::setFrame(IPlugFrame* frame) {
  stopRunLoopPump();
  plugFrame = frame;
  startRunLoopPump();
  return kResultTrue;
}

tresult PLUGIN_API CPluginView::canResize() {
  return kResultFalse;
}

tresult PLUGIN_API CPluginView::checkSizeConstraint(ViewRect* /*rect*/) {
  return kResultFalse;
}

void CPluginView::startRunLoopPump() {
  FUnknownPtr<Linux::IRunLoop> runLoop(plugFrame);
  if (!runLoop)
    return;
  auto* handler = new RunLoopPump();
  if (runLoop->registerTimer(handler, kRunLoopPumpIntervalMs) != kResultOk) {
    handler->release();
    return;
  }
  hostRunLoop = runLoop.get();
  pump = handler;
}

void CPluginView::stopRunLoopPump() {
  if (!pump)
    return;
  if (hostRunLoop)
    hostRunLoop->unregisterTimer(pump);
  hostRunLoop = nullptr;
  pump->release();
  pump = nullptr;
}

} // namespace Steinberg
