// The controller-editor bridge in process, with the VST 3 test host's own objects: the view the
// host gets and its life, edits from the editor to the host, values from the host to the
// controls, and right-click menus in the host or in the editor.
#include <gtest/gtest.h>

#include <memory>

#include "BridgeTestSupport.h"
#include "GuiTestSupport.h"
#include "gui/IEditorView.h"
#include "src/OffscreenWindowBackend.h"
#include "public.sdk/source/vst/utility/stringconvert.h"
#include "tests/hosts/vst3/ComponentHandler.h"
#include "tests/hosts/vst3/HostApplication.h"
#include "tests/hosts/vst3/PlugFrame.h"

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using guitest::BridgeController;
using guitest::MenuControl;
using guitest::Pick;
using guitest::ScriptedEditor;
using orvane::testhost::ComponentHandler;
using orvane::testhost::EditCall;
using orvane::testhost::HostApplication;
using orvane::testhost::HostLog;
using orvane::testhost::PlugFrame;

void* const kParent = reinterpret_cast<void*>(0x4242);

template <class T> struct Releaser {
  void operator()(T* object) const {
    if (object)
      object->release();
  }
};
template <class T> using Held = std::unique_ptr<T, Releaser<T>>;

// A controller initialised by a host, with an editor of 920 x 315 holding a control per
// parameter, a second control on "Gain", and a component handler of the test host.
class BridgeTest : public ::testing::Test {
protected:
  explicit BridgeTest(int api = kAPIVST3, bool hostMenus = true)
      : log(std::make_shared<HostLog>()), host(new HostApplication(u"Bridge Host", log)),
        handler(new ComponentHandler(log, hostMenus)), frame(new PlugFrame(log)),
        controller(new BridgeController(api)) {
    // The window system of the X11 parent is the off-screen one.
    OffscreenWindowBackend::RegisterAs(NSWindowBackend::Kind::X11);
    controller->initialize(host.get());
    controller->setComponentHandler(handler.get());
  }
  ~BridgeTest() override {
    controller->setComponentHandler(nullptr);
    controller->terminate();
  }

  ScriptedEditor* Attach() {
    editor = new ScriptedEditor(controller.get(), 920, 315);
    for (int i = 0; i < BridgeController::kNumParams; ++i)
      controls.push_back(AddControl(i, i));
    controls.push_back(AddControl(BridgeController::kGain, BridgeController::kNumParams));
    controller->AttachGraphics(editor);
    controller->SetAllGUIParamsFromPlug();
    return editor;
  }
  MenuControl* AddControl(int param, int row) {
    auto* control = new MenuControl(controller.get(), IRECT(0, 20 * row, 40, 20 * row + 20), param);
    editor->AttachControl(control);
    return control;
  }
  Held<IPlugView> CreateView(FIDString name = "editor") {
    return Held<IPlugView>(controller->createView(name));
  }

  std::shared_ptr<HostLog> log;
  Held<HostApplication> host;
  Held<ComponentHandler> handler;
  Held<PlugFrame> frame;
  Held<BridgeController> controller;
  ScriptedEditor* editor = nullptr; // the controller's
  std::vector<MenuControl*> controls;
};

// ---- the view ----

TEST_F(BridgeTest, ViewOnlyForEditorOnceGraphicsAreAttached) {
  EXPECT_EQ(CreateView(), nullptr);
  Attach();
  EXPECT_NE(CreateView(), nullptr);
  EXPECT_EQ(CreateView("other"), nullptr);
  EXPECT_EQ(CreateView(""), nullptr);
  EXPECT_EQ(CreateView(nullptr), nullptr);
}

TEST_F(BridgeTest, ViewSizeIsTheEditorsInViewPoints) {
  Attach();
  Held<IPlugView> view = CreateView();
  struct Case {
    double scale;
    int width, height;
  } cases[] = {{1.0, 920, 315}, {2.0, 460, 157}};
  for (const Case& c : cases) {
    editor->SetDrawScale(c.scale);
    ViewRect size;
    ASSERT_EQ(view->getSize(&size), kResultOk);
    EXPECT_EQ(size.left, 0);
    EXPECT_EQ(size.top, 0);
    EXPECT_EQ(size.getWidth(), c.width) << c.scale;
    EXPECT_EQ(size.getHeight(), c.height) << c.scale;
  }
  EXPECT_EQ(view->getSize(nullptr), kInvalidArgument);
}

