// Windows: event delivery, first responder, and drawing views into the backing store.
#include "AppKit/NSWindow.h"

#include <algorithm>
#include <cmath>

#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSScreen.h"
#include "AppKit/NSView.h"
#include "sdk/macos/runloop/RunLoop.h"

namespace {

NSWindow* gKeyWindow = nullptr;

// Windows that exist, oldest first.
std::vector<NSWindow*>& LiveWindows() {
  static std::vector<NSWindow*> windows;
  return windows;
}

// The grey a window shows where no view draws.
constexpr CGFloat kWindowBackground = 0.91;

} // namespace

NSWindow::NSWindow(NSRect contentRect, std::unique_ptr<NSWindowBackend> backend)
    : windowBackend(std::move(backend)), size(contentRect.size), origin(contentRect.origin) {
  backingScale = backingScaleFactor();
  resizeBacking();
  LiveWindows().push_back(this);
  NSView* view = new NSView(NSMakeRect(0, 0, size.width, size.height));
  setContentView(view);
  view->release();
  if (windowBackend)
    windowBackend->attach(this);
}

NSWindow::~NSWindow() {
  close();
  auto& windows = LiveWindows();
  windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
  CGContextRelease(backing);
}

NSWindow* NSWindow::windowForHostParent(NSWindowBackend::Kind kind, void* parent, NSSize size) {
  std::unique_ptr<NSWindowBackend> backend = NSWindowBackend::Create(kind, parent);
  if (!backend)
    return nullptr;
  return new NSWindow(NSMakeRect(0, 0, size.width, size.height), std::move(backend));
}

NSWindow* NSWindow::keyWindow() {
  return gKeyWindow;
}

NSWindow* NSWindow::mainWindow() {
  if (gKeyWindow)
    return gKeyWindow;
  const auto& windows = LiveWindows();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it)
    if ((*it)->backend())
      return *it;
  return nullptr;
}

void NSWindow::setContentView(NSView* view) {
  if (view == content)
    return;
  if (view)
    view->retain();
  if (content) {
    content->setNextResponder(nullptr);
    content->moveToWindow(nullptr);
    content->release();
  }
  content = view;
  if (content) {
    content->setNextResponder(this);
    content->moveToWindow(this);
    content->setFrame(NSMakeRect(0, 0, size.width, size.height));
  }
}

NSScreen* NSWindow::screen() const {
  return NSScreen::mainScreen();
}

// ---- geometry ----

void NSWindow::setContentSize(NSSize newSize) {
  size = newSize;
  resizeBacking();
  if (content)
    content->setFrameSize(size);
  if (windowBackend) {
    const NSWindowBackend::PixelRect all =
        pixelRectFromRect(NSMakeRect(0, 0, size.width, size.height));
    windowBackend->setContentSize(all.width, all.height);
  }
}

double NSWindow::backingScaleFactor() const {
  if (windowBackend && windowBackend->backingScaleFactor() > 0.0)
    return windowBackend->backingScaleFactor();
  return NSScreen::mainScreen()->backingScaleFactor();
}

void NSWindow::resizeBacking() {
  const int width = std::max(1, (int)std::lround(size.width * backingScale));
  const int height = std::max(1, (int)std::lround(size.height * backingScale));
  if (backing && (int)CGBitmapContextGetWidth(backing) == width &&
      (int)CGBitmapContextGetHeight(backing) == height)
    return;
  CGContextRelease(backing);
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  backing = CGBitmapContextCreate(nullptr, width, height, 8, width * 4, space,
                                  kCGImageAlphaNoneSkipFirst);
  CGColorSpaceRelease(space);
  pendingRect = NSMakeRect(0, 0, size.width, size.height);
}

NSRect NSWindow::convertRectToBacking(NSRect rect) const {
  const double s = backingScaleFactor();
  return NSMakeRect(rect.origin.x * s, rect.origin.y * s, rect.size.width * s,
                    rect.size.height * s);
}

NSPoint NSWindow::pointFromPixel(double x, double y) const {
  const double s = backingScale;
  return NSMakePoint(x / s, size.height - y / s);
}

NSWindowBackend::PixelRect NSWindow::pixelRectFromRect(NSRect rect) const {
  const double s = backingScale;
  const int pixelHeight = backing ? (int)CGBitmapContextGetHeight(backing) : 0;
  const int pixelWidth = backing ? (int)CGBitmapContextGetWidth(backing) : 0;
  const int left = std::max(0, (int)std::floor(rect.origin.x * s));
  const int right = std::min(pixelWidth, (int)std::ceil((rect.origin.x + rect.size.width) * s));
  const int top = std::max(0, pixelHeight - (int)std::ceil((rect.origin.y + rect.size.height) * s));
  const int bottom = std::min(pixelHeight, pixelHeight - (int)std::floor(rect.origin.y * s));
  NSWindowBackend::PixelRect area;
  area.x = left;
  area.y = top;
  area.width = std::max(0, right - left);
  area.height = std::max(0, bottom - top);
  return area;
}

