// A shipped editor in our X11 host by a Linux host's rules: nothing of the view stays on the
// host's run loop after removed(), and the loop is not called again; host timers that fire
// three times their period apart still bring the meter messages and the redraws at their
// pace; a host that destroys its window before removed() sees no X error; one view shows the
// editor at a time; the first frame at 2x is the editor, never the blank draw bitmap. Built
// once per plug-in beside EditorEmbeddingTest.cpp. GoogleTest before Xlib, whose macros clash
// with it.
#include <gtest/gtest.h>

#include PLUGIN_CONTROLLER_HEADER
#include "tests/hosts/vst3/Plugin.h"
#include "tests/hosts/x11/EmbeddedView.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <cmath>
#include <cstring>

namespace orvane::x11 {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using testhost::Module;
using testhost::Plugin;
using testhost::PluginOptions;
using x11host::EmbeddedView;
using x11host::EmbedOptions;
using x11host::HostWindow;
using x11host::Image;
using Controller = PLUGIN_CONTROLLER;

class HostRules : public ::testing::Test {
protected:
  void Load(PluginOptions options = {}) {
    std::string error;
    module = Module::load(PLUGIN_BUNDLE, error);
    ASSERT_TRUE(module) << error;
    const auto cls = module->findClass(kVstAudioEffectClass);
    ASSERT_TRUE(cls);
    plugin = Plugin::create(*module, cls->cid, error, options);
    ASSERT_TRUE(plugin) << error;
  }
  void SetUp() override { Load(); }

  std::unique_ptr<EmbeddedView> Open(EmbedOptions options = {}, std::uint64_t settleMs = 60) {
    std::string error;
    auto editor = EmbeddedView::open(plugin->controller(), error, options);
    EXPECT_TRUE(editor) << error;
    if (editor && settleMs)
      editor->settle(settleMs);
    return editor;
  }

  std::unique_ptr<Module> module; // declared first: outlives the plug-in
  std::unique_ptr<Plugin> plugin;
};

// ---- the host's run loop ----

class Reopenings : public HostRules, public ::testing::WithParamInterface<int> {};

TEST_P(Reopenings, RemovedLeavesNothingOnTheHostsRunLoopAndNothingCallsItAfter) {
  for (int i = 0; i < GetParam(); ++i) {
    auto editor = Open({}, 40);
    ASSERT_TRUE(editor);
    EXPECT_GE(editor->frame().timerCount(), 1u);
    EXPECT_EQ(editor->frame().eventHandlerCount(), 1u);
    EXPECT_EQ(editor->loop().timerCount(), editor->frame().timerCount());
    ASSERT_EQ(editor->remove(), kResultOk);
    EXPECT_EQ(editor->frame().timerCount(), 0u) << "reopening " << i;
    EXPECT_EQ(editor->frame().eventHandlerCount(), 0u) << "reopening " << i;
    EXPECT_EQ(editor->loop().timerCount() + editor->loop().watchCount(), 0u);
    // The host may tear its loop down with the window now: the rest of the close (the frame
    // taken away, the view released) never reaches it.
    const int calls = editor->frame().runLoopCalls();
    editor->close();
    EXPECT_EQ(editor->frame().runLoopCalls(), calls) << "reopening " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Counts, Reopenings, ::testing::Values(10, 100));

// Counts the editor window's redraws: every image the editor puts is one damage report.
class RedrawCounter {
public:
  RedrawCounter(Display* display, Window window) : display(display) {
    int error = 0;
    if (!XDamageQueryExtension(display, &eventBase, &error))
      return;
    damage = XDamageCreate(display, window, XDamageReportRawRectangles);
    XSync(display, False);
  }
  // The damage object goes with the window.
  bool ready() const { return damage != 0; }

  // Reads what the server reported so far.
  void drain() {
    XSync(display, False);
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type != eventBase + XDamageNotify)
        continue;
      // One put may report several rectangles; the last has more = False.
      if (!reinterpret_cast<XDamageNotifyEvent&>(event).more)
        ++count;
    }
  }
  int count = 0;

private:
  Display* display;
  int eventBase = 0;
  Damage damage = 0;
};

struct Pace {
  int meterMessages = 0;
  int redraws = 0;
};

