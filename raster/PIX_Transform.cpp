#include "raster/PIX_Transform.h"

#include <algorithm>
#include <cmath>

#include "raster/PIX_BilinearPairs.h"
#include "raster/PIX_Limits.h"
#include "raster/PIX_RowKernels.h"
#include "raster/PIX_Sample.h"
#include "raster/PIX_Surface.h"

namespace {

// The opacity along an alpha walk: 16.16 weight units (8 fraction bits more than the weight).
struct AlphaWalk {
  int64_t start = 0, perColumn = 0, perRow = 0, perRowInColumnStep = 0;
  bool active = false;
};

// Coordinates beyond this are refused: their 16.16 forms and the products along a walk would
// not be representable (see PIX_Limits.h).
constexpr double kMaxCoord = double(PIX_kMaxFixedCoord);

bool Usable(double v) {
  return std::isfinite(v) && std::fabs(v) <= kMaxCoord;
}

template <bool Filter>
void Walk(const PIX_Walk& k, int weight, const AlphaWalk& alpha, PIX_PixelWriter writer) {
  unsigned char* drow = k.dst;
  int64_t u0 = k.u, v0 = k.v, du = k.dudx, dv = k.dvdx;
  int64_t a0 = alpha.start, da = alpha.perColumn;
  for (int y = 0; y < k.h; ++y, drow += k.dstStep) {
    int64_t u = u0, v = v0, a = a0;
    unsigned char* d = drow;
    for (int x = 0; x < k.w; ++x, d += 4, u += du, v += dv, a += da) {
      int ch[4];
      if (!PIX_SampleSource<Filter>(k.src, k.srcStep, k.winw, k.winh, u, v, ch))
        continue;
      const int w =
          alpha.active ? (int)std::clamp<int64_t>(a >> 8, -PIX_MaxWeight, PIX_MaxWeight) : weight;
      writer(d, ch[1], ch[2], ch[3], ch[0], w);
    }
    u0 += k.dudy;
    v0 += k.dvdy;
    du += k.ddudy;
    dv += k.ddvdy;
    a0 += alpha.perRow;
    da += alpha.perRowInColumnStep;
  }
}

// The sample at (u, v) as a pixel word, the bilinear interior taken by the multiply-add form;
// false outside the window.
template <bool Filter>
inline bool SampleWord(const PIX_Walk& k, int64_t u, int64_t v, PIX_Pixel& p) {
  const int64_t sx = u >> 16, sy = v >> 16;
  if (Filter && (uint64_t)sx < (uint64_t)(k.winw - 1) && (uint64_t)sy < (uint64_t)(k.winh - 1)) {
    p = MixFourNeighboursByPairs(k.src + sy * k.srcStep + sx * 4, k.srcStep, (int)(u & 0xFFFF),
                                 (int)(v & 0xFFFF));
    return true;
  }
  int ch[4];
  if (!PIX_SampleSource<Filter>(k.src, k.srcStep, k.winw, k.winh, u, v, ch))
    return false;
  p = PIX_MakePixel(ch[1], ch[2], ch[3], ch[0]);
  return true;
}

// Fast path of the walk at a fixed weight for the writers the editors rotate knobs with: the
// same walk with the writer inlined instead of called through the pointer.
template <bool Filter, auto Writer> void WalkWithWriter(const PIX_Walk& k, int weight) {
  unsigned char* drow = k.dst;
  int64_t u0 = k.u, v0 = k.v, du = k.dudx, dv = k.dvdx;
  for (int y = 0; y < k.h; ++y, drow += k.dstStep) {
    int64_t u = u0, v = v0;
    unsigned char* d = drow;
    for (int x = 0; x < k.w; ++x, d += 4, u += du, v += dv) {
      PIX_Pixel p;
      if (SampleWord<Filter>(k, u, v, p))
        Writer(d, PIX_Red(p), PIX_Green(p), PIX_Blue(p), PIX_Alpha(p), weight);
    }
    u0 += k.dudy;
    v0 += k.dvdy;
    du += k.ddudy;
    dv += k.ddvdy;
  }
}

// Fast path of the source-alpha walks: each row's samples gathered first, a sample outside the
// window as a transparent word (which the source-alpha writers leave alone, as the walk leaves
// pixels outside the window), then combined by the row kernel. Reading a row's samples before
// writing any of it needs a source apart from the destination.
template <bool Filter, class Kernel> void WalkThroughRowKernel(const PIX_Walk& k, Kernel kernel) {
  constexpr int kChunk = 256;
  PIX_Pixel samples[kChunk];
  unsigned char* drow = k.dst;
  int64_t u0 = k.u, v0 = k.v, du = k.dudx, dv = k.dvdx;
  for (int y = 0; y < k.h; ++y, drow += k.dstStep) {
    int64_t u = u0, v = v0;
    for (int x0 = 0; x0 < k.w; x0 += kChunk) {
      const int n = std::min(kChunk, k.w - x0);
      for (int i = 0; i < n; ++i, u += du, v += dv)
        if (!SampleWord<Filter>(k, u, v, samples[i]))
          samples[i] = 0;
      kernel(reinterpret_cast<PIX_Pixel*>(drow) + x0, samples, n);
    }
    u0 += k.dudy;
    v0 += k.dvdy;
    du += k.ddudy;
    dv += k.ddvdy;
  }
}

template <bool Filter>
bool WalkSourceAlphaThroughRowKernel(const PIX_Walk& k, int weight, PIX_PixelWriter writer) {
  const PIX_RowKernels& kernels = PIX_FastRowKernels();
  if (writer == PIX_PixelCopySourceAlpha) {
    WalkThroughRowKernel<Filter>(k, kernels.sourceAlphaFullWeight);
    return true;
  }
  if (writer == PIX_PixelBlendSourceAlpha && weight >= 1 && weight <= 255) {
    WalkThroughRowKernel<Filter>(k, [&](PIX_Pixel* d, const PIX_Pixel* s, int n) {
      kernels.sourceAlphaBlend(d, s, n, weight);
    });
    return true;
  }
  return false;
}

// Runs the inlined walk when writer is one of Writers; false otherwise.
template <bool Filter, auto... Writers>
bool WalkWithKnownWriter(const PIX_Walk& k, int weight, PIX_PixelWriter writer) {
  return ((writer == Writers ? (WalkWithWriter<Filter, Writers>(k, weight), true) : false) || ...);
}

template <bool Filter>
void WalkFiltered(const PIX_Walk& k, int weight, const AlphaWalk& alpha, PIX_PixelWriter writer,
                  bool apart) {
  if (!alpha.active) {
    if (apart && WalkSourceAlphaThroughRowKernel<Filter>(k, weight, writer))
      return;
    if (WalkWithKnownWriter<Filter, PIX_PixelCopy, PIX_PixelBlend, PIX_PixelCopySourceAlpha,
                            PIX_PixelBlendSourceAlpha, PIX_PixelAddSourceAlpha>(k, weight, writer))
      return;
  }
  Walk<Filter>(k, weight, alpha, writer);
}

// The bytes from first to last row of an area, rows step bytes apart (negative: upward).
struct ByteRange {
  uintptr_t begin, end;
};

ByteRange RowsSpan(const unsigned char* first, ptrdiff_t step, int rows, int width) {
  const uintptr_t a = (uintptr_t)first, b = (uintptr_t)(first + (ptrdiff_t)(rows - 1) * step);
  return {std::min(a, b), std::max(a, b) + (uintptr_t)width * 4};
}

// True when no source pixel of the window shares memory with the destination area.
bool SourceApart(const PIX_Walk& k) {
  const ByteRange d = RowsSpan(k.dst, k.dstStep, k.h, k.w);
  const ByteRange s = RowsSpan(k.src, k.srcStep, k.winh, k.winw);
  return d.end <= s.begin || s.end <= d.begin;
}

void RunWalk(const PIX_Walk& k, int weight, bool filter, const AlphaWalk& alpha,
             PIX_PixelWriter writer) {
  const bool apart = SourceApart(k);
  if (filter)
    WalkFiltered<true>(k, weight, alpha, writer, apart);
  else
    WalkFiltered<false>(k, weight, alpha, writer, apart);
}

// The writer of mode m (mode & 0x100FF) at weight ia, or null when the mode draws nothing.
PIX_PixelWriter WriterForMode(int m, int ia) {
  if (m == 0)
    return ia == 256 ? PIX_PixelCopy : (ia > 0 ? PIX_PixelBlend : nullptr);
  if (m >= 1 && m <= 5)
    return PIX_PlainWriter(m);
  if (m == 0x10000)
    return ia == 256 ? PIX_PixelCopySourceAlpha : PIX_PixelBlendSourceAlpha;
  if (m > 0x10000 && m <= 0x10005)
    return PIX_SourceAlphaWriter(m - 0x10000);
  return nullptr;
}

// A source walk before clipping, in source pixels: start and first- and second-order steps.
struct Path {
  double u, v;
  double dudx, dvdx, dudy, dvdy;
  double ddudy = 0, ddvdy = 0;
};

// The shared road of the rotated and delta blits from the clipped destination rectangle on:
// window, weight, fixed point and the walk.
void WalkPath(PIX_IBitmap* dest, PIX_IBitmap* src, int64_t dstx, int64_t dsty, int64_t dstw,
              int64_t dsth, Path p, double left, double top, double right, double bottom, int ia,
              AlphaWalk alpha, bool filter, PIX_PixelWriter writer) {
  const PIX_Surface D = PIX_ImageRows(dest), S = PIX_ImageRows(src);
  if (D.empty() || S.empty() || !writer)
    return;
  // A destination edge left of or above the bitmap moves the start as the skipped columns and
  // rows would have; skipped rows also advance the per-column steps, and skipped columns the
  // row start, so the visible part is what the unclipped walk draws there.
  if (dstx < 0) {
    const double n = (double)-dstx;
    p.u += n * p.dudx;
    p.v += n * p.dvdx;
    p.dudy += n * p.ddudy;
    p.dvdy += n * p.ddvdy;
    alpha.start += -dstx * alpha.perColumn;
    alpha.perRow += -dstx * alpha.perRowInColumnStep;
    dstw += dstx;
    dstx = 0;
  }
  if (dsty < 0) {
    const double n = (double)-dsty;
    p.u += n * p.dudy;
    p.v += n * p.dvdy;
    p.dudx += n * p.ddudy;
    p.dvdx += n * p.ddvdy;
    alpha.start += -dsty * alpha.perRow;
    alpha.perColumn += -dsty * alpha.perRowInColumnStep;
    dsth += dsty;
    dsty = 0;
  }
  dstw = std::min<int64_t>(dstw, D.width - dstx);
  dsth = std::min<int64_t>(dsth, D.height - dsty);
  if (dstw < 1 || dsth < 1)
    return;
  const int l = (int)left, t = (int)top;
  const int width = (int)right - l, height = (int)bottom - t;
  if (width <= 0 || height <= 0)
    return;
  p.u -= l;
  p.v -= t;
  const double all[] = {p.u, p.v, p.dudx, p.dvdx, p.dudy, p.dvdy, p.ddudy, p.ddvdy};
  for (double v : all)
    if (!Usable(v))
      return;
  auto fixed = [](double v) { return (int64_t)(v * 65536.0); };
  PIX_Walk k;
  k.dst = D.at((int)dstx, (int)dsty);
  k.dstStep = D.rowStep;
  k.src = S.at(l, t);
  k.srcStep = S.rowStep;
  k.w = (int)dstw;
  k.h = (int)dsth;
  k.u = fixed(p.u), k.v = fixed(p.v);
  k.dudx = fixed(p.dudx), k.dvdx = fixed(p.dvdx);
  k.dudy = fixed(p.dudy), k.dvdy = fixed(p.dvdy);
  k.ddudy = fixed(p.ddudy), k.ddvdy = fixed(p.ddvdy);
  k.winw = width;
  k.winh = height;
  RunWalk(k, ia, filter, alpha, writer);
}

// The source window of step 2 of the rotated and delta blits.
void SourceWindow(PIX_IBitmap* src, bool clip, double srcx, double srcy, double srcw, double srch,
                  double& l, double& t, double& r, double& b) {
  l = 0, t = 0, r = src->getWidth(), b = src->getHeight();
  if (clip) {
    l = std::max(srcx, 0.0);
    t = std::max(srcy, 0.0);
    r = std::min(srcx + srcw, r);
    b = std::min(srcy + srch, b);
  }
}

bool UsableInputs(std::initializer_list<double> values) {
  for (double v : values)
    if (!Usable(v))
      return false;
  return true;
}

void DeltaBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
               float srcx, float srcy, float srcw, float srch, double dsdx, double dtdx,
               double dsdy, double dtdy, double dsdxdy, double dtdxdy, bool clip, float alpha,
               int mode, const AlphaWalk* alphaWalk) {
  if (!dest || !src || dstw == 0 || dsth == 0)
    return;
  if (!UsableInputs({srcx, srcy, srcw, srch, dsdx, dtdx, dsdy, dtdy, dsdxdy, dtdxdy}))
    return;
  double l, t, r, b;
  SourceWindow(src, clip, srcx, srcy, srcw, srch, l, t, r, b);
  int64_t x = dstx, y = dsty, w = dstw, h = dsth;
  if (w < 0) {
    x += w, srcx += srcw, srcw = -srcw, w = -w;
  }
  if (h < 0) {
    y += h, srcy += srch, srch = -srch, h = -h;
  }
  Path p{srcx, srcy, dsdx, dtdx, dsdy, dtdy, dsdxdy, dtdxdy};
  if (alphaWalk) {
    const int op = mode & 0xFF;
    if (op > 5)
      return;
    WalkPath(dest, src, x, y, w, h, p, l, t, r, b, 0, *alphaWalk,
             (mode & 0xFF00) == PIX_COMBINE_FILTER, PIX_ClampedWriters[op]);
    return;
  }
  const int ia = PIX_WeightFromAlpha(alpha);
  if (ia == 0)
    return;
  WalkPath(dest, src, x, y, w, h, p, l, t, r, b, ia, AlphaWalk{},
           (mode & 0xFF00) == PIX_COMBINE_FILTER, WriterForMode(mode & 0x100FF, ia));
}

