#include "raster/PIX_Circle.h"

#include <algorithm>
#include <cmath>

#include "raster/PIX_Fill.h"
#include "raster/PIX_Line.h"
#include "raster/PIX_Limits.h"
#include "raster/PIX_Paint.h"
#include "raster/PIX_Polygon.h"
#include "raster/PIX_Surface.h"

namespace {

// ---- The small outline circles: coverage masks ------------------------------------------------

// clang-format off
constexpr unsigned char kSmoothMask15[] = {
  0x4F, 0xFF, 0xFF, 0x4F,  0xFF, 0x0F, 0x0F, 0xFF,  0xFF, 0x0F, 0x0F, 0xFF,  0x4F, 0xFF, 0xFF, 0x4F};
constexpr unsigned char kPlainMask15[] = {
  0x00, 0xFF, 0xFF, 0x00,  0xFF, 0x00, 0x00, 0xFF,  0xFF, 0x00, 0x00, 0xFF,  0x00, 0xFF, 0xFF, 0x00};
constexpr unsigned char kSmoothMask20[] = {
  0x0F, 0xBF, 0xFF, 0xBF, 0x0F,
  0xBF, 0xD1, 0x4F, 0xD1, 0xBF,
  0xFF, 0x4F, 0x00, 0x4F, 0xFF,
  0xBF, 0xD1, 0x4F, 0xD1, 0xBF,
  0x0F, 0xBF, 0xFF, 0xBF, 0x0F};
constexpr unsigned char kPlainMask20[] = {
  0x00, 0x00, 0xFF, 0x00, 0x00,
  0x00, 0xFF, 0x00, 0xFF, 0x00,
  0xFF, 0x00, 0x00, 0x00, 0xFF,
  0x00, 0xFF, 0x00, 0xFF, 0x00,
  0x00, 0x00, 0xFF, 0x00, 0x00};
constexpr unsigned char kSmoothMask25[] = {
  0x0F, 0xBF, 0xFF, 0xFF, 0xBF, 0x0F,
  0xBF, 0xD1, 0x4F, 0x4F, 0xD1, 0xBF,
  0xFF, 0x4F, 0x00, 0x00, 0x4F, 0xFF,
  0xFF, 0x4F, 0x00, 0x00, 0x4F, 0xFF,
  0xBF, 0xD1, 0x4F, 0x4F, 0xD1, 0xBF,
  0x0F, 0xBF, 0xFF, 0xFF, 0xBF, 0x0F};
constexpr unsigned char kPlainMask25[] = {
  0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00,
  0x00, 0xFF, 0x00, 0x00, 0xFF, 0x00,
  0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF,
  0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF,
  0x00, 0xFF, 0x00, 0x00, 0xFF, 0x00,
  0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00};
constexpr unsigned char kSmoothMask30[] = {
  0x00, 0x8F, 0xFF, 0xFF, 0xFF, 0x8F, 0x00,
  0x8F, 0xFF, 0x61, 0x40, 0x61, 0xFF, 0x8F,
  0xFF, 0x70, 0x00, 0x00, 0x00, 0x70, 0xFF,
  0xFF, 0x30, 0x00, 0x00, 0x00, 0x30, 0xFF,
  0xFF, 0x70, 0x00, 0x00, 0x00, 0x70, 0xFF,
  0x8F, 0xFF, 0x61, 0x40, 0x61, 0xFF, 0x8F,
  0x00, 0x8F, 0xFF, 0xFF, 0xFF, 0x8F, 0x00};
constexpr unsigned char kPlainMask30[] = {
  0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00,
  0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00,
  0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF,
  0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF,
  0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF,
  0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00,
  0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
constexpr unsigned char kSmoothMask35[] = {
  0x00, 0x4F, 0xDE, 0xFF, 0xFF, 0xDE, 0x4F, 0x00,
  0x4F, 0xFF, 0xB0, 0x40, 0x40, 0xB0, 0xFF, 0x4F,
  0xDE, 0xB0, 0x00, 0x00, 0x00, 0x00, 0xB0, 0xDE,
  0xFF, 0x40, 0x00, 0x00, 0x00, 0x00, 0x40, 0xFF,
  0xFF, 0x40, 0x00, 0x00, 0x00, 0x00, 0x40, 0xFF,
  0xDE, 0xB0, 0x00, 0x00, 0x00, 0x00, 0xB0, 0xDE,
  0x4F, 0xFF, 0xB0, 0x40, 0x40, 0xB0, 0xFF, 0x4F,
  0x00, 0x4F, 0xDE, 0xFF, 0xFF, 0xDE, 0x4F, 0x00};
constexpr unsigned char kPlainMask35[] = {
  0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00,
  0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00,
  0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF,
  0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF,
  0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF,
  0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF,
  0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00,
  0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
constexpr unsigned char kSmoothMask40[] = {
  0x00, 0x1F, 0xB0, 0xFF, 0xFF, 0xFF, 0xB0, 0x1F, 0x00,
  0x1F, 0xF0, 0xD1, 0x4F, 0x40, 0x4F, 0xD1, 0xF0, 0x1F,
  0xB0, 0xD1, 0x0F, 0x00, 0x00, 0x00, 0x0F, 0xD1, 0xB0,
  0xFF, 0x4F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x4F, 0xFF,
  0xFF, 0x30, 0x00, 0x00, 0x00, 0x00, 0x00, 0x30, 0xFF,
  0xFF, 0x4F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x4F, 0xFF,
  0xB0, 0xD1, 0x0F, 0x00, 0x00, 0x00, 0x0F, 0xD1, 0xB0,
  0x1F, 0xF0, 0xD1, 0x4F, 0x40, 0x4F, 0xD1, 0xF0, 0x1F,
  0x00, 0x1F, 0xB0, 0xFF, 0xFF, 0xFF, 0xB0, 0x1F, 0x00};
constexpr unsigned char kPlainMask40[] = {
  0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00,
  0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00,
  0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF,
  0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF,
  0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF,
  0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF,
  0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF,
  0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00,
  0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
// clang-format on

struct CircleMask {
  float radius;
  int size;
  const unsigned char* smooth;
  const unsigned char* plain;
};

constexpr CircleMask kMasks[] = {
    {1.5f, 4, kSmoothMask15, kPlainMask15}, {2.0f, 5, kSmoothMask20, kPlainMask20},
    {2.5f, 6, kSmoothMask25, kPlainMask25}, {3.0f, 7, kSmoothMask30, kPlainMask30},
    {3.5f, 8, kSmoothMask35, kPlainMask35}, {4.0f, 9, kSmoothMask40, kPlainMask40},
};

// ---- Engine primitives ------------------------------------------------------------------------

// Pixels, vertical runs and horizontal runs (inclusive at both ends) through one paint, cut to
// the clip rectangle when it is on.
template <class Paint> struct Pen {
  const PIX_Surface& s;
  Paint paint;
  const PIX_ClipRect& clip;
  bool clipOn;

  void pixel(int x, int y, int w) const {
    if (clipOn && (x < clip.left || x >= clip.right || y < clip.top || y >= clip.bottom))
      return;
    paint(s.pixel(x, y), w);
  }
  void vertical(int x, int y1, int y2, int w) const {
    if (clipOn) {
      if (x < clip.left || x >= clip.right)
        return;
      y1 = std::max(y1, clip.top);
      y2 = std::min(y2, clip.bottom - 1);
    }
    PIX_Pixel* p = s.pixel(x, y1);
    const ptrdiff_t span = s.rowStep / 4;
    for (int y = y1; y <= y2; ++y, p += span)
      paint(p, w);
  }
  void horizontal(int y, int x1, int x2, int w) const {
    if (clipOn) {
      if (y < clip.top || y >= clip.bottom)
        return;
      x1 = std::max(x1, clip.left);
      x2 = std::min(x2, clip.right - 1);
    }
    PIX_Pixel* p = s.pixel(x1, y);
    for (int x = x1; x <= x2; ++x, ++p)
      paint(p, w);
  }
};

// The disc runs of one step: columns xc -+ i above and below the rows yc -+ i, and the parts of
// those rows out to R. They never overlap, so a blended disc covers each pixel once.
template <class P> void DiscRuns(const P& pen, int xc, int yc, int i, int R, int w) {
  pen.vertical(xc - i, yc - R, yc - 1 - i, w);
  pen.vertical(xc - i, yc + 1 + i, yc + R, w);
  pen.vertical(xc + i, yc - R, yc - 1 - i, w);
  pen.vertical(xc + i, yc + 1 + i, yc + R, w);
  pen.horizontal(yc - i, xc - R, xc - i, w);
  pen.horizontal(yc - i, xc + i, xc + R, w);
  pen.horizontal(yc + i, xc - R, xc - i, w);
  pen.horizontal(yc + i, xc + i, xc + R, w);
}

template <class P> void AxisRuns(const P& pen, int xc, int yc, int R, int w) {
  pen.vertical(xc, yc - R, yc - 1, w);
  pen.vertical(xc, yc + 1, yc + R, w);
  pen.horizontal(yc, xc - R, xc + R, w);
}

// Midpoint circle, every pixel at the full weight.
template <class P> void PlainCircle(const P& pen, float cx, float cy, float r, bool fill, int ia) {
  const int xc = (int)(cx + 0.5f), yc = (int)(cy + 0.5f);
  int R = (int)(r + 0.5f);
  if (fill) {
    AxisRuns(pen, xc, yc, R, ia);
  } else {
    pen.pixel(xc, yc - R, ia);
    pen.pixel(xc + R, yc, ia);
    pen.pixel(xc, yc + R, ia);
    pen.pixel(xc - R, yc, ia);
  }
  if (R <= 1)
    return;
  int d = -R;
  for (int i = 1;; ++i) {
    if (d >= 0) {
      d += 1 + 2 * (i + 1 - R);
      R -= 1;
    } else {
      d += 1 + 2 * i;
    }
    if (fill) {
      DiscRuns(pen, xc, yc, i, R, ia);
    } else {
      pen.pixel(xc - i, yc - R, ia);
      pen.pixel(xc - i, yc + R, ia);
      pen.pixel(xc + i, yc - R, ia);
      pen.pixel(xc + i, yc + R, ia);
      if (i != R) {
        pen.pixel(xc - R, yc - i, ia);
        pen.pixel(xc - R, yc + i, ia);
        pen.pixel(xc + R, yc - i, ia);
        pen.pixel(xc + R, yc + i, ia);
      }
    }
    if (!(i + 1 < R))
      break;
  }
}

// sqrt(r^2 - k^2), or 0 where k lies outside the circle.
double Half(double r, double k) {
  const double q = r * r - k * k;
  return q > 0 ? std::sqrt(q) : 0.0;
}

// Anti-aliased circle: each column's edge split between the pixel inside (ia - f) and the one
// outside (f) by the fraction of the exact edge.
template <class P> void SmoothCircle(const P& pen, float cx, float cy, float r, bool fill, int ia) {
  const int xc = (int)(cx + 0.5f), yc = (int)(cy + 0.5f);
  const int R = (int)r;
  const int f0 = (int)((r - std::floor(r)) * (double)ia);
  pen.pixel(xc, yc - R - 1, f0);
  pen.pixel(xc, yc + R + 1, f0);
  pen.pixel(xc - R - 1, yc, f0);
  pen.pixel(xc + R + 1, yc, f0);
  if (fill) {
    AxisRuns(pen, xc, yc, R, ia);
  } else {
    pen.pixel(xc, yc - R, ia - f0);
    pen.pixel(xc, yc + R, ia - f0);
    pen.pixel(xc - R, yc, ia - f0);
    pen.pixel(xc + R, yc, ia - f0);
  }
  double Y = Half(r, 1);
  int n = (int)(Y + 0.5);
  if (n <= 0)
    return;
  for (int i = 1;; ++i) {
    const int Yi = (int)Y;
    const int f = (int)((Y - std::floor(Y)) * ia);
    pen.pixel(xc - i, yc - Yi - 1, f);
    pen.pixel(xc - i, yc + Yi + 1, f);
    pen.pixel(xc + i, yc - Yi - 1, f);
    pen.pixel(xc + i, yc + Yi + 1, f);
    if (i != n) {
      pen.pixel(xc - Yi - 1, yc - i, f);
      pen.pixel(xc + Yi + 1, yc - i, f);
      pen.pixel(xc - Yi - 1, yc + i, f);
      pen.pixel(xc + Yi + 1, yc + i, f);
    }
    if (fill) {
      DiscRuns(pen, xc, yc, i, Yi, ia);
    } else {
      pen.pixel(xc - Yi, yc - i, ia - f);
      pen.pixel(xc + Yi, yc - i, ia - f);
      pen.pixel(xc - i, yc + Yi, ia - f);
      pen.pixel(xc + i, yc + Yi, ia - f);
      if (i != n) {
        pen.pixel(xc - i, yc - Yi, ia - f);
        pen.pixel(xc + i, yc - Yi, ia - f);
        pen.pixel(xc - Yi, yc + i, ia - f);
        pen.pixel(xc + Yi, yc + i, ia - f);
      }
    }
    Y = Half(r, i + 1);
    n = (int)(Y + 0.5);
    if (!(i < n))
      break;
  }
}

// Centres and radii beyond this are refused: the engine's integer positions must not overflow
// and its loops must stay bounded (see PIX_Limits.h for why the float engines stop at 2^24).
constexpr float kMaxExtent = PIX_kMaxFloatCoord;

bool UsableCircle(float cx, float cy, float r) {
  return std::isfinite(cx) && std::isfinite(cy) && std::isfinite(r) &&
         std::fabs(cx) <= kMaxExtent && std::fabs(cy) <= kMaxExtent && r <= kMaxExtent;
}

// Wholly outside (with a 2-pixel margin): nothing to draw.
bool OutsideBitmap(float cx, float cy, float r, int width, int height) {
  return (int)cx + (int)r < -2 || (int)cy + (int)r < -2 || (int)cx - (int)r > width + 2 ||
         (int)cy - (int)r > height + 2;
}

// The clip is needed unless the shape with a 2-pixel margin lies inside.
bool NeedsClip(float cx, float cy, float r, int width, int height) {
  return !(cx - r - 2 >= 0 && cy - r - 2 >= 0 && cx + r + 2 < width && cy + r + 2 < height);
}

} // namespace

void PIX_DrawCircleClipped(PIX_IBitmap* dest, float cx, float cy, float r, PIX_Pixel colour, int ia,
                           bool aa, bool fill, int mode, const PIX_ClipRect& clip, bool clipOn) {
  const PIX_Surface s = PIX_StoredRows(dest);
  if (s.empty() || !UsableCircle(cx, cy, r))
    return;
  const int op = mode & 0xFF;
  auto draw = [&](auto paint) {
    const Pen<decltype(paint)> pen{s, paint, clip, clipOn};
    if (aa)
      SmoothCircle(pen, cx, cy, r, fill, ia);
    else
      PlainCircle(pen, cx, cy, r, fill, ia);
  };
  if (aa)
    PIX_WithSmoothPaint(op, ia, colour, draw);
  else
    PIX_WithPlainPaint(op, ia, colour, draw);
}

void PIX_FillCircle(PIX_IBitmap* dest, float cx, float cy, float r, PIX_Pixel colour, float alpha,
                    int mode, bool aa) {
  const PIX_Surface s = PIX_StoredRows(dest);
  if (s.empty() || !UsableCircle(cx, cy, r))
    return;
  if (dest->isFlipped())
    cy = (float)(s.height - 1) - cy;
  const int ia = PIX_WeightFromAlpha(alpha);
  if (ia == 0 || r < 0 || OutsideBitmap(cx, cy, r, s.width, s.height))
    return;
  const PIX_ClipRect clip{0, 0, s.width, s.height};
  PIX_DrawCircleClipped(dest, cx, cy, r, colour, ia, aa, true, mode, clip,
                        NeedsClip(cx, cy, r, s.width, s.height));
}

void PIX_Circle(PIX_IBitmap* dest, float cx, float cy, float r, PIX_Pixel colour, float alpha,
                int mode, bool aa) {
  const PIX_Surface s = PIX_StoredRows(dest);
  if (s.empty() || !UsableCircle(cx, cy, r) || r < 0 || OutsideBitmap(cx, cy, r, s.width, s.height))
    return;
  for (const CircleMask& m : kMasks) {
    if (r == m.radius) {
      PIX_DrawCoverageMask(dest, (int)(cx - r), (int)(cy - r), colour, aa ? m.smooth : m.plain,
                           m.size, m.size, alpha, mode);
      return;
    }
  }
  if (dest->isFlipped())
    cy = (float)(s.height - 1) - cy;
  const int ia = PIX_WeightFromAlpha(alpha);
  if (ia == 0)
    return;
  const PIX_ClipRect clip{0, 0, s.width, s.height};
  PIX_DrawCircleClipped(dest, cx, cy, r, colour, ia, aa, false, mode, clip,
                        NeedsClip(cx, cy, r, s.width, s.height));
}

void PIX_Arc(PIX_IBitmap* dest, float cx, float cy, float r, float minAngle, float maxAngle,
             PIX_Pixel colour, float alpha, int mode, bool aa) {
  const PIX_Surface s = PIX_StoredRows(dest);
  if (s.empty() || !UsableCircle(cx, cy, r) || !std::isfinite(minAngle) || !std::isfinite(maxAngle))
    return;
  const float callerCy = cy;
  if (dest->isFlipped()) {
    cy = (float)(s.height - 1) - cy;
    minAngle = 3.1415927f - minAngle;
    maxAngle = 3.1415927f - maxAngle;
  }
  double lo = std::min(minAngle, maxAngle), hi = std::max(minAngle, maxAngle);
  if ((float)(hi - lo) >= 6.2831855f) {
    PIX_Circle(dest, cx, callerCy, r, colour, alpha, mode, aa);
    return;
  }
  constexpr double kTwoPi = 6.2831854820251465, kHalfPi = 1.5707963705062866;
  if (hi >= kTwoPi) {
    const double m = std::fmod(hi, kTwoPi);
    lo -= hi - m;
    hi = m;
  } else if (lo <= -kTwoPi) {
    const double m = std::fmod(lo, kTwoPi);
    hi -= lo - m;
    lo = m;
  }
  const int ia = PIX_WeightFromAlpha(alpha);
  if (ia == 0)
    return;
  double a = lo + kTwoPi;
  const double b = hi + kTwoPi;
  if (!(a < b))
    return;
  int xs = (int)(std::sin(a) * r + cx + 0.5), ys = (int)(cy - std::cos(a) * r + 0.5);
  a = a - std::fmod(a, kHalfPi);
  // One engine pass per quadrant piece, clipped to the box of the piece's end points: the
  // circle is monotone within a quadrant, so the box holds exactly that piece.
  while (a < b) {
    const double next = std::min(a + kHalfPi, b);
    const int xe = (int)(std::sin(next) * r + cx + 0.5), ye = (int)(cy - std::cos(next) * r + 0.5);
    const int xmax = std::max(xs, xe), ymax = std::max(ys, ye);
    PIX_ClipRect clip;
    clip.left = std::max(std::min(xs, xe), 0);
    clip.top = std::max(std::min(ys, ye), 0);
    clip.right = std::min(xmax + 1 + ((float)xmax != cx ? 1 : 0), s.width);
    clip.bottom = std::min(ymax + 1 + ((float)ymax != cy ? 1 : 0), s.height);
    PIX_DrawCircleClipped(dest, cx, cy, r, colour, ia, aa, false, mode, clip, true);
    xs = xe, ys = ye;
    a = next;
  }
}

void PIX_RoundRect(PIX_IBitmap* dest, float x, float y, float w, float h, int cornerRadius,
                   PIX_Pixel colour, float alpha, int mode, bool aa) {
  if (!dest || !std::isfinite(x) || !std::isfinite(y) || !std::isfinite(w) || !std::isfinite(h))
    return;
  const float limit = kMaxExtent;
  if (std::fabs(x) > limit || std::fabs(y) > limit || std::fabs(w) > limit || std::fabs(h) > limit)
    return;
  const float cr = std::floor(std::min({(float)cornerRadius, w * 0.5f, h * 0.5f}));
  if (cornerRadius <= 0 || cr < 2) {
    PIX_DrawRect(dest, (int)x, (int)y, (int)w, (int)h, colour, alpha, mode);
    return;
  }
  const float xl = x + cr, xr = x + w - cr;
  PIX_Line(dest, (int)xl, (int)y, (int)xr, (int)y, colour, alpha, mode, aa);
  PIX_Line(dest, (int)(xl - 1), (int)(y + h), (int)xr, (int)(y + h), colour, alpha, mode, aa);
  PIX_Line(dest, (int)(x + w), (int)(y + cr), (int)(x + w), (int)(y + h - cr), colour, alpha, mode,
           aa);
  PIX_Line(dest, (int)x, (int)(y + cr - 1), (int)x, (int)(y + h - cr), colour, alpha, mode, aa);
  constexpr float kPi = 3.1415927f, kHalf = 1.5707964f;
  PIX_Arc(dest, xl, y + cr, cr, -kHalf, 0, colour, alpha, mode, aa);
  PIX_Arc(dest, xr, y + cr, cr, 0, kHalf, colour, alpha, mode, aa);
  PIX_Arc(dest, xr, y + h - cr, cr, kHalf, kPi, colour, alpha, mode, aa);
  PIX_Arc(dest, xl, y + h - cr, cr, kPi, 3 * kHalf, colour, alpha, mode, aa);
}
