#include "tests/hosts/vst3/PlugFrame.h"

#include <vector>

namespace orvane::testhost {

using namespace Steinberg;
using namespace Steinberg::Linux;

PlugFrame::PlugFrame(std::shared_ptr<HostLog> log) : log(std::move(log)) {}

PlugFrame::~PlugFrame() {
  dropRegistrations();
}

tresult PLUGIN_API PlugFrame::resizeView(IPlugView* view, ViewRect* newSize) {
  if (!view || !newSize)
    return kInvalidArgument;
  log->resizeRequests.push_back(*newSize);
  view->onSize(newSize);
  return kResultOk;
}

tresult PLUGIN_API PlugFrame::registerEventHandler(IEventHandler* handler, FileDescriptor fd) {
  if (!handler)
    return kInvalidArgument;
  handler->addRef();
  handlers.emplace(fd, handler);
  log->eventHandlersRegistered.push_back(fd);
  return kResultOk;
}

tresult PLUGIN_API PlugFrame::unregisterEventHandler(IEventHandler* handler) {
  bool found = false;
  for (auto it = handlers.begin(); it != handlers.end();) {
    if (it->second == handler) {
      it->second->release();
      it = handlers.erase(it);
      found = true;
    } else {
      ++it;
    }
  }
  if (!found)
    return kInvalidArgument;
  ++log->eventHandlersUnregistered;
  return kResultOk;
}

tresult PLUGIN_API PlugFrame::registerTimer(ITimerHandler* handler, TimerInterval ms) {
  if (!handler || timers.count(handler))
    return kInvalidArgument;
  // The loop's callback holds a reference, so a handler that unregisters itself from onTimer
  // stays alive until the call returns.
  IPtr<ITimerHandler> held(handler);
  const auto interval = static_cast<std::uint32_t>(ms > 0xFFFFFFFFu ? 0xFFFFFFFFu : ms);
  timers[handler] = hostRunLoop().addTimer(interval, [held] { held->onTimer(); });
  log->timersRegistered.push_back(ms);
  return kResultOk;
}

tresult PLUGIN_API PlugFrame::unregisterTimer(ITimerHandler* handler) {
  const auto it = timers.find(handler);
  if (it == timers.end())
    return kInvalidArgument;
  hostRunLoop().removeTimer(it->second);
  timers.erase(it);
  ++log->timersUnregistered;
  return kResultOk;
}

void PlugFrame::advance(std::uint64_t ms) {
  advanceHostClock(ms);
}

void PlugFrame::signalFd(FileDescriptor fd) {
  std::vector<IPtr<IEventHandler>> due;
  const auto range = handlers.equal_range(fd);
  for (auto it = range.first; it != range.second; ++it)
    due.emplace_back(it->second);
  for (auto& handler : due)
    handler->onFDIsSet(fd);
}

void PlugFrame::dropRegistrations() {
  for (const auto& [handler, id] : timers)
    hostRunLoop().removeTimer(id);
  timers.clear();
  for (auto& [fd, handler] : handlers)
    handler->release();
  handlers.clear();
}

} // namespace orvane::testhost
