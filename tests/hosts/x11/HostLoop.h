// The GUI thread of the X11 test host: descriptors watched with poll() and periodic timers
// on the real clock, the way a Linux host's main loop (glib, Ardour's) runs them. Watches and
// timers may be added or removed from inside their own callbacks.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace orvane::x11host {

class HostLoop {
public:
  using Id = std::uint64_t;

  // Milliseconds of the monotonic clock.
  static std::uint64_t nowMs();

  Id watch(int fd, std::function<void()> onReadable);
  // Timers added from now on fire `factor` times their interval apart: a host whose GUI
  // thread is busy, or whose loop is coarse (1 is on time).
  void setTimerStretch(std::uint64_t factor) { stretch = factor ? factor : 1; }
  Id addTimer(std::uint64_t intervalMs, std::function<void()> onTimer);
  bool remove(Id id);

  size_t watchCount() const;
  size_t timerCount() const;

  // Runs the loop for `ms` milliseconds.
  void run(std::uint64_t ms);
  // Runs until `done` is true (checked after every dispatch) or `timeoutMs` has passed;
  // returns `done`'s last answer.
  bool runUntil(const std::function<bool()>& done, std::uint64_t timeoutMs);

private:
  struct Entry {
    int fd = -1;                  // a watch when >= 0
    std::uint64_t intervalMs = 0; // a timer when > 0
    std::uint64_t dueMs = 0;
    std::function<void()> callback;
  };

  // One poll with a timeout up to `untilMs`, then the readable watches and due timers.
  void dispatchOnce(std::uint64_t untilMs);

  std::map<Id, std::shared_ptr<Entry>> entries;
  Id lastId = 0;
  std::uint64_t stretch = 1;
};

} // namespace orvane::x11host
