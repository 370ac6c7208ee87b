// The records behind the stand-in CoreGraphics references. Internal to the stand-ins.
#pragma once

#include <vector>

#include "CFObject.h"
#include "CoreGraphics/CoreGraphics.h"

struct CGColorSpace : CFObject {};

struct CGColor : CFObject {
  CGFloat components[4] = {0, 0, 0, 1}; // r, g, b, a
  CGColorSpaceRef space = nullptr;      // retained
  ~CGColor() override;
};

struct CGDataProvider : CFObject {
  void* info = nullptr;
  const void* data = nullptr;
  size_t size = 0;
  CGDataProviderReleaseDataCallback release = nullptr;
  ~CGDataProvider() override;
};

// Where the colour bytes of a 4-byte pixel lie, and whether one holds alpha.
struct CGPixelLayout {
  int red = 1, green = 2, blue = 3;
  int alpha = -1; // byte of alpha, -1 when the fourth byte is skipped
  bool premultiplied = false;

  static bool fromBitmapInfo(uint32_t info, CGPixelLayout& layout);
};

struct CGImage : CFObject {
  size_t width = 0, height = 0, bytesPerRow = 0;
  CGBitmapInfo bitmapInfo = 0;
  CGPixelLayout layout;
  std::vector<uint8_t> ownPixels;       // a copy (from a bitmap context), or empty
  CGDataProviderRef provider = nullptr; // retained, when the image reads a provider's bytes
  const uint8_t* pixels() const;
  ~CGImage() override;
};

// Sub-paths in user space, curves already flattened.
struct CGPathData {
  std::vector<std::vector<CGPoint>> subpaths;
  std::vector<bool> closed;
};

struct CGPath : CFObject {
  CGPathData shape;
};

// An integer rectangle in raster space: x to the right, y downwards from memory row 0.
struct CGPixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool empty() const { return right <= left || bottom <= top; }
};

struct CGGState {
  CGAffineTransform ctm = CGAffineTransformIdentity;
  CGPixelRect clip;
  CGFloat fill[4] = {0, 0, 0, 1};
  CGFloat stroke[4] = {0, 0, 0, 1};
  CGFloat lineWidth = 1.0;
  bool antialias = true;
};

struct CGContext : CFObject {
  uint8_t* data = nullptr;
  bool ownsData = false;
  size_t width = 0, height = 0, bytesPerRow = 0;
  CGBitmapInfo bitmapInfo = 0;
  CGPixelLayout layout;
  CGColorSpaceRef space = nullptr; // retained

  CGGState state;
  std::vector<CGGState> saved;
  CGPathData path; // the current path
  CGPoint pathStart{0, 0}, pathCurrent{0, 0};
  CGAffineTransform textMatrix = CGAffineTransformIdentity;

  std::vector<float> coverageRow; // scratch for the rasteriser, reused between fills
  ~CGContext() override;
};

namespace cgstub {

// User space to raster space (device space with y turned downwards from the top row).
CGAffineTransform userToRaster(const CGContext* context);

// Blends one colour into one pixel of the context at the given coverage (0 to 1).
void blendPixel(CGContext* context, int x, int y, const CGFloat color[4], float coverage);

// Fills polygons given in raster space, non-zero or even-odd, anti-aliased or not,
// inside the context's clip.
void fillPolygons(CGContext* context, const std::vector<std::vector<CGPoint>>& polygons,
                  const CGFloat color[4], bool evenOdd);

// Blends an 8-bit coverage mask whose top-left pixel lies at raster (x, y).
void blendMask(CGContext* context, int x, int y, int width, int height, const uint8_t* mask,
               int stride, const CGFloat color[4]);

} // namespace cgstub
