#include "raster/PIX_Polygon.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "raster/PIX_Fill.h"
#include "raster/PIX_Limits.h"
#include "raster/PIX_Line.h"
#include "raster/PIX_Paint.h"
#include "raster/PIX_Surface.h"

namespace {

// ---- Trapezoid --------------------------------------------------------------------------------

// One edge of a trapezoid: its x, the absolute 16.16 slope and its sign, and the fraction
// accumulated so far.
struct Edge {
  int64_t x;
  int64_t step;
  int sign;
  int64_t acc = 0;

  void advance(int64_t amount) {
    acc += amount;
    if (acc > 0xFFFF) {
      x += sign * (acc >> 16);
      acc &= 0xFFFF;
    }
  }
};

int64_t EdgeSlope(int64_t from, int64_t to, double inv) {
  const double s = std::clamp((double)(to - from) * inv, -536870912.0, 536870912.0);
  return (int64_t)s;
}

template <class Paint>
void TrapezoidRows(const PIX_Surface& s, int y, int rows, Edge left, Edge right, Paint paint,
                   int ia) {
  for (int r = 0; r < rows; ++r) {
    const int64_t x0 = std::max<int64_t>(left.x, 0), x1 = std::min<int64_t>(right.x, s.width);
    PIX_Pixel* p = s.pixel(0, y + r);
    for (int64_t x = x0; x < x1; ++x)
      paint(p + x, ia);
    left.advance(left.step);
    right.advance(right.step);
  }
}

// Calls run(paint) with the trapezoid's instance: copy at 256, 128, 64 and 192 by whole words,
// else the blend or the mode's writer.
template <class Run> bool WithFillPaint(int op, int ia, PIX_Pixel colour, Run&& run) {
  if (op == 0) {
    switch (ia) {
    case 256:
      run(PIX_PaintOverwrite{colour});
      return true;
    case 128:
      run(PIX_PaintHalfWord{colour});
      return true;
    case 64:
      run(PIX_PaintQuarterWord{colour});
      return true;
    case 192:
      run(PIX_PaintThreeQuarterWord{colour});
      return true;
    default:
      break;
    }
  }
  if (ia == 0 || op > 5 || (op == 0 && ia < 0))
    return false;
  return PIX_WithWriterPaint(op, colour, run);
}

// ---- Polygon ----------------------------------------------------------------------------------

struct Point {
  int x, y;
};

int ComparePoints(const void* a, const void* b) {
  const Point& p = *static_cast<const Point*>(a);
  const Point& q = *static_cast<const Point*>(b);
  if (p.y != q.y)
    return p.y < q.y ? -1 : 1;
  if (p.x != q.x)
    return p.x < q.x ? -1 : 1;
  return 0;
}

// The next vertex of the left or right outline after i: among the later points on other rows,
// the one with the least (left) or greatest (right) slope, the last of equal slopes.
int ChainStep(const Point* pts, int n, int i, bool left) {
  int best = i;
  float bestSlope = 0;
  for (int j = i + 1; j < n; ++j) {
    if (pts[j].y == pts[i].y)
      continue;
    const float slope =
        (float)((int64_t)pts[j].x - pts[i].x) / (float)((int64_t)pts[j].y - pts[i].y);
    if (best == i || slope == bestSlope || (left ? slope < bestSlope : slope > bestSlope)) {
      best = j;
      bestSlope = slope;
    }
  }
  return best;
}

// x of the edge from a to b (a above) at row Y.
int EdgeX(const Point& a, const Point& b, int64_t Y) {
  const Point& u = a.y <= b.y ? a : b;
  const Point& l = a.y <= b.y ? b : a;
  if (Y <= u.y)
    return u.x;
  if (Y >= l.y)
    return l.x;
  const float t = (float)(Y - u.y) * ((float)((int64_t)l.x - u.x) / (float)((int64_t)l.y - u.y));
  return PIX_Saturate((int64_t)u.x + (int64_t)t);
}

void FillSortedPolygon(PIX_IBitmap* dest, const Point* pts, int n, int xmin, int xmax,
                       PIX_Pixel colour, float alpha, int mode) {
  const int height = dest->getHeight();
  if (pts[0].y == pts[n - 1].y) {
    if (pts[0].y >= 0 && pts[0].y < height && xmin <= xmax)
      PIX_FillTrapezoid(dest, xmin, xmax, pts[0].y, xmin, xmax, pts[0].y, colour, alpha, mode);
    return;
  }
  int runEnd = 0;
  while (runEnd + 1 < n && pts[runEnd + 1].y == pts[0].y)
    ++runEnd;
  int leftCur = 0;
  while (leftCur + 1 <= runEnd && pts[leftCur + 1].x == pts[0].x)
    ++leftCur;
  int rightCur = runEnd;
  int leftNext = ChainStep(pts, n, leftCur, true);
  int rightNext = ChainStep(pts, n, rightCur, false);
  if (leftCur == leftNext && rightCur == rightNext)
    return;
  int64_t y = pts[0].y;
  // Every pass moves at least one side to a later point; the bound only guards the loop.
  for (int pass = 0; pass < 4 * n + 8 && (leftCur != leftNext || rightCur != rightNext); ++pass) {
    const int64_t yEnd = std::min(pts[leftNext].y, pts[rightNext].y);
    PIX_FillTrapezoid(
        dest, EdgeX(pts[leftCur], pts[leftNext], y), EdgeX(pts[rightCur], pts[rightNext], y),
        PIX_Saturate(y), EdgeX(pts[leftCur], pts[leftNext], yEnd),
        EdgeX(pts[rightCur], pts[rightNext], yEnd), PIX_Saturate(yEnd), colour, alpha, mode);
    if (pts[leftNext].y == yEnd) {
      leftCur = leftNext;
      leftNext = ChainStep(pts, n, leftNext, true);
    }
    if (pts[rightNext].y == yEnd) {
      rightCur = rightNext;
      rightNext = ChainStep(pts, n, rightNext, false);
    }
    y = yEnd < y ? yEnd - 1 : yEnd + 1;
  }
}

// ---- Curves -----------------------------------------------------------------------------------

// Largest step count of a curve, and the largest control value: a tolerance near zero or
// coordinates past any bitmap must not turn into endless or unrepresentable walks.
constexpr double kMaxSteps = 65536;
constexpr float kMaxCurveCoord = PIX_kMaxFloatCoord;

bool UsableCurve(std::initializer_list<float> values) {
  for (float v : values)
    if (!std::isfinite(v) || std::fabs(v) > kMaxCurveCoord)
      return false;
  return true;
}

int StepCount(double length, double span, float tol) {
  const double t = tol > 0 ? tol : 1.0;
  const double n = length * span / t;
  if (!(n >= 1))
    return 1;
  return (int)std::min(n, kMaxSteps);
}

struct Cubic {
  double ax, bx, cx, x0, ay, by, cy, y0;
  double x(double t) const { return ((ax * t + bx) * t + cx) * t + x0; }
  double y(double t) const { return ((ay * t + by) * t + cy) * t + y0; }
};

Cubic CubicOf(double x0, double y0, double x1, double y1, double x2, double y2, double x3,
              double y3) {
  Cubic c;
  c.cx = 3 * (x1 - x0);
  c.bx = 3 * (x2 - x1) - c.cx;
  c.ax = x3 - x0 - c.cx - c.bx;
  c.x0 = x0;
  c.cy = 3 * (y1 - y0);
  c.by = 3 * (y2 - y1) - c.cy;
  c.ay = y3 - y0 - c.cy - c.by;
  c.y0 = y0;
  return c;
}

// One strip of a curve fill: from (xa, ya) to (xb, yb) down or up to the row base. With across,
// the same with the axes exchanged (rows and columns swap roles).
void FillStrip(PIX_IBitmap* dest, int xa, int ya, int xb, int yb, int base, bool across,
               PIX_Pixel colour, float alpha, int mode) {
  if (xa > xb)
    return;
  auto poly = [&](std::initializer_list<Point> pts) {
    int xs[4], ys[4], n = 0;
    for (const Point& p : pts) {
      xs[n] = across ? p.y : p.x;
      ys[n] = across ? p.x : p.y;
      ++n;
    }
    PIX_FillConvexPolygon(dest, xs, ys, n, colour, alpha, mode);
  };
  if (xa == xb) {
    const int from = std::min(ya, base), to = yb > base ? yb - 1 : base;
    if (across)
      PIX_Line(dest, from, xa, to, xa, colour, alpha, mode, false);
    else
      PIX_Line(dest, xa, from, xa, to, colour, alpha, mode, false);
    return;
  }
  if ((ya < base) == (yb < base)) {
    const int b = ya < base ? base + 1 : base;
    poly({{xa, ya}, {xa, b}, {xb, yb}, {xb, b}});
    return;
  }
  const int xm =
      PIX_Saturate(xa + (int64_t)((double)(xb - xa) * (double)(base - ya) / (double)(yb - ya)));
  const int b1 = ya < base ? base + 1 : base, b2 = yb < base ? base + 1 : base;
  poly({{xa, ya}, {xa, b1}, {xm, b1}});
  poly({{xm, b2}, {xb, b2}, {xb, yb}});
}

// The curve fills: columns (or rows, across) stepped along the curve, one strip per step.
void FillCubic(PIX_IBitmap* dest, float x0, float y0, float x1, float y1, float x2, float y2,
               float x3, float y3, int base, bool across, PIX_Pixel colour, float alpha, int mode,
               float tol) {
  if (!dest || !UsableCurve({x0, y0, x1, y1, x2, y2, x3, y3}))
    return;
  double ax, bx, cx, px0, ay, by, cy, py0, t0, t1;
  float xs, ys, xe, ye;
  const int n = PIX_CBezierPrep(dest, x0, y0, x1, y1, x2, y2, x3, y3, !across, tol, &ax, &bx, &cx,
                                &px0, &ay, &by, &cy, &py0, &xs, &ys, &xe, &ye, &t0, &t1);
  if (n == 0)
    return;
  const Cubic c{ax, bx, cx, px0, ay, by, cy, py0};
  // u runs along the stepped axis, v across it.
  auto u = [&](double t) { return across ? c.y(t) : c.x(t); };
  auto v = [&](double t) { return across ? c.x(t) : c.y(t); };
  const float us = across ? ys : xs, vs = across ? xs : ys;
  const float ue = across ? ye : xe, ve = across ? xe : ye;
  int pu = (int)us, pv = (int)(vs + 0.5f);
  double t = t0;
  for (int k = 1; k <= n - 2; ++k) {
    t += (t1 - t0) / n;
    const int U = (int)u(t);
    if (U >= pu) {
      const int V = (int)(v(t) + 0.5);
      FillStrip(dest, pu, pv, U, V, base, across, colour, alpha, mode);
      pu = U + 1;
      pv = V;
    }
  }
  if (pu <= (int)(ue - 1))
    FillStrip(dest, pu, pv, (int)(ue - 1), (int)(ve + 0.5f), base, across, colour, alpha, mode);
}

} // namespace

