#include "raster/PIX_Fill.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "raster/PIX_Combine.h"
#include "raster/PIX_RowKernels.h"
#include "raster/PIX_Surface.h"

namespace {

// (x, y, w, h) cut to the bitmap; false when nothing is left. Worked in 64 bits so that far-out
// rectangles cannot overflow.
struct Area {
  int x = 0, y = 0, w = 0, h = 0;
};

bool ClipArea(const PIX_Surface& s, int x, int y, int w, int h, Area& a) {
  int64_t x0 = x, y0 = y, x1 = (int64_t)x + w, y1 = (int64_t)y + h;
  x0 = std::max<int64_t>(x0, 0);
  y0 = std::max<int64_t>(y0, 0);
  x1 = std::min<int64_t>(x1, s.width);
  y1 = std::min<int64_t>(y1, s.height);
  if (x1 <= x0 || y1 <= y0)
    return false;
  a = Area{(int)x0, (int)y0, (int)(x1 - x0), (int)(y1 - y0)};
  return true;
}

template <class WordOp> void FillWords(const PIX_Surface& s, const Area& a, WordOp op) {
  for (int y = 0; y < a.h; ++y) {
    PIX_Pixel* p = s.pixel(a.x, a.y + y);
    for (int x = 0; x < a.w; ++x)
      p[x] = op(p[x]);
  }
}

// One row loop per mode, each calling its writer directly.
template <auto Writer>
void FillWithWriter(const PIX_Surface& s, const Area& a, int r, int g, int b, int av, int ia) {
  for (int y = 0; y < a.h; ++y) {
    unsigned char* p = s.at(a.x, a.y + y);
    for (int x = 0; x < a.w; ++x, p += 4)
      Writer(p, r, g, b, av, ia);
  }
}

// The copy blend of a fill on whole words: each byte blended toward the colour (the alpha byte
// toward the weight), the same arithmetic as PIX_PixelBlend in a form the compiler can widen.
void FillBlendWords(const PIX_Surface& s, const Area& a, int r, int g, int b, int ia) {
  const int keep = 256 - ia;
  const int src[4] = {ia, r, g, b};
  const int w = a.w, h = a.h;
  for (int y = 0; y < h; ++y) {
    PIX_Pixel* p = s.pixel(a.x, a.y + y);
    for (int x = 0; x < w; ++x) {
      const PIX_Pixel d = p[x];
      PIX_Pixel out = 0;
      for (int c = 0; c < 4; ++c) {
        const int dc = (int)((d >> (8 * c)) & 0xFF);
        out |= (PIX_Pixel)((src[c] + ((dc - src[c]) * keep) / 256) & 0xFF) << (8 * c);
      }
      p[x] = out;
    }
  }
}

// Each row of the area through a row kernel.
template <class Kernel>
void FillRowsWithKernel(const PIX_Surface& s, const Area& a, Kernel kernel) {
  for (int y = 0; y < a.h; ++y)
    kernel(s.pixel(a.x, a.y + y), a.w);
}

void FillWithMode(const PIX_Surface& s, const Area& a, int op, int r, int g, int b, int ia) {
  switch (op) {
  case 0:
    // Fast path of the blend at weights below full: the row kernel, toward the colour with the
    // weight in its alpha byte.
    if (ia <= 255) {
      const PIX_Pixel c = PIX_MakePixel(r, g, b, ia);
      const PIX_RowKernels& kernels = PIX_FastRowKernels();
      FillRowsWithKernel(s, a, [&](PIX_Pixel* p, int n) { kernels.blendToColour(p, n, c, ia); });
    } else {
      FillBlendWords(s, a, r, g, b, ia);
    }
    break;
  case 1:
    FillWithWriter<PIX_PixelAdd>(s, a, r, g, b, ia, ia);
    break;
  case 2:
    FillWithWriter<PIX_PixelDodge>(s, a, r, g, b, ia, ia);
    break;
  case 3:
    FillWithWriter<PIX_PixelMultiply>(s, a, r, g, b, ia, ia);
    break;
  case 4:
    FillWithWriter<PIX_PixelOverlay>(s, a, r, g, b, ia, ia);
    break;
  case 5:
    FillWithWriter<PIX_HSVAdjustPixel>(s, a, r, g, b, ia, ia);
    break;
  default:
    break;
  }
}

// The copy-mode word forms at the weights that have one; false for other weights.
bool CopyWordForWeight(int ia, PIX_Pixel c, PIX_Pixel& p) {
  switch (ia) {
  case 256:
    p = c;
    return true;
  case 192:
    p = PIX_WordThreeQuarter(p, c);
    return true;
  case 128:
    p = PIX_WordHalf(p, c);
    return true;
  case 64:
    p = PIX_WordQuarter(p, c);
    return true;
  default:
    return false;
  }
}

// Values of the no-caller helpers beyond this are refused: their fixed-point forms would
// overflow.
bool UsableFactor(float v, float limit) {
  return std::isfinite(v) && std::fabs(v) <= limit;
}

// One blurred row: centre 1/2, each neighbour 1/8; a neighbour outside the area is replaced by
// its opposite counted twice (1/4). up or down is null on the first or last row.
void BlurRow(PIX_Pixel* out, const PIX_Pixel* up, const PIX_Pixel* mid, const PIX_Pixel* down,
             int w) {
  auto eighth = [](PIX_Pixel n) { return (n >> 3) & 0x1F1F1F1F; };
  auto quarter = [](PIX_Pixel n) { return (n >> 2) & 0x3F3F3F3F; };
  for (int x = 0; x < w; ++x) {
    PIX_Pixel sum = (mid[x] >> 1) & 0x7F7F7F7F;
    if (x == 0)
      sum += quarter(mid[1]);
    else if (x == w - 1)
      sum += quarter(mid[w - 2]);
    else
      sum += eighth(mid[x - 1]) + eighth(mid[x + 1]);
    if (!up)
      sum += quarter(down[x]);
    else if (!down)
      sum += quarter(up[x]);
    else
      sum += eighth(up[x]) + eighth(down[x]);
    out[x] = sum;
  }
}

} // namespace

