// A user's mouse on a shipped editor in the X11 test host, played through XTest at 1x and 2x:
// a horizontal wheel, the wheel turned during a press, a reset by double-click and Alt-click
// after the host set another value, a drag, and a drag whose last motion and release reach the
// editor in one read. The host records every begin/perform/end; the tests count them, since in
// Touch, Latch or Write automation each one becomes automation. Built once per plug-in
// (PLUGIN_* definitions). GoogleTest before Xlib, whose macros clash with it.
#include <gtest/gtest.h>

#include "EditorRenderSupport.h"
#include PLUGIN_CONTROLLER_HEADER
#include PLUGIN_PARAMS_HEADER
#include "framework/IParam.h"
#include "gui/StaticBitmapCache.h"
#include "tests/hosts/vst3/Plugin.h"
#include "tests/hosts/x11/EmbeddedView.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cmath>
#include <map>

namespace orvane::x11host {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using testhost::EditCall;
using testhost::Module;
using testhost::Plugin;
using Controller = PLUGIN_CONTROLLER;
using Kind = EditCall::Kind;

// Where a knob is in the layout, in 1x pixels, from this process's copy of the editor.
struct Knob {
  int param = -1;
  int x = 0, y = 0; // centre
  int height = 0;
};

Knob KnobOf(int param) {
  auto* controller = new Controller();
  controller->initialize(nullptr);
  IEditor* editor = editortest::AttachFolderEditor(controller, PLUGIN_BITMAPS_DIR);
  Knob knob;
  for (int i = 0; i < editor->NControls() && knob.param < 0; ++i) {
    IControl* c = editor->GetControl(i);
    if (c->ParamIdx() != param || c->IsHidden())
      continue;
    const IRECT* r = c->GetRECT();
    knob = {param, (r->L + r->R) / 2, (r->T + r->B) / 2, r->B - r->T};
  }
  controller->terminate();
  controller->release();
  StaticBitmapCache::Shared().Empty();
  return knob;
}

// Every gesture in the log is closed, none overlaps another on its parameter, and every
// perform falls inside an open gesture on its parameter.
::testing::AssertionResult Balanced(const std::vector<EditCall>& edits) {
  std::map<ParamID, int> open;
  for (size_t i = 0; i < edits.size(); ++i) {
    const EditCall& e = edits[i];
    int& depth = open[e.id];
    if (e.kind == Kind::Begin && depth++ != 0)
      return ::testing::AssertionFailure() << "begin " << e.id << " inside its gesture at " << i;
    if (e.kind == Kind::End && depth-- != 1)
      return ::testing::AssertionFailure() << "end " << e.id << " without a gesture at " << i;
    if (e.kind == Kind::Perform && depth != 1)
      return ::testing::AssertionFailure() << "perform " << e.id << " outside a gesture at " << i;
  }
  for (const auto& [id, depth] : open)
    if (depth != 0)
      return ::testing::AssertionFailure() << "gesture on " << id << " left open";
  return ::testing::AssertionSuccess();
}

size_t Count(const std::vector<EditCall>& edits, Kind kind, ParamID id) {
  return size_t(std::count_if(edits.begin(), edits.end(),
                              [&](const EditCall& e) { return e.kind == kind && e.id == id; }));
}

// The knob's gain from a drag: travel over the knob's height, geared down by 2.
constexpr double kGearing = 2.0;

struct Scale {
  const char* name;
  int factor;
};

class EditorInputBase : public ::testing::Test {
protected:
  void SetUp() override {
    std::string error;
    module = Module::load(PLUGIN_BUNDLE, error);
    ASSERT_TRUE(module) << error;
    const auto cls = module->findClass(kVstAudioEffectClass);
    ASSERT_TRUE(cls);
    plugin = Plugin::create(*module, cls->cid, error);
    ASSERT_TRUE(plugin) << error;
    knob = KnobOf(PLUGIN_KNOB_PARAM);
    ASSERT_GE(knob.param, 0);
    ASSERT_GT(knob.height, 0);
    id = ParamID(knob.param);
    ParameterInfo info{};
    for (const ParameterInfo& p : plugin->parameters())
      if (p.id == id)
        info = p;
    defaultValue = info.defaultNormalizedValue;
    // A stepped parameter's values land on its steps.
    tolerance = info.stepCount > 0 ? 0.5 / info.stepCount + 1e-9 : 1e-6;
  }

  void Open(int factor) {
    std::string error;
    EmbedOptions options;
    options.contentScale = float(factor); // as a host does, also when reopening at 1x
    editor = EmbeddedView::open(plugin->controller(), error, options);
    ASSERT_TRUE(editor) << error;
    editor->settle(300);
    ASSERT_EQ(editor->size().getWidth(), Controller::kEditorWidth * factor);
    scale = factor;
  }

