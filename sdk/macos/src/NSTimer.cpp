// NSTimer on the process-wide run loop.
#include "Foundation/NSTimer.h"

#include <cmath>

#include "sdk/macos/runloop/RunLoop.h"

const NSRunLoopMode NSDefaultRunLoopMode = "kCFRunLoopDefaultMode";
const NSRunLoopMode NSRunLoopCommonModes = "kCFRunLoopCommonModes";

NSTimer::NSTimer(double seconds, NSActionTarget* target, SEL action, bool repeats)
    : interval(seconds > 0.0 ? seconds : 0.0001), target(target), action(action), repeats(repeats) {
}

NSTimer::~NSTimer() {
  if (runLoopTimer)
    orvane::RunLoop::instance().removeTimer(runLoopTimer);
}

NSTimer* NSTimer::timerWithTimeInterval(double seconds, NSActionTarget* target, SEL action,
                                        bool repeats) {
  return new NSTimer(seconds, target, action, repeats);
}

NSTimer* NSTimer::scheduledTimerWithTimeInterval(double seconds, NSActionTarget* target, SEL action,
                                                 bool repeats) {
  NSTimer* timer = timerWithTimeInterval(seconds, target, action, repeats);
  NSRunLoop::currentRunLoop()->addTimer(timer, NSDefaultRunLoopMode);
  timer->release(); // the run loop holds it
  return timer;
}

void NSTimer::invalidate() {
  if (!valid)
    return;
  valid = false;
  if (runLoopTimer) {
    orvane::RunLoop::instance().removeTimer(runLoopTimer);
    runLoopTimer = 0;
    release(); // the run loop's reference
  }
}

void NSTimer::fire() {
  if (!valid)
    return;
  retain(); // the action may invalidate the timer
  if (target)
    target->performAction(action, this);
  if (!repeats)
    invalidate();
  release();
}

NSRunLoop* NSRunLoop::currentRunLoop() {
  static NSRunLoop loop;
  return &loop;
}

void NSRunLoop::addTimer(NSTimer* timer, NSRunLoopMode) {
  if (!timer || !timer->valid || timer->runLoopTimer)
    return;
  const auto ms = static_cast<std::uint32_t>(std::max(1.0, std::round(timer->interval * 1000.0)));
  timer->retain();
  timer->runLoopTimer = orvane::RunLoop::instance().addTimer(ms, [timer] { timer->fire(); });
}