void PIX_FillRect(PIX_IBitmap* dest, int x, int y, int w, int h, PIX_Pixel colour, float alpha,
                  int mode) {
  const PIX_Surface s = PIX_ImageRows(dest);
  if (s.empty())
    return;
  if (mode & PIX_COMBINE_SOURCEALPHA)
    alpha = (float)(alpha * ((colour & 0xFF) / 255.0));
  Area a;
  if (!ClipArea(s, x, y, w, h, a) || alpha == 0.0f)
    return;
  const int ia = PIX_WeightFromAlpha(alpha);
  const int r = PIX_Red(colour), g = PIX_Green(colour), b = PIX_Blue(colour);
  const int op = mode & 0xFF;
  if (op == PIX_COMBINE_COPY) {
    // Fast paths of the copy at full, three-quarter, half and quarter weight: whole words.
    switch (ia) {
    case 256: {
      const PIX_RowKernels& kernels = PIX_FastRowKernels();
      FillRowsWithKernel(s, a, [&](PIX_Pixel* p, int n) { kernels.fill(p, n, colour); });
      return;
    }
    case 192:
      FillWords(s, a, [colour](PIX_Pixel p) { return PIX_WordThreeQuarter(p, colour); });
      return;
    case 128:
      FillWords(s, a, [colour](PIX_Pixel p) { return PIX_WordHalf(p, colour); });
      return;
    case 64:
      FillWords(s, a, [colour](PIX_Pixel p) { return PIX_WordQuarter(p, colour); });
      return;
    default:
      break;
    }
    if (ia >= 1)
      FillWithMode(s, a, 0, r, g, b, ia);
    return;
  }
  if (op > 5 || ia == 0)
    return;
  // The alpha byte of a fill is combined with the weight itself, not with the colour's A.
  FillWithMode(s, a, op, r, g, b, ia);
}

void PIX_ClearRect(PIX_IBitmap* dest, int x, int y, int w, int h, PIX_Pixel mask,
                   PIX_Pixel orbits) {
  const PIX_Surface s = PIX_ImageRows(dest);
  Area a;
  if (s.empty() || !ClipArea(s, x, y, w, h, a))
    return;
  FillWords(s, a, [mask, orbits](PIX_Pixel p) { return (p & mask) | orbits; });
}

void PIX_Clear(PIX_IBitmap* dest, PIX_Pixel colour) {
  const PIX_Surface s = PIX_StoredRows(dest);
  if (s.empty())
    return;
  FillWords(s, Area{0, 0, s.width, s.height}, [colour](PIX_Pixel) { return colour; });
}

PIX_Pixel PIX_GetPixel(PIX_IBitmap* bitmap, int x, int y) {
  const PIX_Surface s = PIX_ImageRows(bitmap);
  if (s.empty() || x < 0 || y < 0 || x >= s.width || y >= s.height)
    return 0;
  return *s.pixel(x, y);
}

