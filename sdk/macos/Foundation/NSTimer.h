// NSTimer and NSRunLoop on the process-wide run loop of this binary (runloop/RunLoop.h).
// A scheduled timer sends its action to its target every interval on the UI thread, in every
// run-loop mode (there is one loop; menus and text entry run inside its pumps).
#pragma once

#include <cstdint>

#include "Foundation/Foundation.h"

class NSTimer : public NSObject {
public:
  // A timer not yet added to a run loop. An interval at or below 0 is taken as 0.1 ms, as on
  // the platform; the run loop fires at whole milliseconds, at least 1 ms apart. The target is
  // not retained: invalidate the timer before the target goes.
  static NSTimer* timerWithTimeInterval(double seconds, NSActionTarget* target, SEL action,
                                        bool repeats);
  // Made and added to the current run loop in the default mode.
  static NSTimer* scheduledTimerWithTimeInterval(double seconds, NSActionTarget* target, SEL action,
                                                 bool repeats);

  // Stops the timer for good and lets the run loop drop it.
  void invalidate();
  bool isValid() const { return valid; }
  double timeInterval() const { return interval; }
  // Sends the action now (a one-shot timer then ends).
  void fire();

private:
  friend class NSRunLoop;
  NSTimer(double seconds, NSActionTarget* target, SEL action, bool repeats);
  ~NSTimer() override;

  double interval;
  NSActionTarget* target;
  SEL action;
  bool repeats;
  bool valid = true;
  std::uint64_t runLoopTimer = 0; // the registration while scheduled
};

typedef const char* NSRunLoopMode;
extern const NSRunLoopMode NSDefaultRunLoopMode;
extern const NSRunLoopMode NSRunLoopCommonModes;

class NSRunLoop {
public:
  static NSRunLoop* currentRunLoop();
  static NSRunLoop* mainRunLoop() { return currentRunLoop(); }
  // Schedules the timer (retaining it until it is invalidated). Every mode is the one loop.
  void addTimer(NSTimer* timer, NSRunLoopMode mode);
};
