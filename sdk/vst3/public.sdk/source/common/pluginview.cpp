#include "public.sdk/source/common/pluginview.h"

#include "sdk/macos/runloop/RunLoop.h"

#include <cstring>

namespace Steinberg {

// The host timer handler that pumps the process-wide run loop. The loop keeps its own clock
// (the host's published clock, else the system's monotonic one), so a host timer that fires
// late still runs the plug-in's timers at their own periods, each at most one host tick late;
// several views pumping at once do not make time run faster.
class CPluginView::RunLoopPump : public FObject, public Linux::ITimerHandler {
public:
  void PLUGIN_API onTimer() override { orvane::RunLoop::instance().pump(); }

  OBJ_METHODS(RunLoopPump, FObject)
  FUNKNOWN_METHODS(Linux::ITimerHandler, FObject)
};

CPluginView::CPluginView(const ViewRect* rect_) : rect(rect_ ? *rect_ : ViewRect()) {}

// A host that releases an attached view without removed() still finds nothing registered.
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
  markAttached(parent);
  return kResultOk;
}

void CPluginView::markAttached(void* parent) {
  systemWindow = parent;
  startRunLoopPump();
  attachedToParent();
}

// Subclasses that open their own window in attached() without calling this base still call
// removed() here, so the controller hears of it whether or not the base saw the attach.
tresult PLUGIN_API CPluginView::removed() {
  stopRunLoopPump();
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
  if (isAttached())
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
  if (pump)
    return;
  auto* handler = new RunLoopPump;
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