NSRect NSWindow::convertRectToScreen(NSRect rect) const {
  rect.origin.x += origin.x;
  rect.origin.y += origin.y;
  return rect;
}

// ---- responders ----

bool NSWindow::makeFirstResponder(NSResponder* responder) {
  if (responder == first)
    return true;
  if (first && !first->resignFirstResponder())
    return false;
  first = nullptr;
  if (responder && responder != this && !responder->becomeFirstResponder())
    return false;
  first = responder == this ? nullptr : responder;
  return true;
}

void NSWindow::makeKeyAndOrderFront() {
  gKeyWindow = this;
  if (windowBackend)
    windowBackend->orderFront();
}

// ---- events ----

NSView* NSWindow::viewForPoint(NSPoint locationInWindow) const {
  return content ? content->hitTest(locationInWindow) : nullptr;
}

void NSWindow::deliverMouse(NSView* view, NSEvent* event) {
  switch (event->type()) {
  case NSLeftMouseDown:
    view->mouseDown(event);
    break;
  case NSLeftMouseUp:
    view->mouseUp(event);
    break;
  case NSRightMouseDown:
    view->rightMouseDown(event);
    break;
  case NSRightMouseUp:
    view->rightMouseUp(event);
    break;
  case NSLeftMouseDragged:
    view->mouseDragged(event);
    break;
  case NSRightMouseDragged:
    view->rightMouseDragged(event);
    break;
  default:
    break;
  }
}

void NSWindow::releasePointer() {
  pressedView = nullptr;
  if (windowBackend)
    windowBackend->setPointerCapture(false);
}

void NSWindow::sendEvent(NSEvent* event) {
  if (!event || closed)
    return;
  switch (event->type()) {
  case NSLeftMouseDown:
  case NSRightMouseDown: {
    gKeyWindow = this;
    NSView* view = viewForPoint(event->locationInWindow());
    if (!view)
      return;
    if (view->acceptsFirstResponder())
      makeFirstResponder(view);
    pressedView = view;
    if (windowBackend)
      windowBackend->setPointerCapture(true);
    deliverMouse(view, event);
    return;
  }
  case NSLeftMouseUp:
  case NSRightMouseUp: {
    NSView* view = pressedView ? pressedView : viewForPoint(event->locationInWindow());
    pressedView = nullptr;
    if (windowBackend)
      windowBackend->setPointerCapture(false);
    if (view)
      deliverMouse(view, event);
    return;
  }
  case NSLeftMouseDragged:
  case NSRightMouseDragged: {
    NSView* view = pressedView ? pressedView : viewForPoint(event->locationInWindow());
    if (view)
      deliverMouse(view, event);
    return;
  }
  case NSMouseMoved:
    if (acceptsMoves)
      if (NSView* view = viewForPoint(event->locationInWindow()))
        view->mouseMoved(event);
    return;
  case NSScrollWheel:
    if (NSView* view = viewForPoint(event->locationInWindow()))
      view->scrollWheel(event);
    return;
  case NSKeyDown:
  case NSKeyUp: {
    gKeyWindow = this;
    NSResponder* target = first ? first : this;
    if (event->type() == NSKeyDown)
      target->keyDown(event);
    else
      target->keyUp(event);
    return;
  }
  default:
    return;
  }
}

void NSWindow::keyDown(NSEvent* event) {
  if (windowBackend && event)
    windowBackend->keyNotTaken(*event);
}

void NSWindow::keyUp(NSEvent* event) {
  if (windowBackend && event)
    windowBackend->keyNotTaken(*event);
}

// ---- drawing ----

void NSWindow::noteNeedsDisplay(NSRect rect) {
  if (closed)
    return;
  pendingRect = NSUnionRect(pendingRect, rect);
  if (windowBackend)
    windowBackend->invalidate(pixelRectFromRect(rect));
  else
    scheduleDisplay();
}

void NSWindow::scheduleDisplay() {
  if (displayTimer || closed)
    return;
  displayTimer = orvane::RunLoop::instance().addTimer(0, [this] {
    orvane::RunLoop::instance().removeTimer(displayTimer);
    displayTimer = 0;
    displayIfNeeded();
  });
}