TEST_F(BridgeTest, PlatformTypes) {
  Attach();
  Held<IPlugView> view = CreateView();
  struct Case {
    FIDString type;
    tresult expected;
  } cases[] = {{"X11EmbedWindowID", kResultTrue},
               {"NSView", kResultTrue},
               {"HIView", kResultTrue},
               {"HWND", kResultFalse},
               {"", kResultFalse},
               {nullptr, kInvalidArgument}};
  for (const Case& c : cases)
    EXPECT_EQ(view->isPlatformTypeSupported(c.type), c.expected) << (c.type ? c.type : "null");
}

TEST_F(BridgeTest, AttachedAndRemovedOpenAndCloseTheEditorOnce) {
  Attach();
  Held<IPlugView> view = CreateView();
  EXPECT_EQ(view->setFrame(frame.get()), kResultTrue);
  ASSERT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultOk);
  EXPECT_EQ(editor->windowsOpened, 1);
  // The editor opens in the content view of a window inside the X11 parent.
  ASSERT_NE(OffscreenWindowBackend::LastMade(), nullptr);
  EXPECT_EQ(editor->window, OffscreenWindowBackend::LastMade()->window->contentView());
  EXPECT_EQ(controller->guiOpened, 1);
  EXPECT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_EQ(editor->windowsOpened, 1);

  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_EQ(editor->windowsClosed, 1);
  EXPECT_EQ(controller->guiClosed, 1);
  EXPECT_EQ(view->removed(), kResultFalse);
  EXPECT_EQ(editor->windowsClosed, 1);
  EXPECT_EQ(controller->guiClosed, 1);
  view->setFrame(nullptr);
}

TEST_F(BridgeTest, BadInputsAreAnsweredNotObeyed) {
  Attach();
  Held<IPlugView> view = CreateView();
  EXPECT_EQ(view->removed(), kResultFalse);
  EXPECT_EQ(view->attached(nullptr, kPlatformTypeX11EmbedWindowID), kInvalidArgument);
  EXPECT_EQ(view->attached(kParent, nullptr), kInvalidArgument);
  EXPECT_EQ(view->attached(kParent, "HWND"), kResultFalse);
  EXPECT_EQ(view->setFrame(nullptr), kResultTrue);
  ViewRect rect(0, 0, 10, 10);
  EXPECT_EQ(view->onSize(nullptr), kResultOk);
  EXPECT_EQ(view->onSize(&rect), kResultOk);
  EXPECT_EQ(editor->windowsOpened, 0);
  EXPECT_EQ(editor->windowsClosed, 0);
  EXPECT_EQ(controller->guiOpened + controller->guiClosed, 0);
}

TEST_F(BridgeTest, HIViewOpensNoWindow) {
  Attach();
  Held<IPlugView> view = CreateView();
  // Carbon opens no window: the view is not attached and nothing changes.
  EXPECT_EQ(view->attached(kParent, kPlatformTypeHIView), kResultFalse);
  EXPECT_EQ(editor->hiViewWindowsOpened, 1);
  EXPECT_EQ(editor->windowsOpened, 0);
  EXPECT_EQ(controller->guiOpened, 0);
  EXPECT_EQ(view->removed(), kResultFalse);
  EXPECT_EQ(controller->guiClosed, 0);
}

TEST_F(BridgeTest, ReleasedWhileAttachedClosesTheWindow) {
  Attach();
  Held<IPlugView> view = CreateView();
  ASSERT_EQ(view->attached(kParent, kPlatformTypeNSView), kResultOk);
  EXPECT_EQ(controller->NEditorViews(), 1);
  view.reset();
  EXPECT_EQ(editor->windowsClosed, 1);
  EXPECT_EQ(controller->NEditorViews(), 0);
}