  HostWindow& user() { return editor->window(); }
  void Settle(std::uint64_t ms) { editor->settle(ms); }
  // The knob's centre, raised by `up` 1x pixels, in the window's pixels.
  void MoveOverKnob(int up = 0) { user().moveTo(knob.x * scale, (knob.y - up) * scale); }
  void Wheel(unsigned button) {
    user().press(button);
    user().release(button);
  }
  const std::vector<EditCall>& Edits() const { return plugin->log().edits; }
  // What a drag of `up` 1x pixels adds to the knob's value.
  double DragGain(int up) const { return double(up) / knob.height / kGearing; }

  // One gesture on the knob's parameter: the log opens with its begin, closes with its end,
  // and every perform lies between them.
  void ExpectOneGesture() {
    const auto& edits = Edits();
    ASSERT_GE(edits.size(), 2u);
    EXPECT_EQ(edits.front().kind, Kind::Begin);
    EXPECT_EQ(edits.back().kind, Kind::End);
    EXPECT_EQ(Count(edits, Kind::Begin, id), 1u);
    EXPECT_EQ(Count(edits, Kind::End, id), 1u);
    for (const EditCall& e : edits)
      EXPECT_EQ(e.id, id);
    EXPECT_TRUE(Balanced(edits));
  }

  std::unique_ptr<Module> module; // declared first: outlives the plug-in
  std::unique_ptr<Plugin> plugin;
  std::unique_ptr<EmbeddedView> editor;
  Knob knob;
  ParamID id = 0;
  double defaultValue = 0;
  double tolerance = 0;
  int scale = 1;
};

// Longer than the wheel gesture's second, so a wheel gesture's end is in the log.
constexpr std::uint64_t kPastWheelGesture = 1300;

// Each starts with the knob halfway, where it can turn either way (the compressor's
// Threshold defaults to its top).
class EditorInput : public EditorInputBase, public ::testing::WithParamInterface<Scale> {
protected:
  void OpenHalfway() {
    plugin->setParameter(id, 0.5);
    Open(GetParam().factor);
    plugin->log().edits.clear();
  }
};

void PrintTo(const Scale& s, std::ostream* os) {
  *os << s.name;
}

TEST_P(EditorInput, AHorizontalWheelIsNoEditAndAVerticalNotchIsOne) {
  OpenHalfway();
  const double before = plugin->parameter(id);
  MoveOverKnob();
  Settle(50);
  for (unsigned button : {6u, 6u, 6u, 7u, 7u, 7u}) {
    Wheel(button);
    Settle(30);
  }
  Settle(kPastWheelGesture);
  EXPECT_TRUE(Edits().empty()) << Edits().size() << " edits from a horizontal scroll";
  EXPECT_EQ(plugin->parameter(id), before);

  // The vertical wheel still turns the knob: one notch up, one gesture of one step.
  Wheel(4);
  Settle(kPastWheelGesture);
  ExpectOneGesture();
  ASSERT_EQ(Count(Edits(), Kind::Perform, id), 1u);
  EXPECT_NEAR(Edits()[1].value, before + 0.01, tolerance);
}

TEST_P(EditorInput, TheWheelDuringAPressStaysInThePresssGesture) {
  OpenHalfway();
  const double before = plugin->parameter(id);
  MoveOverKnob();
  user().press(1);
  Settle(50);
  MoveOverKnob(8);
  Settle(50);
  Wheel(4);
  Settle(50);
  Wheel(4);
  Settle(50);
  Wheel(6); // a touchpad's sideways brush on the way
  // The wheel gesture's second passes while the button still holds the knob.
  Settle(kPastWheelGesture);
  MoveOverKnob(16);
  Settle(50);
  user().release(1);
  Settle(kPastWheelGesture);

  ExpectOneGesture();
  EXPECT_GE(Count(Edits(), Kind::Perform, id), 4u);
  EXPECT_NEAR(Edits()[Edits().size() - 2].value, before + DragGain(16) + 0.02, tolerance);
  EXPECT_DOUBLE_EQ(plugin->parameter(id), Edits()[Edits().size() - 2].value);
}

TEST_P(EditorInput, AWheelOverAnotherKnobWhileOneIsHeldLeavesBothBalanced) {
  OpenHalfway();
  MoveOverKnob();
  user().press(1);
  Settle(50);
  MoveOverKnob(6);
  Settle(50);
  // Over the background and another knob's corner of the editor; the held knob keeps the
  // pointer.
  user().moveTo(20 * scale, 20 * scale);
  Settle(50);
  Wheel(5);
  Settle(50);
  user().release(1);
  Settle(50);
  // Then the wheel over the knob on its own, as its own gesture.
  MoveOverKnob();
  Settle(50);
  Wheel(5);
  Settle(kPastWheelGesture);
  EXPECT_TRUE(Balanced(Edits()));
  EXPECT_EQ(Count(Edits(), Kind::Begin, id), 2u);
  EXPECT_EQ(Count(Edits(), Kind::End, id), 2u);
}

TEST_P(EditorInput, ADragMovesTheKnobByItsTravel) {
  OpenHalfway();
  const double before = plugin->parameter(id);
  MoveOverKnob();
  user().press(1);
  Settle(50);
  for (int up = 4; up <= 24; up += 4) {
    MoveOverKnob(up);
    Settle(35);
  }
  user().release(1);
  Settle(150);
  ExpectOneGesture();
  EXPECT_NEAR(plugin->parameter(id), before + DragGain(24), tolerance);
}

TEST_P(EditorInput, ADragsLastMotionQueuedWithItsReleaseReachesTheKnobFirst) {
  OpenHalfway();
  const double before = plugin->parameter(id);
  MoveOverKnob();
  user().press(1);
  Settle(50);
  MoveOverKnob(6);
  Settle(50);
  // A fast hand: the last moves, the release and the pointer going on all wait in the
  // editor's queue together.
  MoveOverKnob(12);
  MoveOverKnob(20);
  user().release(1);
  MoveOverKnob(30);
  Settle(200);
  ExpectOneGesture();
  EXPECT_NEAR(plugin->parameter(id), before + DragGain(20), tolerance);
  EXPECT_NEAR(Edits()[Edits().size() - 2].value, before + DragGain(20), tolerance);
}

INSTANTIATE_TEST_SUITE_P(Scales, EditorInput, ::testing::Values(Scale{"1x", 1}, Scale{"2x", 2}),
                         [](const auto& info) { return info.param.name; });

// ---- reset to the parameter's default ----

struct ResetCase {
  const char* name;
  std::vector<int> opens; // the scales the editor opens at in turn; the reset is in the last
  bool alt;               // Alt-click, else a double-click
};

class EditorReset : public EditorInputBase, public ::testing::WithParamInterface<ResetCase> {};

void PrintTo(const ResetCase& c, std::ostream* os) {
  *os << c.name;
}

TEST_P(EditorReset, GoesToTheParametersDefaultAfterTheHostSetAnother) {
  const ResetCase& c = GetParam();
  const double other = std::fabs(defaultValue - 0.8) > 0.1 ? 0.8 : 0.2;
  plugin->setParameter(id, other);
  for (size_t i = 0; i < c.opens.size(); ++i) {
    if (editor)
      editor->close();
    editor.reset();
    Open(c.opens[i]);
  }
  ASSERT_DOUBLE_EQ(plugin->parameter(id), other);
  plugin->log().edits.clear();
  MoveOverKnob();
  Settle(50);
  if (c.alt) {
    user().pressKey(XK_Alt_L);
    user().press(1);
    user().release(1);
    user().releaseKey(XK_Alt_L);
  } else {
    user().press(1);
    user().release(1);
    user().press(1);
    user().release(1);
  }
  Settle(200);
  const auto& edits = Edits();
  EXPECT_TRUE(Balanced(edits));
  // The double-click's first press is a press of its own: an empty gesture.
  EXPECT_EQ(Count(edits, Kind::Begin, id), c.alt ? 1u : 2u);
  EXPECT_EQ(Count(edits, Kind::End, id), c.alt ? 1u : 2u);
  ASSERT_EQ(Count(edits, Kind::Perform, id), 1u);
  for (const EditCall& e : edits) {
    if (e.kind == Kind::Perform) {
      EXPECT_DOUBLE_EQ(e.value, defaultValue);
    }
  }
  EXPECT_DOUBLE_EQ(plugin->parameter(id), defaultValue);
}

INSTANTIATE_TEST_SUITE_P(Scales, EditorReset,
                         ::testing::Values(ResetCase{"DoubleClick1x", {1}, false},
                                           ResetCase{"DoubleClick2x", {2}, false},
                                           ResetCase{"DoubleClick1xAfter2x", {2, 1}, false},
                                           ResetCase{"AltClick1x", {1}, true},
                                           ResetCase{"AltClick2x", {2}, true},
                                           ResetCase{"AltClick2xAfter1x", {1, 2}, true}),
                         [](const auto& info) { return info.param.name; });

} // namespace
} // namespace orvane::x11host
