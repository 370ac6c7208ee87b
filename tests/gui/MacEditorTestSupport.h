#pragma once
// What the back-end tests stand on: a controller whose layout is built by LayoutGUI (again
// after every scale change, as the plug-ins' layouts are), its IEditorMac, and a host of the
// VST 3 test host's objects that attaches the editor's view to an X11 parent served by the
// off-screen window back end. Users act through the back end, in window points, as events
// arrive from a window system.

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "AppKit/AppKit.h"
#include "BridgeTestSupport.h"
#include "GuiTestSupport.h"
#include "gui/ICaptionControl.h"
#include "gui/IEditorMac.h"
#include "gui/IEditorView.h"
#include "gui/IKnobLineControl.h"
#include "gui/IInvisibleSwitchControl.h"
#include "gui/IPanelControl.h"
#include "src/OffscreenWindowBackend.h"
#include "tests/hosts/vst3/ComponentHandler.h"
#include "tests/hosts/vst3/HostApplication.h"
#include "tests/hosts/vst3/HostRunLoop.h"
#include "tests/hosts/vst3/PlugFrame.h"

namespace guitest {

// A control that records where events reach it, in draw-bitmap pixels.
class RecorderControl : public IControl {
public:
  RecorderControl(IEditorDelegate* controller, const IRECT& rect)
      : IControl(controller, rect, -1) {}

  void OnMouseDown(int x, int y, const IMouseMod& mod) override {
    events.push_back(Entry("down", {x, y}));
    lastMod = mod;
  }
  void OnMouseUp(int x, int y, const IMouseMod&) override { events.push_back(Entry("up", {x, y})); }
  void OnMouseWheel(int, int, const IMouseMod&, int delta) override {
    events.push_back(Entry("wheel", {delta}));
  }
  bool OnKeyDown(int, int, int key) override {
    events.push_back(Entry("key", {key}));
    return takesKeys;
  }
  bool Draw(IEditor*) override { return true; }

  std::vector<std::string> events;
  IMouseMod lastMod;
  bool takesKeys = true;
};

// The bridge controller with a layout: a background, a knob on Gain, a switch on Power,
// captions that prompt for Mode (a menu), Steps and Gain (text entries), and a recorder in
// the top left corner. Rectangles are in view points, scaled to the editor's drawing scale.
class LayoutController : public BridgeController {
public:
  static constexpr int kWidth = 400, kHeight = 315;

  using BridgeController::BridgeController;

  void LayoutGUI() override {
    ++layouts;
    IEditor* gui = GetGUI();
    const double s = gui->GetDrawScale();
    auto at = [s](int l, int t, int r, int b) {
      return IRECT(int(l * s), int(t * s), int(r * s), int(b * s));
    };
    const IText caption(int(14 * s), IColor(255, 240, 240, 240));
    gui->AttachControl(new IPanelControl(this, at(0, 0, kWidth, kHeight), IColor(255, 40, 60, 90)));
    knob = new IKnobLineControl(this, at(40, 40, 120, 120), kGain, IColor(255, 255, 200, 0),
                                5.0 * s, 38.0 * s);
    gui->AttachControl(knob);
    powerSwitch = new IInvisibleSwitchControl(this, at(160, 40, 220, 100), kPower);
    gui->AttachControl(powerSwitch);
    gui->AttachControl(new IPanelControl(this, at(160, 40, 220, 100), IColor(255, 200, 60, 60)));
    gui->GetControl(gui->NControls() - 1)->SetIgnoreMouse(true);
    modeCaption = new ICaptionControl(this, at(240, 40, 380, 70), kMode, caption);
    gui->AttachControl(modeCaption);
    stepsCaption = new ICaptionControl(this, at(240, 90, 380, 120), kSteps, caption);
    gui->AttachControl(stepsCaption);
    gainCaption = new ICaptionControl(this, at(40, 150, 200, 180), kGain, caption);
    gui->AttachControl(gainCaption);
    recorder = new RecorderControl(this, at(0, 0, 20, 20));
    gui->AttachControl(recorder);
  }

  int layouts = 0;
  IKnobLineControl* knob = nullptr;
  IInvisibleSwitchControl* powerSwitch = nullptr;
  ICaptionControl *modeCaption = nullptr, *stepsCaption = nullptr, *gainCaption = nullptr;
  RecorderControl* recorder = nullptr;
};

// A parent view of a host that records the keys passed on to it.
class HostParentView : public NSView {
public:
  using NSView::NSView;
  void keyDown(NSEvent* event) override { keys.push_back(event->charactersIgnoringModifiers()); }
  std::vector<std::string> keys;
};

// The host: application, component handler with context menus, frame with its run loop.
class MacEditorHost {
public:
  using EditCall = orvane::testhost::EditCall;

  MacEditorHost()
      : log(std::make_shared<orvane::testhost::HostLog>()),
        host(new orvane::testhost::HostApplication(u"Platform Host", log)),
        handler(new orvane::testhost::ComponentHandler(log, true)),
        frame(new orvane::testhost::PlugFrame(log)), controller(new LayoutController()) {
    OffscreenWindowBackend::RegisterAs(NSWindowBackend::Kind::X11);
    NSScreen::mainScreen()->setBackingScaleFactor(1.0);
    controller->initialize(host);
    controller->setComponentHandler(handler);
    editor = new IEditorMac(controller, LayoutController::kWidth, LayoutController::kHeight);
    editor->SetBundleID("com.orvane.toolkit.test");
    controller->AttachGraphics(editor);
    controller->LayoutGUI();
    controller->SetAllGUIParamsFromPlug();
  }
  ~MacEditorHost() {
    Close();
    controller->setComponentHandler(nullptr);
    controller->terminate();
    controller->release();
    frame->release();
    handler->release();
    host->release();
    NSScreen::mainScreen()->setBackingScaleFactor(1.0);
  }
  MacEditorHost(const MacEditorHost&) = delete;
  MacEditorHost& operator=(const MacEditorHost&) = delete;

  // The host opens the editor in an X11 parent; the window system is the off-screen one.
  OffscreenWindowBackend& Open() {
    view = controller->createView("editor");
    view->setFrame(frame);
    if (view->attached(reinterpret_cast<void*>(0x5a11), Steinberg::kPlatformTypeX11EmbedWindowID) !=
        Steinberg::kResultOk)
      throw std::runtime_error("the view did not attach");
    backend = OffscreenWindowBackend::LastMade();
    Run(100); // the first frames are drawn
    return *backend;
  }
  void Close() {
    if (!view)
      return;
    view->removed();
    view->setFrame(nullptr);
    view->release();
    view = nullptr;
    backend = nullptr;
  }
  // The host's GUI thread runs for ms milliseconds.
  void Run(std::uint64_t ms) { orvane::testhost::advanceHostClock(ms); }

  // The view point at which the editor sees a pixel (px, py) at scale 1.
  static NSPoint At(int px, int py) {
    return NSMakePoint(px + 2, LayoutController::kHeight - 3 - py);
  }

  std::shared_ptr<orvane::testhost::HostLog> log;
  orvane::testhost::HostApplication* host;
  orvane::testhost::ComponentHandler* handler;
  orvane::testhost::PlugFrame* frame;
  LayoutController* controller;
  IEditorMac* editor; // the controller's
  Steinberg::IPlugView* view = nullptr;
  OffscreenWindowBackend* backend = nullptr;
};

} // namespace guitest
