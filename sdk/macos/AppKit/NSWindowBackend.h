// The window system beneath the AppKit stand-in.
//
// An NSWindow of the stand-in keeps its views, their needs-display areas and a backing store
// (a CoreGraphics bitmap context of the window's size in device pixels); everything that
// needs a real window system goes through one NSWindowBackend the window owns. Two kinds
// exist: an off-screen one that keeps the pixels in memory and lets a test inject events and
// script the answers of modal UI, and an X11 one that lives in a child window of the host's
// window. sdk/macos itself depends on no window system: a back end kind is made through a
// factory that its own library registers (RegisterFactory), so the X11 libraries are linked
// only into what registers the X11 kind.
//
// Coordinates. Window points have their origin at the bottom left of the window's content,
// y upwards, as AppKit's. Device pixels (PixelRect, pixel positions of events) have their
// origin at the top left, y downwards, as a window system's; one point is backingScaleFactor()
// pixels. NSWindow converts between the two (NSWindow::pointFromPixel, pixelRectFromRect).
//
// Threads: everything runs on the UI thread, the thread that pumps the process-wide run loop
// (sdk/macos/runloop). A back end starts no thread; it reads its event source when the host
// tells it (a registered descriptor, a timer) and hands events to its window at once.
//
// What the back end calls on its window (see NSWindow.h):
//   - window->sendEvent(event) for every input event, made with the NSEvent factories (mouse
//     buttons, drags, moves, wheel, keys) with the location in window points;
//   - window->displayRect(pixels) for an expose: the area is drawn again from the views and
//     handed back through present();
//   - window->displayIfNeeded() when it is time to draw the areas views marked (after
//     invalidate(); scheduleDisplay() on the window does it on the next run-loop pump).
//
// App-modal UI (alert panels, open and save panels) has no window of its own: it runs on the
// back end of the key window (the last window that took a click or a key, while it lives) or
// else of the newest window, else on the application's modal back end
// (NSApplication::setModalBackend), else it is not shown (an alert answers -1, a panel
// cancels). The pointer calls (hide, show, move) go to the same window's back end.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Foundation/NSGeometry.h"

class NSEvent;
class NSMenu;
class NSMenuItem;
class NSTextField;
class NSView;
class NSWindow;

class NSWindowBackend {
public:
  enum class Kind {
    Offscreen, // pixels in memory; events and modal answers from a test
    X11,       // a child window of the host's X11 window (parent handle: the X window id)
  };

