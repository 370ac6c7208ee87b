// Affine transforms, colour spaces and colours.
#include "CGObjects.h"

#include <cmath>
#include <limits>

const CGAffineTransform CGAffineTransformIdentity = {1, 0, 0, 1, 0, 0};
const CGRect CGRectNull = {
    {std::numeric_limits<CGFloat>::infinity(), std::numeric_limits<CGFloat>::infinity()}, {0, 0}};

CGAffineTransform CGAffineTransformMake(CGFloat a, CGFloat b, CGFloat c, CGFloat d, CGFloat tx,
                                        CGFloat ty) {
  return CGAffineTransform{a, b, c, d, tx, ty};
}

CGAffineTransform CGAffineTransformConcat(CGAffineTransform t1, CGAffineTransform t2) {
  return CGAffineTransform{
      t1.a * t2.a + t1.b * t2.c,           t1.a * t2.b + t1.b * t2.d,
      t1.c * t2.a + t1.d * t2.c,           t1.c * t2.b + t1.d * t2.d,
      t1.tx * t2.a + t1.ty * t2.c + t2.tx, t1.tx * t2.b + t1.ty * t2.d + t2.ty};
}

CGAffineTransform CGAffineTransformInvert(CGAffineTransform t) {
  CGFloat det = t.a * t.d - t.b * t.c;
  if (det == 0 || !std::isfinite(det))
    return t; // as on the platform: a singular transform comes back unchanged
  CGFloat a = t.d / det, b = -t.b / det, c = -t.c / det, d = t.a / det;
  return CGAffineTransform{a, b, c, d, -(t.tx * a + t.ty * c), -(t.tx * b + t.ty * d)};
}

CGPoint CGPointApplyAffineTransform(CGPoint p, CGAffineTransform t) {
  return CGPoint{t.a * p.x + t.c * p.y + t.tx, t.b * p.x + t.d * p.y + t.ty};
}

bool CGRectIsEmpty(CGRect rect) {
  return !(rect.size.width != 0 && rect.size.height != 0) || std::isinf(rect.origin.x);
}

CGColorSpaceRef CGColorSpaceCreateDeviceRGB() {
  return new CGColorSpace;
}

CGColorSpaceRef CGColorSpaceCreateWithPlatformColorSpace(const void* profile) {
  return profile ? new CGColorSpace : nullptr;
}

CGColorSpaceRef CGColorSpaceRetain(CGColorSpaceRef space) {
  CFRetain(space);
  return space;
}

void CGColorSpaceRelease(CGColorSpaceRef space) {
  CFRelease(space);
}

CGColor::~CGColor() {
  CFRelease(space);
}

CGColorRef CGColorCreate(CGColorSpaceRef space, const CGFloat components[]) {
  if (!space || !components)
    return nullptr;
  auto* color = new CGColor;
  for (int i = 0; i < 4; ++i)
    color->components[i] = std::fmin(1.0, std::fmax(0.0, components[i]));
  color->space = CGColorSpaceRetain(space);
  return color;
}

CGColorRef CGColorRetain(CGColorRef color) {
  CFRetain(color);
  return color;
}

void CGColorRelease(CGColorRef color) {
  CFRelease(color);
}

const CGFloat* CGColorGetComponents(CGColorRef color) {
  return color ? color->components : nullptr;
}

size_t CGColorGetNumberOfComponents(CGColorRef color) {
  return color ? 4 : 0;
}

CGFloat CGColorGetAlpha(CGColorRef color) {
  return color ? color->components[3] : 0;
}
