// The one run loop every timer of the system runs on.
//
// Nothing in the system starts a thread: periodic work (meter timers, parameter transfer
// timers, editor redraws) is registered here and runs when the owner of the GUI thread pumps
// the loop: a Linux VST 3 host through its IRunLoop timer, a VST 2.4 host through the effect's
// idle calls, a test host directly, with a clock it controls.
//
// Timers fire in registration order. A timer that is late fires once and keeps its phase (it
// does not catch up on the periods it missed). A callback may add or remove any timer, itself
// included, during a pump; a removed timer never fires again, and its callback is destroyed
// only after the pump has finished with it. Calls from other threads wait for a running pump.
//
// Each binary (every plug-in bundle, every host) has its own copy of the loop. So that a host
// can drive the loops of the bundles it loads in step with its own, a host process may publish
// the clock of its GUI thread as `extern "C" uint64_t orvaneHostClockMs()` (test hosts do);
// the default clock of every loop in the process is then that clock, otherwise the system's
// monotonic clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace orvane {

class RunLoop {
public:
  using TimerId = std::uint64_t;
  using Callback = std::function<void()>;
  // Milliseconds on a clock that never goes back.
  using Clock = std::function<std::uint64_t()>;

  static constexpr TimerId kNoTimer = 0;

  // The process-wide loop of this binary.
  static RunLoop& instance();
  // Milliseconds of the system's monotonic clock.
  static std::uint64_t monotonicMs();
  // The default clock: the host's published clock, else the monotonic clock.
  static std::uint64_t defaultClockMs();

  RunLoop();
  ~RunLoop();
  RunLoop(const RunLoop&) = delete;
  RunLoop& operator=(const RunLoop&) = delete;

  // Registers a periodic timer whose first firing is one interval from now (from the pump's
  // time when called by a timer callback). An interval of 0 fires first as soon as possible
  // (at the end of the running pump when called by a timer callback, else at the next pump)
  // and then every 1 ms. Returns kNoTimer for an empty callback.
  TimerId addTimer(std::uint32_t intervalMs, Callback callback);
  // False when the timer is not (or no longer) registered.
  bool removeTimer(TimerId id);
  bool isRegistered(TimerId id) const;
  std::size_t timerCount() const;

  // Runs every timer that is due at the clock's time / at `nowMs`. A pump started from inside
  // a timer callback does nothing.
  void pump();
  void pump(std::uint64_t nowMs);

  std::uint64_t now() const;
  // Replaces the clock; an empty clock restores the default one.
  void setClock(Clock clock);

private:
  struct Timer {
    TimerId id;
    std::uint64_t intervalMs;
    std::uint64_t dueMs;
    Callback callback;
    bool removed;
  };

  Timer* find(TimerId id) const;
  void dropRemoved();

  mutable std::recursive_mutex mutex;
  // Timers never move while registered, so a callback may grow the list mid-pump.
  std::vector<std::unique_ptr<Timer>> timers;
  Clock clock;
  TimerId lastId = kNoTimer;
  bool pumping = false;
  std::uint64_t pumpNowMs = 0;
};

// A clock for tests: time moves only when the test moves it.
class ManualClock {
public:
  explicit ManualClock(std::uint64_t startMs = 0) : ms(std::make_shared<std::uint64_t>(startMs)) {}

  std::uint64_t now() const { return *ms; }
  void set(std::uint64_t nowMs) { *ms = nowMs; }
  void advance(std::uint64_t deltaMs) { *ms += deltaMs; }

  // A RunLoop clock reading this one (it stays valid after this object is gone).
  RunLoop::Clock clock() const {
    return [ms = this->ms] { return *ms; };
  }

private:
  std::shared_ptr<std::uint64_t> ms;
};

} // namespace orvane