void PIX_FillTrapezoid(PIX_IBitmap* dest, int x1a, int x1b, int y1, int x2a, int x2b, int y2,
                       PIX_Pixel colour, float alpha, int mode) {
  const PIX_Surface s = PIX_StoredRows(dest);
  if (s.empty())
    return;
  if (y2 < y1) {
    std::swap(y1, y2);
    std::swap(x1a, x2a);
    std::swap(x1b, x2b);
  }
  int64_t a = std::min(x1a, x1b), b = std::max(x1a, x1b);
  int64_t c = std::min(x2a, x2b), d = std::max(x2a, x2b);
  if ((b < 0 && d < 0) || (a >= s.width && c >= s.width))
    return;
  if (a < 1 && c < 1)
    a = c = 0;
  if (b >= s.width - 1 && d >= s.width - 1)
    b = d = s.width - 1;
  if (y2 < 0 || y1 >= s.height)
    return;
  const int op = mode & 0xFF;
  const int ia = PIX_WeightFromAlpha(alpha);
  const double inv = y1 == y2 ? 0.0 : 65536.0 / ((double)y2 - y1);
  const int64_t ls = EdgeSlope(a, c, inv), rs = EdgeSlope(b, d, inv);
  Edge left{a, std::abs(ls), ls < 0 ? -1 : 1};
  Edge right{b + 1, std::abs(rs), rs < 0 ? -1 : 1};
  int64_t top = y1;
  if (top < 0) {
    // Rows above the bitmap are stepped over at once; the accumulators are 64-bit so that a
    // start far above does not overflow them.
    left.advance(left.step * -top);
    right.advance(right.step * -top);
    top = 0;
  }
  const int64_t last = std::min<int64_t>(y2, s.height - 1);
  const int rows = (int)(last - top + 1);
  WithFillPaint(op, ia, colour, [&](auto paint) {
    if (ls == 0 && rs == 0) {
      Edge l{std::max<int64_t>(a, 0), 0, 1}, r{std::min<int64_t>(b + 1, s.width), 0, 1};
      if (r.x - l.x >= 1)
        TrapezoidRows(s, (int)top, rows, l, r, paint, ia);
      return;
    }
    TrapezoidRows(s, (int)top, rows, left, right, paint, ia);
  });
}

