// NSWindow: a window (or, in a plug-in, the piece of the host's window the plug-in draws in)
// with a content view, a first responder, a backing store of device pixels and the window
// system beneath it (NSWindowBackend). Events come in through sendEvent; drawing goes out
// through the back end's present().
#pragma once

#include <cstdint>
#include <memory>

#include "AppKit/NSResponder.h"
#include "AppKit/NSWindowBackend.h"
#include "CoreGraphics/CoreGraphics.h"
#include "Foundation/NSGeometry.h"

class NSView;
class NSScreen;

class NSWindow : public NSResponder {
public:
  // A window of that content size (points) over the back end, which it owns; null backend
  // makes an off-screen window without a window system (it draws, but shows nothing).
  NSWindow(NSRect contentRect, std::unique_ptr<NSWindowBackend> backend);
  ~NSWindow() override;

  // A window inside the host's parent window, through the back end kind registered for it;
  // null when no factory of that kind is registered or it cannot make one.
  static NSWindow* windowForHostParent(NSWindowBackend::Kind kind, void* parent, NSSize size);
  // The window that last took a click or a key while it exists, else null.
  static NSWindow* keyWindow();
  // The key window, else the newest window that has a window system: where app-modal UI and
  // the pointer calls go.
  static NSWindow* mainWindow();

  NSView* contentView() const { return content; }
  // Retains the view (the content view keeps the window's size).
  void setContentView(NSView* view);
  NSWindowBackend* backend() const { return windowBackend.get(); }
  NSScreen* screen() const;

  // ---- geometry ----
  NSSize contentSize() const { return size; }
  void setContentSize(NSSize size);
  // The back end's scale (the screen's when there is no back end).
  double backingScaleFactor() const;
  NSRect convertRectToBacking(NSRect rect) const;
  // Window points of a device pixel position (origin top left of the content).
  NSPoint pointFromPixel(double x, double y) const;
  // The device-pixel area (origin top left) covering a rectangle of window points.
  NSWindowBackend::PixelRect pixelRectFromRect(NSRect rect) const;
  // Screen positions: the window's content lies at its frame origin on the main screen.
  NSRect convertRectToScreen(NSRect rect) const;
  NSPoint frameOrigin() const { return origin; }
  void setFrameOrigin(NSPoint point) { origin = point; }

  // ---- responders and focus ----
  NSResponder* firstResponder() const { return first; }
  // Makes responder (null: the window) the first responder; false when the current one or
  // the new one refuses.
  bool makeFirstResponder(NSResponder* responder);
  void makeKeyAndOrderFront();
  bool isKeyWindow() const { return keyWindow() == this; }
  void setAcceptsMouseMovedEvents(bool accepts) { acceptsMoves = accepts; }
  bool acceptsMouseMovedEvents() const { return acceptsMoves; }

  // ---- events ----
  // Delivers an event as AppKit does: a press goes to the view under it (which keeps the
  // following drags and the release), a move to the view under the pointer while mouse-moved
  // events are on, a wheel turn to the view under the pointer, a key to the first responder.
  void sendEvent(NSEvent* event);
  // Ends the press in progress without its release: the pointer capture goes (so that
  // another client, a host's menu, can grab the pointer) and the release, when it comes, goes
  // where the pointer is.
  void releasePointer();
  // The end of the responder chain: a key no responder took goes to the back end, which
  // hands it to the host (an embedded window's keys are the host's when the editor does
  // not want them).
  void keyDown(NSEvent* event) override;
  void keyUp(NSEvent* event) override;
  // The view that holds the pointer since a press, or null.
  NSView* mouseView() const { return pressedView; }

  // ---- drawing ----
  // A view marked this window rectangle (points) for drawing.
  void noteNeedsDisplay(NSRect rect);
  // Draws what views marked, then presents it. Nothing when nothing is marked.
  void displayIfNeeded();
  // Draws an area again in full (an expose) and presents it.
  void displayRect(const NSWindowBackend::PixelRect& area);
  // displayIfNeeded on the next pump of the run loop (once, however often asked).
  void scheduleDisplay();
  // The backing store: device pixels, bytes X, R, G, B, row 0 at the top.
  CGContextRef backingContext() const { return backing; }
  NSWindowBackend::Pixels pixels() const;

  // ---- life ----
  // The view goes away: forget it wherever the window holds it without a reference.
  void forgetView(NSView* view);
  // Removes the content view and lets the back end go; the window shows nothing afterwards.
  void close();

private:
  void resizeBacking();
  void drawView(NSView* view, NSRect windowRect);
  void displayWindowRect(NSRect windowRect);
  NSView* viewForPoint(NSPoint locationInWindow) const;
  void deliverMouse(NSView* view, NSEvent* event);

  std::unique_ptr<NSWindowBackend> windowBackend;
  NSView* content = nullptr; // retained
  NSResponder* first = nullptr;
  NSView* pressedView = nullptr;
  NSSize size;
  NSPoint origin{0, 0};
  double backingScale = 1.0;
  CGContextRef backing = nullptr;
  NSRect pendingRect = NSMakeRect(0, 0, 0, 0);
  std::uint64_t displayTimer = 0;
  bool acceptsMoves = false;
  bool closed = false;
};
