#include "raster/PIX_Line.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "raster/PIX_Limits.h"
#include "raster/PIX_Paint.h"
#include "raster/PIX_Surface.h"

namespace {

// ---- Clipping ---------------------------------------------------------------------------------

int OutCode(int64_t x, int64_t y, int64_t w, int64_t h) {
  int code = 0;
  if (x < 0)
    code |= 1;
  else if (x >= w)
    code |= 2;
  if (y < 0)
    code |= 4;
  else if (y >= h)
    code |= 8;
  return code;
}

// Cohen-Sutherland on 64-bit coordinates, so that points and boxes anywhere in the int range
// can be offset and clipped without overflow. Each pass puts one point on a border, the
// crossing computed from the first point of the segment as it stands.
bool ClipSegment(int64_t& x1, int64_t& y1, int64_t& x2, int64_t& y2, int64_t w, int64_t h) {
  int c1 = OutCode(x1, y1, w, h), c2 = OutCode(x2, y2, w, h);
  for (int pass = 0; pass < 64; ++pass) {
    if (!(c1 | c2))
      return true;
    if (c1 & c2)
      return false;
    const bool first = c1 != 0;
    const int c = first ? c1 : c2;
    const double dx = (double)(x2 - x1), dy = (double)(y2 - y1);
    int64_t x, y;
    if (c & 8) {
      x = x1 + (int64_t)((double)(h - y1) * dx / dy);
      y = h - 1;
    } else if (c & 4) {
      x = x1 + (int64_t)((double)(0 - y1) * dx / dy);
      y = 0;
    } else if (c & 2) {
      y = y1 + (int64_t)(dy * (double)(w - x1) / dx);
      x = w - 1;
    } else {
      y = y1 + (int64_t)(dy * (double)(0 - x1) / dx);
      x = 0;
    }
    if (first) {
      x1 = x, y1 = y, c1 = OutCode(x, y, w, h);
    } else {
      x2 = x, y2 = y, c2 = OutCode(x, y, w, h);
    }
  }
  return false;
}

bool Finite(float a, float b, float c, float d) {
  return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

// ---- Runs and diagonals -----------------------------------------------------------------------

template <class Paint> void PaintRun(PIX_Pixel* p, int n, ptrdiff_t step, Paint paint, int w) {
  for (int i = 0; i < n; ++i, p += step)
    paint(p, w);
}

// A horizontal or vertical run of n pixels, by mode and opacity (copy at 1.0, 0.5, 0.25 and 0.75
// on whole words).
void DrawRun(PIX_Pixel* p, int n, ptrdiff_t step, PIX_Pixel colour, float alpha, int op) {
  if (op == 0) {
    if (alpha == 1.0f)
      return PaintRun(p, n, step, PIX_PaintOverwrite{colour}, 256);
    if (alpha == 0.5f)
      return PaintRun(p, n, step, PIX_PaintHalfWord{colour}, 128);
    if (alpha == 0.25f)
      return PaintRun(p, n, step, PIX_PaintQuarterWord{colour}, 64);
    if (alpha == 0.75f)
      return PaintRun(p, n, step, PIX_PaintThreeQuarterWord{colour}, 192);
  }
  const int ia = PIX_WeightFromAlpha(alpha);
  PIX_WithPlainPaint(op, ia, colour, [&](auto paint) { PaintRun(p, n, step, paint, ia); });
}

// Anti-aliased diagonal: main pixels at 3/4 of the weight, and after every main pixel but the
// last the two pixels flanking the step at 1/4.
template <class MainPaint, class SidePaint>
void PaintDiagonalSmooth(PIX_Pixel* p, int n, ptrdiff_t sx, ptrdiff_t sy, MainPaint main,
                         SidePaint side, int wMain, int wSide) {
  for (int i = 0; i <= n; ++i, p += sx + sy) {
    main(p, wMain);
    if (i < n) {
      side(p + sx, wSide);
      side(p + sy, wSide);
    }
  }
}

void DrawDiagonal(PIX_Pixel* p, int n, ptrdiff_t sx, ptrdiff_t sy, PIX_Pixel colour, float alpha,
                  int op, bool aa) {
  if (op == 0 && alpha == 1.0f) {
    if (!aa)
      return PaintRun(p, n + 1, sx + sy, PIX_PaintOverwrite{colour}, 256);
    return PaintDiagonalSmooth(p, n, sx, sy, PIX_PaintThreeQuarterWord{colour},
                               PIX_PaintQuarterWord{colour}, 192, 64);
  }
  const int ia = PIX_WeightFromAlpha(alpha);
  if (!aa) {
    PIX_WithPlainPaint(op, ia, colour, [&](auto paint) { PaintRun(p, n + 1, sx + sy, paint, ia); });
    return;
  }
  PIX_WithSmoothPaint(op, ia, colour, [&](auto paint) {
    PaintDiagonalSmooth(p, n, sx, sy, paint, paint, (3 * ia) / 4, ia / 4);
  });
}

// ---- General slope ----------------------------------------------------------------------------

// The walk from both ends at once with one error sequence: P forward from the first end, Q
// backward from the second, so that the same two end points give the same pixels in either order.
// (A line cut by the clipper can still differ from its reverse: each is cut from its own first
// point.)
template <class Paint>
void WalkSloped(PIX_Pixel* first, PIX_Pixel* second, int n, ptrdiff_t major, ptrdiff_t minor,
                int slope, Paint paint, int ia) {
  PIX_Pixel* P = first;
  PIX_Pixel* Q = second;
  int err = 0;
  const int half = (n + 1) / 2;
  for (int i = 0; i < half; ++i) {
    paint(P, ia);
    paint(Q, ia);
    err += slope;
    if (err > 0x7FFF) {
      P += minor;
      Q -= minor;
      err -= 0x10000;
    }
    P += major;
    Q -= major;
  }
  if (n % 2 == 0)
    paint(P, ia);
}

// The anti-aliased walk: end pixels at the full weight, then each step's weight split between
// the main pixel (255 - e) and its minor-axis neighbour (e), e the error's high byte.
template <class Paint>
void WalkSlopedSmooth(PIX_Pixel* first, PIX_Pixel* second, int n, ptrdiff_t major, ptrdiff_t minor,
                      int slope, Paint paint, int ia) {
  paint(first, ia);
  paint(second, ia);
  PIX_Pixel* P = first + major;
  PIX_Pixel* Q = second - major;
  int err = slope;
  auto weights = [ia](int e, int& w1, int& w2) {
    if (ia == 256) {
      w1 = 255 - e, w2 = e;
    } else {
      w1 = ((255 - e) * ia) >> 8, w2 = (e * ia) >> 8;
    }
  };
  const int half = (n + 1) / 2;
  for (int i = 1; i < half; ++i) {
    int w1, w2;
    weights(err >> 8, w1, w2);
    paint(P, w1);
    paint(Q, w1);
    paint(P + minor, w2);
    paint(Q - minor, w2);
    err += slope;
    if (err >= 0x10000) {
      P += minor;
      Q -= minor;
      err -= 0x10000;
    }
    P += major;
    Q -= major;
  }
  if (n % 2 == 0) {
    int w1, w2;
    weights(err >> 8, w1, w2);
    paint(P, w1);
    paint(P + minor, w2);
  }
}

void DrawSloped(const PIX_Surface& s, int x1, int y1, int x2, int y2, PIX_Pixel colour, float alpha,
                int op, bool aa) {
  const int dx = x2 - x1, dy = y2 - y1;
  const bool xMajor = std::abs(dx) > std::abs(dy);
  const ptrdiff_t span = s.rowStep / 4;
  ptrdiff_t major = xMajor ? 1 : span, minor = xMajor ? span : 1;
  int n = xMajor ? dx : dy, m = xMajor ? dy : dx;
  PIX_Pixel* first = s.pixel(x1, y1);
  PIX_Pixel* second = s.pixel(x2, y2);
  if (n < 0) {
    std::swap(first, second);
    n = -n;
    m = -m;
  }
  if (m < 0)
    minor = -minor;
  const int slope = (int)((double)std::abs(m) / (double)n * 65536.0);
  const int ia = PIX_WeightFromAlpha(alpha);
  if (!aa) {
    PIX_WithPlainPaint(op, ia, colour, [&](auto paint) {
      WalkSloped(first, second, n, major, minor, slope, paint, ia);
    });
    return;
  }
  PIX_WithSmoothPaint(op, ia, colour, [&](auto paint) {
    WalkSlopedSmooth(first, second, n, major, minor, slope, paint, ia);
  });
}

// ---- Float line -------------------------------------------------------------------------------

template <class Paint>
void WalkFloat(PIX_Pixel* p, int count, ptrdiff_t major, ptrdiff_t minor, int err, int slope16,
               Paint paint, int ia) {
  for (int i = 0; i <= count; ++i) {
    const int e = err >> 8;
    if (ia == 256) {
      paint(p, 255 - e);
      paint(p + minor, e);
    } else {
      paint(p, ((255 - e) * ia) >> 8);
      paint(p + minor, (e * ia) >> 8);
    }
    err += slope16;
    if (err >= 0x10000) {
      p += minor;
      err -= 0x10000;
    }
    p += major;
  }
}

// Largest coordinate a float line may truncate to an int.
constexpr float kMaxIntCoord = 2147483520.0f; // the largest float below 2^31

bool FitsInt(float v) {
  return v >= -kMaxIntCoord && v <= kMaxIntCoord;
}

} // namespace

bool PIX_ClipLine(int* x1, int* y1, int* x2, int* y2, int width, int height) {
  int64_t a = *x1, b = *y1, c = *x2, d = *y2;
  const bool inside = ClipSegment(a, b, c, d, width, height);
  *x1 = PIX_Saturate(a), *y1 = PIX_Saturate(b), *x2 = PIX_Saturate(c), *y2 = PIX_Saturate(d);
  return inside;
}

bool PIX_ClipLineToRect(int* x1, int* y1, int* x2, int* y2, int xlo, int ylo, int xhi, int yhi) {
  int64_t a = (int64_t)*x1 - xlo, b = (int64_t)*y1 - ylo, c = (int64_t)*x2 - xlo,
          d = (int64_t)*y2 - ylo;
  const bool inside = ClipSegment(a, b, c, d, (int64_t)xhi - xlo, (int64_t)yhi - ylo);
  *x1 = PIX_Saturate(a + xlo), *y1 = PIX_Saturate(b + ylo), *x2 = PIX_Saturate(c + xlo),
  *y2 = PIX_Saturate(d + ylo);
  return inside;
}

bool PIX_ClipFloatLine(float* x1, float* y1, float* x2, float* y2, int width, int height) {
  // A coordinate that is not a number passes every comparison: refuse it here.
  if (!Finite(*x1, *y1, *x2, *y2))
    return false;
  const float W = (float)(width - 1), H = (float)(height - 1);
  auto code = [W, H](float x, float y) {
    int c = 0;
    if (x < 0)
      c |= 1;
    else if (x >= W)
      c |= 2;
    if (y < 0)
      c |= 4;
    else if (y >= H)
      c |= 8;
    return c;
  };
  float ax = *x1, ay = *y1, bx = *x2, by = *y2;
  int c1 = code(ax, ay), c2 = code(bx, by);
  bool inside = false;
  for (int pass = 0; pass < 33; ++pass) {
    if (!(c1 | c2)) {
      inside = true;
      break;
    }
    if (c1 & c2)
      break;
    const bool first = c1 != 0;
    const int c = first ? c1 : c2;
    float x, y;
    if (c & 8) {
      x = ax + (bx - ax) * (H - ay) / (by - ay);
      y = H - 1;
    } else if (c & 4) {
      x = ax + (bx - ax) * ay / (ay - by);
      y = 0;
    } else if (c & 2) {
      y = ay + (by - ay) * (W - ax) / (bx - ax);
      x = W - 1;
    } else {
      y = ay + (by - ay) * ax / (ax - bx);
      x = 0;
    }
    if (first) {
      ax = x, ay = y, c1 = code(x, y);
    } else {
      bx = x, by = y, c2 = code(x, y);
    }
  }
  *x1 = ax, *y1 = ay, *x2 = bx, *y2 = by;
  return inside && Finite(ax, ay, bx, by);
}

bool PIX_ClipFloatLineToRect(float* x1, float* y1, float* x2, float* y2, float xlo, float ylo,
                             float xhi, float yhi) {
  if (!Finite(xlo, ylo, xhi, yhi) || !FitsInt(xhi - xlo) || !FitsInt(yhi - ylo))
    return false;
  *x1 -= xlo, *y1 -= ylo, *x2 -= xlo, *y2 -= ylo;
  const bool inside = PIX_ClipFloatLine(x1, y1, x2, y2, (int)(xhi - xlo), (int)(yhi - ylo));
  *x1 += xlo, *y1 += ylo, *x2 += xlo, *y2 += ylo;
  return inside;
}

void PIX_Line(PIX_IBitmap* dest, int x1, int y1, int x2, int y2, PIX_Pixel colour, float alpha,
              int mode, bool aa) {
  const PIX_Surface s = PIX_StoredRows(dest);
  if (s.empty())
    return;
  int64_t ax = x1, ay = y1, bx = x2, by = y2;
  if (dest->isFlipped()) {
    ay = (int64_t)s.height - 1 - ay;
    by = (int64_t)s.height - 1 - by;
  }
  if (!ClipSegment(ax, ay, bx, by, s.width, s.height))
    return;
  x1 = (int)ax, y1 = (int)ay, x2 = (int)bx, y2 = (int)by;
  const int op = mode & 0xFF;
  const ptrdiff_t span = s.rowStep / 4;
  if (y1 == y2) {
    if (x1 > x2)
      std::swap(x1, x2);
    DrawRun(s.pixel(x1, y1), x2 - x1 + 1, 1, colour, alpha, op);
    return;
  }
  if (x1 == x2) {
    if (y1 > y2)
      std::swap(y1, y2);
    DrawRun(s.pixel(x1, y1), y2 - y1 + 1, span, colour, alpha, op);
    return;
  }
  const int dx = x2 - x1, dy = y2 - y1;
  if (std::abs(dx) == std::abs(dy)) {
    DrawDiagonal(s.pixel(x1, y1), std::abs(dx), dx > 0 ? 1 : -1, dy > 0 ? span : -span, colour,
                 alpha, op, aa);
    return;
  }
  DrawSloped(s, x1, y1, x2, y2, colour, alpha, op, aa);
}

void PIX_FloatLine(PIX_IBitmap* dest, float x1, float y1, float x2, float y2, PIX_Pixel colour,
                   float alpha, int mode, bool aa) {
  if (!dest || !Finite(x1, y1, x2, y2) || !std::isfinite(alpha))
    return;
  if (!aa) {
    if (!FitsInt(x1) || !FitsInt(y1) || !FitsInt(x2) || !FitsInt(y2))
      return;
    PIX_Line(dest, (int)x1, (int)y1, (int)x2, (int)y2, colour, alpha, mode, false);
    return;
  }
  const PIX_Surface s = PIX_StoredRows(dest);
  if (s.empty())
    return;
  if (dest->isFlipped()) {
    y1 = (float)(s.height - 1) - y1;
    y2 = (float)(s.height - 1) - y2;
  }
  if (!PIX_ClipFloatLine(&x1, &y1, &x2, &y2, s.width, s.height))
    return;
  if (x1 == x2 && y1 == y2)
    return;
  const int op = mode & 0xFF;
  const int ia = PIX_WeightFromAlpha(alpha);
  const ptrdiff_t span = s.rowStep / 4;
  const bool xMajor = std::fabs(x2 - x1) > std::fabs(y2 - y1);
  float na = xMajor ? x1 : y1, ma = xMajor ? y1 : x1; // major and minor of the first end
  float nb = xMajor ? x2 : y2, mb = xMajor ? y2 : x2;
  if (nb < na) {
    std::swap(na, nb);
    std::swap(ma, mb);
  }
  const float slope = (mb - ma) / (nb - na);
  const ptrdiff_t major = xMajor ? 1 : span;
  const ptrdiff_t minor = (xMajor ? span : 1) * (mb - ma < 0 ? -1 : 1);
  const float start = std::ceil(na);
  const int count = (int)(std::floor(nb) - start);
  if (count < 0)
    return;
  const float m = (start - na) * slope + ma;
  const int frac = (int)((m - std::floor(m)) * 65536);
  int minorPos = (int)m, err = frac;
  if (minor < 0) {
    minorPos += 1;
    err = 0xFFFF - frac;
  }
  const int majorPos = (int)start;
  PIX_Pixel* p = xMajor ? s.pixel(majorPos, minorPos) : s.pixel(minorPos, majorPos);
  const int slope16 = (int)(std::fabs(slope) * 65536.0);
  PIX_WithSmoothPaint(op, ia, colour, [&](auto paint) {
    WalkFloat(p, count, major, minor, err, slope16, paint, ia);
  });
}

void PIX_DashedLine(PIX_IBitmap* dest, int x1, int y1, int x2, int y2, int pxon, int pxoff,
                    PIX_Pixel colour, float alpha, int mode) {
  const PIX_Surface s = PIX_StoredRows(dest);
  // A dash period that does not advance would never end the walk.
  if (s.empty() || pxon < 1 || pxoff < 0)
    return;
  if (!PIX_ClipLine(&x1, &y1, &x2, &y2, s.width, s.height))
    return;
  if (y1 > y2)
    std::swap(y1, y2);
  const int op = mode & 0xFF;
  const ptrdiff_t span = s.rowStep / 4;
  if (pxon == 1 && pxoff == 1 && x1 == x2 && op == 0 && alpha == 1.0f) {
    PaintRun(s.pixel(x1, y1), (y2 - y1 + 1) / 2, 2 * span, PIX_PaintOverwrite{colour}, 256);
    return;
  }
  if (x1 > x2)
    std::swap(x1, x2);
  const bool vertical = x1 == x2;
  if (!vertical && y1 != y2)
    return;
  const int64_t startPos = vertical ? y1 : x1, end = vertical ? y2 : x2;
  const ptrdiff_t step = vertical ? span : 1;
  PIX_Pixel* origin = s.pixel(x1, y1);
  const int ia = PIX_WeightFromAlpha(alpha);
  PIX_WithPlainPaint(op, ia, colour, [&](auto paint) {
    int64_t pos = startPos;
    for (; pos < end - pxon; pos += (int64_t)pxon + pxoff)
      PaintRun(origin + (pos - startPos) * step, pxon, step, paint, ia);
    const int64_t last = std::min<int64_t>(pxon, end - pos);
    if (last > 0)
      PaintRun(origin + (pos - startPos) * step, (int)last, step, paint, ia);
  });
}
