// The test host's GUI thread: one run loop for every frame of the process, on a clock that
// moves only when a test moves it. The clock is published to the bundles the host loads (see
// sdk/macos/runloop/RunLoop.h), so their own run loops, pumped from the host's timers, see
// the same time.
#pragma once

#include "sdk/macos/runloop/RunLoop.h"

#include <cstdint>

namespace orvane::testhost {

RunLoop& hostRunLoop();
std::uint64_t hostClockMs();

// Moves the clock on by `ms`, one millisecond at a time, pumping the host loop at each step as
// a host's GUI thread would.
void advanceHostClock(std::uint64_t ms);

} // namespace orvane::testhost
