// The X11 window back end under an NSWindow of the stand-in, driven by XTest as a user would:
// button, wheel and key events with their modifiers and click counts, drags that keep coming
// outside the window, pop-up menus chosen with the keyboard, and a text field that filters,
// commits on Return and a click elsewhere, and cancels on Escape.
// GoogleTest before Xlib, whose macros (None, Bool, Status) clash with it.
#include <gtest/gtest.h>

#include "AppKit/AppKit.h"
#include "sdk/macos/runloop/RunLoop.h"
#include "tests/hosts/x11/HostWindow.h"
#include "x11/X11WindowBackend.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace orvane::x11 {
namespace {

using x11host::HostWindow;

// A view that records the events it gets.
class RecordingView : public NSView {
public:
  using NSView::NSView;
  struct Seen {
    NSEventType type;
    NSPoint at;
    NSEventModifierFlags flags;
    int clicks;
    std::string characters;
    std::uint16_t keyCode;
    double deltaY;
  };
  bool acceptsFirstResponder() override { return true; }
  void mouseDown(NSEvent* e) override { add(e); }
  void mouseUp(NSEvent* e) override { add(e); }
  void mouseDragged(NSEvent* e) override { add(e); }
  void rightMouseDown(NSEvent* e) override { add(e); }
  void rightMouseUp(NSEvent* e) override { add(e); }
  void scrollWheel(NSEvent* e) override { add(e); }
  void keyDown(NSEvent* e) override { add(e); }
  std::vector<Seen> seen;

private:
  void add(NSEvent* e) {
    seen.push_back({e->type(), e->locationInWindow(), e->modifierFlags(), e->clickCount(),
                    e->characters(), e->keyCode(), e->deltaY()});
  }
};

class DigitsOnly : public NSFormatter {
public:
  bool isPartialStringValid(const std::string& partial) const override {
    return partial.find_first_not_of("0123456789") == std::string::npos;
  }
};

class EndRecorder : public NSTextFieldDelegate {
public:
  void controlTextDidEndEditing(NSTextField* field) override {
    ended.push_back(field->stringValue());
  }
  void controlTextDidCancelEditing(NSTextField* field) override {
    cancelled.push_back(field->stringValue());
  }
  std::vector<std::string> ended, cancelled;
};

class X11Window : public ::testing::Test {
protected:
  static constexpr int kWidth = 200, kHeight = 100;

  void SetUp() override {
    std::string error;
    host = HostWindow::create(400, 300, error);
    ASSERT_TRUE(host) << error;
    auto made = X11WindowBackend::Make(host->parentHandle());
    ASSERT_TRUE(made);
    backend = static_cast<X11WindowBackend*>(made.get());
    window = new NSWindow(NSMakeRect(0, 0, kWidth, kHeight), std::move(made));
    view = new RecordingView(NSMakeRect(0, 0, kWidth, kHeight));
    window->setContentView(view);
    view->release();
    window->makeFirstResponder(view);
    Settle(100);
  }
  void TearDown() override {
    if (window) {
      window->close();
      window->release();
    }
  }

  // The host's loop for this window: its events and the run loop, for a while.
  void Settle(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
      backend->dispatchEvents();
      RunLoop::instance().pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }

  std::unique_ptr<HostWindow> host;
  X11WindowBackend* backend = nullptr;
  NSWindow* window = nullptr;
  RecordingView* view = nullptr;
};

TEST_F(X11Window, ButtonsWheelAndKeysBecomeNSEventsWithModifiers) {
  host->click(10, 20);
  host->click(11, 21); // a double-click
  host->pressKey(XK_Shift_L);
  host->click(50, 40, 3);
  host->releaseKey(XK_Shift_L);
  host->moveTo(60, 30);
  host->press(4);
  host->release(4);
  host->press(5);
  host->release(5);
  host->key(XK_a);
  host->key(XK_a, {XK_Super_L});
  host->key(XK_Left, {XK_Alt_L, XK_Control_L});
  Settle(200);

  const auto& s = view->seen;
  ASSERT_EQ(s.size(), 11u);
  EXPECT_EQ(s[0].type, NSLeftMouseDown);
  EXPECT_EQ(s[0].clicks, 1);
  EXPECT_DOUBLE_EQ(s[0].at.x, 10);
  EXPECT_DOUBLE_EQ(s[0].at.y, kHeight - 20); // points: origin bottom left
  EXPECT_EQ(s[1].type, NSLeftMouseUp);
  EXPECT_EQ(s[2].type, NSLeftMouseDown);
  EXPECT_EQ(s[2].clicks, 2);
  EXPECT_EQ(s[4].type, NSRightMouseDown);
  EXPECT_EQ(s[4].flags, NSShiftKeyMask);
  EXPECT_EQ(s[4].clicks, 1);
  EXPECT_EQ(s[5].type, NSRightMouseUp);
  EXPECT_EQ(s[6].type, NSScrollWheel);
  EXPECT_EQ(s[6].deltaY, 1.0);
  EXPECT_EQ(s[7].deltaY, -1.0);
  EXPECT_EQ(s[8].type, NSKeyDown);
  EXPECT_EQ(s[8].characters, "a");
  EXPECT_EQ(s[8].keyCode, 0);
  EXPECT_EQ(s[9].flags, NSCommandKeyMask);
  EXPECT_EQ(s[10].keyCode, kVK_LeftArrow);
  EXPECT_EQ(s[10].flags, NSAlternateKeyMask | NSControlKeyMask);
}

TEST_F(X11Window, ADragKeepsComingOutsideTheWindowWhileTheButtonIsHeld) {
  host->moveTo(100, 50);
  host->press(1);
  Settle(50);
  host->moveTo(300, 250); // outside the 200 x 100 window
  Settle(50);
  host->release(1);
  Settle(50);
  const auto& s = view->seen;
  ASSERT_EQ(s.size(), 3u);
  EXPECT_EQ(s[1].type, NSLeftMouseDragged);
  EXPECT_DOUBLE_EQ(s[1].at.x, 300);
  EXPECT_DOUBLE_EQ(s[1].at.y, kHeight - 250);
  EXPECT_EQ(s[2].type, NSLeftMouseUp);
}

// A key no responder takes goes on to the host's window; a key the view takes does not.
TEST_F(X11Window, KeysTheEditorDoesNotTakeGoToTheHost) {
  XSelectInput(host->display(), host->window(), StructureNotifyMask | KeyPressMask);
  host->moveTo(100, 50); // over the editor: X gives it the keys
  host->key(XK_q);       // the recording view takes it
  Settle(100);
  window->makeFirstResponder(nullptr); // the window alone: nobody takes keys
  host->key(XK_w);
  Settle(100);
  ASSERT_EQ(view->seen.size(), 1u);
  EXPECT_EQ(view->seen[0].characters, "q");
  std::vector<KeySym> reachedHost;
  XEvent e;
  host->sync();
  while (XCheckTypedWindowEvent(host->display(), host->window(), KeyPress, &e))
    reachedHost.push_back(XLookupKeysym(&e.xkey, 0));
  EXPECT_EQ(reachedHost, std::vector<KeySym>{XK_w});
}

// Nothing is sent to the server while nothing changes; a marked area is sent alone.
TEST_F(X11Window, OnlyDirtyAreasAreSent) {
  Settle(100);
  const long drawn = backend->pixelsPresented();
  EXPECT_GE(drawn, long(kWidth) * kHeight); // the first display
  Settle(300);
  EXPECT_EQ(backend->pixelsPresented(), drawn);
  view->setNeedsDisplayInRect(NSMakeRect(10, 10, 20, 5));
  Settle(100);
  EXPECT_EQ(backend->pixelsPresented(), drawn + 20 * 5);
}

TEST_F(X11Window, HiddenCursorComesBackAndWarpsWhereAsked) {
  EXPECT_TRUE(backend->hideCursor());
  EXPECT_TRUE(backend->showCursor());
  backend->warpPointer(123, 45);
  int x = 0, y = 0;
  ASSERT_TRUE(backend->pointerPosition(x, y));
  EXPECT_EQ(x, 123);
  EXPECT_EQ(y, 45);
}

// Plays keys from a connection of its own once a pop-up menu window is mapped (the menu's
// loop runs on this test's thread).
class MenuPlayer {
public:
  explicit MenuPlayer(std::vector<KeySym> keys) : thread([this, keys] { play(keys); }) {}
  ~MenuPlayer() { thread.join(); }
  bool sawMenu() const { return seen; }

private:
  static bool MenuShown(Display* display) {
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    bool shown = false;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &n);
    for (unsigned i = 0; i < n; ++i) {
      XWindowAttributes a{};
      XGetWindowAttributes(display, children[i], &a);
      shown = shown || (a.override_redirect && a.map_state == IsViewable);
    }
    if (children)
      XFree(children);
    return shown;
  }
  void play(const std::vector<KeySym>& keys) {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
      return;
    for (int tries = 0; tries < 150 && !seen; ++tries) {
      seen = MenuShown(display);
      if (!seen)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100)); // the menu takes its grab
    for (KeySym key : keys) {
      const KeyCode code = XKeysymToKeycode(display, key);
      XTestFakeKeyEvent(display, code, True, CurrentTime);
      XTestFakeKeyEvent(display, code, False, CurrentTime);
      XSync(display, False);
      std::this_thread::sleep_for(std::chrono::milliseconds(60));
    }
    XCloseDisplay(display);
  }
  std::atomic<bool> seen{false};
  std::thread thread;
};

