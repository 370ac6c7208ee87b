// The host's frame around a plug-in view, which on Linux is also the host's run loop: timers
// a view registers run on the test host's GUI loop (HostRunLoop.h), on a clock the test
// controls.
#pragma once

#include "pluginterfaces/gui/iplugview.h"
#include "sdk/macos/runloop/RunLoop.h"
#include "tests/hosts/vst3/HostRunLoop.h"
#include "tests/hosts/vst3/HostLog.h"
#include "tests/hosts/vst3/HostObject.h"

#include <cstdint>
#include <map>
#include <memory>

namespace orvane::testhost {

class PlugFrame : public HostObject<Steinberg::IPlugFrame, Steinberg::Linux::IRunLoop> {
public:
  explicit PlugFrame(std::shared_ptr<HostLog> log);
  ~PlugFrame() override;

  // Records the request and answers it as a resizable host does: onSize with the new size.
  Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view,
                                           Steinberg::ViewRect* newSize) override;

  Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler,
                                                     Steinberg::Linux::FileDescriptor fd) override;
  Steinberg::tresult PLUGIN_API
  unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) override;
  Steinberg::tresult PLUGIN_API registerTimer(Steinberg::Linux::ITimerHandler* handler,
                                              Steinberg::Linux::TimerInterval ms) override;
  Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) override;

  // Moves the host clock on by `ms` (advanceHostClock): every timer of every frame that comes
  // due runs.
  void advance(std::uint64_t ms);
  // Tells the handlers of `fd` that it is readable.
  void signalFd(Steinberg::Linux::FileDescriptor fd);

  size_t timerCount() const { return timers.size(); }
  size_t eventHandlerCount() const { return handlers.size(); }
  // Drops every registration the plug-in left behind (before its module goes).
  void dropRegistrations();

private:
  std::shared_ptr<HostLog> log;
  std::map<Steinberg::Linux::ITimerHandler*, RunLoop::TimerId> timers;
  std::multimap<Steinberg::Linux::FileDescriptor, Steinberg::Linux::IEventHandler*> handlers;
};

} // namespace orvane::testhost
