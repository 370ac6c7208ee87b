// The host's top-level window on the test display, with the host's own X connection: the
// parent a plug-in's editor embeds into. It screenshots what the user sees and plays the
// user's mouse and keyboard through XTest.
#pragma once

#include "tests/hosts/x11/Image.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Xlib's own names, without its macros (which clash with test frameworks).
typedef struct _XDisplay Display;
typedef unsigned long Window;

namespace orvane::x11host {

// Where a window is (relative to its parent) and how it is shown.
struct WindowState {
  int x = 0, y = 0, width = 0, height = 0;
  bool viewable = false;
  bool overrideRedirect = false;
};

class HostWindow {
public:
  // Null with the reason in `error` when there is no test display.
  // `background` is the window's background pixel (0x00RRGGBB on the test server's TrueColor
  // screen).
  static std::unique_ptr<HostWindow> create(int width, int height, std::string& error,
                                            unsigned long background = 0);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  Display* display() const { return display_; }
  Window window() const { return window_; }
  // The window id as a plug-in receives it (attached / effEditOpen).
  void* parentHandle() const { return reinterpret_cast<void*>(static_cast<uintptr_t>(window_)); }
  int connectionFd() const;

  // Destroys the window as a host closing it does (before or without telling the plug-in).
  void destroy();
  void resize(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }

  // The direct children of the window (the embedded editor's), and whether they are mapped.
  std::vector<Window> children() const;
  bool isViewable(Window w) const;
  WindowState state(Window w) const;

  // What the screen shows in the window's rectangle (w, h of 0: to the window's edge).
  Image screenshot(int x = 0, int y = 0, int w = 0, int h = 0) const;
  // What the screen shows in any window (a pop-up menu), by its root position.
  Image screenshotRoot(int x, int y, int w, int h) const;

  // ---- the user, through XTest; positions in the window's coordinates ----
  void moveTo(int x, int y);
  void press(unsigned button);
  void release(unsigned button);
  void click(int x, int y, unsigned button = 1);
  // Presses and releases a key (a keysym such as XK_Escape or XK_a), holding the modifier
  // keys given as keysyms.
  void key(unsigned long keysym, const std::vector<unsigned long>& modifiers = {});
  void pressKey(unsigned long keysym);
  void releaseKey(unsigned long keysym);
  // Sends everything to the server.
  void sync();

  // The windows at the top of the stacking order that are mapped and override-redirect (the
  // plug-in's pop-up menus).
  std::vector<Window> popupWindows() const;
  // The root position of a window's top-left corner.
  void rootPosition(Window w, int& x, int& y) const;

private:
  HostWindow() = default;

  Display* display_ = nullptr;
  Window window_ = 0;
  int width_ = 0;
  int height_ = 0;
};

} // namespace orvane::x11host