TEST_F(BridgeTest, ReopenedViewKeepsTheControlsAndValues) {
  Attach();
  controller->setParamNormalized(BridgeController::kGain, 0.75);
  for (int round = 0; round < 2; ++round) {
    Held<IPlugView> view = CreateView();
    view->setFrame(frame.get());
    ASSERT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultOk);
    EXPECT_EQ(view->removed(), kResultOk);
    view->setFrame(nullptr);
  }
  EXPECT_EQ(editor->NControls(), int(controls.size()));
  EXPECT_DOUBLE_EQ(controls[0]->GetValue(), 0.75);
  EXPECT_EQ(editor->windowsOpened, 2);
  EXPECT_EQ(editor->windowsClosed, 2);
}

// The run-loop pump lives while the view is attached, not while it has a frame: after
// removed() nothing of the view is left on the host's loop.
TEST_F(BridgeTest, ThePumpTimerLivesWhileTheViewIsAttached) {
  Attach();
  Held<IPlugView> view = CreateView();
  view->setFrame(frame.get());
  EXPECT_EQ(frame->timerCount(), 0u);
  ASSERT_EQ(view->attached(kParent, kPlatformTypeNSView), kResultOk);
  ASSERT_EQ(log->timersRegistered.size(), 1u);
  EXPECT_EQ(frame->timerCount(), 1u);
  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_EQ(log->timersUnregistered, 1);
  EXPECT_EQ(frame->timerCount(), 0u);
  view->setFrame(nullptr);
  EXPECT_EQ(log->timersUnregistered, 1);
}

// A host that gives an attached X11 view another frame: the pump and the window's tick move
// to its run loop, and none stays on the old one.
TEST_F(BridgeTest, AnAttachedViewMovesItsTimersToANewFrame) {
  Attach();
  Held<IPlugView> view = CreateView();
  view->setFrame(frame.get());
  ASSERT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultOk);
  EXPECT_EQ(frame->timerCount(), 2u);
  Held<PlugFrame> other(new PlugFrame(log));
  view->setFrame(other.get());
  EXPECT_EQ(frame->timerCount(), 0u);
  EXPECT_EQ(other->timerCount(), 2u);
  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_EQ(other->timerCount(), 0u);
  view->setFrame(nullptr);
}

// A host frame that offers no Linux::IRunLoop.
class FrameWithoutRunLoop : public orvane::testhost::HostObject<IPlugFrame> {
public:
  tresult PLUGIN_API resizeView(IPlugView*, ViewRect*) override { return kResultOk; }
};

TEST_F(BridgeTest, X11ParentsLiveOnTheHostsRunLoop) {
  Attach();
  {
    // Without a run loop nothing is opened, and the host hears kResultFalse.
    Held<IPlugView> view = CreateView();
    auto* bare = new FrameWithoutRunLoop;
    view->setFrame(bare);
    EXPECT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultFalse);
    EXPECT_EQ(editor->windowsOpened, 0);
    EXPECT_EQ(controller->guiOpened, 0);
    EXPECT_EQ(view->removed(), kResultFalse);
    view->setFrame(nullptr);
    bare->release();
  }
  Held<IPlugView> view = CreateView();
  view->setFrame(frame.get());
  EXPECT_EQ(frame->timerCount(), 0u);
  ASSERT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultOk);
  // The run-loop pump and the window's tick; the off-screen window has no descriptor.
  EXPECT_EQ(frame->timerCount(), 2u);
  EXPECT_EQ(frame->eventHandlerCount(), 0u);
  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_EQ(frame->timerCount(), 0u);
  view->setFrame(nullptr);
  EXPECT_EQ(frame->timerCount(), 0u);
}

// ---- values both ways ----

TEST_F(BridgeTest, AttachGraphicsGivesControlsTheCurrentValues) {
  controller->setParamNormalized(BridgeController::kSteps, 0.3);
  Attach();
  EXPECT_DOUBLE_EQ(controls[BridgeController::kSteps]->GetValue(), 0.3);
  EXPECT_DOUBLE_EQ(controls[BridgeController::kMode]->GetValue(), 0.5);
  for (MenuControl* control : controls)
    for (const auto& [push, value] : control->values)
      EXPECT_FALSE(push);
  EXPECT_TRUE(log->edits.empty());
}

