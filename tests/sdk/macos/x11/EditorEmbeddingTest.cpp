// A shipped editor in our X11 host as a Linux host shows it, checked against what the same
// editor draws on an off-screen window in this process (the plug-in's own controller and
// artwork, the window interface's off-screen back end): the screen shows exactly those pixels
// at 1x and 2x; XTest input turns a knob in one balanced gesture whose value reaches the
// processor; and open/close cycles leave nothing behind. The EQ's VST 2.4 face shows the same
// editor. Built once per plug-in (PLUGIN_* definitions). GoogleTest before Xlib, whose macros
// (None, Bool, Status) clash with it.
#include <gtest/gtest.h>

#include "EditorRenderSupport.h"
#include PLUGIN_CONTROLLER_HEADER
#include "framework/IParam.h"
#include "gui/StaticBitmapCache.h"
#include "tests/hosts/vst3/Plugin.h"
#include "tests/hosts/x11/EmbeddedView.h"
#include "tests/hosts/x11/Vst2EditorWindow.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <dirent.h>
#include <malloc.h>

#include <cstring>
#include <filesystem>

namespace orvane::x11 {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using testhost::EditCall;
using testhost::Module;
using testhost::Plugin;
using x11host::EmbeddedView;
using x11host::EmbedOptions;
using x11host::HostWindow;
using x11host::Image;
using Controller = PLUGIN_CONTROLLER;

std::string Output(const std::string& name) {
  return std::string(ORVANE_TEST_OUTPUT) + "/" PLUGIN_NAME "_" + name;
}

// The editor the plug-in's own code draws off-screen at a backing scale, as RGB pixels.
Image OffscreenRender(double scale) {
  editortest::TurnedClock clock;
  auto* controller = new Controller();
  controller->initialize(nullptr);
  editortest::AttachFolderEditor(controller, PLUGIN_BITMAPS_DIR);
  Image image;
  {
    editortest::OpenEditor open(controller, scale);
    clock.Frames(4);
    int w = 0, h = 0;
    const std::vector<std::uint8_t> rgba = open.Screen(w, h);
    image = Image(w, h);
    for (size_t i = 0; i < image.pixels.size(); ++i)
      image.pixels[i] =
          std::uint32_t(rgba[i * 4]) << 16 | std::uint32_t(rgba[i * 4 + 1]) << 8 | rgba[i * 4 + 2];
  }
  controller->terminate();
  controller->release();
  StaticBitmapCache::Shared().Empty();
  return image;
}

// A control of the layout (in 1x pixels), found in this process's copy of the editor.
struct ControlSpot {
  int param = -1;
  int x = 0, y = 0; // centre
  double value = 0;
};

// The first visible control bound to a parameter for which `wanted` holds.
ControlSpot FindControl(const std::function<bool(IControl*, IParam*)>& wanted) {
  auto* controller = new Controller();
  controller->initialize(nullptr);
  IEditor* editor = editortest::AttachFolderEditor(controller, PLUGIN_BITMAPS_DIR);
  ControlSpot spot;
  for (int i = 0; i < editor->NControls() && spot.param < 0; ++i) {
    IControl* c = editor->GetControl(i);
    IParam* param = c->ParamIdx() >= 0 ? controller->GetParam(c->ParamIdx()) : nullptr;
    if (!param || c->IsHidden() || !wanted(c, param))
      continue;
    const IRECT* r = c->GetRECT();
    spot = {c->ParamIdx(), (r->L + r->R) / 2, (r->T + r->B) / 2, c->GetValue()};
  }
  controller->terminate();
  controller->release();
  StaticBitmapCache::Shared().Empty();
  return spot;
}

bool IsKnob(IControl* c, IParam* p) {
  return dynamic_cast<IKnobMultiControl*>(c) && p->NDisplayTexts() == 0 && p->GetNormalized() < 0.8;
}

// Drags from the spot up by `pixels` in small steps with button 1 held, letting the host's
// loop run (`settle`) between the steps.
void DragUp(HostWindow& window, const ControlSpot& spot, int pixels,
            const std::function<void(std::uint64_t)>& settle) {
  window.moveTo(spot.x, spot.y);
  window.press(1);
  settle(50);
  for (int dy = 4; dy <= pixels; dy += 4) {
    window.moveTo(spot.x, spot.y - dy);
    settle(35);
  }
  window.release(1);
  settle(150);
}

class EditorInX11 : public ::testing::Test {
protected:
  void SetUp() override {
    std::string error;
    module = Module::load(PLUGIN_BUNDLE, error);
    ASSERT_TRUE(module) << error;
    const auto cls = module->findClass(kVstAudioEffectClass);
    ASSERT_TRUE(cls);
    plugin = Plugin::create(*module, cls->cid, error);
    ASSERT_TRUE(plugin) << error;
  }

