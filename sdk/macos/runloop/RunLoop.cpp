#include "sdk/macos/runloop/RunLoop.h"

#include <dlfcn.h>

#include <algorithm>
#include <chrono>

namespace orvane {

namespace {

using PublishedClock = std::uint64_t (*)();

// Looked up once: a host publishes its clock before it loads anything.
PublishedClock publishedHostClock() {
  static const PublishedClock published =
      reinterpret_cast<PublishedClock>(dlsym(RTLD_DEFAULT, "orvaneHostClockMs"));
  return published;
}

} // namespace

RunLoop& RunLoop::instance() {
  static RunLoop loop;
  return loop;
}

std::uint64_t RunLoop::monotonicMs() {
  const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count());
}

std::uint64_t RunLoop::defaultClockMs() {
  const PublishedClock published = publishedHostClock();
  return published ? published() : monotonicMs();
}

RunLoop::RunLoop() = default;
RunLoop::~RunLoop() = default;

RunLoop::TimerId RunLoop::addTimer(std::uint32_t intervalMs, Callback callback) {
  if (!callback)
    return kNoTimer;
  std::lock_guard<std::recursive_mutex> lock(mutex);
  const std::uint64_t interval = std::max<std::uint64_t>(intervalMs, 1);
  const TimerId id = ++lastId;
  // Added by a callback: the period starts at the pump's time. An interval of 0 asks for the
  // first firing as soon as possible: at the end of the running pump, else the next one.
  const std::uint64_t start = pumping ? pumpNowMs : now();
  const std::uint64_t first = intervalMs == 0 ? start : start + interval;
  timers.push_back(std::make_unique<Timer>(Timer{id, interval, first, std::move(callback), false}));
  return id;
}

bool RunLoop::removeTimer(TimerId id) {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  Timer* timer = find(id);
  if (!timer)
    return false;
  timer->removed = true;
  // Mid-pump the callback may be running (it may be removing itself): keep it until the pump
  // is done with it.
  if (!pumping)
    dropRemoved();
  return true;
}

bool RunLoop::isRegistered(TimerId id) const {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  return find(id) != nullptr;
}

std::size_t RunLoop::timerCount() const {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  return static_cast<std::size_t>(std::count_if(timers.begin(), timers.end(),
                                                [](const auto& timer) { return !timer->removed; }));
}

void RunLoop::pump() {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  pump(now());
}

void RunLoop::pump(std::uint64_t nowMs) {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  if (pumping)
    return;
  pumping = true;
  pumpNowMs = nowMs;
  struct EndOfPump {
    RunLoop& loop;
    ~EndOfPump() {
      loop.pumping = false;
      loop.dropRemoved();
    }
  } endOfPump{*this};

  // Timers added by a callback run in this pump only when they asked for as soon as possible
  // (interval 0: a window's display after a redraw timer marked it), once; the rest, and
  // what those add in turn, wait for the next pump.
  const std::size_t registered = timers.size();
  const auto runDue = [&](std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
      Timer& timer = *timers[i];
      if (timer.removed || timer.dueMs > nowMs)
        continue;
      const std::uint64_t periodsLate = (nowMs - timer.dueMs) / timer.intervalMs;
      timer.dueMs += (periodsLate + 1) * timer.intervalMs;
      timer.callback();
    }
  };
  runDue(0, registered);
  runDue(registered, timers.size());
}

std::uint64_t RunLoop::now() const {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  return clock ? clock() : defaultClockMs();
}

void RunLoop::setClock(Clock newClock) {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  clock = std::move(newClock);
}

RunLoop::Timer* RunLoop::find(TimerId id) const {
  for (const auto& timer : timers)
    if (timer->id == id && !timer->removed)
      return timer.get();
  return nullptr;
}

void RunLoop::dropRemoved() {
  // Callbacks are destroyed after the list is consistent again: a destructor may remove
  // further timers.
  std::vector<std::unique_ptr<Timer>> dropped;
  for (auto& timer : timers)
    if (timer->removed)
      dropped.push_back(std::move(timer));
  std::erase(timers, nullptr);
}

} // namespace orvane
