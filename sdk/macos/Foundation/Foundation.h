// Stand-in for the Foundation values the emulation reads.
#pragma once

#include "CoreFoundation/CoreFoundation.h"

// The Foundation release the stand-in behaves as (that of macOS 10.10).
extern const double NSFoundationVersionNumber;

// The root of the stand-in Cocoa classes. A selector a Cocoa object may or may not answer is a
// small interface here, and "answers it" is a dynamic_cast to that interface.
//
// Objects are reference counted as on the platform: a new object holds one reference (its
// maker's), retain adds one and release drops one, deleting the object at zero. Objects that
// live in a scope (tests, stack values) are simply never released.
class NSObject {
public:
  NSObject() = default;
  NSObject(const NSObject&) : references(1) {}
  NSObject& operator=(const NSObject&) { return *this; }
  virtual ~NSObject() = default;

  NSObject* retain() {
    ++references;
    return this;
  }
  void release() {
    if (--references == 0)
      delete this;
  }
  int retainCount() const { return references; }

private:
  int references = 1;
};

// Stores value in a slot that holds a reference: the new value is retained before the old one
// is released (so storing the same object again is safe). For any type with retain/release.
template <class T> void NSAssignRetained(T*& slot, T* value) {
  if (value)
    value->retain();
  if (slot)
    slot->release();
  slot = value;
}

// A selector name ("OnMenuSelection:"); actions are sent to targets that answer them through
// NSActionTarget.
typedef const char* SEL;

// What a target of an action (a menu item's, a timer's) answers: true when it knows the
// selector and performed it with the sender.
class NSActionTarget {
public:
  virtual bool performAction(SEL action, NSObject* sender) = 0;

protected:
  ~NSActionTarget() = default;
};

// Autorelease pools have nothing to drain here (nothing is autoreleased); the calls that run
// inside one keep their shape.
class NSAutoreleasePool {
public:
  NSAutoreleasePool() {}
  ~NSAutoreleasePool() {}
  NSAutoreleasePool(const NSAutoreleasePool&) = delete;
  NSAutoreleasePool& operator=(const NSAutoreleasePool&) = delete;
};