void PIX_PutPixel(PIX_IBitmap* dest, int x, int y, PIX_Pixel colour, float alpha, int mode) {
  const PIX_Surface s = PIX_ImageRows(dest);
  if (s.empty() || x < 0 || y < 0 || x >= s.width || y >= s.height)
    return;
  const int ia = PIX_WeightFromAlpha(alpha);
  const int op = mode & 0xFF;
  PIX_Pixel* p = s.pixel(x, y);
  const int r = PIX_Red(colour), g = PIX_Green(colour), b = PIX_Blue(colour);
  if (op == PIX_COMBINE_COPY) {
    if (CopyWordForWeight(ia, colour, *p) || ia <= 0)
      return;
    PIX_PixelBlend(reinterpret_cast<unsigned char*>(p), r, g, b, PIX_Alpha(colour), ia);
    return;
  }
  if (op > 5 || ia == 0)
    return;
  PIX_PlainWriter(op)(reinterpret_cast<unsigned char*>(p), r, g, b, PIX_Alpha(colour), ia);
}

void PIX_DrawCoverageMask(PIX_IBitmap* dest, int x, int y, PIX_Pixel colour,
                          const unsigned char* coverage, int w, int h, float alpha, int mode) {
  PIX_DrawCoverageMaskSpan(dest, x, y, colour, coverage, w, w, h, alpha, mode);
}

void PIX_DrawCoverageMaskSpan(PIX_IBitmap* dest, int x, int y, PIX_Pixel colour,
                              const unsigned char* coverage, int w, int span, int h, float alpha,
                              int mode) {
  const PIX_Surface s = PIX_ImageRows(dest);
  // Mask rows shorter than the mask is wide would read rows out of order or before the mask.
  if (s.empty() || !coverage || w < 1 || h < 1 || span < w || x <= -w || y <= -h)
    return;
  int64_t mx = 0, my = 0, dx = x, dy = y, cw = w, chh = h;
  if (dx < 0) {
    mx = -dx;
    cw += dx;
    dx = 0;
  }
  if (dy < 0) {
    my = -dy;
    chh += dy;
    dy = 0;
  }
  cw = std::min<int64_t>(cw, s.width - dx);
  chh = std::min<int64_t>(chh, s.height - dy);
  if (cw < 1 || chh < 1)
    return;
  const int ia = PIX_WeightFromAlpha(alpha);
  const int op = mode & 0xFF;
  if (ia == 0 || op > 5)
    return;
  const PIX_PixelWriter writer = PIX_PlainWriter(op);
  const int r = PIX_Red(colour), g = PIX_Green(colour), b = PIX_Blue(colour),
            ca = PIX_Alpha(colour);
  for (int64_t row = 0; row < chh; ++row) {
    const unsigned char* m = coverage + (my + row) * span + mx;
    unsigned char* p = s.at((int)dx, (int)(dy + row));
    for (int64_t col = 0; col < cw; ++col, p += 4)
      if (m[col])
        writer(p, r, g, b, ca, (m[col] * ia) / 256);
  }
}

void PIX_Blur(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int srcx, int srcy, int w,
              int h) {
  const PIX_Surface D = PIX_ImageRows(dest), S = PIX_ImageRows(src);
  if (D.empty() || S.empty())
    return;
  const int64_t ox = std::max(dstx, 0), oy = std::max(dsty, 0);
  const int64_t left = (int64_t)std::max(srcx, 0) + std::max<int64_t>(-(int64_t)dstx, 0);
  const int64_t top = (int64_t)std::max(srcy, 0) + std::max<int64_t>(-(int64_t)dsty, 0);
  int64_t right = std::min<int64_t>((int64_t)srcx + w, S.width);
  int64_t bottom = std::min<int64_t>((int64_t)srcy + h, S.height);
  right = std::min<int64_t>(right, left + D.width - ox);
  bottom = std::min<int64_t>(bottom, top + D.height - oy);
  if (right - left < 2 || bottom - top < 2)
    return;
  const int aw = (int)(right - left), ah = (int)(bottom - top);

  // Within one bitmap the rows are walked away from the rows still to be read (downward when
  // the output lies at or above the source, upward otherwise), and the two source rows that the
  // output row may overwrite, the current and the one behind, are read from a scratch copy.
  const bool same = dest->getBits() == src->getBits();
  PIX_Pixel stackRows[2 * 1024];
  PIX_Pixel* scratch = stackRows;
  if (same && aw > 1024) {
    scratch = static_cast<PIX_Pixel*>(std::malloc(sizeof(PIX_Pixel) * 2 * (size_t)aw));
    if (!scratch)
      return;
  }
  PIX_Pixel* behind = scratch;
  PIX_Pixel* current = scratch + aw;
  const bool upward = same && oy > top;
  const int step = upward ? -1 : 1;
  auto srcRow = [&](int i) { return S.pixel((int)left, (int)top + i); };
  for (int n = 0; n < ah; ++n) {
    const int i = upward ? ah - 1 - n : n;
    const PIX_Pixel* mid = srcRow(i);
    const PIX_Pixel* back = n == 0 ? nullptr : srcRow(i - step);
    const PIX_Pixel* ahead = n == ah - 1 ? nullptr : srcRow(i + step);
    if (same) {
      std::swap(behind, current);
      std::memcpy(current, mid, sizeof(PIX_Pixel) * aw);
      mid = current;
      if (back)
        back = behind;
    }
    const PIX_Pixel* up = upward ? ahead : back;
    const PIX_Pixel* down = upward ? back : ahead;
    BlurRow(D.pixel((int)ox, (int)oy + i), up, mid, down, aw);
  }
  if (scratch != stackRows)
    std::free(scratch);
}

