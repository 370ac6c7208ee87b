#include "FakeHost.h"

#include "base/source/timer.h"
#include "public.sdk/source/vst/vsteditcontroller.h"
#include "sdk/macos/runloop/RunLoop.h"

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

// Keeps track of its views the way the framework's controller does.
class ViewController : public EditController {
public:
  std::vector<std::string> events;
  void editorAttached(EditorView*) override { events.push_back("attached"); }
  void editorRemoved(EditorView*) override { events.push_back("removed"); }
  void editorDestroyed(EditorView*) override { events.push_back("destroyed"); }
};

TEST(EditorViewLife, ControllerHearsAttachRemoveAndDestroy) {
  auto* controller = new ViewController();
  ViewRect size(0, 0, 920, 315);
  auto* view = new EditorView(controller, &size);
  EXPECT_EQ(controller->getRefCount(), 2); // the view holds its controller
  int parent = 0;
  EXPECT_EQ(view->attached(&parent, kPlatformTypeX11EmbedWindowID), kResultOk);
  EXPECT_TRUE(view->isAttached());
  EXPECT_EQ(view->attached(&parent, kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_FALSE(view->isAttached());
  view->release();
  EXPECT_EQ(controller->events, (std::vector<std::string>{"attached", "removed", "destroyed"}));
  EXPECT_EQ(controller->getRefCount(), 1);
  controller->release();
}

// The framework's editor view opens its own window in attached() and then calls the base's
// removed(): the controller must still hear of the removal.
TEST(EditorViewLife, RemovedReachesTheControllerAfterASubclassAttach) {
  class OwnWindowView : public EditorView {
  public:
    using EditorView::EditorView;
    tresult PLUGIN_API attached(void*, FIDString) override { return kResultOk; }
  };
  auto* controller = new ViewController();
  auto* view = new OwnWindowView(controller);
  int parent = 0;
  view->attached(&parent, "NSView");
  EXPECT_EQ(view->removed(), kResultOk);
  view->release();
  EXPECT_EQ(controller->events, (std::vector<std::string>{"removed", "destroyed"}));
  controller->release();
}

TEST(PluginViewDefaults, PlatformTypesSizesAndBadArguments) {
  ViewRect size(0, 0, 300, 200);
  auto* view = new CPluginView(&size);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultTrue);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeNSView), kResultFalse);
  EXPECT_EQ(view->isPlatformTypeSupported(nullptr), kInvalidArgument);
  int parent = 0;
  EXPECT_EQ(view->attached(nullptr, kPlatformTypeX11EmbedWindowID), kInvalidArgument);
  EXPECT_EQ(view->attached(&parent, kPlatformTypeHWND), kResultFalse);
  EXPECT_FALSE(view->isAttached());

  ViewRect got;
  ASSERT_EQ(view->getSize(&got), kResultTrue);
  EXPECT_EQ(got.getWidth(), 300);
  EXPECT_EQ(got.getHeight(), 200);
  EXPECT_EQ(view->getSize(nullptr), kInvalidArgument);
  ViewRect bigger(0, 0, 600, 400);
  EXPECT_EQ(view->onSize(&bigger), kResultTrue);
  EXPECT_EQ(view->onSize(nullptr), kResultTrue);
  view->getSize(&got);
  EXPECT_EQ(got.getWidth(), 600);
  EXPECT_EQ(view->canResize(), kResultFalse);
  view->release();
}

// A Linux host frame with its IRunLoop: keeps the one registered timer handler and counts
// the calls on its run loop.
class FakeFrame : public FObject, public IPlugFrame, public Linux::IRunLoop {
public:
  Linux::ITimerHandler* handler = nullptr;
  Linux::TimerInterval interval = 0;
  int runLoopCalls = 0;

  tresult PLUGIN_API resizeView(IPlugView*, ViewRect*) override { return kResultFalse; }
  tresult PLUGIN_API registerEventHandler(Linux::IEventHandler*, Linux::FileDescriptor) override {
    ++runLoopCalls;
    return kNotImplemented;
  }
  tresult PLUGIN_API unregisterEventHandler(Linux::IEventHandler*) override {
    ++runLoopCalls;
    return kNotImplemented;
  }
  tresult PLUGIN_API registerTimer(Linux::ITimerHandler* h, Linux::TimerInterval ms) override {
    ++runLoopCalls;
    if (handler)
      return kResultFalse;
    handler = h;
    handler->addRef();
    interval = ms;
    return kResultOk;
  }
  tresult PLUGIN_API unregisterTimer(Linux::ITimerHandler* h) override {
    ++runLoopCalls;
    if (h != handler)
      return kResultFalse;
    handler->release();
    handler = nullptr;
    return kResultOk;
  }

  OBJ_METHODS(FakeFrame, FObject)
  FUNKNOWN_METHODS2(IPlugFrame, Linux::IRunLoop, FObject)
};

struct Ticks : ITimerCallback {
  int count = 0;
  void onTimer(Timer*) override { ++count; }
};

// The process-wide run loop on a clock the test moves, for the length of a test.
class PumpedLoop : public ::testing::Test {
protected:
  void SetUp() override { orvane::RunLoop::instance().setClock(clock.clock()); }
  void TearDown() override { orvane::RunLoop::instance().setClock(nullptr); }

