// Click counting for X11, which has none of its own: a press of the same button close to the
// previous press, soon after it, continues its run (2 for a double-click, 3 for a triple);
// anything else starts a new run at 1.
#pragma once

#include <cstdint>

namespace orvane::x11 {

class X11ClickCounter {
public:
  // The desktop's usual double-click time and the distance a hand moves between two clicks.
  static constexpr std::uint32_t kDefaultIntervalMs = 400;
  static constexpr int kDefaultDistance = 4;

  explicit X11ClickCounter(std::uint32_t intervalMs = kDefaultIntervalMs,
                           int distance = kDefaultDistance)
      : interval(intervalMs), distance(distance) {}

  // A press at device pixel (x, y) at server time `timeMs`: its click count.
  int press(unsigned button, std::uint32_t timeMs, int x, int y);
  // Forgets the run (the pointer left, a menu opened).
  void reset() { count = 0; }

private:
  std::uint32_t interval;
  int distance;
  unsigned lastButton = 0;
  std::uint32_t lastTime = 0;
  int lastX = 0, lastY = 0;
  int count = 0;
};

} // namespace orvane::x11