void PIX_FillConvexPolygon(PIX_IBitmap* dest, const int* xs, const int* ys, int n, PIX_Pixel colour,
                           float alpha, int mode) {
  if (!dest || !xs || !ys || n < 3 || !dest->getBits())
    return;
  const int width = dest->getWidth(), height = dest->getHeight();
  const bool flipped = dest->isFlipped();
  Point stackPoints[512];
  Point* pts = stackPoints;
  if (n > 512) {
    pts = static_cast<Point*>(std::malloc(sizeof(Point) * (size_t)n));
    if (!pts)
      return;
  }
  int xmin = width, xmax = 0;
  for (int i = 0; i < n; ++i) {
    pts[i].x = xs[i];
    pts[i].y = flipped ? PIX_Saturate((int64_t)height - 1 - ys[i]) : ys[i];
    xmin = std::min(xmin, xs[i]);
    xmax = std::max(xmax, xs[i]);
  }
  std::qsort(pts, (size_t)n, sizeof(Point), ComparePoints);
  FillSortedPolygon(dest, pts, n, xmin, xmax, colour, alpha, mode);
  if (pts != stackPoints)
    std::free(pts);
}

void PIX_FillTriangle(PIX_IBitmap* dest, int x1, int y1, int x2, int y2, int x3, int y3,
                      PIX_Pixel colour, float alpha, int mode) {
  const int xs[3] = {x1, x2, x3}, ys[3] = {y1, y2, y3};
  PIX_FillConvexPolygon(dest, xs, ys, 3, colour, alpha, mode);
}

