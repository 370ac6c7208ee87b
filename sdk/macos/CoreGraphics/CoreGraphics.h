// Stand-in for the CoreGraphics calls the drawing emulation makes. A bitmap context is a real
// pixel buffer (8 bits per component, 32 bits per pixel, R, G, B in that byte order) with a
// current transform, a graphics-state stack, a rectangular clip, anti-aliased fills and
// strokes, and image drawing. Device space has its origin at the bottom left, as on the
// platform: memory row 0 is the top row, at device y = height.
#pragma once

#include <cstddef>
#include <cstdint>

#include "CoreFoundation/CoreFoundation.h"

typedef double CGFloat;

struct CGPoint {
  CGFloat x, y;
};
struct CGSize {
  CGFloat width, height;
};
struct CGRect {
  CGPoint origin;
  CGSize size;
};
struct CGAffineTransform {
  CGFloat a, b, c, d, tx, ty;
};

inline CGPoint CGPointMake(CGFloat x, CGFloat y) {
  return CGPoint{x, y};
}
inline CGSize CGSizeMake(CGFloat w, CGFloat h) {
  return CGSize{w, h};
}
inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat w, CGFloat h) {
  return CGRect{{x, y}, {w, h}};
}
extern const CGAffineTransform CGAffineTransformIdentity;
extern const CGRect CGRectNull;
CGAffineTransform CGAffineTransformMake(CGFloat a, CGFloat b, CGFloat c, CGFloat d, CGFloat tx,
                                        CGFloat ty);
// t1 then t2.
CGAffineTransform CGAffineTransformConcat(CGAffineTransform t1, CGAffineTransform t2);
CGAffineTransform CGAffineTransformInvert(CGAffineTransform t);
CGPoint CGPointApplyAffineTransform(CGPoint point, CGAffineTransform t);
bool CGRectIsEmpty(CGRect rect);

typedef struct CGColorSpace* CGColorSpaceRef;
typedef struct CGColor* CGColorRef;
typedef struct CGContext* CGContextRef;
typedef struct CGImage* CGImageRef;
typedef struct CGDataProvider* CGDataProviderRef;
typedef struct CGPath* CGMutablePathRef;
typedef const struct CGPath* CGPathRef;

CGColorSpaceRef CGColorSpaceCreateDeviceRGB();
// The platform colour space is a display profile (ColorSync); every profile is RGB here.
CGColorSpaceRef CGColorSpaceCreateWithPlatformColorSpace(const void* profile);
CGColorSpaceRef CGColorSpaceRetain(CGColorSpaceRef space);
void CGColorSpaceRelease(CGColorSpaceRef space);

// Components: red, green, blue, alpha, each 0 to 1.
CGColorRef CGColorCreate(CGColorSpaceRef space, const CGFloat components[]);
CGColorRef CGColorRetain(CGColorRef color);
void CGColorRelease(CGColorRef color);
const CGFloat* CGColorGetComponents(CGColorRef color);
size_t CGColorGetNumberOfComponents(CGColorRef color);
CGFloat CGColorGetAlpha(CGColorRef color);

enum CGImageAlphaInfo : uint32_t {
  kCGImageAlphaNone = 0,
  kCGImageAlphaPremultipliedLast = 1,
  kCGImageAlphaPremultipliedFirst = 2,
  kCGImageAlphaLast = 3,
  kCGImageAlphaFirst = 4,
  kCGImageAlphaNoneSkipLast = 5,
  kCGImageAlphaNoneSkipFirst = 6,
  kCGImageAlphaOnly = 7,
};
typedef uint32_t CGBitmapInfo;
enum : uint32_t {
  kCGBitmapAlphaInfoMask = 0x1F,
  kCGBitmapByteOrderMask = 0x7000,
  kCGBitmapByteOrderDefault = 0,
};

// Bitmap contexts. Supported layouts: 8 bits per component, 4 bytes per pixel, default
// byte order, alpha info premultiplied or skipped, first or last. Null data makes the
// context allocate (and own) its buffer.
CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent,
                                   size_t bytesPerRow, CGColorSpaceRef space, uint32_t bitmapInfo);
void* CGBitmapContextGetData(CGContextRef context);
size_t CGBitmapContextGetWidth(CGContextRef context);
size_t CGBitmapContextGetHeight(CGContextRef context);
size_t CGBitmapContextGetBytesPerRow(CGContextRef context);
CGBitmapInfo CGBitmapContextGetBitmapInfo(CGContextRef context);
// A copy of the context's pixels as an image.
CGImageRef CGBitmapContextCreateImage(CGContextRef context);
CGContextRef CGContextRetain(CGContextRef context);
void CGContextRelease(CGContextRef context);

