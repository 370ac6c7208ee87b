#include "sdk/macos/runloop/RunLoop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvane {
namespace {

class RunLoopTest : public ::testing::Test {
protected:
  RunLoopTest() { loop.setClock(clock.clock()); }

  ManualClock clock{1000};
  RunLoop loop;
  std::vector<std::string> fired;

  RunLoop::TimerId add(std::uint32_t interval, std::string name) {
    return loop.addTimer(interval, [this, name] { fired.push_back(name); });
  }
};

TEST_F(RunLoopTest, TimersFireWhenDueInRegistrationOrderAndKeepTheirPhase) {
  add(40, "meter");
  add(25, "redraw");

  loop.pump(1024);
  EXPECT_TRUE(fired.empty());
  loop.pump(1025);
  EXPECT_EQ(fired, (std::vector<std::string>{"redraw"}));
  loop.pump(1040);
  EXPECT_EQ(fired, (std::vector<std::string>{"redraw", "meter"}));
  // The same instant again: nothing more is due.
  loop.pump(1040);
  EXPECT_EQ(fired.size(), 2u);
  // Both due at 1080 (meter) and 1050, 1075 (redraw): one firing each, no catching up.
  loop.pump(1080);
  EXPECT_EQ(fired, (std::vector<std::string>{"redraw", "meter", "meter", "redraw"}));
  // The redraw timer kept its 25 ms phase: next due at 1100, not at 1105.
  loop.pump(1099);
  EXPECT_EQ(fired.size(), 4u);
  loop.pump(1100);
  EXPECT_EQ(fired.back(), "redraw");
}

TEST_F(RunLoopTest, PumpWithoutArgumentReadsTheClock) {
  add(50, "t");
  clock.advance(49);
  loop.pump();
  EXPECT_TRUE(fired.empty());
  clock.advance(1);
  loop.pump();
  EXPECT_EQ(fired.size(), 1u);
  EXPECT_EQ(loop.now(), 1050u);
}

TEST_F(RunLoopTest, RemovedTimerNeverFiresAgain) {
  const auto id = add(10, "t");
  EXPECT_TRUE(loop.isRegistered(id));
  EXPECT_TRUE(loop.removeTimer(id));
  EXPECT_FALSE(loop.removeTimer(id));
  EXPECT_FALSE(loop.isRegistered(id));
  loop.pump(5000);
  EXPECT_TRUE(fired.empty());
  EXPECT_EQ(loop.timerCount(), 0u);
}

// Interval 0: as soon as possible, then every millisecond. Asked for by a callback (a redraw
// timer that marks the window for display), it runs at the end of the same pump, once; what
// it adds in turn waits for the next pump.
TEST_F(RunLoopTest, EmptyCallbackIsRefusedAndZeroIntervalMeansAtOnceThenEveryMillisecond) {
  EXPECT_EQ(loop.addTimer(10, nullptr), RunLoop::kNoTimer);
  add(0, "fast");
  loop.pump(1000);
  EXPECT_EQ(fired.size(), 1u);
  loop.pump(1000);
  EXPECT_EQ(fired.size(), 1u);
  loop.pump(1001);
  EXPECT_EQ(fired.size(), 2u);

  RunLoop nested;
  nested.setClock([] { return std::uint64_t{5000}; });
  std::vector<std::string> order;
  nested.addTimer(10, [&] {
    order.push_back("marks");
    nested.addTimer(0, [&] {
      order.push_back("displays");
      nested.addTimer(0, [&] { order.push_back("later"); });
    });
  });
  nested.pump(5010);
  EXPECT_EQ(order, (std::vector<std::string>{"marks", "displays"}));
  nested.pump(5010);
  EXPECT_EQ(order, (std::vector<std::string>{"marks", "displays", "later"}));
}

TEST_F(RunLoopTest, TimerMayRemoveItselfDuringPump) {
  RunLoop::TimerId self = RunLoop::kNoTimer;
  // The capture below is destroyed only after the callback has returned (asan checks it).
  std::string big(200, 'x');
  self = loop.addTimer(10, [this, &self, big] {
    fired.push_back(big.substr(0, 1));
    loop.removeTimer(self);
    fired.push_back(big.substr(1, 1));
  });
  loop.pump(1010);
  loop.pump(1020);
  EXPECT_EQ(fired, (std::vector<std::string>{"x", "x"}));
  EXPECT_EQ(loop.timerCount(), 0u);
}

TEST_F(RunLoopTest, TimerMayRemoveAnotherThatIsDueInTheSamePump) {
  RunLoop::TimerId second = RunLoop::kNoTimer;
  loop.addTimer(10, [&] {
    fired.push_back("first");
    loop.removeTimer(second);
  });
  second = add(10, "second");
  loop.pump(1010);
  EXPECT_EQ(fired, (std::vector<std::string>{"first"}));
}

TEST_F(RunLoopTest, TimerAddedDuringPumpStartsItsPeriodThen) {
  loop.addTimer(10, [&] {
    if (fired.empty())
      add(10, "late");
    fired.push_back("first");
  });
  loop.pump(1010);
  EXPECT_EQ(fired, (std::vector<std::string>{"first"}));
  loop.pump(1020);
  EXPECT_EQ(fired, (std::vector<std::string>{"first", "first", "late"}));
}

TEST_F(RunLoopTest, NestedPumpFromCallbackDoesNothing) {
  int depth = 0;
  loop.addTimer(10, [&] {
    ++depth;
    loop.pump(2000);
  });
  loop.pump(1010);
  EXPECT_EQ(depth, 1);
}

TEST_F(RunLoopTest, DestroyingACallbackMayRemoveAnotherTimer) {
  // An object whose destructor unregisters a companion timer, owned by a timer's callback.
  struct Unregisters {
    RunLoop* loop;
    RunLoop::TimerId other;
    ~Unregisters() {
      if (loop)
        loop->removeTimer(other);
    }
  };
  const auto other = add(10, "other");
  auto owner = std::make_shared<Unregisters>(Unregisters{&loop, other});
  const auto first = loop.addTimer(10, [owner] {});
  owner.reset();
  EXPECT_TRUE(loop.removeTimer(first));
  EXPECT_FALSE(loop.isRegistered(other));
  EXPECT_EQ(loop.timerCount(), 0u);
}

TEST(RunLoopClock, DefaultClockIsMonotonic) {
  RunLoop loop;
  const auto a = loop.now();
  const auto b = loop.now();
  EXPECT_LE(a, b);
  EXPECT_NEAR(static_cast<double>(a), static_cast<double>(RunLoop::monotonicMs()), 1000.0);
  EXPECT_EQ(&RunLoop::instance(), &RunLoop::instance());
}

} // namespace
} // namespace orvane