// The mesh road: one delta blit per cell, P00 the start, the edges' differences the steps.
template <class Point, class Blit>
void Mesh(int x, int y, int w, int h, int across, int down, Point point, Blit blit) {
  const float cw = (float)w / (float)(across - 1), ch = (float)h / (float)(down - 1);
  double ey = y;
  int top = y;
  for (int j = 0; j + 1 < down; ++j) {
    ey += ch;
    const int bottom = (int)(ey + 0.5);
    double ex = x;
    int left = x;
    for (int i = 0; i + 1 < across; ++i) {
      ex += cw;
      const int right = (int)(ex + 0.5);
      const int cellw = right - left, cellh = bottom - top;
      if (cellw != 0 && cellh != 0)
        blit(left, top, cellw, cellh, point(i, j), point(i + 1, j), point(i, j + 1),
             point(i + 1, j + 1));
      left = right;
    }
    top = bottom;
  }
}

struct MeshPoint {
  double x, y, a;
};

void MeshCell(PIX_IBitmap* dest, PIX_IBitmap* src, int left, int top, int cw, int ch,
              const MeshPoint& p00, const MeshPoint& p10, const MeshPoint& p01,
              const MeshPoint& p11, int mode, float alpha, bool withAlpha) {
  const double area = (double)cw * ch;
  const double dsdx = (p10.x - p00.x) / cw, dtdx = (p10.y - p00.y) / cw;
  const double dsdy = (p01.x - p00.x) / ch, dtdy = (p01.y - p00.y) / ch;
  const double dsdxdy = ((p11.x - p01.x) - (p10.x - p00.x)) / area;
  const double dtdxdy = ((p11.y - p01.y) - (p10.y - p00.y)) / area;
  if (!withAlpha) {
    PIX_AffineDeltaBlit(dest, src, left, top, cw, ch, (float)p00.x, (float)p00.y, 0, 0, dsdx, dtdx,
                        dsdy, dtdy, dsdxdy, dtdxdy, false, alpha, mode);
    return;
  }
  const double dadx = (p10.a - p00.a) / cw, dady = (p01.a - p00.a) / ch;
  const double dadxdy = ((p11.a - p01.a) - (p10.a - p00.a)) / area;
  PIX_AffineDeltaBlitAlpha(dest, src, left, top, cw, ch, (float)p00.x, (float)p00.y, 0, 0, dsdx,
                           dtdx, dsdy, dtdy, dsdxdy, dtdxdy, false, (float)p00.a, mode, dadx, dady,
                           dadxdy);
}

