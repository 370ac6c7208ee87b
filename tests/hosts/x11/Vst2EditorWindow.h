// A VST 2.4 editor in the X11 test host, as Linux VST 2.4 hosts show one: effEditGetRect for
// the size, a host window, effEditOpen with its X window id, effEditGetRect again (the window
// takes that size), effEditIdle from the host's GUI loop (about 30 times a second),
// effEditClose on close.
#pragma once

#include "tests/hosts/vst2/Vst2Plugin.h"
#include "tests/hosts/x11/HostLoop.h"
#include "tests/hosts/x11/HostWindow.h"

#include <memory>
#include <string>

namespace orvane::x11host {

class Vst2EditorWindow {
public:
  static constexpr std::uint64_t kIdleIntervalMs = 30;

  // Null with the reason in `error` when there is no display, no size or effEditOpen fails.
  static std::unique_ptr<Vst2EditorWindow> open(vst2host::Vst2Plugin& plugin, std::string& error);
  ~Vst2EditorWindow();

  HostLoop& loop() { return loop_; }
  HostWindow& window() { return *window_; }
  void settle(std::uint64_t ms = 150) { loop_.run(ms); }
  void close();

private:
  explicit Vst2EditorWindow(vst2host::Vst2Plugin& plugin) : plugin(plugin) {}

  vst2host::Vst2Plugin& plugin;
  HostLoop loop_;
  std::unique_ptr<HostWindow> window_;
  HostLoop::Id idleTimer = 0;
  bool opened = false;
};

} // namespace orvane::x11host