void PIX_DrawRect(PIX_IBitmap* dest, int x, int y, int w, int h, PIX_Pixel colour, float alpha,
                  int mode) {
  const int r = PIX_Saturate((int64_t)x + w), b = PIX_Saturate((int64_t)y + h);
  PIX_Line(dest, x, y, r, y, colour, alpha, mode, false);
  PIX_Line(dest, r, y, r, b, colour, alpha, mode, false);
  PIX_Line(dest, r, b, x, b, colour, alpha, mode, false);
  PIX_Line(dest, x, b, x, y, colour, alpha, mode, false);
}

void PIX_BorderedRect(PIX_IBitmap* dest, int x, int y, int w, int h, PIX_Pixel bgcolour,
                      PIX_Pixel fgcolour, float alpha, int mode) {
  PIX_FillRect(dest, PIX_Saturate((int64_t)x + 1), PIX_Saturate((int64_t)y + 1),
               PIX_Saturate((int64_t)w - 1), PIX_Saturate((int64_t)h - 1), bgcolour, alpha, mode);
  PIX_DrawRect(dest, x, y, w, h, fgcolour, alpha, mode);
}

float PIX_QBezierYForX(float x0, float xc, float x1, float y0, float yc, float y1, float x,
                       double* t) {
  double tt;
  double y;
  if (x <= x0) {
    tt = 0, y = y0;
  } else if (x >= x1) {
    tt = 1, y = y1;
  } else {
    const double a = (double)x0 - 2.0 * xc + x1;
    if (a == 0) {
      if (x0 == x1) {
        tt = 0, y = y0;
      } else {
        tt = ((double)x - x0) / ((double)x1 - x0);
        y = y0 + ((double)y1 - y0) * tt;
      }
    } else {
      const double b = 2.0 * ((double)xc - x0);
      tt = (std::sqrt(b * b - 4 * a * ((double)x0 - x)) - b) / (2 * a);
      y = y0 * (1 - tt) * (1 - tt) + yc * 2 * tt * (1 - tt) + y1 * tt * tt;
    }
  }
  if (t)
    *t = tt;
  return (float)y;
}

