// The AppKit stand-in on its own: where a window sends events, the responder chain, views'
// references and needs-display areas, timers on the run loop, text fields under a formatter,
// and alerts answered through a window back end.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "AppKit/AppKit.h"
#include "sdk/macos/runloop/RunLoop.h"
#include "src/OffscreenWindowBackend.h"

namespace {

// A view that logs the events that reach it, with their location in its own points.
class LoggingView : public NSView {
public:
  LoggingView(NSRect frame, std::vector<std::string>* log, const char* name)
      : NSView(frame), log(log), name(name) {}
  void mouseDown(NSEvent* e) override { Note("down", e); }
  void mouseDragged(NSEvent* e) override { Note("drag", e); }
  void mouseUp(NSEvent* e) override { Note("up", e); }
  void scrollWheel(NSEvent* e) override { Note("wheel", e); }
  void keyDown(NSEvent* e) override {
    log->push_back(std::string(name) + " key " + e->characters());
    if (passKeys)
      NSView::keyDown(e);
  }
  bool acceptsFirstResponder() override { return true; }

  void Note(const char* what, NSEvent* e) {
    const NSPoint p = convertPoint(e->locationInWindow(), nullptr);
    log->push_back(std::string(name) + " " + what + " " + std::to_string(int(p.x)) + "," +
                   std::to_string(int(p.y)));
  }
  std::vector<std::string>* log;
  const char* name;
  bool passKeys = false;
};

struct WindowWithViews : ::testing::Test {
  WindowWithViews()
      : window(NSMakeRect(0, 0, 200, 100), std::make_unique<OffscreenWindowBackend>()),
        backend(static_cast<OffscreenWindowBackend&>(*window.backend())) {
    outer = new LoggingView(NSMakeRect(10, 10, 100, 60), &log, "outer");
    inner = new LoggingView(NSMakeRect(20, 5, 30, 20), &log, "inner");
    window.contentView()->addSubview(outer);
    outer->addSubview(inner);
    outer->release();
    inner->release();
  }
  std::vector<std::string> log;
  NSWindow window;
  OffscreenWindowBackend& backend;
  LoggingView* outer;
  LoggingView* inner;
};

TEST_F(WindowWithViews, PressGoesToTheDeepestViewWhichKeepsDragsAndRelease) {
  backend.press(NSMakePoint(35, 20)); // inner: 35 - 10 - 20, 20 - 10 - 5
  EXPECT_TRUE(backend.pointerCaptured);
  backend.drag(NSMakePoint(150, 90)); // far outside both
  backend.release(NSMakePoint(150, 90));
  EXPECT_FALSE(backend.pointerCaptured);
  backend.press(NSMakePoint(15, 60));         // outer only
  backend.scroll(NSMakePoint(300, 300), 1.0); // outside the window: nobody
  EXPECT_EQ(log, (std::vector<std::string>{"inner down 5,5", "inner drag 120,75", "inner up 120,75",
                                           "outer down 5,50"}));
  EXPECT_EQ(window.firstResponder(), outer); // a click focuses a view that takes focus
}

TEST_F(WindowWithViews, KeysTravelTheResponderChainUntilTaken) {
  ASSERT_TRUE(window.makeFirstResponder(inner));
  inner->passKeys = true;
  backend.key("q", "q", 12);
  EXPECT_EQ(log, (std::vector<std::string>{"inner key q", "outer key q"}));
  log.clear();
  outer->passKeys = true; // then the content view and the window: dropped
  backend.key("w", "w", 13);
  EXPECT_EQ(log, (std::vector<std::string>{"inner key w", "outer key w"}));
}

TEST_F(WindowWithViews, ViewsLiveWhileReferencedAndLeaveTheWindowCleanly) {
  inner->retain();
  ASSERT_TRUE(window.makeFirstResponder(inner));
  inner->removeFromSuperview();
  EXPECT_TRUE(NSView::isLiveView(inner));
  EXPECT_EQ(inner->window(), nullptr);
  EXPECT_EQ(window.firstResponder(), nullptr); // the window forgot it
  backend.key("x", "x", 7);                    // goes nowhere, touches nothing freed
  inner->release();
  EXPECT_FALSE(NSView::isLiveView(inner));
  EXPECT_TRUE(log.empty());
}

TEST_F(WindowWithViews, MarkedAreasAreDrawnOnceOnTheNextPump) {
  orvane::RunLoop& loop = orvane::RunLoop::instance();
  loop.pump(loop.now() + 5); // what the views' arrival marked
  backend.presented.clear();
  inner->setNeedsDisplayInRect(NSMakeRect(0, 0, 10, 10));
  inner->setNeedsDisplayInRect(NSMakeRect(20, 10, 10, 10));
  EXPECT_TRUE(backend.presented.empty()); // not while marking
  loop.pump(loop.now() + 10);
  ASSERT_EQ(backend.presented.size(), 1u);
  // Window points (30..60, 15..35) are device rows 100-35 to 100-15 at scale 1.
  const NSWindowBackend::PixelRect area = backend.presented[0];
  EXPECT_EQ(area.x, 30);
  EXPECT_EQ(area.y, 65);
  EXPECT_EQ(area.width, 30);
  EXPECT_EQ(area.height, 20);
  EXPECT_FALSE(inner->needsDisplay());
  loop.pump(loop.now() + 20);
  EXPECT_EQ(backend.presented.size(), 1u);
}

// A target that counts its timer's firings and stops it after a given number.
struct Counter : NSActionTarget {
  bool performAction(SEL action, NSObject* sender) override {
    if (std::string(action) != "tick:")
      return false;
    if (++fired == stopAfter)
      static_cast<NSTimer*>(sender)->invalidate();
    return true;
  }
  int fired = 0, stopAfter = -1;
};

TEST(NSTimerOnTheRunLoop, FiresEveryIntervalUntilInvalidated) {
  orvane::ManualClock clock(1000);
  orvane::RunLoop::instance().setClock(clock.clock());
  Counter counter;
  counter.stopAfter = 3;
  NSTimer* timer = NSTimer::timerWithTimeInterval(0.04, &counter, "tick:", true);
  NSRunLoop::currentRunLoop()->addTimer(timer, NSRunLoopCommonModes);
  for (int ms = 0; ms < 400; ms += 10) {
    clock.advance(10);
    orvane::RunLoop::instance().pump();
  }
  EXPECT_EQ(counter.fired, 3); // at 40, 80 and 120 ms, then it stopped itself
  EXPECT_FALSE(timer->isValid());
  timer->release();
  Counter once;
  NSTimer::scheduledTimerWithTimeInterval(0.01, &once, "tick:", false);
  for (int i = 0; i < 5; ++i) {
    clock.advance(10);
    orvane::RunLoop::instance().pump();
  }
  EXPECT_EQ(once.fired, 1);
  orvane::RunLoop::instance().setClock(nullptr);
}

// A formatter that takes digits only, at most three.
struct ThreeDigits : NSFormatter {
  bool isPartialStringValid(const std::string& s) const override {
    return s.size() <= 3 && s.find_first_not_of("0123456789") == std::string::npos;
  }
};

struct EndRecorder : NSTextFieldDelegate {
  void controlTextDidEndEditing(NSTextField* field) override {
    ended.push_back(field->stringValue());
  }
  void controlTextDidCancelEditing(NSTextField* field) override {
    cancelled.push_back(field->stringValue());
  }
  std::vector<std::string> ended, cancelled;
};

TEST(NSTextFieldEditing, FormatterVetsEveryEditAndEndingTellsTheDelegate) {
  NSWindow window(NSMakeRect(0, 0, 100, 40), std::make_unique<OffscreenWindowBackend>());
  auto& backend = static_cast<OffscreenWindowBackend&>(*window.backend());
  auto* field = new NSTextField(NSMakeRect(5, 5, 60, 20));
  auto* formatter = new ThreeDigits;
  field->setFormatter(formatter);
  formatter->release();
  EndRecorder delegate;
  field->setDelegate(&delegate);
  field->setStringValue("42");
  window.contentView()->addSubview(field);
  field->release();

  EXPECT_FALSE(field->insertText("7")); // not editing yet
  ASSERT_TRUE(window.makeFirstResponder(field));
  EXPECT_EQ(backend.editingField, field);
  EXPECT_EQ(backend.type("9x12"), "912"); // replaces the selected "42"; the letter refused
  EXPECT_FALSE(field->insertText("3"));   // a fourth digit
  backend.key("\x7f", "\x7f", kVK_Delete);
  EXPECT_EQ(field->stringValue(), "91");
  window.makeFirstResponder(nullptr); // focus lost: the editing ends
  EXPECT_EQ(delegate.ended, std::vector<std::string>{"91"});
  EXPECT_TRUE(delegate.cancelled.empty());
  EXPECT_EQ(backend.editingField, nullptr);
}

TEST(NSTextFieldEditing, EscapeCancelsWithTheTextItStartedWithAndNoEndOfEditing) {
  NSWindow window(NSMakeRect(0, 0, 100, 40), std::make_unique<OffscreenWindowBackend>());
  auto& backend = static_cast<OffscreenWindowBackend&>(*window.backend());
  auto* field = new NSTextField(NSMakeRect(5, 5, 60, 20));
  EndRecorder delegate;
  field->setDelegate(&delegate);
  field->setStringValue("42");
  window.contentView()->addSubview(field);
  field->release();

  ASSERT_TRUE(window.makeFirstResponder(field));
  backend.type("17");
  backend.key("\x1b", "\x1b", kVK_Escape);
  EXPECT_FALSE(field->isEditing());
  EXPECT_EQ(field->stringValue(), "42");
  EXPECT_EQ(delegate.cancelled, std::vector<std::string>{"42"});
  EXPECT_TRUE(delegate.ended.empty());
  EXPECT_EQ(backend.editingField, nullptr);
  // Still the first responder but no longer editing: giving up the focus reports nothing more.
  window.makeFirstResponder(nullptr);
  EXPECT_TRUE(delegate.ended.empty());
  EXPECT_EQ(delegate.cancelled.size(), 1u);

  // A second editing starts from the text as it is then.
  ASSERT_TRUE(window.makeFirstResponder(field));
  backend.type("5");
  backend.key("\r", "\r", kVK_Return);
  EXPECT_EQ(delegate.ended, std::vector<std::string>{"5"});
}

TEST(AlertPanels, ButtonsMapToTheirReturnsAndNoWindowSystemShowsNothing) {
  NSWindow window(NSMakeRect(0, 0, 10, 10), std::make_unique<OffscreenWindowBackend>());
  auto& backend = static_cast<OffscreenWindowBackend&>(*window.backend());
  const int expected[] = {NSAlertDefaultReturn, NSAlertAlternateReturn, NSAlertOtherReturn};
  for (int pressed = 0; pressed < 3; ++pressed) {
    backend.respondToAlert = [pressed](const NSWindowBackend::AlertRequest&) { return pressed; };
    EXPECT_EQ(NSRunAlertPanel(CFSTR("T"), CFSTR("%@"), CFSTR("Yes"), CFSTR("Cancel"), CFSTR("No"),
                              CFSTR("Sure?")),
              expected[pressed]);
  }
  // No alternate button: the second shown is the other one.
  backend.respondToAlert = [](const NSWindowBackend::AlertRequest& r) {
    return r.buttons.size() == 2 ? 1 : -1;
  };
  EXPECT_EQ(NSRunAlertPanel(CFSTR("T"), CFSTR("%@"), nullptr, nullptr, CFSTR("Later"), CFSTR("m")),
            NSAlertOtherReturn);
  EXPECT_EQ(backend.alerts.back().buttons, (std::vector<std::string>{"OK", "Later"}));
  window.close();
  EXPECT_EQ(NSRunAlertPanel(CFSTR("T"), CFSTR("%@"), nullptr, nullptr, nullptr, CFSTR("m")),
            NSAlertErrorReturn);
}

// URLs go to the desktop's opener (xdg-open, here a stand-in on PATH that notes its argument):
// every one is opened, and none leaves a child process behind, not even a zombie.
TEST(WorkspaceOpener, EveryURLReachesTheOpenerAndNoChildIsLeft) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("orvane-opener-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const fs::path opener = dir / "xdg-open";
  {
    std::ofstream script(opener);
    script << "#!/bin/sh\nsleep 0.2\necho \"$1\" >> \"" << (dir / "opened").string() << "\"\n";
  }
  fs::permissions(opener, fs::perms::owner_all);
  const char* oldPath = std::getenv("PATH");
  const std::string savedPath = oldPath ? oldPath : "";
  setenv("PATH", (dir.string() + ":" + savedPath).c_str(), 1);

  constexpr int kUrls = 5;
  for (int i = 0; i < kUrls; ++i)
    EXPECT_TRUE(
        NSWorkspace::sharedWorkspace()->openURL("https://example.org/" + std::to_string(i)));
  setenv("PATH", savedPath.c_str(), 1);
  // No child of this process is left, running or dead: the openers are not ours to reap.
  int status = 0;
  EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);

  std::vector<std::string> lines;
  for (int wait = 0; wait < 100 && lines.size() < kUrls; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    lines.clear();
    std::ifstream opened(dir / "opened");
    for (std::string line; std::getline(opened, line);)
      lines.push_back(line);
  }
  EXPECT_EQ(lines.size(), size_t(kUrls));
  fs::remove_all(dir);
}

} // namespace