void PIX_GradientFillRect(PIX_IBitmap* dest, int x, int y, int w, int h, float r, float g, float b,
                          float a, float drdx, float dgdx, float dbdx, float dadx, float drdy,
                          float dgdy, float dbdy, float dady, int mode) {
  const PIX_Surface s = PIX_ImageRows(dest);
  if (s.empty())
    return;
  const float values[12] = {r, g, b, a, drdx, dgdx, dbdx, dadx, drdy, dgdy, dbdy, dady};
  for (float v : values)
    if (!UsableFactor(v, 1024.0f))
      return;
  const int op = mode & 0xFF;
  if (op > 5)
    return;
  // 16.16 per channel: R, G, B on 0-255, A on 0-256. Held in 64 bits along the walk.
  auto fixed = [](float v, double scale) { return (int64_t)((double)v * scale * 65536.0); };
  int64_t start[4] = {fixed(r, 255.0), fixed(g, 255.0), fixed(b, 255.0), fixed(a, 256.0)};
  const int64_t perCol[4] = {fixed(drdx, 255.0), fixed(dgdx, 255.0), fixed(dbdx, 255.0),
                             fixed(dadx, 256.0)};
  const int64_t perRow[4] = {fixed(drdy, 255.0), fixed(dgdy, 255.0), fixed(dbdy, 255.0),
                             fixed(dady, 256.0)};
  Area area;
  if (!ClipArea(s, x, y, w, h, area))
    return;
  const int64_t skipX = (int64_t)area.x - x, skipY = (int64_t)area.y - y;
  for (int c = 0; c < 4; ++c)
    start[c] += skipX * perCol[c] + skipY * perRow[c];
  auto channel = [](int64_t v) { return PIX_Clamp255((int)std::clamp<int64_t>(v >> 16, -1, 256)); };
  for (int row = 0; row < area.h; ++row) {
    int64_t v[4] = {start[0], start[1], start[2], start[3]};
    unsigned char* p = s.at(area.x, area.y + row);
    for (int col = 0; col < area.w; ++col, p += 4) {
      const int cr = channel(v[0]), cg = channel(v[1]), cb = channel(v[2]), ca = channel(v[3]);
      if (op == PIX_COMBINE_COPY && !(mode & PIX_COMBINE_SOURCEALPHA))
        PIX_PixelCopy(p, cr, cg, cb, ca, 256); // the gradient's own channels, A included
      else if (op == PIX_COMBINE_COPY)
        PIX_PixelBlend(p, cr, cg, cb, ca, ca); // weighted by the gradient's alpha
      else
        PIX_PlainWriter(op)(p, cr, cg, cb, ca, ca);
      for (int c = 0; c < 4; ++c)
        v[c] += perCol[c];
    }
    for (int c = 0; c < 4; ++c)
      start[c] += perRow[c];
  }
}

void PIX_ScaleOffsetRect(PIX_IBitmap* dest, int x, int y, int w, int h, float rscale, float gscale,
                         float bscale, float ascale, float radd, float gadd, float badd,
                         float aadd) {
  const PIX_Surface s = PIX_ImageRows(dest);
  Area a;
  if (s.empty() || !ClipArea(s, x, y, w, h, a))
    return;
  const float factors[8] = {ascale, rscale, gscale, bscale, aadd, radd, gadd, badd};
  for (float f : factors)
    if (!UsableFactor(f, 1 << 20))
      return;
  // Bytes in memory order A, R, G, B.
  const int64_t scale[4] = {(int64_t)(ascale * 256.0), (int64_t)(rscale * 256.0),
                            (int64_t)(gscale * 256.0), (int64_t)(bscale * 256.0)};
  const int64_t add[4] = {(int64_t)(aadd * 256.0), (int64_t)(radd * 256.0), (int64_t)(gadd * 256.0),
                          (int64_t)(badd * 256.0)};
  for (int row = 0; row < a.h; ++row) {
    unsigned char* p = s.at(a.x, a.y + row);
    for (int col = 0; col < a.w; ++col, p += 4)
      for (int c = 0; c < 4; ++c)
        p[c] = (unsigned char)std::clamp<int64_t>((p[c] * scale[c] + add[c]) >> 8, 0, 255);
  }
}