void NSWindow::displayIfNeeded() {
  if (closed || NSIsEmptyRect(pendingRect))
    return;
  const NSRect area = pendingRect;
  pendingRect = NSMakeRect(0, 0, 0, 0);
  displayWindowRect(area);
}

void NSWindow::displayRect(const NSWindowBackend::PixelRect& area) {
  if (closed || area.empty())
    return;
  const NSPoint topLeft = pointFromPixel(area.x, area.y);
  const NSPoint bottomRight = pointFromPixel(area.x + area.width, area.y + area.height);
  displayWindowRect(
      NSMakeRect(topLeft.x, bottomRight.y, bottomRight.x - topLeft.x, topLeft.y - bottomRight.y));
}

void NSWindow::displayWindowRect(NSRect windowRect) {
  const double scale = backingScaleFactor();
  if (scale != backingScale) {
    backingScale = scale;
    resizeBacking();
    windowRect = NSMakeRect(0, 0, size.width, size.height);
    pendingRect = NSMakeRect(0, 0, 0, 0);
    if (windowBackend) {
      const NSWindowBackend::Pixels all = pixels();
      windowBackend->setContentSize(all.width, all.height);
    }
  }
  windowRect = NSIntersectionRect(windowRect, NSMakeRect(0, 0, size.width, size.height));
  if (NSIsEmptyRect(windowRect) || !backing)
    return;
  CGContextSaveGState(backing);
  CGContextScaleCTM(backing, backingScale, backingScale);
  CGContextSetRGBFillColor(backing, kWindowBackground, kWindowBackground, kWindowBackground, 1.0);
  CGContextFillRect(backing, windowRect);
  CGContextRestoreGState(backing);
  if (content) {
    content->retain(); // a view may close the window while it draws
    drawView(content, windowRect);
    content->release();
  }
  if (windowBackend && !closed)
    windowBackend->present(pixels(), pixelRectFromRect(windowRect));
}

void NSWindow::drawView(NSView* view, NSRect windowRect) {
  const NSRect frameInWindow = view->convertRectToView(view->bounds(), nullptr);
  const NSRect area = NSIntersectionRect(windowRect, frameInWindow);
  if (NSIsEmptyRect(area))
    return;
  // Held across the drawing: a view's drawRect may remove its subviews (a text entry ends).
  const std::vector<NSView*> children = view->subviews();
  for (NSView* child : children)
    child->retain();
  const NSPoint viewOrigin = frameInWindow.origin;
  const NSRect local = NSMakeRect(area.origin.x - viewOrigin.x, area.origin.y - viewOrigin.y,
                                  area.size.width, area.size.height);
  CGContextSaveGState(backing);
  CGContextScaleCTM(backing, backingScale, backingScale);
  CGContextTranslateCTM(backing, viewOrigin.x, viewOrigin.y);
  CGContextClipToRect(backing, local);
  NSGraphicsContext* context = NSGraphicsContext::graphicsContextWithGraphicsPort(backing, false);
  NSGraphicsContext* previous = NSGraphicsContext::currentContext();
  NSGraphicsContext::setCurrentContext(context);
  view->clearNeedsDisplay();
  view->drawRect(local);
  NSGraphicsContext::setCurrentContext(previous);
  context->release();
  CGContextRestoreGState(backing);
  for (NSView* child : children) {
    if (child->superview() == view)
      drawView(child, windowRect);
    child->release();
  }
}

NSWindowBackend::Pixels NSWindow::pixels() const {
  NSWindowBackend::Pixels out;
  if (!backing)
    return out;
  out.data = static_cast<const std::uint8_t*>(CGBitmapContextGetData(backing));
  out.width = (int)CGBitmapContextGetWidth(backing);
  out.height = (int)CGBitmapContextGetHeight(backing);
  out.bytesPerRow = (int)CGBitmapContextGetBytesPerRow(backing);
  return out;
}

// ---- life ----

void NSWindow::forgetView(NSView* view) {
  if (first == view)
    first = nullptr;
  if (pressedView == view)
    pressedView = nullptr;
}

void NSWindow::close() {
  if (closed)
    return;
  closed = true;
  if (displayTimer) {
    orvane::RunLoop::instance().removeTimer(displayTimer);
    displayTimer = 0;
  }
  setContentView(nullptr);
  first = nullptr;
  pressedView = nullptr;
  if (gKeyWindow == this)
    gKeyWindow = nullptr;
  if (windowBackend) {
    windowBackend->detach();
    windowBackend.reset();
  }
}
