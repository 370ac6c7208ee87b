// Foundation's geometry: points, sizes and rectangles in points, y upwards (origin at the
// bottom left), the same structs as CoreGraphics'.
#pragma once

#include "CoreGraphics/CoreGraphics.h"

typedef CGPoint NSPoint;
typedef CGSize NSSize;
typedef CGRect NSRect;

inline NSPoint NSMakePoint(CGFloat x, CGFloat y) {
  return CGPointMake(x, y);
}
inline NSSize NSMakeSize(CGFloat w, CGFloat h) {
  return CGSizeMake(w, h);
}
inline NSRect NSMakeRect(CGFloat x, CGFloat y, CGFloat w, CGFloat h) {
  return CGRectMake(x, y, w, h);
}
inline bool NSPointInRect(NSPoint p, NSRect r) {
  return p.x >= r.origin.x && p.x < r.origin.x + r.size.width && p.y >= r.origin.y &&
         p.y < r.origin.y + r.size.height;
}
inline bool NSIsEmptyRect(NSRect r) {
  return !(r.size.width > 0.0 && r.size.height > 0.0);
}
// The smallest rectangle holding both; an empty operand gives the other.
NSRect NSUnionRect(NSRect a, NSRect b);
// The common part, or the zero rectangle when they do not overlap.
NSRect NSIntersectionRect(NSRect a, NSRect b);
