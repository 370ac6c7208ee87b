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
  EXPECT_EQ(view->removed(), kResultFalse);
  view->release();
  EXPECT_EQ(controller->events, (std::vector<std::string>{"attached", "removed", "destroyed"}));
  EXPECT_EQ(controller->getRefCount(), 1);
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

// A Linux host frame with its IRunLoop: keeps the one registered timer handler.
class FakeFrame : public FObject, public IPlugFrame, public Linux::IRunLoop {
public:
  Linux::ITimerHandler* handler = nullptr;
  Linux::TimerInterval interval = 0;

  tresult PLUGIN_API resizeView(IPlugView*, ViewRect*) override { return kResultFalse; }
  tresult PLUGIN_API registerEventHandler(Linux::IEventHandler*, Linux::FileDescriptor) override {
    return kNotImplemented;
  }
  tresult PLUGIN_API unregisterEventHandler(Linux::IEventHandler*) override {
    return kNotImplemented;
  }
  tresult PLUGIN_API registerTimer(Linux::ITimerHandler* h, Linux::TimerInterval ms) override {
    if (handler)
      return kResultFalse;
    handler = h;
    handler->addRef();
    interval = ms;
    return kResultOk;
  }
  tresult PLUGIN_API unregisterTimer(Linux::ITimerHandler* h) override {
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

TEST(PluginViewRunLoop, HostTimerPumpsThePluginTimers) {
  orvane::ManualClock clock(0);
  orvane::RunLoop::instance().setClock(clock.clock());
  Ticks ticks;
  Timer* meterTimer = Timer::create(&ticks, 40);

  FakeFrame frame;
  auto* view = new CPluginView();
  ASSERT_EQ(view->setFrame(&frame), kResultTrue);
  ASSERT_NE(frame.handler, nullptr);
  EXPECT_EQ(frame.interval, CPluginView::kRunLoopPumpIntervalMs);

  clock.advance(40);
  frame.handler->onTimer(); // what the host's GUI loop does every interval
  EXPECT_EQ(ticks.count, 1);

  view->setFrame(nullptr); // the host takes its frame away: no more pumping through it
  EXPECT_EQ(frame.handler, nullptr);
  EXPECT_EQ(view->getFrame(), nullptr);

  view->setFrame(&frame);
  ASSERT_NE(frame.handler, nullptr);
  view->release(); // a dying view unregisters too
  EXPECT_EQ(frame.handler, nullptr);

  meterTimer->release();
  orvane::RunLoop::instance().setClock({});
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