TEST_F(BridgeTest, EditorEditsReachTheHostInsideTheGesture) {
  Attach();
  editor->OnMouseDown(5, 5, guitest::LeftButton());
  controls[BridgeController::kGain]->SetValue(true, 0.25);
  editor->OnMouseUp(5, 5, guitest::LeftButton());
  ASSERT_EQ(log->edits.size(), 3u);
  EXPECT_EQ(log->edits[0].kind, EditCall::Kind::Begin);
  EXPECT_EQ(log->edits[1].kind, EditCall::Kind::Perform);
  EXPECT_DOUBLE_EQ(log->edits[1].value, 0.25);
  EXPECT_EQ(log->edits[2].kind, EditCall::Kind::End);
  for (const EditCall& e : log->edits)
    EXPECT_EQ(e.id, ParamID(BridgeController::kGain));
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(BridgeController::kGain), 0.25);
}

TEST_F(BridgeTest, HostValuesReachEveryBoundControlWithoutEcho) {
  Attach();
  for (MenuControl* control : controls)
    control->values.clear();
  controller->setParamNormalized(BridgeController::kGain, 0.9);
  MenuControl* gainControls[] = {controls[BridgeController::kGain], controls.back()};
  for (MenuControl* control : gainControls) {
    ASSERT_EQ(control->values.size(), 1u);
    EXPECT_FALSE(control->values[0].first);
    EXPECT_DOUBLE_EQ(control->GetValue(), 0.9);
  }
  EXPECT_TRUE(controls[BridgeController::kMode]->values.empty());
  EXPECT_TRUE(log->edits.empty());
}

TEST_F(BridgeTest, StateLoadSetsEveryControlFromPlainValues) {
  Attach();
  controller->GetParam(BridgeController::kGain)->Set(6.0);
  controller->GetParam(BridgeController::kMode)->Set(2.0);
  controller->SetAllGUIParamsFromPlug();
  EXPECT_DOUBLE_EQ(controls[BridgeController::kGain]->GetValue(), 0.75);
  EXPECT_DOUBLE_EQ(controls[BridgeController::kMode]->GetValue(), 1.0);
  EXPECT_TRUE(log->edits.empty());
}

TEST_F(BridgeTest, WithoutAnEditorEverythingIsANoOp) {
  controller->SetAllGUIParamsFromPlug();
  controller->SetAllGUIControlsDirty();
  controller->SetGUIParameterFromPlug(0, true, 0.5);
  controller->SetControlHighlight(0, true, 1);
  controller->PopupHostContextMenu(0, 0, 1, 1);
  EXPECT_EQ(controller->GetGUI(), nullptr);
  EXPECT_TRUE(log->contextMenus.empty());
}

TEST_F(BridgeTest, HighlightReachesTheControlsOfTheParameter) {
  Attach();
  controller->SetControlHighlight(BridgeController::kGain, true, 0);
  EXPECT_TRUE(controls[BridgeController::kGain]->IsHighlighted());
  EXPECT_TRUE(controls.back()->IsHighlighted());
  EXPECT_FALSE(controls[BridgeController::kMode]->IsHighlighted());
}

// ---- context menus ----

IMouseMod RightButton() {
  IMouseMod mod;
  mod.R = true;
  return mod;
}

std::string Utf8(const String128 name) {
  return StringConvert::convert(name);
}

