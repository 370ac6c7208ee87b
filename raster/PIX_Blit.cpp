#include "raster/PIX_Blit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "raster/PIX_BlitOps.h"
#include "raster/PIX_Limits.h"
#include "raster/PIX_RowKernels.h"
#include "raster/PIX_Sample.h"
#include "raster/PIX_Surface.h"

namespace {

// ---- Plain blits ------------------------------------------------------------------------------

// The rows a plain blit walks, and the order it walks them in.
struct BlitArea {
  unsigned char* d = nullptr;
  ptrdiff_t dstep = 0;
  const unsigned char* s = nullptr;
  ptrdiff_t sstep = 0;
  int w = 0;
  int h = 0;
  bool backwards = false; // pixels right to left
};

// Within one bitmap a blit must give the result of a copy: every source pixel is read before it
// is overwritten. When the destination lies after the source in memory, walk from the highest
// address down (last row first, right to left); otherwise from the lowest up.
BlitArea OrderForOverlap(BlitArea a) {
  const bool down = a.d > a.s;
  if (down == (a.dstep > 0)) {
    a.d += (ptrdiff_t)(a.h - 1) * a.dstep;
    a.s += (ptrdiff_t)(a.h - 1) * a.sstep;
    a.dstep = -a.dstep;
    a.sstep = -a.sstep;
  }
  a.backwards = down;
  return a;
}

template <class Op> void BlitRows(const BlitArea& a, int ia) {
  unsigned char* d = a.d;
  const unsigned char* s = a.s;
  // Locals, so that the row loops need not reread the area through a pointer they may write.
  const int w = a.w, h = a.h;
  const ptrdiff_t dstep = a.dstep, sstep = a.sstep;
  for (int y = 0; y < h; ++y, d += dstep, s += sstep) {
    if (a.backwards) {
      for (int x = w - 1; x >= 0; --x) {
        const unsigned char* sp = s + 4 * x;
        Op::apply(d + 4 * x, sp[1], sp[2], sp[3], sp[0], ia);
      }
    } else {
      for (int x = 0; x < w; ++x) {
        const unsigned char* sp = s + 4 * x;
        Op::apply(d + 4 * x, sp[1], sp[2], sp[3], sp[0], ia);
      }
    }
  }
}

// Fast path of the copy at full weight: one memory copy per row.
void CopyRowsFullWeight(const BlitArea& a) {
  unsigned char* d = a.d;
  const unsigned char* s = a.s;
  for (int y = 0; y < a.h; ++y, d += a.dstep, s += a.sstep)
    std::memmove(d, s, (size_t)a.w * 4);
}

// Fast path of the copy at half weight: the word average of source and destination.
void CopyRowsHalfWeight(const BlitArea& a) {
  unsigned char* d = a.d;
  const unsigned char* s = a.s;
  for (int y = 0; y < a.h; ++y, d += a.dstep, s += a.sstep) {
    auto* dp = reinterpret_cast<PIX_Pixel*>(d);
    auto* sp = reinterpret_cast<const PIX_Pixel*>(s);
    if (a.backwards) {
      for (int x = a.w - 1; x >= 0; --x)
        dp[x] = PIX_WordHalf(dp[x], sp[x]);
    } else {
      for (int x = 0; x < a.w; ++x)
        dp[x] = PIX_WordHalf(dp[x], sp[x]);
    }
  }
}

// Fast paths of the source-alpha copy and of the copy at a weight below full: each row through
// the row kernel that does its writer's arithmetic on several pixels at once. The kernels walk
// left to right, so a blit within one bitmap that must walk right to left keeps the general
// loop. False when the mode and weight have no kernel.
bool BlitRowsWithKernel(const BlitArea& a, int m, int ia) {
  if (a.backwards || ia < 1 || ia > 256)
    return false;
  const PIX_RowKernels& kernels = PIX_FastRowKernels();
  auto eachRow = [&a](auto kernel) {
    unsigned char* d = a.d;
    const unsigned char* s = a.s;
    for (int y = 0; y < a.h; ++y, d += a.dstep, s += a.sstep)
      kernel(reinterpret_cast<PIX_Pixel*>(d), reinterpret_cast<const PIX_Pixel*>(s), a.w);
  };
  if (m == PIX_COMBINE_SOURCEALPHA && ia == 256) {
    eachRow(kernels.sourceAlphaFullWeight);
  } else if (m == PIX_COMBINE_SOURCEALPHA) {
    eachRow(
        [&](PIX_Pixel* d, const PIX_Pixel* s, int n) { kernels.sourceAlphaBlend(d, s, n, ia); });
  } else if (m == PIX_COMBINE_COPY && ia < 256) {
    eachRow([&](PIX_Pixel* d, const PIX_Pixel* s, int n) { kernels.blend(d, s, n, ia); });
  } else {
    return false;
  }
  return true;
}

// One source byte into one destination byte of every pixel.
void CopyChannel(const BlitArea& a, int from, int to) {
  unsigned char* d = a.d;
  const unsigned char* s = a.s;
  for (int y = 0; y < a.h; ++y, d += a.dstep, s += a.sstep) {
    if (a.backwards) {
      for (int x = a.w - 1; x >= 0; --x)
        d[4 * x + to] = s[4 * x + from];
    } else {
      for (int x = 0; x < a.w; ++x)
        d[4 * x + to] = s[4 * x + from];
    }
  }
}

// ---- Scaled blits -----------------------------------------------------------------------------

// A scaled blit's walk: destination rows, source image rows, 16.16 start and steps (held in 64
// bits so that sources of 32768 pixels and more are addressed correctly), and the sampling
// bounds.
struct ScaleArea {
  unsigned char* d = nullptr;
  ptrdiff_t dstep = 0;
  int w = 0;
  int h = 0;
  const unsigned char* s = nullptr; // source image row 0
  ptrdiff_t sstep = 0;
  int64_t cx0 = 0, dx = 0, cy0 = 0, dy = 0;
  int clipR = 0;
  int clipB = 0;
};

template <class Op, bool Bilinear> void ScaleRows(const ScaleArea& area, int ia) {
  const ScaleArea a = area; // a local copy: the loops write through pointers that could alias it
  unsigned char* d = a.d;
  int64_t cy = a.cy0;
  for (int y = 0; y < a.h; ++y, d += a.dstep, cy += a.dy) {
    int64_t cx = a.cx0;
    for (int x = 0; x < a.w; ++x, cx += a.dx) {
      int ch[4];
      if (PIX_SampleSource<Bilinear>(a.s, a.sstep, a.clipR, a.clipB, cx, cy, ch))
        Op::apply(d + 4 * x, ch[1], ch[2], ch[3], ch[0], ia);
    }
  }
}

// The bilinear scale loop with the row's part of the sampling worked out once per row: the
// same samples as PIX_SampleSource, whose rules it follows.
template <class Op> void ScaleRowsBilinear(const ScaleArea& area, int ia) {
  const ScaleArea a = area;
  unsigned char* d = a.d;
  int64_t cy = a.cy0;
  for (int y = 0; y < a.h; ++y, d += a.dstep, cy += a.dy) {
    const int64_t sy = cy >> 16;
    if ((uint64_t)sy >= (uint64_t)a.clipB)
      continue;
    const int fy = (int)(cy & 0xFFFF);
    const bool hasBelow = sy < a.clipB - 1;
    const unsigned char* row = a.s + (ptrdiff_t)sy * a.sstep;
    const ptrdiff_t below = a.sstep;
    int64_t cx = a.cx0;
    for (int x = 0; x < a.w; ++x, cx += a.dx) {
      const int64_t sx = cx >> 16;
      if ((uint64_t)sx >= (uint64_t)a.clipR)
        continue;
      const unsigned char* p00 = row + (ptrdiff_t)sx * 4;
      const int fx = (int)(cx & 0xFFFF);
      const bool hasRight = sx < a.clipR - 1;
      int ch[4];
      if (hasRight && hasBelow) {
        PIX_MixFourNeighbours(p00, below, fx, fy, ch);
      } else if (hasBelow) {
        for (int c = 0; c < 4; ++c)
          ch[c] = (p00[c] * (65536 - fy) + p00[below + c] * fy) >> 16;
      } else if (hasRight) {
        for (int c = 0; c < 4; ++c)
          ch[c] = (p00[c] * (65536 - fx) + p00[c + 4] * fx) >> 16;
      } else {
        ch[0] = p00[0], ch[1] = p00[1], ch[2] = p00[2], ch[3] = p00[3];
      }
      Op::apply(d + 4 * x, ch[1], ch[2], ch[3], ch[0], ia);
    }
  }
}

// The piece of a scale walk that starts at destination column x and row y, w by h pixels.
ScaleArea Part(const ScaleArea& a, int x, int y, int w, int h) {
  ScaleArea p = a;
  p.d += (ptrdiff_t)y * a.dstep + (ptrdiff_t)x * 4;
  p.cx0 += x * a.dx;
  p.cy0 += y * a.dy;
  p.w = w;
  p.h = h;
  return p;
}

// The first of count steps from c by step (not negative) whose 16.16 position reaches limit.
int FirstAtOrPast(int64_t c, int64_t step, int count, int64_t limit) {
  int i = 0;
  while (i < count && c + i * step < limit)
    ++i;
  return i;
}

// Fast path of the bilinear copy at full weight: the row kernel over the interior, where every
// sample has a right and a lower neighbour, and the general loop on the frame around it. Walks
// going right and down only, and at most two source pixels a step, so that the kernel's share
// of the source stays near the pixels it samples. False when there is no such interior.
bool ScaleBilinearCopyWithKernel(const ScaleArea& a) {
  if (a.dx < 0 || a.dy < 0 || a.dx > 2 * 65536)
    return false;
  const int x0 = FirstAtOrPast(a.cx0, a.dx, a.w, 0);
  const int x1 =
      x0 + FirstAtOrPast(a.cx0 + x0 * a.dx, a.dx, a.w - x0, (int64_t)(a.clipR - 1) << 16);
  const int y0 = FirstAtOrPast(a.cy0, a.dy, a.h, 0);
  const int y1 =
      y0 + FirstAtOrPast(a.cy0 + y0 * a.dy, a.dy, a.h - y0, (int64_t)(a.clipB - 1) << 16);
  if (x1 <= x0 || y1 <= y0)
    return false;
  const ScaleArea inner = Part(a, x0, y0, x1 - x0, y1 - y0);
  PIX_BilinearArea k;
  k.d = inner.d;
  k.dstep = inner.dstep;
  k.w = inner.w;
  k.h = inner.h;
  k.s = inner.s;
  k.sstep = inner.sstep;
  k.cx = inner.cx0;
  k.dx = inner.dx;
  k.cy = inner.cy0;
  k.dy = inner.dy;
  PIX_FastRowKernels().bilinearCopy(k);
  for (const ScaleArea& frame : {Part(a, 0, 0, a.w, y0), Part(a, 0, y1, a.w, a.h - y1),
                                 Part(a, 0, y0, x0, y1 - y0), Part(a, x1, y0, a.w - x1, y1 - y0)})
    if (frame.w > 0 && frame.h > 0)
      ScaleRowsBilinear<PIX_CopyOp>(frame, 256);
  return true;
}

// The walk of the nearest word fast paths: put(destination word, source word) for every sample
// inside the sampling bounds.
template <class Put> void ScaleRowsNearestWords(const ScaleArea& a, Put put) {
  unsigned char* d = a.d;
  int64_t cy = a.cy0;
  for (int y = 0; y < a.h; ++y, d += a.dstep, cy += a.dy) {
    const int64_t sy = cy >> 16;
    if ((uint64_t)sy >= (uint64_t)a.clipB)
      continue;
    auto* dp = reinterpret_cast<PIX_Pixel*>(d);
    auto* row = reinterpret_cast<const PIX_Pixel*>(a.s + (ptrdiff_t)sy * a.sstep);
    int64_t cx = a.cx0;
    for (int x = 0; x < a.w; ++x, cx += a.dx) {
      const int64_t sx = cx >> 16;
      if ((uint64_t)sx < (uint64_t)a.clipR)
        put(dp[x], row[sx]);
    }
  }
}

// Fast path of the nearest copy at full weight: source words straight into the destination.
void ScaleRowsNearestFullWeight(const ScaleArea& a) {
  ScaleRowsNearestWords(a, [](PIX_Pixel& d, PIX_Pixel s) { d = s; });
}

// Fast path of the nearest copy at half weight: the word average.
void ScaleRowsNearestHalfWeight(const ScaleArea& a) {
  ScaleRowsNearestWords(a, [](PIX_Pixel& d, PIX_Pixel s) { d = PIX_WordHalf(d, s); });
}

// Shrinking: the plain average of the n x n source pixels around each sample that lie inside
// the sampling bounds.
template <class Op> void ShrinkRows(const ScaleArea& a, int ia, int n) {
  const int half = n / 2;
  unsigned char* d = a.d;
  int64_t cy = a.cy0;
  for (int y = 0; y < a.h; ++y, d += a.dstep, cy += a.dy) {
    const int64_t sy = cy >> 16;
    if ((uint64_t)sy >= (uint64_t)a.clipB)
      continue;
    const int y0 = std::max<int>((int)sy - half, 0),
              y1 = std::min<int>((int)sy + half, a.clipB - 1);
    int64_t cx = a.cx0;
    for (int x = 0; x < a.w; ++x, cx += a.dx) {
      const int64_t sx = cx >> 16;
      if ((uint64_t)sx >= (uint64_t)a.clipR)
        continue;
      const int x0 = std::max<int>((int)sx - half, 0),
                x1 = std::min<int>((int)sx + half, a.clipR - 1);
      int sum[4] = {0, 0, 0, 0};
      for (int yy = y0; yy <= y1; ++yy) {
        const unsigned char* p = a.s + (ptrdiff_t)yy * a.sstep + (ptrdiff_t)x0 * 4;
        for (int xx = x0; xx <= x1; ++xx, p += 4)
          sum[0] += p[0], sum[1] += p[1], sum[2] += p[2], sum[3] += p[3];
      }
      const int count = (y1 - y0 + 1) * (x1 - x0 + 1);
      Op::apply(d + 4 * x, sum[1] / count, sum[2] / count, sum[3] / count, sum[0] / count, ia);
    }
  }
}

// Source coordinates beyond this are refused: their 16.16 values and the products formed from
// them would not be representable (see PIX_Limits.h).
constexpr double kMaxSourceCoord = PIX_kMaxFixedCoord;
constexpr int64_t kMaxFixedStep = int64_t(1) << 31;

bool UsableCoord(float v) {
  return std::isfinite(v) && std::fabs(v) <= kMaxSourceCoord;
}

// Cuts a destination span so that its samples, starting at 16.16 c0 and advancing by step >= 1,
// lie in [0, size): leading samples left of 0 are skipped, trailing ones past the last source
// pixel dropped. A sample anywhere inside the last pixel, up to size - 1/65536, is kept: the
// sampling loop reads that pixel for it. start and count are the destination position and
// length.
void ClipSpanToSource(int64_t& start, int64_t& count, int64_t& c0, int64_t step, int size) {
  if (step < 1)
    return;
  if (c0 < 0) {
    const int64_t n = (step - 1 - c0) / step;
    start += n;
    count -= n;
    c0 += n * step;
  }
  if (count >= 1 && ((count - 1) * step + c0) / 65536 >= size) {
    const int64_t room = (int64_t)size * 65536 - 1 - c0;
    count = room < 0 ? 0 : std::min<int64_t>(count, room / step + 1);
  }
}

} // namespace

