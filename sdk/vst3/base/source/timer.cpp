#include "base/source/timer.h"

#include "sdk/macos/runloop/RunLoop.h"

namespace Steinberg {
namespace {

class RunLoopTimer final : public Timer {
public:
  RunLoopTimer(ITimerCallback* callback_, uint32 intervalMs) : callback(callback_) {
    id = orvane::RunLoop::instance().addTimer(intervalMs, [this] { fire(); });
  }
  ~RunLoopTimer() override { stop(); }

  void stop() override {
    if (id == orvane::RunLoop::kNoTimer)
      return;
    orvane::RunLoop::instance().removeTimer(id);
    id = orvane::RunLoop::kNoTimer;
    callback = nullptr;
  }

private:
  void fire() {
    if (!callback)
      return;
    // The callback may release the last reference; keep the object alive until it returns.
    addRef();
    callback->onTimer(this);
    release();
  }

  ITimerCallback* callback;
  orvane::RunLoop::TimerId id = orvane::RunLoop::kNoTimer;
};

} // namespace

Timer* Timer::create(ITimerCallback* callback, uint32 intervalMilliseconds) {
  if (!callback)
    return nullptr;
  return new RunLoopTimer(callback, intervalMilliseconds);
}

} // namespace Steinberg
