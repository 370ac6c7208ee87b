#include "x11/X11Connection.h"

#include <X11/Xresource.h>
#include <X11/XKBlib.h>
#include <X11/extensions/XShm.h>
#include <X11/keysym.h>

#include <cstdlib>
#include <map>
#include <mutex>

// XESetWireToError and xError; after the C++ headers, and without the macros it defines.
#include <X11/Xlibint.h>
#undef min
#undef max

namespace orvane::x11 {

namespace {

// Xlib hands an X error to the display's wire-to-error procedure for its code before the
// process-wide handler (the host's), and reports it no further when that procedure returns
// False. Every code of an editor's connection gets this one: the error is counted on the
// connection and never reaches the host.
Bool SwallowError(Display* display, XErrorEvent*, xError*) {
  X11Connection::noteError(display);
  return False;
}

std::mutex gConnectionsMutex;
std::map<Display*, X11Connection*>& Connections() {
  static std::map<Display*, X11Connection*> connections;
  return connections;
}

} // namespace

double ScaleForDpi(double dpi) {
  return dpi >= 192.0 ? 2.0 : 1.0;
}

X11Connection::X11Connection() {
  display = XOpenDisplay(nullptr);
  if (!display)
    return;
  {
    std::lock_guard<std::mutex> lock(gConnectionsMutex);
    Connections()[display] = this;
  }
  for (int code = 1; code < 256; ++code)
    XESetWireToError(display, code, SwallowError);
  int major = 0, minor = 0;
  Bool pixmaps = False;
  shm = XShmQueryVersion(display, &major, &minor, &pixmaps) && !std::getenv("ORVANE_X11_NO_SHM");
  readModifierMasks();
}

X11Connection::~X11Connection() {
  if (!display)
    return;
  XCloseDisplay(display);
  std::lock_guard<std::mutex> lock(gConnectionsMutex);
  Connections().erase(display);
}

void X11Connection::noteError(Display* display) {
  std::lock_guard<std::mutex> lock(gConnectionsMutex);
  const auto it = Connections().find(display);
  if (it != Connections().end())
    ++it->second->errors;
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
  XSync(display, False);
  errorsBefore = errors;
}

bool X11Connection::endChecking() {
  XSync(display, False);
  return errors == errorsBefore;
}

} // namespace orvane::x11