  // An area of the window in device pixels, origin top left.
  struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
  };

  // The window's backing store as the back end reads it in present(): 32-bit pixels whose
  // bytes lie in memory as X, R, G, B (X unused), rows top to bottom.
  struct Pixels {
    const std::uint8_t* data = nullptr;
    int width = 0, height = 0; // device pixels
    int bytesPerRow = 0;
  };

  // An alert panel: a title, a message and up to three buttons; the first is the default.
  struct AlertRequest {
    std::string title;
    std::string message;
    std::vector<std::string> buttons;
  };

  // An open or save panel.
  struct FilePanelRequest {
    bool save = false;       // a save panel (a name to write), else an open panel
    bool chooseFiles = true; // open panels: files may be chosen
    bool chooseDirectories = false;
    bool canCreateDirectories = false;
    bool resolvesAliases = true;           // symbolic links chosen resolve to their target
    std::string title;                     // empty: the panel's own
    std::string directory;                 // where the panel starts; empty: the back end's choice
    std::vector<std::string> allowedTypes; // file extensions without "."; empty: any
  };

  // A factory makes a back end of its kind for the host's parent (null for a top-level or
  // off-screen window); null when it cannot (no display, a bad parent).
  using Factory = std::unique_ptr<NSWindowBackend> (*)(void* parent);

  // Registers (or, with null, removes) the factory of a kind for this binary. Each plug-in
  // binary has its own registry (hidden symbols), so a bundle registers its own factories.
  static void RegisterFactory(Kind kind, Factory factory);
  static bool HasFactory(Kind kind);
  // A back end of that kind for parent, or null when no factory is registered or it fails.
  static std::unique_ptr<NSWindowBackend> Create(Kind kind, void* parent);

  virtual ~NSWindowBackend() = default;

  // ---- life and geometry ----
  // The window that owns this back end; called once, before any other operation, with the
  // window's content size in points and the backing scale the window starts with.
  virtual void attach(NSWindow* window) = 0;
  // The window is about to go (its views are gone already): release window-system
  // resources. No call follows.
  virtual void detach() = 0;
  // The host-side handle of the back end's own window (an X window id), or null.
  virtual void* nativeHandle() const = 0;
  // The content size changed (setContentSize:): the back end resizes its window to the size
  // in device pixels (points x backingScaleFactor()).
  virtual void setContentSize(int pixelWidth, int pixelHeight) = 0;
  // Device pixels per point of the display the window is on (1.0 or 2.0; the host's content
  // scale factor or the display's density). NSWindow asks it when it sizes its backing store.
  virtual double backingScaleFactor() const = 0;
  // The window should come to the front and take the keyboard (a text field begins editing).
  virtual void orderFront() = 0;

  // ---- drawing ----
  // Views marked this area (device pixels) as needing display. The back end arranges for
  // window->displayIfNeeded() to run soon on the UI thread (window->scheduleDisplay() does
  // so on the next run-loop pump).
  virtual void invalidate(const PixelRect& area) = 0;
  // The views have drawn `area` into the backing store: show it (X11: XPutImage; off-screen:
  // nothing to do, the test reads the pixels). Called at the end of every display.
  virtual void present(const Pixels& pixels, const PixelRect& area) = 0;

  // ---- pointer ----
  // While captured, pointer events reach this window even outside it (the button's implicit
  // grab of a drag). NSWindow sets it on a button press and clears it on the release.
  virtual void setPointerCapture(bool captured) = 0;
  // Hides and shows the pointer over the display; true when done.
  virtual bool hideCursor() = 0;
  virtual bool showCursor() = 0;
  // The pointer position on the display in device pixels, origin top left; false when it
  // cannot be told.
  virtual bool pointerPosition(int& x, int& y) const = 0;
  // Moves the pointer to a display position (device pixels, origin top left).
  virtual void warpPointer(int x, int y) = 0;

  // ---- modal UI; each runs to completion and returns the user's answer ----
  // Shows the menu (items, submenus, separators, check marks, disabled items) with its top
  // left at `location` (window points) over view, and runs it until the user chooses or
  // dismisses it. The chosen item (in the menu or one of its submenus), or null. The caller
  // performs the item's action.
  virtual NSMenuItem* runPopUpMenu(NSMenu* menu, NSPoint location, NSView* view) = 0;
  // The field (a subview; its frame in its superview's points) became the first responder:
  // show it and route typed text to it. The back end edits through the field's own calls
  // (NSTextField::insertText, deleteBackward, endEditing, cancelOperation), which apply its
  // formatter and tell its delegate; keys go to the field as key events (escape cancels
  // there). The editing ends with field->endEditing() (return, tab, focus loss),
  // field->cancelOperation() (escape) or when the field is removed, which calls
  // textEditingEnded().
  virtual void textEditingBegan(NSTextField* field) = 0;
  // The field stopped editing or left the window: stop routing keys to it; no call on it
  // follows.
  virtual void textEditingEnded(NSTextField* field) = 0;
  // Runs an alert: the index of the button pressed (0 for the first), or -1 when none could
  // be shown.
  virtual int runAlert(const AlertRequest& request) = 0;
  // Runs a file panel: true with the chosen path (absolute) on OK, false on cancel or when
  // no panel can be shown.
  virtual bool runFilePanel(const FilePanelRequest& request, std::string& chosenPath) = 0;

  // ---- event source ----
  // The descriptor the host's loop watches for this back end's events (its window-system
  // connection), or -1 when it has none.
  virtual int eventDescriptor() const { return -1; }
  // Reads and handles every event the window system has for this back end (the descriptor
  // became readable, or a host timer ticked); nothing when there is none.
  virtual void dispatchEvents() {}
  // A key event that no responder took (it reached the window): a back end inside a host's
  // window gives it back to the host.
  virtual void keyNotTaken(const NSEvent& /*event*/) {}
};
