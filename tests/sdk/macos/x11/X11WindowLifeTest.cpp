// The X11 window back end's life beside a host's: a host window destroyed while the editor's
// child is still in it (the host closing before it removes the view), with drawing, a press
// or nothing in between, sends no request on the dead window; an X error of the editor's own
// connection is counted there and never reaches the process-wide handler, the host's.
// GoogleTest before Xlib, whose macros (None, Bool, Status) clash with it.
#include <gtest/gtest.h>

#include "AppKit/AppKit.h"
#include "sdk/macos/runloop/RunLoop.h"
#include "tests/hosts/x11/HostWindow.h"
#include "x11/X11Connection.h"
#include "x11/X11WindowBackend.h"

#include <X11/Xlib.h>

#include <chrono>
#include <thread>

namespace orvane::x11 {
namespace {

using x11host::HostWindow;

int gHostErrors = 0;
int CountHostError(Display*, XErrorEvent*) {
  ++gHostErrors;
  return 0;
}

// The host's process-wide handler while a test runs.
class HostHandler {
public:
  HostHandler() : previous(XSetErrorHandler(CountHostError)) { gHostErrors = 0; }
  ~HostHandler() { XSetErrorHandler(previous); }

private:
  XErrorHandler previous;
};

TEST(X11ConnectionErrors, StayOnTheConnectionAndNeverReachTheHostsHandler) {
  HostHandler host;
  // The host's own connection (which also finds the test display for the editor's).
  std::string error;
  auto window = HostWindow::create(4, 4, error);
  ASSERT_TRUE(window) << error;
  X11Connection connection;
  ASSERT_TRUE(connection.isOpen());
  const Window nowhere = 0x7FFFFF0;
  XDestroyWindow(connection.get(), nowhere); // an error that arrives later
  XSync(connection.get(), False);
  EXPECT_EQ(connection.errorCount(), 1);
  XWindowAttributes attributes{};
  EXPECT_FALSE(connection.checked(
      [&] { XGetWindowAttributes(connection.get(), nowhere, &attributes); })); // a reply
  EXPECT_TRUE(connection.checked([&] { XSync(connection.get(), False); }));
  EXPECT_EQ(connection.errorCount(), 2);
  EXPECT_EQ(gHostErrors, 0);
  // The host's handler was never replaced.
  EXPECT_EQ(XSetErrorHandler(CountHostError), &CountHostError);

  // The host's own connection still reports to the host.
  XDestroyWindow(window->display(), nowhere);
  XSync(window->display(), False);
  EXPECT_EQ(gHostErrors, 1);
}

enum class Between { Nothing, EventsRead, Drawing, Press };

class HostWindowGoesFirst : public ::testing::TestWithParam<Between> {
protected:
  void Settle(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
      backend->dispatchEvents();
      RunLoop::instance().pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }

  X11WindowBackend* backend = nullptr;
};

TEST_P(HostWindowGoesFirst, NoRequestNamesTheDeadWindow) {
  HostHandler handler;
  std::string error;
  auto host = HostWindow::create(300, 200, error);
  ASSERT_TRUE(host) << error;
  auto made = X11WindowBackend::Make(host->parentHandle());
  ASSERT_TRUE(made);
  backend = static_cast<X11WindowBackend*>(made.get());
  auto* window = new NSWindow(NSMakeRect(0, 0, 200, 100), std::move(made));
  auto* view = new NSView(NSMakeRect(0, 0, 200, 100));
  window->setContentView(view);
  view->release();
  Settle(100);
  ASSERT_EQ(host->children().size(), 1u);

  if (GetParam() == Between::Press) {
    host->moveTo(20, 20);
    host->press(1);
    Settle(60);
  }
  host->destroy();
  switch (GetParam()) {
  case Between::Nothing:
    break;
  case Between::EventsRead:
    Settle(60);
    EXPECT_TRUE(backend->windowGone());
    break;
  case Between::Drawing:
  case Between::Press:
    view->setNeedsDisplay(true);
    RunLoop::instance().pump();
    window->displayIfNeeded();
    Settle(60);
    break;
  }
  backend->detach(); // what closing the window does first (the back end goes with it)
  EXPECT_TRUE(backend->windowGone());
  EXPECT_EQ(backend->errorCount(), 0);
  window->close();
  window->release();
  if (GetParam() == Between::Press) {
    auto user = HostWindow::create(4, 4, error);
    ASSERT_TRUE(user) << error;
    user->release(1);
    user->sync();
  }
  EXPECT_EQ(gHostErrors, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, HostWindowGoesFirst,
                         ::testing::Values(Between::Nothing, Between::EventsRead, Between::Drawing,
                                           Between::Press));

} // namespace
} // namespace orvane::x11
