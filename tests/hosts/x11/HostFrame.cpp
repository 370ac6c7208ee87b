#include "tests/hosts/x11/HostFrame.h"

#include "tests/hosts/x11/HostWindow.h"

namespace orvane::x11host {

using namespace Steinberg;
using namespace Steinberg::Linux;

HostFrame::HostFrame(HostLoop& loop, HostWindow& window, bool offersRunLoop)
    : loop(loop), window(window), offersRunLoop(offersRunLoop) {}

HostFrame::~HostFrame() {
  dropRegistrations();
}

tresult PLUGIN_API HostFrame::queryInterface(const TUID iid, void** obj) {
  if (!offersRunLoop && obj && iidEqual(iid, IRunLoop::iid)) {
    *obj = nullptr;
    return kNoInterface;
  }
  return HostObject::queryInterface(iid, obj);
}

tresult PLUGIN_API HostFrame::resizeView(IPlugView* view, ViewRect* newSize) {
  if (!view || !newSize)
    return kInvalidArgument;
  resizes.push_back(*newSize);
  window.resize(newSize->getWidth(), newSize->getHeight());
  view->onSize(newSize);
  return kResultOk;
}

tresult PLUGIN_API HostFrame::registerEventHandler(IEventHandler* handler, FileDescriptor fd) {
  ++calls;
  if (!handler || fd < 0)
    return kInvalidArgument;
  IPtr<IEventHandler> held(handler);
  handlers[handler].push_back(loop.watch(fd, [held, fd] { held->onFDIsSet(fd); }));
  fdLog.push_back(fd);
  return kResultOk;
}

tresult PLUGIN_API HostFrame::unregisterEventHandler(IEventHandler* handler) {
  ++calls;
  const auto it = handlers.find(handler);
  if (it == handlers.end())
    return kInvalidArgument;
  for (HostLoop::Id id : it->second)
    loop.remove(id);
  handlers.erase(it);
  return kResultOk;
}

tresult PLUGIN_API HostFrame::registerTimer(ITimerHandler* handler, TimerInterval ms) {
  ++calls;
  if (!handler || timers.count(handler))
    return kInvalidArgument;
  IPtr<ITimerHandler> held(handler);
  timers[handler] = loop.addTimer(ms, [held] { held->onTimer(); });
  intervalLog.push_back(ms);
  return kResultOk;
}

tresult PLUGIN_API HostFrame::unregisterTimer(ITimerHandler* handler) {
  ++calls;
  const auto it = timers.find(handler);
  if (it == timers.end())
    return kInvalidArgument;
  loop.remove(it->second);
  timers.erase(it);
  return kResultOk;
}

void HostFrame::dropRegistrations() {
  for (const auto& [handler, id] : timers)
    loop.remove(id);
  timers.clear();
  for (const auto& [handler, ids] : handlers)
    for (HostLoop::Id id : ids)
      loop.remove(id);
  handlers.clear();
}

} // namespace orvane::x11host
