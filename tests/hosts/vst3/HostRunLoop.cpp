#include "tests/hosts/vst3/HostRunLoop.h"

namespace orvane::testhost {

namespace {

// Starts well away from zero so that no timer arithmetic sits on the edge.
ManualClock& clock() {
  static ManualClock c(1000000);
  return c;
}

} // namespace

RunLoop& hostRunLoop() {
  static RunLoop* loop = [] {
    auto* made = new RunLoop;
    made->setClock(clock().clock());
    return made;
  }();
  return *loop;
}

std::uint64_t hostClockMs() {
  return clock().now();
}

void advanceHostClock(std::uint64_t ms) {
  for (std::uint64_t i = 0; i < ms; ++i) {
    clock().advance(1);
    hostRunLoop().pump();
  }
}

} // namespace orvane::testhost

// Published to the bundles this host loads (exported from the executable by the link options
// of orvane_vst3_testhost).
extern "C" __attribute__((visibility("default"))) std::uint64_t orvaneHostClockMs() {
  return orvane::testhost::hostClockMs();
}
