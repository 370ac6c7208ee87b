// Foundation's rectangle arithmetic.
#include "Foundation/NSGeometry.h"

#include <algorithm>

NSRect NSUnionRect(NSRect a, NSRect b) {
  if (NSIsEmptyRect(a))
    return b;
  if (NSIsEmptyRect(b))
    return a;
  const CGFloat left = std::min(a.origin.x, b.origin.x);
  const CGFloat bottom = std::min(a.origin.y, b.origin.y);
  const CGFloat right = std::max(a.origin.x + a.size.width, b.origin.x + b.size.width);
  const CGFloat top = std::max(a.origin.y + a.size.height, b.origin.y + b.size.height);
  return NSMakeRect(left, bottom, right - left, top - bottom);
}

NSRect NSIntersectionRect(NSRect a, NSRect b) {
  const CGFloat left = std::max(a.origin.x, b.origin.x);
  const CGFloat bottom = std::max(a.origin.y, b.origin.y);
  const CGFloat right = std::min(a.origin.x + a.size.width, b.origin.x + b.size.width);
  const CGFloat top = std::min(a.origin.y + a.size.height, b.origin.y + b.size.height);
  if (right <= left || top <= bottom)
    return NSMakeRect(0, 0, 0, 0);
  return NSMakeRect(left, bottom, right - left, top - bottom);
}
