// The X11 test host's frame around a plug-in view: IPlugFrame (resize requests resize the
// host window) and Steinberg::Linux::IRunLoop on the host's real GUI loop (HostLoop), as
// Ardour offers them. A frame made without a run loop plays a host that offers none.
#pragma once

#include "pluginterfaces/gui/iplugview.h"
#include "tests/hosts/vst3/HostObject.h"
#include "tests/hosts/x11/HostLoop.h"

#include <map>
#include <vector>

namespace orvane::x11host {

class HostWindow;

class HostFrame : public testhost::HostObject<Steinberg::IPlugFrame, Steinberg::Linux::IRunLoop> {
public:
  HostFrame(HostLoop& loop, HostWindow& window, bool offersRunLoop = true);
  ~HostFrame() override;

  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;

  Steinberg::tresult PLUGIN_API resizeView(Steinberg::IPlugView* view,
                                           Steinberg::ViewRect* newSize) override;

  Steinberg::tresult PLUGIN_API registerEventHandler(Steinberg::Linux::IEventHandler* handler,
                                                     Steinberg::Linux::FileDescriptor fd) override;
  Steinberg::tresult PLUGIN_API
  unregisterEventHandler(Steinberg::Linux::IEventHandler* handler) override;
  Steinberg::tresult PLUGIN_API registerTimer(Steinberg::Linux::ITimerHandler* handler,
                                              Steinberg::Linux::TimerInterval ms) override;
  Steinberg::tresult PLUGIN_API unregisterTimer(Steinberg::Linux::ITimerHandler* handler) override;

  // Calls on the IRunLoop interface so far (a host may tear its loop down after removed()).
  int runLoopCalls() const { return calls; }
  size_t timerCount() const { return timers.size(); }
  size_t eventHandlerCount() const { return handlers.size(); }
  // The descriptors registered so far and the timer intervals asked for, in order.
  const std::vector<int>& registeredFds() const { return fdLog; }
  const std::vector<Steinberg::Linux::TimerInterval>& registeredIntervals() const {
    return intervalLog;
  }
  const std::vector<Steinberg::ViewRect>& resizeRequests() const { return resizes; }

private:
  void dropRegistrations();

  HostLoop& loop;
  HostWindow& window;
  const bool offersRunLoop;
  std::map<Steinberg::Linux::ITimerHandler*, HostLoop::Id> timers;
  std::map<Steinberg::Linux::IEventHandler*, std::vector<HostLoop::Id>> handlers;
  std::vector<int> fdLog;
  std::vector<Steinberg::Linux::TimerInterval> intervalLog;
  std::vector<Steinberg::ViewRect> resizes;
  int calls = 0;
};

} // namespace orvane::x11host
