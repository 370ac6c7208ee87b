// The X11 window beneath the AppKit stand-in: a child window of the host's window on an X
// connection of the editor's own. It shows the areas the window presents (XShmPutImage or
// XPutImage of the dirty area only), turns X events into NSEvents (buttons 1 and 3, wheel
// buttons 4 to 7, keys through the keyboard mapping, Shift, Control, Alt as Option and Super
// as Command, click counts from timing and distance), grabs the pointer during drags, hides
// the pointer for fine drags, runs pop-up menus as override-redirect windows and gives a text
// field the keyboard focus while it edits.
//
// The back end starts no thread: the host watches eventDescriptor() and calls
// dispatchEvents() when it is readable and on a timer (a VST 3 host through its IRunLoop, a
// VST 2.4 host through effEditIdle).
#pragma once

#include "AppKit/NSEvent.h"
#include "AppKit/NSWindowBackend.h"

#include "x11/X11ClickCounter.h"
#include "x11/X11Connection.h"

#include <memory>

class NSEvent;

namespace orvane::x11 {

class X11Blitter;

class X11WindowBackend : public NSWindowBackend {
public:
  // The factory registered for NSWindowBackend::Kind::X11: a back end inside the X window
  // whose id is `parent`, or null without a display or with a parent that does not exist.
  static std::unique_ptr<NSWindowBackend> Make(void* parent);
  // Registers Make for the X11 kind in this binary (when none is registered yet).
  static void Register();

  ~X11WindowBackend() override;

  void attach(NSWindow* window) override;
  void detach() override;
  void* nativeHandle() const override;
  void setContentSize(int pixelWidth, int pixelHeight) override;
  double backingScaleFactor() const override;
  void orderFront() override;

  void invalidate(const PixelRect& area) override;
  void present(const Pixels& pixels, const PixelRect& area) override;

  void setPointerCapture(bool captured) override;
  bool hideCursor() override;
  bool showCursor() override;
  bool pointerPosition(int& x, int& y) const override;
  void warpPointer(int x, int y) override;

  NSMenuItem* runPopUpMenu(NSMenu* menu, NSPoint location, NSView* view) override;
  void textEditingBegan(NSTextField* field) override;
  void textEditingEnded(NSTextField* field) override;
  int runAlert(const AlertRequest& request) override;
  bool runFilePanel(const FilePanelRequest& request, std::string& chosenPath) override;

  int eventDescriptor() const override;
  void dispatchEvents() override;
  // Sends the X key event being handled to the host's window.
  void keyNotTaken(const NSEvent& event) override;

  // Pixels sent to the server so far (for checks that nothing is drawn without a change).
  long pixelsPresented() const { return presented; }
  // X errors on the editor's connection (none reaches the host's handler either way).
  long errorCount() const { return connection->errorCount(); }
  // The window was destroyed by the server (its parent went first).
  bool windowGone() const { return destroyedByServer; }
  bool usesSharedMemory() const;

private:
  X11WindowBackend(std::unique_ptr<X11Connection> connection, Window parent);

  // The window's life: it goes when the server says it or its parent was destroyed.
  void noticeDestruction();
  void windowDestroyed(Window which);
  // False once the window is known to be gone (the queue is checked first).
  bool windowExists();

  void handle(XEvent& event);
  void handleExpose(const XExposeEvent& event);
  void handleButton(const XButtonEvent& event, bool pressed);
  void handleMotion(XMotionEvent event);
  void handleKey(XKeyEvent& event, bool pressed);
  void handleFocusOut(const XFocusChangeEvent& event);
  void deliver(NSEvent& event);
  NSPoint pointOf(int x, int y) const;
  NSEventModifierFlags flagsOf(unsigned state) const;
  Cursor blankCursor();
  void takeFocus();
  void returnFocus();

  std::unique_ptr<X11Connection> connection;
  Window parent;
  Window window = 0;
  bool destroyedByServer = false;
  NSWindow* owner = nullptr;
  std::unique_ptr<X11Blitter> blitter;
  X11ClickCounter clicks;
  double scale = 1.0;
  PixelRect exposed;
  int pointerX = 0, pointerY = 0; // last pointer position in device pixels
  bool captured = false;
  bool cursorHidden = false;
  Cursor invisible = 0;
  const XKeyEvent* keyInHand = nullptr; // the X event of the key being delivered
  NSTextField* editingField = nullptr;
  Window focusBeforeEditing = 0;
  long presented = 0;
};

} // namespace orvane::x11