TEST_F(BridgeTest, RightClickOpensTheHostMenuForTheParameter) {
  Attach();
  MenuControl* mode = controls[BridgeController::kMode];
  mode->items = {
      {"Reset", 0}, {"Locked", IPopupMenuItem::kDisabled}, {"Linked", IPopupMenuItem::kChecked}};
  Held<IPlugView> view = CreateView();
  view->setFrame(frame.get());
  ASSERT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultOk);
  log->pickContextMenuItem = [](const std::vector<IContextMenuItem>&) {
    return std::optional<size_t>(2);
  };
  editor->OnMouseDown(10, 25, RightButton());
  ASSERT_EQ(log->contextMenus.size(), 1u);
  const auto& menu = log->contextMenus[0];
  EXPECT_EQ(menu.paramId, ParamID(BridgeController::kMode));
  ASSERT_EQ(menu.items.size(), 3u);
  EXPECT_EQ(Utf8(menu.items[0].name), "Reset");
  EXPECT_EQ(Utf8(menu.items[1].name), "Locked");
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(menu.items[i].tag, i);
    EXPECT_TRUE(menu.itemHasTarget[i]);
  }
  EXPECT_EQ(menu.items[0].flags, 0);
  EXPECT_EQ(menu.items[1].flags & IContextMenuItem::kIsDisabled, IContextMenuItem::kIsDisabled);
  EXPECT_EQ(menu.items[2].flags, IContextMenuItem::kIsChecked);
  EXPECT_EQ(menu.popupAt, std::make_pair(UCoord(10), UCoord(25)));
  EXPECT_EQ(mode->chosenTags, std::vector<int>{2});
  EXPECT_TRUE(editor->shownMenus.empty());
  EXPECT_TRUE(log->edits.empty());
  view->removed();
  view->setFrame(nullptr);
}

TEST_F(BridgeTest, HostMenuPositionIsInViewPoints) {
  Attach();
  editor->SetDrawScale(2.0);
  Held<IPlugView> view = CreateView();
  controller->PopupHostContextMenu(0, 0, 40, 30);
  ASSERT_EQ(log->contextMenus.size(), 1u);
  EXPECT_EQ(log->contextMenus[0].popupAt, std::make_pair(UCoord(20), UCoord(15)));
}

TEST_F(BridgeTest, MenuWithoutControlHasNoTarget) {
  Attach();
  Held<IPlugView> view = CreateView();
  controls[0]->items = {{"x", 0}};
  controller->PopupHostContextMenu(-1, 0, 1, 1);
  ASSERT_EQ(log->contextMenus.size(), 1u);
  EXPECT_TRUE(log->contextMenus[0].items.empty());
}

// Without a host menu to ask (no IComponentHandler3, no view open, another API) the editor
// shows its own pop-up at the click and tells the control what was chosen.
struct OwnPopupCase {
  const char* name;
  int api;
  bool hostMenus;
  bool openView;
};

class OwnPopupTest : public BridgeTest, public ::testing::WithParamInterface<OwnPopupCase> {
protected:
  OwnPopupTest() : BridgeTest(GetParam().api, GetParam().hostMenus) {}
};

TEST_P(OwnPopupTest, EditorShowsItsOwnMenu) {
  Attach();
  Held<IPlugView> view = GetParam().openView ? CreateView() : nullptr;
  MenuControl* gain = controls[BridgeController::kGain];
  gain->items = {{"One", 0}, {"Two", 0}};
  editor->respondToMenu = Pick(1);
  editor->OnMouseDown(10, 5, RightButton());
  EXPECT_TRUE(log->contextMenus.empty());
  ASSERT_EQ(editor->shownMenus.size(), 1u);
  EXPECT_EQ(editor->shownMenus[0], (std::vector<std::string>{"One", "Two"}));
  EXPECT_EQ(editor->menuRects[0], IRECT(10, 5, 10, 5));
  EXPECT_EQ(gain->chosenTags, std::vector<int>{1});

  editor->respondToMenu = nullptr;
  editor->OnMouseDown(10, 5, RightButton());
  EXPECT_EQ(gain->chosenTags, (std::vector<int>{1, -1}));
  EXPECT_TRUE(log->edits.empty());
}

INSTANTIATE_TEST_SUITE_P(Bridge, OwnPopupTest,
                         ::testing::Values(OwnPopupCase{"Vst2", kAPIVST2, true, true},
                                           OwnPopupCase{"Aax", kAPIAAX, true, true},
                                           OwnPopupCase{"NoHandler3", kAPIVST3, false, true},
                                           OwnPopupCase{"NoView", kAPIVST3, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
