// The editor view in a Linux host frame: attached, timers on the host run loop, size kept in
// the controller state.
#include "tests/passthrough/PassthroughFixture.h"

namespace orvane::passthrough {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

TEST_F(PassthroughFixture, ViewRunsATimerOnTheHostRunLoopWhileAttached) {
  IPlugView* view = plugin->openView();
  ASSERT_NE(view, nullptr);
  ViewRect size;
  ASSERT_EQ(view->getSize(&size), kResultOk);
  EXPECT_EQ(size.getWidth(), 300);
  EXPECT_EQ(size.getHeight(), 120);

  const testhost::HostLog& log = plugin->log();
  EXPECT_EQ(log.timersRegistered, (std::vector<Linux::TimerInterval>{40}));
  EXPECT_EQ(plugin->frame().timerCount(), 1u);

  // Host ticks at 40, 80, 120 ... ms pump the module's loop, whose 100 ms timer sees the
  // host's clock: it fires at the first tick after each 100 ms, at 120, 200, 320 and 400.
  plugin->frame().advance(119);
  EXPECT_TRUE(log.resizeRequests.empty());
  plugin->frame().advance(1);
  EXPECT_EQ(log.resizeRequests.size(), 1u);
  plugin->frame().advance(280);
  ASSERT_EQ(log.resizeRequests.size(), 4u);
  EXPECT_EQ(log.resizeRequests.back().getWidth(), 300);

  plugin->closeView();
  EXPECT_EQ(log.timersUnregistered, 1);
  EXPECT_EQ(plugin->frame().timerCount(), 0u);
  plugin->frame().advance(400);
  EXPECT_EQ(log.resizeRequests.size(), 4u);
}

TEST_F(PassthroughFixture, ViewSizeTravelsWithTheControllerState) {
  IPlugView* view = plugin->openView();
  ASSERT_NE(view, nullptr);
  ViewRect bigger(0, 0, 400, 200);
  ASSERT_EQ(view->onSize(&bigger), kResultOk);
  plugin->closeView();
  const auto controller = plugin->controllerState();

  auto second = makePlugin();
  ASSERT_EQ(second->restoreState(plugin->processorState(), controller), kResultOk);
  IPlugView* reopened = second->openView();
  ASSERT_NE(reopened, nullptr);
  ViewRect size;
  reopened->getSize(&size);
  EXPECT_EQ(size.getWidth(), 400);
  EXPECT_EQ(size.getHeight(), 200);
}

TEST_F(PassthroughFixture, OnlyTheEditorViewExists) {
  EXPECT_EQ(plugin->controller()->createView("inspector"), nullptr);
  EXPECT_EQ(plugin->controller()->createView(nullptr), nullptr);
}

} // namespace
} // namespace orvane::passthrough