float PIX_CBezierYForX(float x0, float x1, float x2, float x3, float y0, float y1, float y2,
                       float y3, float x, float* xUpper, float* slope, double* tLower,
                       double* tUpper) {
  auto put = [&](float xu, float s, double lo, double hi) {
    if (xUpper)
      *xUpper = xu;
    if (slope)
      *slope = s;
    if (tLower)
      *tLower = lo;
    if (tUpper)
      *tUpper = hi;
  };
  if (x < x0) {
    put(x0, 0, 0, 0);
    return y0;
  }
  if (x >= x3) {
    put(x3, 0, 1, 1);
    return y3;
  }
  const Cubic c = CubicOf(x0, y0, x1, y1, x2, y2, x3, y3);
  double lo = 0, hi = 1;
  for (int i = 0; i < 8; ++i) {
    const double tm = (lo + hi) / 2;
    const double xm = c.x(tm);
    if (xm < x) {
      lo = tm;
    } else if (xm > x) {
      hi = tm;
    } else {
      lo = tm;
      hi = std::min(tm + 1.0 / 256, 1.0);
      break;
    }
  }
  const double ylo = c.y(lo), yhi = c.y(hi), xlo = c.x(lo), xhi = c.x(hi);
  const double s = xhi == xlo ? 0.0 : (yhi - ylo) / (xhi - xlo);
  put((float)xhi, (float)s, lo, hi);
  return (float)(ylo + (x - xlo) * s);
}

int PIX_CBezierPrep(PIX_IBitmap* dest, float x0, float y0, float x1, float y1, float x2, float y2,
                    float x3, float y3, bool byX, float tol, double* ax, double* bx, double* cx,
                    double* px0, double* ay, double* by, double* cy, double* py0, float* xstart,
                    float* ystart, float* xend, float* yend, double* t0, double* t1) {
  if (!dest || !UsableCurve({x0, y0, x1, y1, x2, y2, x3, y3}))
    return 0;
  if (byX ? x0 > x3 : y0 > y3) {
    std::swap(x0, x3), std::swap(y0, y3);
    std::swap(x1, x2), std::swap(y1, y2);
  }
  const Cubic c = CubicOf(x0, y0, x1, y1, x2, y2, x3, y3);
  *ax = c.ax, *bx = c.bx, *cx = c.cx, *px0 = c.x0;
  *ay = c.ay, *by = c.by, *cy = c.cy, *py0 = c.y0;
  float xs = x0, ys = y0, xe = x3, ye = y3;
  double ts = 0, te = 1;
  // The ends are cut to the bitmap's columns when the curve runs along x; a curve that runs
  // along y is left to the polygon filler's clipping.
  const float width = (float)dest->getWidth();
  if (byX && xs < 0) {
    xs = 0;
    ys = PIX_CBezierYForX(x0, x1, x2, x3, y0, y1, y2, y3, 0, nullptr, nullptr, &ts, nullptr);
  }
  if (byX && xe > width) {
    xe = width;
    ye = PIX_CBezierYForX(x0, x1, x2, x3, y0, y1, y2, y3, width, nullptr, nullptr, nullptr, &te);
  }
  *xstart = xs, *ystart = ys, *xend = xe, *yend = ye, *t0 = ts, *t1 = te;
  if (byX ? xe < xs : ye < ys)
    return 0;
  const double length = std::hypot((double)x1 - x0, (double)y1 - y0) +
                        std::hypot((double)x2 - x1, (double)y2 - y1) +
                        std::hypot((double)x3 - x2, (double)y3 - y2);
  return StepCount(length, te - ts, tol);
}

