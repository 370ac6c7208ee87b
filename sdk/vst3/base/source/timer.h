// Timer: a periodic callback on the process-wide run loop (sdk/macos/runloop), which the host
// pumps on its GUI thread. The processor's meter timer and the adapters' transfer timers use
// it; nothing here starts a thread.
#pragma once

#include "base/source/fobject.h"

namespace Steinberg {

class Timer;

// The object a timer calls. Not a host-visible interface, so it has no ID.
class ITimerCallback {
public:
  virtual ~ITimerCallback() = default;
  virtual void onTimer(Timer* timer) = 0;
};

class Timer : public FObject {
public:
  // A running timer that calls `callback` every intervalMilliseconds (the first call one
  // interval from now), or null for a null callback. The caller holds the one reference;
  // releasing the last one stops the timer. The callback must outlive the timer or stop it.
  static Timer* create(ITimerCallback* callback, uint32 intervalMilliseconds);

  // Stops the calls for good; safe to call more than once and from inside onTimer.
  virtual void stop() = 0;

  OBJ_METHODS(Timer, FObject)
};

} // namespace Steinberg
