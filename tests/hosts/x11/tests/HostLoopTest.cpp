// The test host's GUI loop: a descriptor that becomes readable is dispatched, timers keep
// their period, and callbacks may remove entries (their own included) while the loop runs.
#include "tests/hosts/x11/HostLoop.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

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
  // The times the periodic timer fired at, and the longest run of firings at one instant.
  std::vector<std::uint64_t> fired;
  const std::uint64_t start = HostLoop::nowMs();
  loop.addTimer(10, [&] { fired.push_back(HostLoop::nowMs()); });
  int once = 0;
  HostLoop::Id self = 0;
  self = loop.addTimer(5, [&] {
    ++once;
    EXPECT_TRUE(loop.remove(self));
  });
  // A callback that holds the loop for 45 ms, as a slow host callback would: the periodic
  // timer is then late by four periods and must fire once, not four times in a burst.
  bool stalled = false;
  loop.addTimer(50, [&] {
    if (!stalled) {
      stalled = true;
      std::this_thread::sleep_for(std::chrono::milliseconds(45));
    }
  });
  EXPECT_EQ(loop.timerCount(), 3u);
  loop.run(205);
  const std::uint64_t end = HostLoop::nowMs();
  EXPECT_EQ(once, 1);
  EXPECT_EQ(loop.timerCount(), 2u);

  // Never early and never more often than its period, however busy the machine: the k-th
  // firing comes at least k periods after the timer was added.
  ASSERT_FALSE(fired.empty());
  EXPECT_LE(fired.size(), (end - start) / 10);
  for (size_t k = 0; k < fired.size(); ++k) {
    EXPECT_GE(fired[k], start + 10 * (k + 1)) << "firing " << k;
  }
  // A late timer keeps its phase and fires once: at most two firings fall on one millisecond
  // (a firing late by almost a period, then the next on time).
  for (size_t k = 2; k < fired.size(); ++k) {
    EXPECT_FALSE(fired[k] == fired[k - 2]) << "firing " << k;
  }
}

} // namespace
} // namespace orvane::x11host
