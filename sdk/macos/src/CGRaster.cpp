// Pixel blending and the polygon rasteriser behind fills, strokes and glyphs.
#include "CGObjects.h"

#include <algorithm>
#include <cmath>

bool CGPixelLayout::fromBitmapInfo(uint32_t info, CGPixelLayout& layout) {
  if ((info & kCGBitmapByteOrderMask) != kCGBitmapByteOrderDefault)
    return false;
  switch (info & kCGBitmapAlphaInfoMask) {
  case kCGImageAlphaPremultipliedLast:
    layout = {0, 1, 2, 3, true};
    return true;
  case kCGImageAlphaPremultipliedFirst:
    layout = {1, 2, 3, 0, true};
    return true;
  case kCGImageAlphaLast:
    layout = {0, 1, 2, 3, false};
    return true;
  case kCGImageAlphaFirst:
    layout = {1, 2, 3, 0, false};
    return true;
  case kCGImageAlphaNoneSkipLast:
    layout = {0, 1, 2, -1, false};
    return true;
  case kCGImageAlphaNoneSkipFirst:
    layout = {1, 2, 3, -1, false};
    return true;
  default:
    return false;
  }
}

namespace cgstub {

CGAffineTransform userToRaster(const CGContext* context) {
  // Device space is y-up with its origin at the bottom-left corner of the bitmap.
  CGAffineTransform deviceToRaster = {1, 0, 0, -1, 0, static_cast<CGFloat>(context->height)};
  return CGAffineTransformConcat(context->state.ctm, deviceToRaster);
}

static uint8_t toByte(double value) {
  long v = std::lrint(value);
  return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

// Source-over with a premultiplied source (components 0 to 1).
static void blendPremultiplied(CGContext* context, int x, int y, double r, double g, double b,
                               double a) {
  uint8_t* p =
      context->data + static_cast<size_t>(y) * context->bytesPerRow + static_cast<size_t>(x) * 4;
  const CGPixelLayout& l = context->layout;
  double keep = 1.0 - a;
  p[l.red] = toByte(r * 255.0 + p[l.red] * keep);
  p[l.green] = toByte(g * 255.0 + p[l.green] * keep);
  p[l.blue] = toByte(b * 255.0 + p[l.blue] * keep);
  if (l.alpha >= 0)
    p[l.alpha] = toByte(a * 255.0 + p[l.alpha] * keep);
}

void blendPixel(CGContext* context, int x, int y, const CGFloat color[4], float coverage) {
  double a = color[3] * coverage;
  if (a <= 0)
    return;
  blendPremultiplied(context, x, y, color[0] * a, color[1] * a, color[2] * a, a);
}

void blendMask(CGContext* context, int x, int y, int width, int height, const uint8_t* mask,
               int stride, const CGFloat color[4]) {
  const CGPixelRect& clip = context->state.clip;
  int top = std::max(y, clip.top), bottom = std::min(y + height, clip.bottom);
  int left = std::max(x, clip.left), right = std::min(x + width, clip.right);
  for (int row = top; row < bottom; ++row) {
    const uint8_t* m = mask + static_cast<ptrdiff_t>(row - y) * stride;
    for (int col = left; col < right; ++col)
      if (m[col - x])
        blendPixel(context, col, row, color, m[col - x] / 255.0f);
  }
}

namespace {

struct Edge {
  double x0, y0, x1, y1;
  int direction;
};

struct Crossing {
  double x;
  int direction;
};

constexpr int kSubScanlines = 16;

// Adds weight times the covered part of [xa, xb) to each pixel of the row.
void addSpan(std::vector<float>& row, int left, int right, double xa, double xb, float weight) {
  xa = std::max(xa, static_cast<double>(left));
  xb = std::min(xb, static_cast<double>(right));
  if (xb <= xa)
    return;
  int ia = static_cast<int>(std::floor(xa)), ib = static_cast<int>(std::floor(xb));
  if (ia == ib) {
    row[ia - left] += static_cast<float>((xb - xa) * weight);
    return;
  }
  row[ia - left] += static_cast<float>((ia + 1 - xa) * weight);
  for (int i = ia + 1; i < ib; ++i)
    row[i - left] += weight;
  if (ib < right)
    row[ib - left] += static_cast<float>((xb - ib) * weight);
}

// Pixels whose centres lie in [xa, xb).
void addCentres(std::vector<float>& row, int left, int right, double xa, double xb) {
  int first = std::max(left, static_cast<int>(std::ceil(xa - 0.5)));
  int last = std::min(right, static_cast<int>(std::ceil(xb - 0.5)));
  for (int i = first; i < last; ++i)
    row[i - left] = 1.0f;
}

void scanline(const std::vector<Edge>& edges, double sy, bool evenOdd,
              std::vector<Crossing>& crossings, std::vector<float>& row, int left, int right,
              bool antialias) {
  crossings.clear();
  for (const Edge& e : edges)
    if (sy >= e.y0 && sy < e.y1)
      crossings.push_back({e.x0 + (sy - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0), e.direction});
  std::sort(crossings.begin(), crossings.end(),
            [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
  int winding = 0;
  for (size_t i = 0; i + 1 < crossings.size(); ++i) {
    winding += evenOdd ? 1 : crossings[i].direction;
    bool inside = evenOdd ? (winding & 1) != 0 : winding != 0;
    if (!inside)
      continue;
    if (antialias)
      addSpan(row, left, right, crossings[i].x, crossings[i + 1].x, 1.0f / kSubScanlines);
    else
      addCentres(row, left, right, crossings[i].x, crossings[i + 1].x);
  }
}

} // namespace

void fillPolygons(CGContext* context, const std::vector<std::vector<CGPoint>>& polygons,
                  const CGFloat color[4], bool evenOdd) {
  std::vector<Edge> edges;
  double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
  for (const auto& poly : polygons) {
    for (size_t i = 0; i < poly.size(); ++i) {
      CGPoint a = poly[i], b = poly[(i + 1) % poly.size()];
      if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y))
        return; // a path with a NaN or infinite point draws nothing
      minX = std::min(minX, a.x), maxX = std::max(maxX, a.x);
      minY = std::min(minY, a.y), maxY = std::max(maxY, a.y);
      if (a.y == b.y)
        continue;
      if (a.y < b.y)
        edges.push_back({a.x, a.y, b.x, b.y, 1});
      else
        edges.push_back({b.x, b.y, a.x, a.y, -1});
    }
  }
  const CGPixelRect& clip = context->state.clip;
  if (edges.empty() || clip.empty() || color[3] <= 0)
    return;
  int left = std::max(clip.left, static_cast<int>(std::max(-1e9, std::floor(minX))));
  int right = std::min(clip.right, static_cast<int>(std::min(1e9, std::ceil(maxX))) + 1);
  int top = std::max(clip.top, static_cast<int>(std::max(-1e9, std::floor(minY))));
  int bottom = std::min(clip.bottom, static_cast<int>(std::min(1e9, std::ceil(maxY))) + 1);
  if (right <= left || bottom <= top)
    return;
  std::vector<float>& row = context->coverageRow;
  row.assign(static_cast<size_t>(right - left), 0.0f);
  std::vector<Crossing> crossings;
  bool antialias = context->state.antialias;
  for (int y = top; y < bottom; ++y) {
    if (antialias) {
      for (int s = 0; s < kSubScanlines; ++s)
        scanline(edges, y + (s + 0.5) / kSubScanlines, evenOdd, crossings, row, left, right, true);
    } else {
      scanline(edges, y + 0.5, evenOdd, crossings, row, left, right, false);
    }
    for (int x = left; x < right; ++x) {
      float c = row[x - left];
      if (c > 0) {
        blendPixel(context, x, y, color, std::min(c, 1.0f));
        row[x - left] = 0.0f;
      }
    }
  }
}

} // namespace cgstub
