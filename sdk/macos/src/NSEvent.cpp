// Events and the default responder chain.
#include "AppKit/NSEvent.h"

#include "AppKit/NSResponder.h"

NSEvent NSEvent::mouseEvent(NSEventType type, NSPoint locationInWindow, NSEventModifierFlags flags,
                            NSWindow* window, int clickCount) {
  NSEvent event;
  event.eventType = type;
  event.location = locationInWindow;
  event.flags = flags;
  event.eventWindow = window;
  event.clicks = clickCount;
  return event;
}

NSEvent NSEvent::keyEvent(NSEventType type, NSPoint locationInWindow, NSEventModifierFlags flags,
                          NSWindow* window, std::string characters,
                          std::string charactersIgnoringModifiers, std::uint16_t keyCode) {
  NSEvent event = mouseEvent(type, locationInWindow, flags, window, 0);
  event.chars = std::move(characters);
  event.plainChars = std::move(charactersIgnoringModifiers);
  event.code = keyCode;
  return event;
}

NSEvent NSEvent::scrollWheelEvent(NSPoint locationInWindow, NSEventModifierFlags flags,
                                  NSWindow* window, double deltaY, double deltaX) {
  NSEvent event = mouseEvent(NSScrollWheel, locationInWindow, flags, window, 0);
  event.dy = deltaY;
  event.dx = deltaX;
  return event;
}

std::size_t NSCharacterCount(const std::string& utf8) {
  std::size_t count = 0;
  for (unsigned char c : utf8)
    if ((c & 0xC0) != 0x80) // every byte but a continuation byte starts a character
      ++count;
  return count;
}

#define NS_PASS_ON(method)                                                                         \
  void NSResponder::method(NSEvent* event) {                                                       \
    if (next)                                                                                      \
      next->method(event);                                                                         \
  }
NS_PASS_ON(mouseDown)
NS_PASS_ON(mouseUp)
NS_PASS_ON(mouseDragged)
NS_PASS_ON(rightMouseDown)
NS_PASS_ON(rightMouseUp)
NS_PASS_ON(rightMouseDragged)
NS_PASS_ON(mouseMoved)
NS_PASS_ON(scrollWheel)
NS_PASS_ON(keyDown)
NS_PASS_ON(keyUp)
#undef NS_PASS_ON
