#include "base/source/timer.h"
#include "sdk/macos/runloop/RunLoop.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace Steinberg;

struct Counter : ITimerCallback {
  std::vector<Timer*> calls;
  bool releaseOnFirstCall = false;
  void onTimer(Timer* timer) override {
    calls.push_back(timer);
    if (releaseOnFirstCall && calls.size() == 1)
      timer->release();
  }
};

// The process-wide loop with a clock the test moves; whatever a test leaves behind is
// removed before the next one.
class TimerOnRunLoop : public testing::Test {
protected:
  void SetUp() override {
    timersBefore = loop().timerCount();
    loop().setClock(clock.clock());
  }
  void TearDown() override {
    loop().setClock({});
    EXPECT_EQ(loop().timerCount(), timersBefore) << "a timer was left registered";
  }
  static orvane::RunLoop& loop() { return orvane::RunLoop::instance(); }
  void advanceAndPump(uint64_t ms) {
    clock.advance(ms);
    loop().pump();
  }

  orvane::ManualClock clock{1000};
  size_t timersBefore = 0;
};

TEST_F(TimerOnRunLoop, FiresEveryIntervalUntilStopped) {
  Counter counter;
  Timer* timer = Timer::create(&counter, 40);
  ASSERT_NE(timer, nullptr);
  advanceAndPump(39);
  EXPECT_TRUE(counter.calls.empty());
  advanceAndPump(1);
  ASSERT_EQ(counter.calls.size(), 1u);
  EXPECT_EQ(counter.calls[0], timer);
  advanceAndPump(40);
  EXPECT_EQ(counter.calls.size(), 2u);
  timer->stop();
  timer->stop(); // a second stop is harmless
  advanceAndPump(400);
  EXPECT_EQ(counter.calls.size(), 2u);
  timer->release();
}

TEST_F(TimerOnRunLoop, ReleasingTheLastReferenceStops) {
  Counter counter;
  Timer* timer = Timer::create(&counter, 40);
  timer->release();
  advanceAndPump(100);
  EXPECT_TRUE(counter.calls.empty());
}

TEST_F(TimerOnRunLoop, CallbackMayReleaseItsOwnTimer) {
  Counter counter;
  counter.releaseOnFirstCall = true;
  Timer::create(&counter, 10);
  advanceAndPump(10);
  advanceAndPump(10);
  EXPECT_EQ(counter.calls.size(), 1u);
}

TEST_F(TimerOnRunLoop, TwoTimersKeepTheirOwnPeriods) {
  Counter meter;
  Counter transfer;
  Timer* meterTimer = Timer::create(&meter, 40);
  Timer* transferTimer = Timer::create(&transfer, 50);
  for (int i = 0; i < 20; ++i)
    advanceAndPump(10); // 200 ms in 10 ms steps
  EXPECT_EQ(meter.calls.size(), 5u);
  EXPECT_EQ(transfer.calls.size(), 4u);
  meterTimer->release();
  transferTimer->release();
}

TEST_F(TimerOnRunLoop, NullCallbackMakesNoTimer) {
  EXPECT_EQ(Timer::create(nullptr, 40), nullptr);
}

} // namespace