  std::unique_ptr<EmbeddedView> Open(EmbedOptions options = {}, std::uint64_t settleMs = 300) {
    std::string error;
    auto editor = EmbeddedView::open(plugin->controller(), error, options);
    EXPECT_TRUE(editor) << error;
    if (editor)
      editor->settle(settleMs);
    return editor;
  }

  std::unique_ptr<Module> module; // declared first: outlives the plug-in
  std::unique_ptr<Plugin> plugin;
};

// ---- what the user sees ----

struct ScaleCase {
  const char* name;
  float hostFactor; // setContentScaleFactor before attached (0: none)
  int xftDpi;       // the desktop's Xft.dpi (0: none)
  double scale;     // what the editor draws at
};

class EditorScreenshot : public EditorInX11, public ::testing::WithParamInterface<ScaleCase> {};

TEST_P(EditorScreenshot, EqualsTheOffscreenRenderPixelForPixel) {
  const ScaleCase& c = GetParam();
  std::string error;
  auto desktop = HostWindow::create(4, 4, error);
  ASSERT_TRUE(desktop) << error;
  Display* d = desktop->display();
  if (c.xftDpi) {
    const std::string resources = "Xft.dpi:\t" + std::to_string(c.xftDpi) + "\n";
    XChangeProperty(d, DefaultRootWindow(d), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(resources.data()),
                    int(resources.size()));
    desktop->sync();
  }
  EmbedOptions options;
  options.contentScale = c.hostFactor;
  auto editor = Open(options);
  XDeleteProperty(d, DefaultRootWindow(d), XA_RESOURCE_MANAGER);
  desktop->sync();
  ASSERT_TRUE(editor);
  editor->settle(300);

  const ViewRect size = editor->size();
  EXPECT_EQ(size.getWidth(), int(Controller::kEditorWidth * c.scale));
  EXPECT_EQ(size.getHeight(), int(Controller::kEditorHeight * c.scale));
  // The editor's window is the one child of the host's, of the view's size.
  const auto children = editor->window().children();
  ASSERT_EQ(children.size(), 1u);
  const auto state = editor->window().state(children[0]);
  EXPECT_EQ(state.width, size.getWidth());
  EXPECT_EQ(state.height, size.getHeight());

  const Image shot = editor->window().screenshot();
  const Image expected = OffscreenRender(c.scale);
  shot.savePng(Output(std::string("x11_") + c.name + ".png"));
  expected.savePng(Output(std::string("offscreen_") + c.name + ".png"));
  EXPECT_EQ(shot.differingPixels(expected), 0u);
}

INSTANTIATE_TEST_SUITE_P(Scales, EditorScreenshot,
                         ::testing::Values(ScaleCase{"1x", 0.f, 0, 1.0},
                                           ScaleCase{"2x_host", 2.f, 0, 2.0},
                                           ScaleCase{"2x_desktop", 0.f, 192, 2.0},
                                           ScaleCase{"1x_desktop_96", 0.f, 96, 1.0}),
                         [](const auto& info) { return info.param.name; });

// ---- input ----

TEST_F(EditorInX11, AKnobDragIsOneGestureWhoseValueReachesTheProcessor) {
  const ControlSpot knob = FindControl(IsKnob);
  ASSERT_GE(knob.param, 0);
  auto editor = Open();
  ASSERT_TRUE(editor);
  plugin->activate(48000, 64);
  const auto processorBefore = plugin->processorState();
  DragUp(editor->window(), knob, 40, [&](std::uint64_t ms) { editor->settle(ms); });

  const auto& log = plugin->log();
  const auto begins = log.editsOf(EditCall::Kind::Begin);
  const auto ends = log.editsOf(EditCall::Kind::End);
  const auto performs = log.editsOf(EditCall::Kind::Perform);
  ASSERT_EQ(begins.size(), 1u);
  ASSERT_EQ(ends.size(), 1u);
  ASSERT_GE(performs.size(), 2u);
  EXPECT_EQ(log.edits.front().kind, EditCall::Kind::Begin);
  EXPECT_EQ(log.edits.back().kind, EditCall::Kind::End);
  const ParamID id = begins[0].id;
  EXPECT_EQ(ends[0].id, id);
  for (const EditCall& e : performs)
    EXPECT_EQ(e.id, id);
  EXPECT_GT(performs.back().value, knob.value);
  EXPECT_DOUBLE_EQ(plugin->controller()->getParamNormalized(id), performs.back().value);

  // As a host does: the performed values go to the processor with the next block.
  for (const EditCall& e : performs)
    plugin->inputChanges().add(id, 0, e.value);
  ASSERT_EQ(plugin->process(64), kResultOk);
  EXPECT_NE(plugin->processorState(), processorBefore);
  plugin->restoreState(plugin->processorState(), plugin->controllerState());
  EXPECT_NEAR(plugin->controller()->getParamNormalized(id), performs.back().value, 1e-9);
}

// ---- life ----

size_t OpenDescriptors() {
  size_t n = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    (void)entry;
    ++n;
  }
  return n;
}

