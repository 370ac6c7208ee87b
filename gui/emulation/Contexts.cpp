// Memory contexts, wrapped contexts, colours and the graphics-state calls.
#include "gui/emulation/EmulationSupport.h"
#include "gui/emulation/RecordPools.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "AppKit/AppKit.h"
#include "ColorSync/ColorSync.h"
#include "CoreServices/CoreServices.h"

using winemu::isLive;

namespace {

int systemVersion() {
  if (NSAppKitVersionNumber >= 1266.0)
    return 0x10A0;
  SInt32 version = 0x1040;
  if (Gestalt(gestaltSystemVersion, &version) != noErr)
    version = 0x1040;
  return version;
}

CGColorSpaceRef makeDeviceColorSpace() {
  CGColorSpaceRef space = nullptr;
  if (systemVersion() >= 0x1070) {
    CMProfileRef profile = nullptr;
    if (CMGetSystemProfile(&profile) == 0 && profile) {
      space = CGColorSpaceCreateWithPlatformColorSpace(profile);
      CMCloseProfile(profile);
    }
  }
  return space ? space : CGColorSpaceCreateDeviceRGB();
}

// Pixel buffers larger than this are refused rather than risk a size that wraps.
constexpr uint64_t kMaxPixelBytes = uint64_t(1) << 31;

void* alignedPixels(void* allocation) {
  return reinterpret_cast<void*>((reinterpret_cast<uintptr_t>(allocation) + 63) & ~uintptr_t(63));
}

} // namespace

namespace winemu {

CGColorRef makeColor(COLORREF color, float alpha) {
  CGFloat components[4] = {((color >> 16) & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                           (color & 0xFF) / 255.0, alpha};
  return CGColorCreate(GetDeviceColorSpace(), components);
}

} // namespace winemu

// Made once per module and released when the module unloads; colours and contexts made from it
// hold their own references.
CGColorSpaceRef GetDeviceColorSpace() {
  static const struct DeviceColorSpace {
    CGColorSpaceRef space = makeDeviceColorSpace();
    ~DeviceColorSpace() { CGColorSpaceRelease(space); }
  } device;
  return device.space;
}

HDC CreateMemContext(HDC, int width, int height) {
  if (width < 1 || height < 1)
    return nullptr;
  uint64_t bytes = uint64_t(width) * 4 * uint64_t(height);
  if (bytes > kMaxPixelBytes)
    return nullptr;
  void* allocation = calloc(1, static_cast<size_t>(bytes) + 63);
  if (!allocation)
    return nullptr;
  // A failure anywhere (the platform objects are C++ and may throw when memory runs out) gives
  // null with everything made so far given back.
  CGContextRef cg = nullptr;
  DrawingContext* context = nullptr;
  try {
    cg =
        CGBitmapContextCreate(alignedPixels(allocation), size_t(width), size_t(height), 8,
                              size_t(width) * 4, GetDeviceColorSpace(), kCGImageAlphaNoneSkipFirst);
    if (cg) {
      CGContextTranslateCTM(cg, 0, height);
      CGContextScaleCTM(cg, 1, -1);
      context = winemu::takeContextRecord();
    }
    if (context) {
      context->textColor = 0;
      context->textCGColor = winemu::makeColor(0);
      context->platformContext = cg;
      context->pixelAllocation = allocation;
      return context;
    }
  } catch (...) {
  }
  if (context)
    winemu::returnContextRecord(context);
  if (cg)
    CGContextRelease(cg);
  free(allocation);
  return nullptr;
}

void* GetContextPixelBuffer(HDC context) {
  if (!isLive(context) || !context->pixelAllocation)
    return nullptr;
  return alignedPixels(context->pixelAllocation);
}

void DeleteDC(HDC context) {
  if (!isLive(context))
    return;
  if (context->pixelAllocation) {
    CGContextRelease(context->platformContext);
    free(context->pixelAllocation);
  }
  CGColorRelease(context->textCGColor);
  winemu::returnContextRecord(context);
}

HDC WrapGraphicsContext(CGContextRef graphicsPort) {
  if (!graphicsPort)
    return nullptr;
  DrawingContext* context = winemu::takeContextRecord();
  if (context)
    context->platformContext = graphicsPort;
  return context;
}

void SetTextColor(HDC context, COLORREF color) {
  if (!isLive(context))
    return;
  context->textColor = color;
  CGColorRelease(context->textCGColor);
  context->textCGColor = winemu::makeColor(color);
}

COLORREF GetTextColor(HDC context) {
  return isLive(context) ? context->textColor : static_cast<COLORREF>(-1);
}

void SetBkColor(HDC context, COLORREF color) {
  if (isLive(context))
    context->backgroundColor = color;
}

void SetBkMode(HDC context, int mode) {
  if (isLive(context))
    context->backgroundMode = mode;
}

void SaveDC(HDC context) {
  if (isLive(context))
    CGContextSaveGState(context->platformContext);
}

void RestoreDC(HDC context, int) {
  if (isLive(context))
    CGContextRestoreGState(context->platformContext);
}

void ClipToRect(HDC context, const RECT* rect) {
  if (!isLive(context) || !rect)
    return;
  CGContextClipToRect(
      context->platformContext,
      CGRectMake(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top));
}

// A backing scale above 1.9 maps a 1 x 1 user rectangle onto more than 1.9 device pixels.
bool IsRetinaContext(HDC context) {
  if (!isLive(context))
    return false;
  CGAffineTransform ctm = CGContextGetCTM(context->platformContext);
  return std::hypot(ctm.a, ctm.b) > 1.9;
}
