#include "public.sdk/source/common/pluginview.h"

#include "sdk/macos/runloop/RunLoop.h"

#include <atomic>
#include <cstring>
#include <memory>

namespace Steinberg {
namespace {

// The run loop's time while host timers drive it. It starts where the loop's clock stands,
// so due times stay valid, and only moves forward. When the last pump goes, the loop gets a
// clock that follows the system's again from there (never going back), for whoever pumps it
// without a host timer.
class HostTickClock {
public:
  static HostTickClock& instance() {
    static HostTickClock clock;
    return clock;
  }

  // A pump starts: the run loop reads this clock. Returns the time it stands at.
  uint64 take() {
    orvane::RunLoop& loop = orvane::RunLoop::instance();
    advanceTo(*ms, loop.now());
    ++pumps;
    loop.setClock([ms = ms] { return ms->load(std::memory_order_acquire); });
    return ms->load(std::memory_order_acquire);
  }

  // A pump stops.
  void give() {
    if (pumps == 0 || --pumps > 0)
      return;
    orvane::RunLoop::instance().setClock([ms = ms] {
      advanceTo(*ms, orvane::RunLoop::monotonicMs());
      return ms->load(std::memory_order_acquire);
    });
  }

  void advanceTo(uint64 t) { advanceTo(*ms, t); }

private:
  static void advanceTo(std::atomic<uint64>& value, uint64 t) {
    uint64 current = value.load(std::memory_order_relaxed);
    while (t > current && !value.compare_exchange_weak(current, t, std::memory_order_release))
      ;
  }

  // Shared with the loop's clock function, which may outlive this object at exit.
  std::shared_ptr<std::atomic<uint64>> ms = std::make_shared<std::atomic<uint64>>(0);
  int32 pumps = 0;
};

} // namespace

// The host timer handler that pumps the process-wide run loop. Each pump keeps its own count
// of host time; with several views open their counts run side by side and the clock follows
// the one furthest on, so two pumps do not make time run twice as fast.
class CPluginView::RunLoopPump : public FObject, public Linux::ITimerHandler {
public:
  explicit RunLoopPump(uint64 intervalMs)
      : interval(intervalMs), hostTime(HostTickClock::instance().take()) {}
  ~RunLoopPump() override { HostTickClock::instance().give(); }

  void PLUGIN_API onTimer() override {
    hostTime += interval;
    HostTickClock::instance().advanceTo(hostTime);
    orvane::RunLoop::instance().pump();
  }

  OBJ_METHODS(RunLoopPump, FObject)
  FUNKNOWN_METHODS(Linux::ITimerHandler, FObject)

private:
  const uint64 interval;
  uint64 hostTime;
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

// Subclasses that open their own window in attached() without calling this base still call
// removed() here, so the controller hears of it whether or not the base saw the attach.
tresult PLUGIN_API CPluginView::removed() {
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
  auto* handler = new RunLoopPump(kRunLoopPumpIntervalMs);
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