TEST_F(X11Window, PopUpMenuReturnsTheItemTheKeysPick) {
  NSMenu* menu = new NSMenu();
  menu->addItemWithTitle("First", nullptr, "");
  NSMenuItem* separator = NSMenuItem::separatorItem();
  menu->addItem(separator);
  separator->release();
  NSMenuItem* more = menu->addItemWithTitle("More", nullptr, "");
  NSMenu* sub = new NSMenu();
  sub->addItemWithTitle("Inner A", nullptr, "");
  NSMenuItem* innerB = sub->addItemWithTitle("Inner B", nullptr, "");
  more->setSubmenu(sub);
  sub->release();
  struct Case {
    std::vector<KeySym> keys;
    NSMenuItem* expected;
  } cases[] = {{{XK_Down, XK_Return}, menu->itemAtIndex(0)},
               {{XK_Up, XK_Right, XK_Down, XK_Return}, innerB},
               {{XK_Escape}, nullptr}};
  for (const Case& c : cases) {
    MenuPlayer player(c.keys);
    NSMenuItem* chosen = backend->runPopUpMenu(menu, NSMakePoint(20, 80), view);
    EXPECT_EQ(chosen, c.expected);
    EXPECT_TRUE(player.sawMenu());
    EXPECT_TRUE(host->popupWindows().empty());
  }
  menu->release();
}

class X11TextField : public X11Window {
protected:
  void SetUp() override {
    X11Window::SetUp();
    field = new NSTextField(NSMakeRect(10, 10, 80, 20));
    formatter = new DigitsOnly();
    field->setFormatter(formatter);
    formatter->release();
    field->setDelegate(&recorder);
    field->setStringValue("7");
    view->addSubview(field);
    field->release();
    ASSERT_TRUE(window->makeFirstResponder(field));
    Settle(50);
  }
  void Type(const std::vector<KeySym>& keys) {
    for (KeySym k : keys)
      host->key(k);
    Settle(100);
  }
  NSTextField* field = nullptr;
  DigitsOnly* formatter = nullptr;
  EndRecorder recorder;
};

TEST_F(X11TextField, TypingIsFilteredAndReturnCommits) {
  // The pointer is elsewhere: the field has the keyboard focus.
  host->moveTo(350, 250);
  Type({XK_1, XK_x, XK_2, XK_BackSpace, XK_5, XK_Return});
  ASSERT_EQ(recorder.ended.size(), 1u);
  EXPECT_EQ(recorder.ended[0], "15");
  EXPECT_FALSE(field->isEditing());
}

TEST_F(X11TextField, EscapeCancelsWithoutEndingAndGivesTheKeysBack) {
  Type({XK_4, XK_2, XK_Escape});
  EXPECT_TRUE(recorder.ended.empty());
  EXPECT_EQ(recorder.cancelled, std::vector<std::string>{"7"});
  EXPECT_FALSE(field->isEditing());
  EXPECT_EQ(field->stringValue(), "7");
  // The field no longer takes keys: the view gets them again once it is first responder.
  window->makeFirstResponder(view);
  host->moveTo(150, 50); // over the editor, off the field: X gives it the keys
  Settle(50);
  view->seen.clear();
  Type({XK_3});
  EXPECT_EQ(field->stringValue(), "7");
  ASSERT_EQ(view->seen.size(), 1u);
  EXPECT_EQ(view->seen[0].characters, "3");
  EXPECT_TRUE(recorder.ended.empty());
}

TEST_F(X11TextField, AClickElsewhereCommits) {
  Type({XK_3});
  host->click(150, 80);
  Settle(100);
  ASSERT_EQ(recorder.ended.size(), 1u);
  EXPECT_EQ(recorder.ended[0], "3");
}

} // namespace
} // namespace orvane::x11