void PIX_BlitRect(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, const RECT* srcrect,
                  float alpha, int mode) {
  if (!dest || !src || alpha == 0.0f)
    return;
  const PIX_Surface D = PIX_ImageRows(dest), S = PIX_ImageRows(src);
  if (D.empty() || S.empty())
    return;
  // Clipping in 64 bits: rectangles and points far outside must not overflow.
  int64_t L = 0, T = 0, R = S.width, B = S.height, x = dstx, y = dsty;
  if (srcrect) {
    L = std::max<int64_t>(srcrect->left, 0);
    T = std::max<int64_t>(srcrect->top, 0);
    R = std::min<int64_t>(srcrect->right, S.width);
    B = std::min<int64_t>(srcrect->bottom, S.height);
    if (srcrect->left < 0)
      x -= srcrect->left;
    if (srcrect->top < 0)
      y -= srcrect->top;
  }
  if (x < 0) {
    L -= x;
    x = 0;
  }
  if (y < 0) {
    T -= y;
    y = 0;
  }
  R = std::min<int64_t>(R, D.width - x + L);
  B = std::min<int64_t>(B, D.height - y + T);
  if (R <= L || B <= T)
    return;

  BlitArea a;
  a.d = D.at((int)x, (int)y);
  a.dstep = D.rowStep;
  a.s = S.at((int)L, (int)T);
  a.sstep = S.rowStep;
  a.w = (int)(R - L);
  a.h = (int)(B - T);
  if (dest->getBits() == src->getBits())
    a = OrderForOverlap(a);

  if ((mode & 0xF0) == 0xF0) {
    CopyChannel(a, mode & 3, (mode >> 2) & 3);
    return;
  }
  const int m = mode & 0x100FF;
  if (m == 0 && alpha == 1.0f) {
    CopyRowsFullWeight(a);
    return;
  }
  if (m == 0 && alpha == 0.5f) {
    CopyRowsHalfWeight(a);
    return;
  }
  const int ia = PIX_WeightFromAlpha(alpha);
  if (BlitRowsWithKernel(a, m, ia))
    return;
  PIX_WithModeOp(m, ia, [&](auto op) { BlitRows<decltype(op)>(a, ia); });
}

