// NSResponder: an object in the chain that events travel along. Every event method by default
// passes the event on to the next responder (a view's superview, the content view's window);
// at the end of the chain it is dropped.
#pragma once

#include "AppKit/NSEvent.h"
#include "Foundation/Foundation.h"

class NSResponder : public NSObject {
public:
  NSResponder* nextResponder() const { return next; }
  void setNextResponder(NSResponder* responder) { next = responder; }

  virtual bool acceptsFirstResponder() { return false; }
  // Asked when the window makes this the first responder / takes that away; false refuses.
  virtual bool becomeFirstResponder() { return true; }
  virtual bool resignFirstResponder() { return true; }

  virtual void mouseDown(NSEvent* event);
  virtual void mouseUp(NSEvent* event);
  virtual void mouseDragged(NSEvent* event);
  virtual void rightMouseDown(NSEvent* event);
  virtual void rightMouseUp(NSEvent* event);
  virtual void rightMouseDragged(NSEvent* event);
  virtual void mouseMoved(NSEvent* event);
  virtual void scrollWheel(NSEvent* event);
  virtual void keyDown(NSEvent* event);
  virtual void keyUp(NSEvent* event);

private:
  NSResponder* next = nullptr; // not retained
};
