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
  plugin->frame().advance(400); // ten ticks into the module's own run loop

  plugin->closeView();
  EXPECT_EQ(log.timersUnregistered, 1);
  EXPECT_EQ(plugin->frame().timerCount(), 0u);
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