bool MeshUsable(PIX_IBitmap* dest, PIX_IBitmap* src, int w, int h, const void* points, int across,
                int down) {
  return dest && src && points && w >= 1 && h >= 1 && across >= 2 && down >= 2 &&
         (int64_t)across * down <= (int64_t)1 << 24;
}

} // namespace

void PIX_TransformWalker(const PIX_Walk& walk, int weight, bool filter, PIX_PixelWriter writer) {
  if (!writer || !walk.dst || !walk.src)
    return;
  RunWalk(walk, weight, filter, AlphaWalk{}, writer);
}

void PIX_RotatedBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                     float srcx, float srcy, float srcw, float srch, float angle,
                     bool cliptosourcerect, float alpha, int mode, float rotxcent, float rotycent) {
  if (!dest || !src || dstw == 0 || dsth == 0)
    return;
  if (!UsableInputs({srcx, srcy, srcw, srch, rotxcent, rotycent}) || !std::isfinite(angle))
    return;
  double l, t, r, b;
  SourceWindow(src, cliptosourcerect, srcx, srcy, srcw, srch, l, t, r, b);
  int64_t x = dstx, y = dsty, w = dstw, h = dsth;
  const bool mirrorX = w < 0, mirrorY = h < 0;
  if (mirrorX) {
    x += w, srcx += srcw, srcw = -srcw, w = -w;
  }
  if (mirrorY) {
    y += h, srcy += srch, srch = -srch, h = -h;
  }
  const float xsc = srcw / (float)w, ysc = srch / (float)h;
  const double c = std::cos((double)angle), s = std::sin((double)angle);
  Path p;
  p.dudx = c * xsc;
  p.dvdx = -s * ysc;
  p.dudy = s * xsc;
  p.dvdy = c * ysc;
  p.u = srcx - (((double)w * c * xsc + (double)h * s * xsc - srcw) * 0.5 - rotxcent);
  p.v = srcy - (((double)h * c * ysc - (double)w * s * ysc - srch) * 0.5 - rotycent);
  // A mirrored axis samples each destination pixel at its far edge, one step on: from the near
  // edge the first column would sample one pixel past the source and the last never reach it.
  if (mirrorX)
    p.u += p.dudx, p.v += p.dvdx;
  if (mirrorY)
    p.u += p.dudy, p.v += p.dvdy;
  const int ia = PIX_WeightFromAlpha(alpha);
  if (ia == 0)
    return;
  WalkPath(dest, src, x, y, w, h, p, l, t, r, b, ia, AlphaWalk{},
           (mode & 0xFF00) == PIX_COMBINE_FILTER, WriterForMode(mode & 0x100FF, ia));
}

