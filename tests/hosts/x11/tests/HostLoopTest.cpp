// The test host's GUI loop: a descriptor that becomes readable is dispatched, timers keep
// their period, and callbacks may remove entries (their own included) while the loop runs.
#include "tests/hosts/x11/HostLoop.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace orvane::x11host {
namespace {

TEST(HostLoop, DispatchesAReadableDescriptorUntilItIsDrained) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  HostLoop loop;
  int calls = 0;
  loop.watch(fds[0], [&] {
    char c;
    ASSERT_EQ(read(fds[0], &c, 1), 1);
    ++calls;
  });
  loop.run(20);
  EXPECT_EQ(calls, 0);
  ASSERT_EQ(write(fds[1], "ab", 2), 2);
  EXPECT_TRUE(loop.runUntil([&] { return calls == 2; }, 1000));
  loop.run(20);
  EXPECT_EQ(calls, 2);
  close(fds[0]);
  close(fds[1]);
}

TEST(HostLoop, TimersKeepTheirPeriodAndMayRemoveThemselves) {
  HostLoop loop;
  int fast = 0;
  int once = 0;
  loop.addTimer(10, [&] { ++fast; });
  HostLoop::Id self = 0;
  self = loop.addTimer(5, [&] {
    ++once;
    EXPECT_TRUE(loop.remove(self));
  });
  EXPECT_EQ(loop.timerCount(), 2u);
  loop.run(205);
  EXPECT_EQ(once, 1);
  EXPECT_EQ(loop.timerCount(), 1u);
  // 20 periods of 10 ms; a busy machine may lose a few, never gain.
  EXPECT_LE(fast, 20);
  EXPECT_GE(fast, 10);
}

} // namespace
} // namespace orvane::x11host
