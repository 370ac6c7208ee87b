// Views: the hierarchy, needs-display areas, hit testing, coordinates and tool tips.
#include "AppKit/NSView.h"

#include <algorithm>
#include <unordered_set>

#include "AppKit/NSWindow.h"

namespace {

// Every view that exists, so that a handle from a host can be told from a view.
std::unordered_set<const void*>& LiveViews() {
  static std::unordered_set<const void*> views;
  return views;
}

} // namespace

NSView::NSView(NSRect frame) : viewFrame(frame) {
  LiveViews().insert(this);
}

NSView::~NSView() {
  LiveViews().erase(this);
  for (NSView* child : children) {
    child->parent = nullptr;
    child->setNextResponder(nullptr);
    child->moveToWindow(nullptr);
    child->release();
  }
  children.clear();
  if (viewWindow)
    viewWindow->forgetView(this);
}

bool NSView::isLiveView(const void* object) {
  return object && LiveViews().count(object) > 0;
}

void NSView::setFrame(NSRect frame) {
  setFrameOrigin(frame.origin);
  setFrameSize(frame.size);
}

void NSView::setFrameSize(NSSize size) {
  viewFrame.size = size;
  setNeedsDisplay(true);
}

void NSView::setFrameOrigin(NSPoint origin) {
  viewFrame.origin = origin;
  setNeedsDisplay(true);
}

void NSView::addSubview(NSView* view) {
  if (!view || view == this)
    return;
  view->retain();
  view->detachFromParent();
  children.push_back(view);
  view->parent = this;
  view->setNextResponder(this);
  view->moveToWindow(viewWindow);
  view->setNeedsDisplay(true);
}

void NSView::detachFromParent() {
  if (!parent)
    return;
  auto& siblings = parent->children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  parent->setNeedsDisplayInRect(viewFrame);
  parent = nullptr;
  setNextResponder(nullptr);
}

void NSView::removeFromSuperview() {
  if (!parent)
    return;
  detachFromParent();
  moveToWindow(nullptr);
  release(); // the superview's reference
}

void NSView::moveToWindow(NSWindow* window) {
  if (viewWindow == window)
    return;
  if (viewWindow)
    viewWindow->forgetView(this);
  viewWindow = window;
  for (NSView* child : children)
    child->moveToWindow(window);
  viewDidMoveToWindow();
}

// ---- drawing ----

void NSView::drawRect(NSRect) {}

void NSView::setNeedsDisplay(bool needsDisplay) {
  if (needsDisplay)
    setNeedsDisplayInRect(bounds());
  else
    clearNeedsDisplay();
}

void NSView::setNeedsDisplayInRect(NSRect rect) {
  rect = NSIntersectionRect(rect, bounds());
  if (NSIsEmptyRect(rect))
    return;
  dirty = NSUnionRect(dirty, rect);
  if (viewWindow)
    viewWindow->noteNeedsDisplay(convertRectToView(rect, nullptr));
}

// ---- events and coordinates ----

NSView* NSView::hitTest(NSPoint point) {
  if (!NSPointInRect(point, viewFrame))
    return nullptr;
  const NSPoint local = NSMakePoint(point.x - viewFrame.origin.x, point.y - viewFrame.origin.y);
  for (auto it = children.rbegin(); it != children.rend(); ++it)
    if (NSView* hit = (*it)->hitTest(local))
      return hit;
  return this;
}

NSPoint NSView::originInWindow() const {
  NSPoint origin{0, 0};
  for (const NSView* v = this; v; v = v->parent) {
    origin.x += v->viewFrame.origin.x;
    origin.y += v->viewFrame.origin.y;
  }
  return origin;
}

NSPoint NSView::convertPoint(NSPoint point, const NSView* fromView) const {
  const NSPoint from = fromView ? fromView->originInWindow() : NSPoint{0, 0};
  const NSPoint to = originInWindow();
  return NSMakePoint(point.x + from.x - to.x, point.y + from.y - to.y);
}

NSPoint NSView::convertPointToView(NSPoint point, const NSView* toView) const {
  const NSPoint from = originInWindow();
  const NSPoint to = toView ? toView->originInWindow() : NSPoint{0, 0};
  return NSMakePoint(point.x + from.x - to.x, point.y + from.y - to.y);
}

NSRect NSView::convertRect(NSRect rect, const NSView* fromView) const {
  rect.origin = convertPoint(rect.origin, fromView);
  return rect;
}

NSRect NSView::convertRectToView(NSRect rect, const NSView* toView) const {
  rect.origin = convertPointToView(rect.origin, toView);
  return rect;
}

// ---- tool tips ----

NSToolTipTag NSView::addToolTipRect(NSRect rect, NSToolTipOwner* owner, void* userData) {
  toolTips.push_back(ToolTip{++lastToolTipTag, rect, owner, userData});
  return lastToolTipTag;
}

void NSView::removeToolTip(NSToolTipTag tag) {
  toolTips.erase(std::remove_if(toolTips.begin(), toolTips.end(),
                                [tag](const ToolTip& tip) { return tip.tag == tag; }),
                 toolTips.end());
}

void NSView::removeAllToolTips() {
  toolTips.clear();
}

std::string NSView::toolTipAt(NSPoint point) {
  for (auto it = toolTips.rbegin(); it != toolTips.rend(); ++it)
    if (NSPointInRect(point, it->rect) && it->owner)
      return it->owner->stringForToolTip(this, it->tag, point, it->userData);
  return {};
}