void CGContextSaveGState(CGContextRef context);
void CGContextRestoreGState(CGContextRef context);
void CGContextTranslateCTM(CGContextRef context, CGFloat tx, CGFloat ty);
void CGContextScaleCTM(CGContextRef context, CGFloat sx, CGFloat sy);
void CGContextRotateCTM(CGContextRef context, CGFloat angle);
void CGContextConcatCTM(CGContextRef context, CGAffineTransform transform);
CGAffineTransform CGContextGetCTM(CGContextRef context);
// A user-space size (or rectangle) in device space, through the current transform.
CGSize CGContextConvertSizeToDeviceSpace(CGContextRef context, CGSize size);
CGRect CGContextConvertRectToDeviceSpace(CGContextRef context, CGRect rect);
// Intersects the clip with the rectangle's device-space bounds, on whole pixels.
void CGContextClipToRect(CGContextRef context, CGRect rect);
// The clip in user space.
CGRect CGContextGetClipBoundingBox(CGContextRef context);

void CGContextSetFillColorWithColor(CGContextRef context, CGColorRef color);
void CGContextSetStrokeColorWithColor(CGContextRef context, CGColorRef color);
void CGContextSetRGBFillColor(CGContextRef context, CGFloat r, CGFloat g, CGFloat b, CGFloat a);
void CGContextSetRGBStrokeColor(CGContextRef context, CGFloat r, CGFloat g, CGFloat b, CGFloat a);
void CGContextSetLineWidth(CGContextRef context, CGFloat width);
void CGContextSetShouldAntialias(CGContextRef context, bool shouldAntialias);

enum CGPathDrawingMode {
  kCGPathFill = 0,
  kCGPathEOFill = 1,
  kCGPathStroke = 2,
  kCGPathFillStroke = 3,
  kCGPathEOFillStroke = 4,
};
void CGContextBeginPath(CGContextRef context);
void CGContextMoveToPoint(CGContextRef context, CGFloat x, CGFloat y);
void CGContextAddLineToPoint(CGContextRef context, CGFloat x, CGFloat y);
void CGContextAddCurveToPoint(CGContextRef context, CGFloat cp1x, CGFloat cp1y, CGFloat cp2x,
                              CGFloat cp2y, CGFloat x, CGFloat y);
void CGContextAddLines(CGContextRef context, const CGPoint points[], size_t count);
void CGContextAddRect(CGContextRef context, CGRect rect);
void CGContextAddEllipseInRect(CGContextRef context, CGRect rect);
void CGContextClosePath(CGContextRef context);
bool CGContextIsPathEmpty(CGContextRef context);
// Drawing consumes the current path.
void CGContextDrawPath(CGContextRef context, CGPathDrawingMode mode);
void CGContextFillPath(CGContextRef context);
void CGContextEOFillPath(CGContextRef context);
void CGContextStrokePath(CGContextRef context);
void CGContextFillRect(CGContextRef context, CGRect rect);
void CGContextStrokeRect(CGContextRef context, CGRect rect);
void CGContextStrokeRectWithWidth(CGContextRef context, CGRect rect, CGFloat width);
void CGContextFillEllipseInRect(CGContextRef context, CGRect rect);
void CGContextStrokeEllipseInRect(CGContextRef context, CGRect rect);
void CGContextStrokeLineSegments(CGContextRef context, const CGPoint points[], size_t count);

// Paths as objects (the text frame's shape).
CGMutablePathRef CGPathCreateMutable();
void CGPathAddRect(CGMutablePathRef path, const CGAffineTransform* transform, CGRect rect);
CGPathRef CGPathCreateWithRect(CGRect rect, const CGAffineTransform* transform);
CGRect CGPathGetBoundingBox(CGPathRef path);
void CGPathRelease(CGPathRef path);

// Draws the image scaled into the rectangle, its top row at the rectangle's maximum y.
void CGContextDrawImage(CGContextRef context, CGRect rect, CGImageRef image);

// Text drawing state (used by CoreText). The text matrix is not part of the graphics state.
void CGContextSetTextMatrix(CGContextRef context, CGAffineTransform transform);
CGAffineTransform CGContextGetTextMatrix(CGContextRef context);
void CGContextSetTextPosition(CGContextRef context, CGFloat x, CGFloat y);
CGPoint CGContextGetTextPosition(CGContextRef context);

typedef void (*CGDataProviderReleaseDataCallback)(void* info, const void* data, size_t size);
CGDataProviderRef CGDataProviderCreateWithData(void* info, const void* data, size_t size,
                                               CGDataProviderReleaseDataCallback release);
CGDataProviderRef CGDataProviderRetain(CGDataProviderRef provider);
void CGDataProviderRelease(CGDataProviderRef provider);

enum CGColorRenderingIntent { kCGRenderingIntentDefault = 0 };
// Images over a provider's bytes: 8 bits per component, 32 bits per pixel, default byte order.
CGImageRef CGImageCreate(size_t width, size_t height, size_t bitsPerComponent, size_t bitsPerPixel,
                         size_t bytesPerRow, CGColorSpaceRef space, CGBitmapInfo bitmapInfo,
                         CGDataProviderRef provider, const CGFloat* decode, bool shouldInterpolate,
                         CGColorRenderingIntent intent);
CGImageRef CGImageRetain(CGImageRef image);
void CGImageRelease(CGImageRef image);
size_t CGImageGetWidth(CGImageRef image);
size_t CGImageGetHeight(CGImageRef image);
size_t CGImageGetBytesPerRow(CGImageRef image);
CGBitmapInfo CGImageGetBitmapInfo(CGImageRef image);