// The editor open for `ms` while the host processes 10 ms blocks of a tone whose level steps
// every 100 ms (so the meters move), with host timers `stretch` times their period apart.
Pace RunWithTimersStretched(std::uint64_t stretch, std::uint64_t ms) {
  std::string error;
  auto module = Module::load(PLUGIN_BUNDLE, error);
  EXPECT_TRUE(module) << error;
  PluginOptions options;
  options.recordMessages = true;
  auto plugin =
      Plugin::create(*module, module->findClass(kVstAudioEffectClass)->cid, error, options);
  EXPECT_TRUE(plugin) << error;
  if (!plugin)
    return {};
  plugin->activate(48000, 480);
  EmbedOptions embed;
  embed.timerStretch = stretch;
  auto editor = EmbeddedView::open(plugin->controller(), error, embed);
  EXPECT_TRUE(editor) << error;
  if (!editor)
    return {};
  editor->settle(200);
  const auto children = editor->window().children();
  EXPECT_EQ(children.size(), 1u);
  auto counter = std::make_unique<RedrawCounter>(editor->window().display(), children.at(0));
  RedrawCounter& redraws = *counter;
  EXPECT_TRUE(redraws.ready());
  redraws.drain();
  redraws.count = 0;
  const size_t messagesBefore = plugin->log().messages.size();

  const std::uint64_t end = x11host::HostLoop::nowMs() + ms;
  long sample = 0;
  while (x11host::HostLoop::nowMs() < end) {
    const std::uint64_t blockEnd = x11host::HostLoop::nowMs() + 10;
    for (size_t channel = 0; channel < 2; ++channel) {
      float* in = plugin->input<float>(0, channel);
      if (!in)
        continue;
      for (int i = 0; i < 480; ++i) {
        const long n = sample + i;
        const double level = 0.05 + 0.9 * double((n / 4800) % 8) / 7.0;
        in[i] = float(level * std::sin(2.0 * M_PI * 440.0 * double(n) / 48000.0));
      }
    }
    plugin->process(480);
    sample += 480;
    editor->loop().runUntil([&] { return x11host::HostLoop::nowMs() >= blockEnd; }, 10);
    redraws.drain();
  }
  Pace pace;
  pace.redraws = redraws.count;
  const auto& messages = plugin->log().messages;
  for (size_t i = messagesBefore; i < messages.size(); ++i)
    pace.meterMessages += messages[i].id == "GAIN";
  editor->close();
  editor.reset();
  plugin.reset();
  return pace;
}

TEST(HostTimersLate, MeterMessagesAndRedrawsKeepTheirPace) {
  constexpr std::uint64_t kMs = 3000;
  const Pace onTime = RunWithTimersStretched(1, kMs);
  const Pace late = RunWithTimersStretched(3, kMs);
  RecordProperty("meter_messages_on_time", onTime.meterMessages);
  RecordProperty("meter_messages_late", late.meterMessages);
  RecordProperty("redraws_on_time", onTime.redraws);
  RecordProperty("redraws_late", late.redraws);
  std::printf("meter messages %d on time, %d with timers 3x late; redraws %d, %d\n",
              onTime.meterMessages, late.meterMessages, onTime.redraws, late.redraws);
  ASSERT_GT(onTime.meterMessages, 30);
  ASSERT_GT(onTime.redraws, 10);
  EXPECT_GE(late.meterMessages, 0.6 * onTime.meterMessages);
  EXPECT_GE(late.redraws, 0.6 * onTime.redraws);
}

// ---- the host's window goes first ----

int gHostErrors = 0;
int RecordHostError(Display*, XErrorEvent*) {
  ++gHostErrors;
  return 0;
}

// The process-wide Xlib error handler of a host that counts (a GTK host would abort).
class HostErrorHandler {
public:
  HostErrorHandler() : previous(XSetErrorHandler(RecordHostError)) { gHostErrors = 0; }
  ~HostErrorHandler() { XSetErrorHandler(previous); }

private:
  XErrorHandler previous;
};

struct DestroyCase {
  const char* name;
  std::uint64_t loopMsBetween; // the host's loop runs this long between destroy and removed()
  bool pressHeld;              // a press (with its pointer grab) is in progress meanwhile
};

class WindowGoesFirst : public HostRules, public ::testing::WithParamInterface<DestroyCase> {};

