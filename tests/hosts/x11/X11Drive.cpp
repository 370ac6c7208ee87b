// orvane_x11_drive: a user at an X display, for looking at real hosts by hand.
//   orvane_x11_drive shot FILE.png            the whole screen as PNG
//   orvane_x11_drive click X Y [BUTTON [N]]   N clicks (default 1) of BUTTON (default 1)
//   orvane_x11_drive drag X Y DX DY           button 1 held from (X, Y) by (DX, DY)
//   orvane_x11_drive key KEYSYM-NAME          press and release a key ("Escape", "a")
// The display is $DISPLAY.
#include "tests/hosts/x11/Image.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using orvane::x11host::Image;

namespace {

int Shot(Display* d, const char* path) {
  const int w = DisplayWidth(d, DefaultScreen(d)), h = DisplayHeight(d, DefaultScreen(d));
  XImage* x = XGetImage(d, DefaultRootWindow(d), 0, 0, w, h, AllPlanes, ZPixmap);
  if (!x)
    return 1;
  Image image(w, h);
  for (int row = 0; row < h; ++row)
    for (int col = 0; col < w; ++col)
      image.at(col, row) = std::uint32_t(XGetPixel(x, col, row)) & 0xFFFFFF;
  XDestroyImage(x);
  return image.savePng(path) ? 0 : 1;
}

void Move(Display* d, int x, int y) {
  XTestFakeMotionEvent(d, DefaultScreen(d), x, y, CurrentTime);
  XSync(d, False);
  usleep(50000);
}

void Button(Display* d, unsigned button, bool down) {
  XTestFakeButtonEvent(d, button, down, CurrentTime);
  XSync(d, False);
  usleep(30000);
}

} // namespace

int main(int argc, char** argv) {
  Display* d = XOpenDisplay(nullptr);
  if (!d || argc < 2) {
    std::fprintf(stderr, "usage: see the source; needs $DISPLAY\n");
    return 2;
  }
  const std::string command = argv[1];
  int result = 0;
  if (command == "shot" && argc == 3) {
    result = Shot(d, argv[2]);
  } else if (command == "click" && argc >= 4) {
    const unsigned button = argc > 4 ? unsigned(std::atoi(argv[4])) : 1;
    const int count = argc > 5 ? std::atoi(argv[5]) : 1;
    Move(d, std::atoi(argv[2]), std::atoi(argv[3]));
    for (int i = 0; i < count; ++i) {
      Button(d, button, true);
      Button(d, button, false);
    }
  } else if (command == "drag" && argc == 6) {
    const int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
    const int dx = std::atoi(argv[4]), dy = std::atoi(argv[5]);
    Move(d, x, y);
    Button(d, 1, true);
    for (int i = 1; i <= 10; ++i)
      Move(d, x + dx * i / 10, y + dy * i / 10);
    Button(d, 1, false);
  } else if (command == "key" && argc == 3) {
    const KeyCode code = XKeysymToKeycode(d, XStringToKeysym(argv[2]));
    XTestFakeKeyEvent(d, code, True, CurrentTime);
    XTestFakeKeyEvent(d, code, False, CurrentTime);
    XSync(d, False);
  } else {
    result = 2;
  }
  XCloseDisplay(d);
  return result;
}
