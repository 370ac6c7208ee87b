// A VST 3 editor embedded in the X11 test host as Linux hosts do it: createView("editor"),
// isPlatformTypeSupported("X11EmbedWindowID"), setFrame with a frame that answers IRunLoop,
// optionally setContentScaleFactor, attached(window id); removed and setFrame(null) on close.
#pragma once

#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "tests/hosts/x11/HostFrame.h"
#include "tests/hosts/x11/HostLoop.h"
#include "tests/hosts/x11/HostWindow.h"

#include <memory>
#include <string>

namespace orvane::x11host {

struct EmbedOptions {
  bool offersRunLoop = true;
  float contentScale = 0.f;       // setContentScaleFactor before attached when > 0
  unsigned long background = 0;   // the host window's background pixel (0x00RRGGBB)
  std::uint64_t timerStretch = 1; // the host's timers fire this many times their period apart
};

class EmbeddedView {
public:
  // Opens the controller's editor in a new host window of the view's size. Null with the
  // reason in `error` when there is no display, no view or the view refuses to attach;
  // `attachResult` gets attached()'s answer when it was called.
  static std::unique_ptr<EmbeddedView> open(Steinberg::Vst::IEditController* controller,
                                            std::string& error, EmbedOptions options = {},
                                            Steinberg::tresult* attachResult = nullptr);
  ~EmbeddedView();

  HostLoop& loop() { return loop_; }
  HostWindow& window() { return *window_; }
  HostFrame& frame() { return *frame_; }
  Steinberg::IPlugView* view() const { return view_; }
  Steinberg::ViewRect size() const;

  // setContentScaleFactor through IPlugViewContentScaleSupport; kNoInterface without it.
  Steinberg::tresult setContentScale(float factor);
  // Runs the host loop for a while so the editor draws.
  void settle(std::uint64_t ms = 150) { loop_.run(ms); }
  // removed, setFrame(null), release: what closing the editor window does in a host. The
  // frame and window stay for checks of what the view left behind.
  void close();
  // removed() alone: the host takes the view out of its window and keeps it for now.
  Steinberg::tresult remove();

private:
  EmbeddedView() = default;

  HostLoop loop_;
  std::unique_ptr<HostWindow> window_;
  HostFrame* frame_ = nullptr;
  Steinberg::IPlugView* view_ = nullptr;
  bool attached_ = false;
};

} // namespace orvane::x11host
