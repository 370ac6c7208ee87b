#include "tests/hosts/x11/HostWindow.h"

#include "tests/hosts/x11/TestDisplay.h"

#include <X11/Xlib.h>

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace orvane::x11host {

std::unique_ptr<HostWindow> HostWindow::create(int width, int height, std::string& error,
                                               unsigned long background) {
  Display* display = openTestDisplay(error);
  if (!display)
    return nullptr;
  int event, errorBase, major, minor;
  if (!XTestQueryExtension(display, &event, &errorBase, &major, &minor)) {
    error = "the X server has no XTest extension";
    XCloseDisplay(display);
    return nullptr;
  }
  std::unique_ptr<HostWindow> host(new HostWindow);
  host->display_ = display;
  host->width_ = width;
  host->height_ = height;
  XSetWindowAttributes attributes{};
  attributes.background_pixel = background;
  attributes.event_mask = StructureNotifyMask;
  // At the root's top-left corner: no window manager moves it, so window and root
  // coordinates are the same.
  host->window_ =
      XCreateWindow(display, DefaultRootWindow(display), 0, 0, width, height, 0, CopyFromParent,
                    InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &attributes);
  XStoreName(display, host->window_, "Orvane X11 test host");
  XMapWindow(display, host->window_);
  XEvent e;
  do
    XWindowEvent(display, host->window_, StructureNotifyMask, &e);
  while (e.type != MapNotify);
  return host;
}

HostWindow::~HostWindow() {
  if (!display_)
    return;
  destroy();
  XCloseDisplay(display_);
}

void HostWindow::destroy() {
  if (!window_)
    return;
  XDestroyWindow(display_, window_);
  XSync(display_, False);
  window_ = 0;
}

void HostWindow::resize(int width, int height) {
  width_ = width;
  height_ = height;
  XResizeWindow(display_, window_, width, height);
  XSync(display_, False);
}

std::vector<Window> HostWindow::children() const {
  Window root, parent, *list = nullptr;
  unsigned count = 0;
  std::vector<Window> result;
  if (XQueryTree(display_, window_, &root, &parent, &list, &count)) {
    result.assign(list, list + count);
    if (list)
      XFree(list);
  }
  return result;
}

int HostWindow::connectionFd() const {
  return ConnectionNumber(display_);
}

WindowState HostWindow::state(Window w) const {
  XWindowAttributes a{};
  if (!XGetWindowAttributes(display_, w, &a))
    return {};
  return {a.x, a.y, a.width, a.height, a.map_state == IsViewable, a.override_redirect != 0};
}

bool HostWindow::isViewable(Window w) const {
  return state(w).viewable;
}

namespace {

Image readImage(Display* display, Window w, int x, int y, int width, int height) {
  XImage* image = XGetImage(display, w, x, y, width, height, AllPlanes, ZPixmap);
  Image result(width, height);
  if (!image)
    return {};
  for (int row = 0; row < height; ++row)
    for (int col = 0; col < width; ++col)
      result.at(col, row) = std::uint32_t(XGetPixel(image, col, row)) & 0xFFFFFF;
  XDestroyImage(image);
  return result;
}

} // namespace

Image HostWindow::screenshot(int x, int y, int w, int h) const {
  XSync(display_, False);
  return readImage(display_, window_, x, y, w ? w : width_ - x, h ? h : height_ - y);
}

Image HostWindow::screenshotRoot(int x, int y, int w, int h) const {
  XSync(display_, False);
  return readImage(display_, DefaultRootWindow(display_), x, y, w, h);
}

void HostWindow::moveTo(int x, int y) {
  int rx = 0, ry = 0;
  rootPosition(window_, rx, ry);
  XTestFakeMotionEvent(display_, DefaultScreen(display_), rx + x, ry + y, CurrentTime);
  sync();
}

void HostWindow::press(unsigned button) {
  XTestFakeButtonEvent(display_, button, True, CurrentTime);
  sync();
}

void HostWindow::release(unsigned button) {
  XTestFakeButtonEvent(display_, button, False, CurrentTime);
  sync();
}

void HostWindow::click(int x, int y, unsigned button) {
  moveTo(x, y);
  press(button);
  release(button);
}

void HostWindow::pressKey(unsigned long keysym) {
  XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, keysym), True, CurrentTime);
  sync();
}

void HostWindow::releaseKey(unsigned long keysym) {
  XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, keysym), False, CurrentTime);
  sync();
}

void HostWindow::key(unsigned long keysym, const std::vector<unsigned long>& modifiers) {
  for (unsigned long m : modifiers)
    pressKey(m);
  pressKey(keysym);
  releaseKey(keysym);
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it)
    releaseKey(*it);
}

void HostWindow::sync() {
  XSync(display_, False);
}

std::vector<Window> HostWindow::popupWindows() const {
  Window root, parent, *list = nullptr;
  unsigned count = 0;
  std::vector<Window> result;
  if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &list, &count))
    return result;
  for (unsigned i = 0; i < count; ++i) {
    const WindowState s = state(list[i]);
    if (s.overrideRedirect && s.viewable)
      result.push_back(list[i]);
  }
  if (list)
    XFree(list);
  return result;
}

void HostWindow::rootPosition(Window w, int& x, int& y) const {
  Window child;
  XTranslateCoordinates(display_, w, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
}

} // namespace orvane::x11host