void PIX_ForEachPixelInRect(PIX_IBitmap* dest, int x, int y, int w, int h,
                            PIX_PixelCallback callback, void* parameter) {
  const PIX_Surface s = PIX_ImageRows(dest);
  Area a;
  if (s.empty() || !callback || !ClipArea(s, x, y, w, h, a))
    return;
  for (int row = 0; row < a.h; ++row) {
    PIX_Pixel* p = s.pixel(a.x, a.y + row);
    for (int col = 0; col < a.w; ++col)
      callback(p + col, parameter);
  }
}

void PIX_AlphaFromColorKey(PIX_IBitmap* dest, PIX_Pixel key) {
  const PIX_Surface s = PIX_StoredRows(dest);
  if (s.empty())
    return;
  FillWords(s, Area{0, 0, s.width, s.height}, [key](PIX_Pixel p) {
    return (p & 0xFFFFFF00u) | ((p & 0xFFFFFF00u) == key ? 0u : 255u);
  });
}

void PIX_SpanFloodFill(PIX_IBitmap* dest, int x, int y, PIX_Pixel orbits, PIX_Pixel comparemask,
                       PIX_Pixel keepmask) {
  const PIX_Surface s = PIX_StoredRows(dest);
  if (s.empty() || x < 0 || y < 0 || x >= s.width || y >= s.height)
    return;
  const PIX_Pixel key = *s.pixel(x, y) & comparemask;
  auto matches = [&](PIX_Pixel p) { return (p & comparemask) == key; };
  auto fillRow = [&](int row) {
    PIX_Pixel* p = s.pixel(0, row);
    if (!matches(p[x]))
      return false;
    p[x] = (p[x] & keepmask) | orbits;
    for (int i = x + 1; i < s.width && matches(p[i]); ++i)
      p[i] = (p[i] & keepmask) | orbits;
    for (int i = x - 1; i >= 0 && matches(p[i]); --i)
      p[i] = (p[i] & keepmask) | orbits;
    return true;
  };
  for (int row = y; row < s.height && fillRow(row); ++row) {
  }
  for (int row = y - 1; row >= 0 && fillRow(row); --row) {
  }
}

int PIX_CompareBitmaps(PIX_IBitmap* a, PIX_IBitmap* b, RECT* out) {
  return PIX_CompareBitmapsMasked(a, b, 0xFFFFFFFFu, out);
}

int PIX_CompareBitmapsMasked(PIX_IBitmap* a, PIX_IBitmap* b, PIX_Pixel mask, RECT* out) {
  if (!a && !b)
    return 0;
  if (!b)
    return 1;
  if (!a)
    return -1;
  if (a->getWidth() != b->getWidth())
    return b->getWidth() - a->getWidth();
  if (a->getHeight() != b->getHeight())
    return b->getHeight() - a->getHeight();
  const PIX_Surface A = PIX_ImageRows(a), B = PIX_ImageRows(b);
  if (out)
    *out = RECT{0, 0, 0, 0};
  if (A.empty() || B.empty())
    return (A.empty() ? 0 : 1) - (B.empty() ? 0 : 1);
  if (!out) {
    for (int y = 0; y < A.height; ++y) {
      const PIX_Pixel* pa = A.pixel(0, y);
      const PIX_Pixel* pb = B.pixel(0, y);
      if (mask == 0xFFFFFFFFu) {
        if (const int c = std::memcmp(pa, pb, sizeof(PIX_Pixel) * A.width))
          return c;
      } else {
        for (int x = 0; x < A.width; ++x)
          if ((pa[x] ^ pb[x]) & mask)
            return 1;
      }
    }
    return 0;
  }
  RECT box = {A.width, A.height, 0, 0};
  for (int y = 0; y < A.height; ++y) {
    const PIX_Pixel* pa = A.pixel(0, y);
    const PIX_Pixel* pb = B.pixel(0, y);
    for (int x = 0; x < A.width; ++x)
      if ((pa[x] ^ pb[x]) & mask) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
  }
  if (box.right == 0)
    return 0;
  *out = box;
  return 1;
}