size_t RootWindows(Display* display) {
  Window root, parent, *children = nullptr;
  unsigned n = 0;
  XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &n);
  if (children)
    XFree(children);
  return n;
}

TEST_F(EditorInX11, OpenCloseCyclesLeaveNothingBehind) {
  std::string error;
  auto observer = HostWindow::create(4, 4, error);
  ASSERT_TRUE(observer) << error;
  auto cycle = [&] {
    auto editor = Open({}, 60);
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->frame().eventHandlerCount(), 1u);
    editor->close();
    EXPECT_TRUE(editor->window().children().empty());
    EXPECT_EQ(editor->frame().eventHandlerCount(), 0u);
    EXPECT_EQ(editor->frame().timerCount(), 0u);
  };
  for (int i = 0; i < 5; ++i) // caches warm
    cycle();
  const size_t descriptors = OpenDescriptors();
  const size_t windows = RootWindows(observer->display());
  const size_t heap = mallinfo2().uordblks;
  for (int i = 0; i < 100; ++i)
    cycle();
  EXPECT_EQ(OpenDescriptors(), descriptors);
  EXPECT_EQ(RootWindows(observer->display()), windows);
  // A leak of even one small allocation per cycle shows as growth over 100 cycles.
  EXPECT_LT(mallinfo2().uordblks, heap + 64 * 1024);
}

#if PLUGIN_HAS_VST2
// The VST 2.4 face: effEditGetRect, effEditOpen with the host's X window, effEditIdle and
// effEditClose show the same editor; a knob drag reaches the host as begin, automate, end.
TEST(Vst2EditorInX11, ShowsTheEditorAndReportsEditsAsBeginAutomateEnd) {
  std::string error;
  auto plugin = vst2host::Vst2Plugin::load(PLUGIN_VST2_LIBRARY, error);
  ASSERT_TRUE(plugin) << error;
  EXPECT_TRUE(plugin->effect()->flags & effFlagsHasEditor);
  plugin->open(48000, 256);
  auto editor = x11host::Vst2EditorWindow::open(*plugin, error);
  ASSERT_TRUE(editor) << error;
  editor->settle(400);
  EXPECT_EQ(editor->window().width(), Controller::kEditorWidth);
  EXPECT_EQ(editor->window().height(), Controller::kEditorHeight);
  const Image shot = editor->window().screenshot();
  shot.savePng(Output("vst2_x11.png"));
  EXPECT_EQ(shot.differingPixels(OffscreenRender(1.0)), 0u);

  const ControlSpot knob = FindControl(IsKnob);
  ASSERT_GE(knob.param, 0);
  plugin->log().clear();
  DragUp(editor->window(), knob, 40, [&](std::uint64_t ms) { editor->settle(ms); });
  const auto sequence = plugin->log().editSequence();
  ASSERT_GE(sequence.size(), 3u);
  EXPECT_EQ(sequence.front(), audioMasterBeginEdit);
  EXPECT_EQ(sequence.back(), audioMasterEndEdit);
  EXPECT_EQ(std::count(sequence.begin(), sequence.end(), audioMasterBeginEdit), 1);
  EXPECT_EQ(std::count(sequence.begin(), sequence.end(), audioMasterEndEdit), 1);
  for (const auto& call : plugin->log().of(audioMasterAutomate))
    EXPECT_EQ(call.index, knob.param);
  EXPECT_GT(plugin->parameter(knob.param), float(knob.value));

  editor->close();
  EXPECT_TRUE(editor->window().children().empty());
  plugin->close();
}
#endif

} // namespace
} // namespace orvane::x11
