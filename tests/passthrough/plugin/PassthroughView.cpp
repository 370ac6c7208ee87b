#include "tests/passthrough/plugin/PassthroughView.h"

#include "tests/passthrough/plugin/PassthroughController.h"

#include <cstring>

namespace orvane::passthrough {

using namespace Steinberg;

PassthroughView::PassthroughView(PassthroughController* controller)
    : controller(controller), rect(0, 0, controller->viewWidth(), controller->viewHeight()) {
  FUNKNOWN_CTOR
  controller->addRef();
}

PassthroughView::~PassthroughView() {
  stopTimer();
  if (frame)
    frame->release();
  controller->release();
}

IMPLEMENT_REFCOUNT(PassthroughView)

tresult PLUGIN_API PassthroughView::queryInterface(const TUID _iid, void** obj) {
  QUERY_INTERFACE(_iid, obj, FUnknown::iid, IPlugView)
  QUERY_INTERFACE(_iid, obj, IPlugView::iid, IPlugView)
  QUERY_INTERFACE(_iid, obj, Linux::ITimerHandler::iid, Linux::ITimerHandler)
  *obj = nullptr;
  return kNoInterface;
}

tresult PLUGIN_API PassthroughView::isPlatformTypeSupported(FIDString type) {
  return type && std::strcmp(type, kPlatformTypeX11EmbedWindowID) == 0 ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API PassthroughView::attached(void* parent, FIDString type) {
  if (!parent || isPlatformTypeSupported(type) != kResultTrue || isAttached)
    return kResultFalse;
  isAttached = true;
  refreshTimer = RunLoop::instance().addTimer(kRefreshIntervalMs, [this] { refresh(); });
  // Linux hosts offer their run loop through the frame.
  void* obj = nullptr;
  if (frame && frame->queryInterface(Linux::IRunLoop::iid, &obj) == kResultOk) {
    runLoop = static_cast<Linux::IRunLoop*>(obj);
    if (runLoop->registerTimer(this, 40) != kResultOk) {
      runLoop->release();
      runLoop = nullptr;
    }
  }
  return kResultOk;
}

tresult PLUGIN_API PassthroughView::removed() {
  if (!isAttached)
    return kResultFalse;
  stopTimer();
  isAttached = false;
  return kResultOk;
}

void PassthroughView::refresh() {
  ViewRect size = rect;
  if (frame)
    frame->resizeView(this, &size);
}

void PassthroughView::stopTimer() {
  RunLoop::instance().removeTimer(refreshTimer);
  refreshTimer = RunLoop::kNoTimer;
  if (!runLoop)
    return;
  runLoop->unregisterTimer(this);
  runLoop->release();
  runLoop = nullptr;
}

tresult PLUGIN_API PassthroughView::getSize(ViewRect* size) {
  if (!size)
    return kInvalidArgument;
  *size = rect;
  return kResultOk;
}

tresult PLUGIN_API PassthroughView::onSize(ViewRect* newSize) {
  if (!newSize || newSize->getWidth() <= 0 || newSize->getHeight() <= 0)
    return kInvalidArgument;
  rect = *newSize;
  controller->rememberViewSize(rect.getWidth(), rect.getHeight());
  return kResultOk;
}

tresult PLUGIN_API PassthroughView::setFrame(IPlugFrame* newFrame) {
  if (newFrame)
    newFrame->addRef();
  if (frame)
    frame->release();
  frame = newFrame;
  return kResultOk;
}

tresult PLUGIN_API PassthroughView::checkSizeConstraint(ViewRect* r) {
  if (!r)
    return kInvalidArgument;
  if (r->getWidth() < 100)
    r->right = r->left + 100;
  if (r->getHeight() < 50)
    r->bottom = r->top + 50;
  return kResultOk;
}

void PLUGIN_API PassthroughView::onTimer() {
  RunLoop::instance().pump();
}

} // namespace orvane::passthrough
