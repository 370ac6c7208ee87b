// One editor's own connection to the X server: the display, what the server offers (MIT-SHM,
// the modifier bits of Alt and Super, the desktop's Xft.dpi) and the error handling that keeps
// a failed request from ending the host's process. Xlib's error handler is the whole
// process's, the host's (GTK hosts abort on an error they did not expect): an error on this
// connection is taken by the connection's own procedure for every error code before Xlib
// would call that handler, so it is counted here and never reaches the host. The host's
// handler is never replaced, not even for a moment.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <string>

namespace orvane::x11 {

class X11Connection {
public:
  // Connects to $DISPLAY; check isOpen().
  X11Connection();
  ~X11Connection();
  X11Connection(const X11Connection&) = delete;
  X11Connection& operator=(const X11Connection&) = delete;

  bool isOpen() const { return display != nullptr; }
  Display* get() const { return display; }
  int descriptor() const { return display ? ConnectionNumber(display) : -1; }

  // The modifier bits the server gives Alt (Option) and Super (Command).
  unsigned altMask() const { return alt; }
  unsigned superMask() const { return super; }

  // The backing scale the desktop asks for: 2 when its Xft.dpi resource is 192 or more,
  // else 1.
  double desktopScale() const;
  // Xft.dpi as a number, or 0 when the desktop sets none.
  double xftDpi() const;

  bool hasSharedMemory() const { return shm; }

  // X errors the server has sent this connection so far (none reaches the host's handler).
  long errorCount() const { return errors; }
  // Counts an error of the connection whose display that is (Xlib's error procedure).
  static void noteError(Display* display);

  // Runs `request` and waits for the server's answer; true when it raised no X error.
  template <class Request> bool checked(Request request) {
    beginChecking();
    request();
    return endChecking();
  }

private:
  void readModifierMasks();
  void beginChecking();
  bool endChecking();

  Display* display = nullptr;
  unsigned alt = Mod1Mask;
  unsigned super = Mod4Mask;
  bool shm = false;
  long errors = 0;
  long errorsBefore = 0;
};

// The desktop scale for an Xft.dpi value: 2 from 192 on, else 1.
double ScaleForDpi(double dpi);

} // namespace orvane::x11
