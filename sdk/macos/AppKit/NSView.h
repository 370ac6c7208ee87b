// NSView: a rectangle of a window that draws itself and takes events. The frame is in the
// superview's points, the bounds in the view's own (origin at the bottom left, y upwards; no
// view of the stand-in is flipped). A superview retains its subviews; a window retains its
// content view.
#pragma once

#include <string>
#include <vector>

#include "AppKit/NSResponder.h"
#include "Foundation/NSGeometry.h"

class NSView;
class NSWindow;

typedef long NSToolTipTag;

// What owns a tool-tip rectangle answers (view:stringForToolTip:point:userData:).
class NSToolTipOwner {
public:
  virtual std::string stringForToolTip(NSView* view, NSToolTipTag tag, NSPoint point,
                                       void* userData) = 0;

protected:
  ~NSToolTipOwner() = default;
};

class NSView : public NSResponder {
public:
  explicit NSView(NSRect frame);
  ~NSView() override;

  // True while `object` is a view that exists (a handle a host gave may be anything).
  static bool isLiveView(const void* object);

  NSRect frame() const { return viewFrame; }
  NSRect bounds() const { return NSMakeRect(0, 0, viewFrame.size.width, viewFrame.size.height); }
  void setFrame(NSRect frame);
  virtual void setFrameSize(NSSize size);
  void setFrameOrigin(NSPoint origin);

  NSView* superview() const { return parent; }
  const std::vector<NSView*>& subviews() const { return children; }
  // Retains the view, takes it from its old superview, and tells it its new window.
  void addSubview(NSView* view);
  // Leaves the superview (which releases it: hold a reference to keep the view).
  virtual void removeFromSuperview();
  NSWindow* window() const { return viewWindow; }
  // Called after the view (or an ancestor) moved to another window or out of one.
  virtual void viewDidMoveToWindow() {}

  // ---- drawing ----
  virtual void drawRect(NSRect dirtyRect);
  virtual bool isOpaque() const { return false; }
  virtual bool isFlipped() const { return false; }
  void setNeedsDisplay(bool needsDisplay);
  // Marks part of the bounds for drawing at the window's next display.
  void setNeedsDisplayInRect(NSRect rect);
  bool needsDisplay() const { return !NSIsEmptyRect(dirty); }
  // The union of the marked rectangles (bounds coordinates), empty when clean.
  NSRect needsDisplayRect() const { return dirty; }
  void clearNeedsDisplay() { dirty = NSMakeRect(0, 0, 0, 0); }

  // ---- events ----
  virtual bool acceptsFirstMouse(NSEvent* /*event*/) { return false; }
  // The deepest view under point (given in the superview's coordinates), or null.
  NSView* hitTest(NSPoint point);

  // ---- coordinates; a null view stands for the window ----
  NSPoint convertPoint(NSPoint point, const NSView* fromView) const;
  NSPoint convertPointToView(NSPoint point, const NSView* toView) const;
  NSRect convertRect(NSRect rect, const NSView* fromView) const;
  NSRect convertRectToView(NSRect rect, const NSView* toView) const;

  // ---- tool tips ----
  NSToolTipTag addToolTipRect(NSRect rect, NSToolTipOwner* owner, void* userData);
  void removeToolTip(NSToolTipTag tag);
  void removeAllToolTips();
  std::size_t toolTipCount() const { return toolTips.size(); }
  // The tip of the last rectangle holding point (bounds coordinates), or empty.
  std::string toolTipAt(NSPoint point);

private:
  friend class NSWindow;
  struct ToolTip {
    NSToolTipTag tag;
    NSRect rect;
    NSToolTipOwner* owner;
    void* userData;
  };

  // The origin of the bounds in window points.
  NSPoint originInWindow() const;
  void moveToWindow(NSWindow* window);
  void detachFromParent();

  NSRect viewFrame;
  NSRect dirty = NSMakeRect(0, 0, 0, 0);
  NSView* parent = nullptr;       // not retained
  std::vector<NSView*> children;  // retained
  NSWindow* viewWindow = nullptr; // not retained
  std::vector<ToolTip> toolTips;
  NSToolTipTag lastToolTipTag = 0;
};
