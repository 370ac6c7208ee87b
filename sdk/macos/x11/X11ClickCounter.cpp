#include "x11/X11ClickCounter.h"

#include <cstdlib>

namespace orvane::x11 {

int X11ClickCounter::press(unsigned button, std::uint32_t timeMs, int x, int y) {
  // Server time is 32-bit milliseconds and wraps: the unsigned difference is still right.
  const bool continues = count > 0 && button == lastButton && timeMs - lastTime <= interval &&
                         std::abs(x - lastX) <= distance && std::abs(y - lastY) <= distance;
  count = continues ? count + 1 : 1;
  lastButton = button;
  lastTime = timeMs;
  // The run is measured from its first press, so a slow drift of small steps ends it.
  if (count == 1) {
    lastX = x;
    lastY = y;
  }
  return count;
}

} // namespace orvane::x11