void PIX_Blit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int srcx, int srcy, int srcw,
              int srch, float alpha, int mode) {
  // The right and bottom edges saturate instead of wrapping for huge sizes.
  const RECT r = {srcx, srcy, (int)std::clamp<int64_t>((int64_t)srcx + srcw, INT32_MIN, INT32_MAX),
                  (int)std::clamp<int64_t>((int64_t)srcy + srch, INT32_MIN, INT32_MAX)};
  PIX_BlitRect(dest, src, dstx, dsty, &r, alpha, mode);
}

void PIX_Copy(PIX_IBitmap* dest, PIX_IBitmap* src) {
  if (!dest || !src)
    return;
  dest->resize(src->getWidth(), src->getHeight());
  PIX_BlitRect(dest, src, 0, 0, nullptr, 1.0f, 0);
}

void PIX_ScaledBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                    float srcx, float srcy, float srcw, float srch, float alpha, int mode) {
  if (!dest || !src || dstw == 0 || dsth == 0 || alpha == 0.0f)
    return;
  if (!UsableCoord(srcx) || !UsableCoord(srcy) || !UsableCoord(srcw) || !UsableCoord(srch))
    return;
  const bool filter = (mode & 0xFF00) == PIX_COMBINE_FILTER;

  // Same size: a plain blit, unless filtering a sub-pixel offset.
  if (std::fabs(srcw - (float)dstw) < 0.001f && std::fabs(srch - (float)dsth) < 0.001f) {
    const bool onPixel = std::fabs(srcx - std::floor(srcx + 0.5f)) <= 0.03f &&
                         std::fabs(srcy - std::floor(srcy + 0.5f)) <= 0.03f;
    if (!filter || onPixel) {
      const int left = (int)(srcx + 0.5f), top = (int)(srcy + 0.5f);
      PIX_Blit(dest, src, dstx, dsty, left, top, dstw, dsth, alpha, mode);
      return;
    }
  }

  const PIX_Surface D = PIX_ImageRows(dest), S = PIX_ImageRows(src);
  if (D.empty() || S.empty())
    return;
  int64_t x = dstx, y = dsty, w = dstw, h = dsth;
  if (w < 0) {
    x += w;
    srcx += srcw;
    srcw = -srcw;
    w = -w;
  }
  if (h < 0) {
    y += h;
    srcy += srch;
    srch = -srch;
    h = -h;
  }
  // Sampling bounds: the right and bottom edges of the source window.
  const double clipR = std::min<double>((double)srcx + std::max(srcw, 0.0f) + 0.999999, S.width);
  const double clipB = std::min<double>((double)srcy + std::max(srch, 0.0f) + 0.999999, S.height);
  if (clipR < 1 || clipB < 1)
    return;

  const float xstep = srcw / (float)w, ystep = srch / (float)h;
  // A mirrored axis walks from the far edge of the window back: its first sample is the pixel
  // one step inside that edge, so the last one lands on the window's first column or row.
  if (xstep < 0)
    srcx += xstep;
  if (ystep < 0)
    srcy += ystep;
  if (x < 0) {
    srcx = (float)((double)srcx + (double)-x * xstep);
    w += x;
    x = 0;
  }
  if (y < 0) {
    srcy = (float)((double)srcy + (double)-y * ystep);
    h += y;
    y = 0;
  }
  if (w < 1 || h < 1 || x >= D.width || y >= D.height)
    return;
  w = std::min<int64_t>(w, D.width - x);
  h = std::min<int64_t>(h, D.height - y);

  int64_t idx = (int64_t)((double)xstep * 65536.0), idy = (int64_t)((double)ystep * 65536.0);
  if (idx > kMaxFixedStep || idx < -kMaxFixedStep || idy > kMaxFixedStep || idy < -kMaxFixedStep)
    return;
  int64_t icx = (int64_t)((double)srcx * 65536.0), icy = (int64_t)((double)srcy * 65536.0);
  ClipSpanToSource(x, w, icx, idx, S.width);
  ClipSpanToSource(y, h, icy, idy, S.height);
  if (w < 1 || h < 1)
    return;

  ScaleArea a;
  a.d = D.at((int)x, (int)y);
  a.dstep = D.rowStep;
  a.w = (int)w;
  a.h = (int)h;
  a.s = S.row0;
  a.sstep = S.rowStep;
  a.cx0 = icx;
  a.dx = idx;
  a.cy0 = icy;
  a.dy = idy;
  a.clipR = (int)clipR;
  a.clipB = (int)clipB;

  const int ia = PIX_WeightFromAlpha(alpha);
  if ((mode & 0x1FFFF) == 0 && ia == 256) {
    ScaleRowsNearestFullWeight(a);
    return;
  }
  if ((mode & 0x1FFFF) == 0 && ia == 128) {
    ScaleRowsNearestHalfWeight(a);
    return;
  }
  const int m = mode & 0x100FF;
  if (filter && xstep >= 1.7f && ystep >= 1.7f) {
    const int n = std::max(idx, idy) <= 0x30000 ? 3 : 5;
    PIX_WithModeOp(m, ia, [&](auto op) { ShrinkRows<decltype(op)>(a, ia, n); });
  } else if (filter) {
    // The kernel reads source rows ahead of the destination rows it writes: within one bitmap
    // the general loop keeps its order.
    if (m == 0 && ia == 256 && dest->getBits() != src->getBits() && ScaleBilinearCopyWithKernel(a))
      return;
    PIX_WithModeOp(m, ia, [&](auto op) { ScaleRowsBilinear<decltype(op)>(a, ia); });
  } else {
    PIX_WithModeOp(m, ia, [&](auto op) { ScaleRows<decltype(op), false>(a, ia); });
  }
}

void PIX_HalveBlit(PIX_IBitmap* dest, PIX_IBitmap* src) {
  const PIX_Surface D = PIX_StoredRows(dest), S = PIX_StoredRows(src);
  if (D.empty() || S.empty())
    return;
  const int w = std::min(D.width, S.width / 2), h = std::min(D.height, S.height / 2);
  for (int y = 0; y < h; ++y) {
    PIX_Pixel* d = D.pixel(0, y);
    const PIX_Pixel* s0 = S.pixel(0, 2 * y);
    const PIX_Pixel* s1 = S.pixel(0, 2 * y + 1);
    for (int x = 0; x < w; ++x)
      d[x] = ((s0[2 * x] >> 2) & 0x3F3F3F3F) + ((s0[2 * x + 1] >> 2) & 0x3F3F3F3F) +
             ((s1[2 * x] >> 2) & 0x3F3F3F3F) + ((s1[2 * x + 1] >> 2) & 0x3F3F3F3F);
  }
}
