// NSEvent: one input event as the window system delivered it, with its location in the
// window's points (origin bottom left). Events are values: back ends make them with the
// factories below and hand them to NSWindow::sendEvent.
#pragma once

#include <cstdint>
#include <string>

#include "Foundation/NSGeometry.h"

class NSWindow;

enum NSEventType : int {
  NSLeftMouseDown = 1,
  NSLeftMouseUp = 2,
  NSRightMouseDown = 3,
  NSRightMouseUp = 4,
  NSMouseMoved = 5,
  NSLeftMouseDragged = 6,
  NSRightMouseDragged = 7,
  NSMouseEntered = 8,
  NSMouseExited = 9,
  NSKeyDown = 10,
  NSKeyUp = 11,
  NSScrollWheel = 22,
};

typedef std::uint64_t NSEventModifierFlags;
enum : NSEventModifierFlags {
  NSAlphaShiftKeyMask = 1u << 16,
  NSShiftKeyMask = 1u << 17,
  NSControlKeyMask = 1u << 18,
  NSAlternateKeyMask = 1u << 19, // Option (Alt on Linux)
  NSCommandKeyMask = 1u << 20,   // Command (Super on Linux)
};

// Virtual key codes of the platform's keyboard for the keys the editors tell apart.
enum : std::uint16_t {
  kVK_Return = 36,
  kVK_Tab = 48,
  kVK_Space = 49,
  kVK_Delete = 51, // backspace
  kVK_Escape = 53,
  kVK_LeftArrow = 123,
  kVK_RightArrow = 124,
  kVK_DownArrow = 125,
  kVK_UpArrow = 126,
};

class NSEvent {
public:
  // Buttons, drags and moves. clickCount counts presses in quick succession (1, 2, ...).
  static NSEvent mouseEvent(NSEventType type, NSPoint locationInWindow, NSEventModifierFlags flags,
                            NSWindow* window, int clickCount = 1);
  // Keys: characters as typed (UTF-8), characters ignoring modifiers (Shift included: "a" for
  // Shift-A), and the virtual key code.
  static NSEvent keyEvent(NSEventType type, NSPoint locationInWindow, NSEventModifierFlags flags,
                          NSWindow* window, std::string characters,
                          std::string charactersIgnoringModifiers, std::uint16_t keyCode);
  // A wheel turn: deltaY in lines, positive away from the user (up).
  static NSEvent scrollWheelEvent(NSPoint locationInWindow, NSEventModifierFlags flags,
                                  NSWindow* window, double deltaY, double deltaX = 0.0);

  NSEventType type() const { return eventType; }
  NSPoint locationInWindow() const { return location; }
  NSEventModifierFlags modifierFlags() const { return flags; }
  NSWindow* window() const { return eventWindow; }
  int clickCount() const { return clicks; }
  const std::string& characters() const { return chars; }
  const std::string& charactersIgnoringModifiers() const { return plainChars; }
  std::uint16_t keyCode() const { return code; }
  double deltaX() const { return dx; }
  double deltaY() const { return dy; }

private:
  NSEventType eventType = NSMouseMoved;
  NSPoint location{0, 0};
  NSEventModifierFlags flags = 0;
  NSWindow* eventWindow = nullptr;
  int clicks = 0;
  std::string chars, plainChars;
  std::uint16_t code = 0;
  double dx = 0.0, dy = 0.0;
};

// The number of characters (Unicode code points) of a UTF-8 text.
std::size_t NSCharacterCount(const std::string& utf8);
