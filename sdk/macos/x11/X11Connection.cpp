#include "x11/X11Connection.h"

#include <X11/Xresource.h>
#include <X11/XKBlib.h>
#include <X11/extensions/XShm.h>
#include <X11/keysym.h>

#include <cstdlib>
#include <mutex>

namespace orvane::x11 {

namespace {

// Xlib's error handler is process-wide: ours is set only while a request is checked (errors
// of an editor's request must not end the host), and the host's is put back afterwards.
int gErrorCount = 0;
XErrorHandler gHostHandler = nullptr;
std::mutex gHandlerMutex;

int RecordError(Display*, XErrorEvent*) {
  ++gErrorCount;
  return 0;
}

} // namespace

double ScaleForDpi(double dpi) {
  return dpi >= 192.0 ? 2.0 : 1.0;
}

X11Connection::X11Connection() {
  display = XOpenDisplay(nullptr);
  if (!display)
    return;
  int major = 0, minor = 0;
  Bool pixmaps = False;
  shm = XShmQueryVersion(display, &major, &minor, &pixmaps) && !std::getenv("ORVANE_X11_NO_SHM");
  readModifierMasks();
}

X11Connection::~X11Connection() {
  if (display)
    XCloseDisplay(display);
}

void X11Connection::readModifierMasks() {
  XModifierKeymap* map = XGetModifierMapping(display);
  if (!map)
    return;
  for (int modifier = Mod1MapIndex; modifier <= Mod5MapIndex; ++modifier) {
    for (int k = 0; k < map->max_keypermod; ++k) {
      const KeyCode code = map->modifiermap[modifier * map->max_keypermod + k];
      if (!code)
        continue;
      const KeySym sym = XkbKeycodeToKeysym(display, code, 0, 0);
      if (sym == XK_Alt_L || sym == XK_Alt_R || sym == XK_Meta_L || sym == XK_Meta_R)
        alt = 1u << modifier;
      if (sym == XK_Super_L || sym == XK_Super_R)
        super = 1u << modifier;
    }
  }
  XFreeModifiermap(map);
}

double X11Connection::xftDpi() const {
  if (!display)
    return 0.0;
  // The root window's resources as they were when this connection opened (each editor opens
  // its own, so a change of the desktop's setting reaches the next editor).
  char* resources = XResourceManagerString(display);
  if (!resources)
    return 0.0;
  static std::once_flag init;
  std::call_once(init, [] { XrmInitialize(); });
  XrmDatabase database = XrmGetStringDatabase(resources);
  double dpi = 0.0;
  char* type = nullptr;
  XrmValue value{};
  if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
    dpi = std::atof(value.addr);
  XrmDestroyDatabase(database);
  return dpi;
}

double X11Connection::desktopScale() const {
  return ScaleForDpi(xftDpi());
}

void X11Connection::beginChecking() {
  gHandlerMutex.lock();
  XSync(display, False);
  gErrorCount = 0;
  gHostHandler = XSetErrorHandler(RecordError);
}

bool X11Connection::endChecking() {
  XSync(display, False);
  const bool clean = gErrorCount == 0;
  XSetErrorHandler(gHostHandler);
  gHandlerMutex.unlock();
  return clean;
}

} // namespace orvane::x11
