// A host process that publishes its clock: every loop's default clock follows it.
#include "sdk/macos/runloop/RunLoop.h"

#include <gtest/gtest.h>

namespace {
std::uint64_t gHostNow = 5000;
} // namespace

extern "C" __attribute__((visibility("default"))) std::uint64_t orvaneHostClockMs() {
  return gHostNow;
}

namespace orvane {
namespace {

TEST(RunLoopHostClock, DefaultClockIsThePublishedOne) {
  RunLoop loop;
  EXPECT_EQ(loop.now(), 5000u);
  int fired = 0;
  loop.addTimer(40, [&] { ++fired; });
  gHostNow = 5039;
  loop.pump();
  EXPECT_EQ(fired, 0);
  gHostNow = 5040;
  loop.pump();
  EXPECT_EQ(fired, 1);

  // A clock of the loop's own still wins.
  loop.setClock([] { return std::uint64_t{7}; });
  EXPECT_EQ(loop.now(), 7u);
  loop.setClock(nullptr);
  EXPECT_EQ(loop.now(), 5040u);
}

} // namespace
} // namespace orvane