void PIX_DrawQBezier(PIX_IBitmap* dest, float xstart, float ystart, float xctl, float yctl,
                     float xend, float yend, PIX_Pixel colour, float alpha, int mode, bool aa,
                     float tol) {
  if (!dest || !UsableCurve({xstart, ystart, xctl, yctl, xend, yend}))
    return;
  if (xend < xstart) {
    std::swap(xstart, xend);
    std::swap(ystart, yend);
  }
  double t0 = 0, t1 = 1;
  float xs = xstart, ys = ystart, xe = xend, ye = yend;
  const int width = dest->getWidth();
  if (xs < 0) {
    ys = PIX_QBezierYForX(xstart, xctl, xend, ystart, yctl, yend, 0, &t0);
    xs = 0;
  }
  if (xe >= width) {
    xe = (float)(width - 1);
    ye = PIX_QBezierYForX(xstart, xctl, xend, ystart, yctl, yend, xe, &t1);
  }
  if (xs > xe)
    return;
  const double length = std::hypot((double)xend - xctl, (double)yend - yctl) +
                        std::hypot((double)xctl - xstart, (double)yctl - ystart);
  const int n = StepCount(length, t1 - t0, tol);
  double t = t0;
  float px = xs, py = ys;
  for (int k = 1; k <= n - 1; ++k) {
    t += (t1 - t0) / n;
    const double u = 1 - t;
    const float qx = (float)(xend * t * t + xctl * 2 * t * u + xstart * u * u);
    const float qy = (float)(yend * t * t + yctl * 2 * t * u + ystart * u * u);
    PIX_FloatLine(dest, px, py, qx, qy, colour, alpha, mode, aa);
    px = qx, py = qy;
  }
  PIX_FloatLine(dest, px, py, xe, ye, colour, alpha, mode, aa);
}

void PIX_DrawCBezier(PIX_IBitmap* dest, float x0, float y0, float x1, float y1, float x2, float y2,
                     float x3, float y3, PIX_Pixel colour, float alpha, int mode, bool aa,
                     float tol) {
  double ax, bx, cx, px0, ay, by, cy, py0, t0, t1;
  float xs, ys, xe, ye;
  const int n = PIX_CBezierPrep(dest, x0, y0, x1, y1, x2, y2, x3, y3, true, tol, &ax, &bx, &cx,
                                &px0, &ay, &by, &cy, &py0, &xs, &ys, &xe, &ye, &t0, &t1);
  if (n == 0)
    return;
  const Cubic c{ax, bx, cx, px0, ay, by, cy, py0};
  double t = t0;
  float px = xs, py = ys;
  for (int k = 1; k <= n - 2; ++k) {
    t += (t1 - t0) / n;
    const float qx = (float)c.x(t), qy = (float)c.y(t);
    PIX_FloatLine(dest, px, py, qx, qy, colour, alpha, mode, aa);
    px = qx, py = qy;
  }
  PIX_FloatLine(dest, px, py, xe, ye, colour, alpha, mode, aa);
}

void PIX_FillCBezier(PIX_IBitmap* dest, float x0, float y0, float x1, float y1, float x2, float y2,
                     float x3, float y3, int yfill, PIX_Pixel colour, float alpha, int mode,
                     float tol) {
  FillCubic(dest, x0, y0, x1, y1, x2, y2, x3, y3, yfill, false, colour, alpha, mode, tol);
}

void PIX_FillCBezierX(PIX_IBitmap* dest, float x0, float y0, float x1, float y1, float x2, float y2,
                      float x3, float y3, int xfill, PIX_Pixel colour, float alpha, int mode,
                      float tol) {
  FillCubic(dest, x0, y0, x1, y1, x2, y2, x3, y3, xfill, true, colour, alpha, mode, tol);
}
