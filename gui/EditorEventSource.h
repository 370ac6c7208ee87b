#pragma once
// The editor window's events on a Linux host's GUI thread. A window back end with a
// window-system connection (X11) has a descriptor to watch: this object registers it with the
// host's Steinberg::Linux::IRunLoop, together with a timer, and reads the back end's events
// whenever the descriptor is readable and on every tick (events the connection has read
// already lie in its queue where the descriptor no longer shows them). Each tick also runs
// `onTick` (the view checks its size there). Nothing is left registered once it is stopped
// or gone.

#include <functional>

#include "base/source/fobject.h"
#include "pluginterfaces/gui/iplugview.h"

class NSWindowBackend;

class EditorEventSource : public Steinberg::FObject,
                          public Steinberg::Linux::IEventHandler,
                          public Steinberg::Linux::ITimerHandler {
public:
  // The tick period: the editors' redraw rate (25 frames a second).
  static constexpr Steinberg::uint64 kTickMs = 40;

  EditorEventSource(NSWindowBackend* backend, std::function<void()> onTick);
  ~EditorEventSource() override;

  // Registers the descriptor and the timer; false (and nothing registered) when the run loop
  // refuses either.
  bool start(Steinberg::Linux::IRunLoop* runLoop);
  // Unregisters both; the back end is not called again.
  void stop();

  void PLUGIN_API onFDIsSet(Steinberg::Linux::FileDescriptor fd) override;
  void PLUGIN_API onTimer() override;

  OBJ_METHODS(EditorEventSource, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(Steinberg::Linux::IEventHandler)
  DEF_INTERFACE(Steinberg::Linux::ITimerHandler)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)

private:
  NSWindowBackend* backend;
  std::function<void()> tick;
  Steinberg::IPtr<Steinberg::Linux::IRunLoop> loop;
  bool watching = false;
  bool timing = false;
};
