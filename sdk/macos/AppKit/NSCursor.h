// The pointer: hide, show and move, through the key window's back end. The display
// functions answer as CoreGraphics does: 0 on success.
#pragma once

#include <cstdint>

#include "CoreGraphics/CoreGraphics.h"

typedef std::uint32_t CGDirectDisplayID;
typedef std::int32_t CGError;
enum : CGError { kCGErrorSuccess = 0, kCGErrorFailure = 1000 };

CGDirectDisplayID CGMainDisplayID();
CGRect CGDisplayBounds(CGDirectDisplayID display);
CGError CGDisplayHideCursor(CGDirectDisplayID display);
CGError CGDisplayShowCursor(CGDirectDisplayID display);
// Moves the pointer to a display point (origin top left).
CGError CGDisplayMoveCursorToPoint(CGDirectDisplayID display, CGPoint point);

// The pointer position in screen points, origin bottom left of the main screen.
CGPoint NSEventMouseLocation();