void PIX_AffineDeltaBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw,
                         int dsth, float srcx, float srcy, float srcw, float srch, double dsdx,
                         double dtdx, double dsdy, double dtdy, double dsdxdy, double dtdxdy,
                         bool cliptosourcerect, float alpha, int mode) {
  DeltaBlit(dest, src, dstx, dsty, dstw, dsth, srcx, srcy, srcw, srch, dsdx, dtdx, dsdy, dtdy,
            dsdxdy, dtdxdy, cliptosourcerect, alpha, mode, nullptr);
}

void PIX_AffineDeltaBlitAlpha(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw,
                              int dsth, float srcx, float srcy, float srcw, float srch, double dsdx,
                              double dtdx, double dsdy, double dtdy, double dsdxdy, double dtdxdy,
                              bool cliptosourcerect, float alpha, int mode, double dadx,
                              double dady, double dadxdy) {
  if (!UsableInputs({alpha, dadx, dady, dadxdy}))
    return;
  // The running opacity in weight units with 8 more fraction bits: 1.0 is 65536.
  AlphaWalk a;
  a.active = true;
  a.start = (int64_t)((double)alpha * 65536.0);
  a.perColumn = (int64_t)(dadx * 65536.0);
  a.perRow = (int64_t)(dady * 65536.0);
  a.perRowInColumnStep = (int64_t)(dadxdy * 65536.0);
  if (a.start == 0 && a.perColumn == 0 && a.perRow == 0 && a.perRowInColumnStep == 0)
    return;
  DeltaBlit(dest, src, dstx, dsty, dstw, dsth, srcx, srcy, srcw, srch, dsdx, dtdx, dsdy, dtdy,
            dsdxdy, dtdxdy, cliptosourcerect, alpha, mode, &a);
}