  // `ticks` host ticks `periodMs` apart, as the host's GUI loop runs the pump.
  void Tick(FakeFrame& frame, int ticks, std::uint64_t periodMs) {
    for (int i = 0; i < ticks; ++i) {
      clock.advance(periodMs);
      ASSERT_NE(frame.handler, nullptr);
      frame.handler->onTimer();
    }
  }

  orvane::ManualClock clock{100000};
  int parent = 0;
};

// The pump is on the host's loop while the view is attached: not before, and not after
// removed(), after which the host's run loop is not called again.
TEST_F(PumpedLoop, TheHostTimerPumpsWhileTheViewIsAttached) {
  FakeFrame frame;
  auto* view = new CPluginView();
  ASSERT_EQ(view->setFrame(&frame), kResultTrue);
  EXPECT_EQ(frame.handler, nullptr);
  ASSERT_EQ(view->attached(&parent, kPlatformTypeX11EmbedWindowID), kResultOk);
  ASSERT_NE(frame.handler, nullptr);
  EXPECT_EQ(frame.interval, CPluginView::kRunLoopPumpIntervalMs);

  Ticks ticks;
  Timer* meterTimer = Timer::create(&ticks, 40);
  for (int tick = 1; tick <= 12; ++tick) {
    Tick(frame, 1, 10);
    EXPECT_EQ(ticks.count, tick / 4) << "after tick " << tick;
  }

  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_EQ(frame.handler, nullptr);
  const int callsAtRemoval = frame.runLoopCalls;
  const uint32 refsAtRemoval = frame.getRefCount();
  view->setFrame(nullptr);
  EXPECT_EQ(frame.runLoopCalls, callsAtRemoval);
  EXPECT_LT(frame.getRefCount(), refsAtRemoval); // only the frame's own reference went

  // Attached again, then released by a host that forgot removed(): the view unregisters.
  view->setFrame(&frame);
  view->attached(&parent, kPlatformTypeX11EmbedWindowID);
  ASSERT_NE(frame.handler, nullptr);
  view->release();
  EXPECT_EQ(frame.handler, nullptr);
  meterTimer->release();
}

// Host ticks three times their period apart (a busy GUI thread): the plug-in's timers keep
// their own periods, each firing at most one host tick late, and time never runs backwards.
TEST_F(PumpedLoop, LateHostTicksKeepThePluginTimersOnTime) {
  FakeFrame frame;
  auto* view = new CPluginView();
  view->setFrame(&frame);
  ASSERT_EQ(view->attached(&parent, kPlatformTypeX11EmbedWindowID), kResultOk);
  Ticks ticks;
  Timer* meterTimer = Timer::create(&ticks, 40);
  Tick(frame, 40, 3 * CPluginView::kRunLoopPumpIntervalMs); // 1200 ms
  // 30 on time; a timer that is late fires once and keeps its phase.
  EXPECT_GE(ticks.count, 27);
  EXPECT_LE(ticks.count, 30);
  const std::uint64_t before = orvane::RunLoop::instance().now();
  Tick(frame, 1, 0);
  EXPECT_GE(orvane::RunLoop::instance().now(), before);
  view->removed();
  view->release();
  meterTimer->release();
}

// Two open views pump the same loop; time still runs at the clock's pace, not twice as fast.
TEST_F(PumpedLoop, TwoViewsDoNotSpeedUpTime) {
  FakeFrame frameA;
  FakeFrame frameB;
  auto* viewA = new CPluginView();
  auto* viewB = new CPluginView();
  viewA->setFrame(&frameA);
  viewB->setFrame(&frameB);
  viewA->attached(&parent, kPlatformTypeX11EmbedWindowID);
  viewB->attached(&parent, kPlatformTypeX11EmbedWindowID);
  Ticks ticks;
  Timer* meterTimer = Timer::create(&ticks, 40);
  for (int tick = 0; tick < 8; ++tick) {
    Tick(frameA, 1, 10);
    Tick(frameB, 1, 0);
  }
  EXPECT_EQ(ticks.count, 2); // 80 ms
  meterTimer->release();
  viewA->removed();
  viewB->removed();
  viewA->release();
  viewB->release();
}

TEST(PluginViewRunLoop, FrameWithoutRunLoopIsKeptAlone) {
  class PlainFrame : public FObject, public IPlugFrame {
  public:
    tresult PLUGIN_API resizeView(IPlugView*, ViewRect*) override { return kResultOk; }
    OBJ_METHODS(PlainFrame, FObject)
    FUNKNOWN_METHODS(IPlugFrame, FObject)
  };
  PlainFrame frame;
  auto* view = new CPluginView();
  EXPECT_EQ(view->setFrame(&frame), kResultTrue);
  EXPECT_EQ(view->getFrame(), static_cast<IPlugFrame*>(&frame));
  EXPECT_EQ(frame.getRefCount(), 2);
  view->release();
  EXPECT_EQ(frame.getRefCount(), 1);
}

} // namespace
} // namespace orvane::test
