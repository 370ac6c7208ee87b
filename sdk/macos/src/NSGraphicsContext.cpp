// The current graphics context, and the screen with the pointer calls that reach the key
// window's back end.
#include "AppKit/NSGraphicsContext.h"

#include <vector>

#include "AppKit/NSCursor.h"
#include "AppKit/NSScreen.h"
#include "AppKit/NSWindow.h"

namespace {

NSGraphicsContext* gCurrent = nullptr;

std::vector<NSGraphicsContext*>& SavedContexts() {
  static std::vector<NSGraphicsContext*> saved;
  return saved;
}

NSWindowBackend* PointerBackend() {
  NSWindow* window = NSWindow::mainWindow();
  return window ? window->backend() : nullptr;
}

} // namespace

NSGraphicsContext::NSGraphicsContext(CGContextRef port, bool flipped)
    : port(CGContextRetain(port)), flipped(flipped) {}

NSGraphicsContext::~NSGraphicsContext() {
  CGContextRelease(port);
}

NSGraphicsContext* NSGraphicsContext::graphicsContextWithGraphicsPort(CGContextRef port,
                                                                      bool flipped) {
  return port ? new NSGraphicsContext(port, flipped) : nullptr;
}

NSGraphicsContext* NSGraphicsContext::currentContext() {
  return gCurrent;
}

void NSGraphicsContext::setCurrentContext(NSGraphicsContext* context) {
  gCurrent = context;
}

void NSGraphicsContext::saveGraphicsState() {
  SavedContexts().push_back(gCurrent);
  if (gCurrent)
    CGContextSaveGState(gCurrent->port);
}

void NSGraphicsContext::restoreGraphicsState() {
  if (SavedContexts().empty())
    return;
  gCurrent = SavedContexts().back();
  SavedContexts().pop_back();
  if (gCurrent)
    CGContextRestoreGState(gCurrent->port);
}

// ---- the screen and the pointer ----

NSScreen* NSScreen::mainScreen() {
  static NSScreen screen;
  return &screen;
}

void NSScreen::setBackingScaleFactor(double factor) {
  if (factor > 0.0)
    scale = factor;
}

CGDirectDisplayID CGMainDisplayID() {
  return 1;
}

CGRect CGDisplayBounds(CGDirectDisplayID) {
  return NSScreen::mainScreen()->frame();
}

CGError CGDisplayHideCursor(CGDirectDisplayID) {
  NSWindowBackend* backend = PointerBackend();
  return backend && backend->hideCursor() ? kCGErrorSuccess : kCGErrorFailure;
}

CGError CGDisplayShowCursor(CGDirectDisplayID) {
  NSWindowBackend* backend = PointerBackend();
  return backend && backend->showCursor() ? kCGErrorSuccess : kCGErrorFailure;
}

CGError CGDisplayMoveCursorToPoint(CGDirectDisplayID, CGPoint point) {
  NSWindowBackend* backend = PointerBackend();
  if (!backend)
    return kCGErrorFailure;
  backend->warpPointer((int)point.x, (int)point.y);
  return kCGErrorSuccess;
}

CGPoint NSEventMouseLocation() {
  NSWindowBackend* backend = PointerBackend();
  int x = 0, y = 0;
  if (!backend || !backend->pointerPosition(x, y))
    return CGPointMake(0, 0);
  return CGPointMake(x, NSScreen::mainScreen()->frame().size.height - y);
}