TEST_P(WindowGoesFirst, NoXErrorReachesTheHostAndTheHostGoesOn) {
  const DestroyCase& c = GetParam();
  HostErrorHandler handler;
  auto editor = Open({}, 150);
  ASSERT_TRUE(editor);
  if (c.pressHeld) {
    editor->window().moveTo(20, 20);
    editor->window().press(1);
    editor->settle(60);
  }
  editor->window().destroy();
  if (c.loopMsBetween)
    editor->settle(c.loopMsBetween);
  EXPECT_EQ(editor->remove(), kResultOk);
  editor->close();
  if (c.pressHeld) {
    std::string error;
    auto user = HostWindow::create(4, 4, error);
    ASSERT_TRUE(user) << error;
    user->release(1);
    user->sync();
  }
  XSync(editor->window().display(), False);
  EXPECT_EQ(gHostErrors, 0);

  // The host goes on: the next editor opens and draws.
  auto next = Open({}, 200);
  ASSERT_TRUE(next);
  ASSERT_EQ(next->window().children().size(), 1u);
  EXPECT_GT(next->window().screenshot().colourCount(), 10u);
  next->close();
  EXPECT_EQ(gHostErrors, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowGoesFirst,
                         ::testing::Values(DestroyCase{"RemovedAtOnce", 0, false},
                                           DestroyCase{"LoopRunsBetween", 100, false},
                                           DestroyCase{"DuringADrag", 100, true}),
                         [](const auto& info) { return info.param.name; });

// ---- views ----

TEST_F(HostRules, OneViewShowsTheEditorAtATime) {
  IEditController* controller = plugin->controller();
  // Two views made before either opens.
  IPlugView* second = controller->createView(ViewType::kEditor);
  ASSERT_NE(second, nullptr);
  auto first = Open({}, 150);
  ASSERT_TRUE(first);
  // While the first is open: no new view, and the earlier one may not take the window.
  EXPECT_EQ(controller->createView(ViewType::kEditor), nullptr);
  std::string error;
  auto otherWindow = HostWindow::create(200, 100, error);
  ASSERT_TRUE(otherWindow) << error;
  EXPECT_EQ(second->attached(otherWindow->parentHandle(), kPlatformTypeX11EmbedWindowID),
            kResultFalse);
  EXPECT_TRUE(otherWindow->children().empty());
  EXPECT_EQ(second->removed(), kResultFalse);
  second->release();
  first->settle(100);
  const auto children = first->window().children();
  ASSERT_EQ(children.size(), 1u);
  EXPECT_TRUE(first->window().isViewable(children[0]));
  EXPECT_GT(first->window().screenshot().colourCount(), 10u);
  first->close();
  EXPECT_TRUE(first->window().children().empty());

  // Closed: a new view opens as before.
  auto again = Open({}, 100);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->window().children().size(), 1u);
  again->close();
}

// ---- the first frame ----

// The editor opened at 2x on a host window of a colour the editor never draws: every
// screenshot from the attach on shows, pixel by pixel, either the host's background (nothing
// drawn yet) or the editor as it finally stands; a frame of the blank draw bitmap would show
// black where the editor is not.
TEST_F(HostRules, TheFirstFrameAt2xIsTheEditor) {
  constexpr std::uint32_t kBackground = 0xFF00FF;
  EmbedOptions options;
  options.contentScale = 2.f;
  options.background = kBackground;
  auto editor = Open(options, 0);
  ASSERT_TRUE(editor);
  std::vector<Image> shots;
  for (int step = 0; step < 60; ++step) {
    editor->loop().run(5);
    shots.push_back(editor->window().screenshot());
  }
  editor->settle(300);
  const Image final = editor->window().screenshot();
  ASSERT_EQ(final.width, int(Controller::kEditorWidth * 2));
  size_t drawnShots = 0;
  for (size_t i = 0; i < shots.size(); ++i) {
    const Image& shot = shots[i];
    ASSERT_EQ(shot.width, final.width);
    ASSERT_EQ(shot.height, final.height);
    size_t foreign = 0, drawn = 0;
    for (size_t p = 0; p < shot.pixels.size(); ++p) {
      if (shot.pixels[p] == kBackground)
        continue;
      ++drawn;
      foreign += shot.pixels[p] != final.pixels[p];
    }
    drawnShots += drawn > 0;
    EXPECT_EQ(foreign, 0u) << "screenshot " << i << " (" << (i + 1) * 5 << " ms)";
    if (foreign)
      shot.savePng(std::string(ORVANE_TEST_OUTPUT) + "/" PLUGIN_NAME "_first_frame_2x.png");
  }
  EXPECT_GT(drawnShots, 0u);
  editor->close();
}

} // namespace
} // namespace orvane::x11