void PIX_MeshBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int x, int y, int w, int h,
                  const float* points, int across, int down, int mode, float alpha) {
  if (!MeshUsable(dest, src, w, h, points, across, down))
    return;
  auto point = [&](int i, int j) {
    const float* p = points + 2 * ((size_t)j * across + i);
    return MeshPoint{p[0], p[1], 0};
  };
  Mesh(x, y, w, h, across, down, point,
       [&](int l, int t, int cw, int ch, auto a, auto b, auto c, auto d) {
         MeshCell(dest, src, l, t, cw, ch, a, b, c, d, mode, alpha, false);
       });
}

void PIX_MeshBlitDouble(PIX_IBitmap* dest, PIX_IBitmap* src, int x, int y, int w, int h,
                        const double* points, int across, int down, int mode, float alpha) {
  if (!MeshUsable(dest, src, w, h, points, across, down))
    return;
  auto point = [&](int i, int j) {
    const double* p = points + 2 * ((size_t)j * across + i);
    return MeshPoint{p[0], p[1], 0};
  };
  Mesh(x, y, w, h, across, down, point,
       [&](int l, int t, int cw, int ch, auto a, auto b, auto c, auto d) {
         MeshCell(dest, src, l, t, cw, ch, a, b, c, d, mode, alpha, false);
       });
}

void PIX_MeshBlitAlpha(PIX_IBitmap* dest, PIX_IBitmap* src, int x, int y, int w, int h,
                       const double* points, int across, int down, int mode, float alpha) {
  if (!MeshUsable(dest, src, w, h, points, across, down))
    return;
  auto point = [&](int i, int j) {
    const double* p = points + 3 * ((size_t)j * across + i);
    return MeshPoint{p[0], p[1], p[2] * alpha};
  };
  Mesh(x, y, w, h, across, down, point,
       [&](int l, int t, int cw, int ch, auto a, auto b, auto c, auto d) {
         MeshCell(dest, src, l, t, cw, ch, a, b, c, d, mode, alpha, true);
       });
}
