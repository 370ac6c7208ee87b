#include "raster/sys/PIX_CachedFont.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "gui/emulation/DrawingEmulation.h"
#include "raster/PIX_Blit.h"
#include "raster/PIX_Combine.h"
#include "raster/PIX_Fill.h"
#include "raster/sys/PIX_SysBitmap.h"

namespace {

// Shared by every font: the bitmap glyphs are rasterised on and the one the native path
// measures and composes in. Made on first need, deleted with the last font.
int instanceCount = 0;
PIX_SysBitmap* renderBitmap = nullptr;
PIX_SysBitmap* measureBitmap = nullptr;

constexpr unsigned kBit31 = 0x80000000u;
constexpr unsigned kAlignFlags =
    PIX_TEXT_VCENTER | PIX_TEXT_CENTER | PIX_TEXT_BOTTOM | PIX_TEXT_RIGHT;

COLORREF toColorRef(PIX_Pixel p) {
  return (p >> 24) | ((p >> 8) & 0xFF00) | ((p << 8) & 0xFF0000);
}

HGDIOBJ defaultFont() {
  return reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(OBJ_FONT));
}

// White text on an opaque black background: the R byte of a pixel is then its coverage.
void prepareRenderContext() {
  HDC dc = renderBitmap->getDC();
  ::SetTextColor(dc, 0xFFFFFF);
  ::SetBkMode(dc, 1);
  ::SetBkColor(dc, 0);
}

void ensureRenderBitmap(int minimumSide) {
  if (!renderBitmap)
    renderBitmap = new PIX_SysBitmap();
  if (renderBitmap->getWidth() < minimumSide || renderBitmap->getHeight() < minimumSide) {
    renderBitmap->resize(minimumSide, minimumSide);
    if (renderBitmap->getDC())
      prepareRenderContext();
  }
}

int encodeUtf8(int c, char* out) {
  if (c < 128) {
    out[0] = static_cast<char>(c);
    return 1;
  }
  if (c < 2048) {
    out[0] = static_cast<char>(0xC0 + (c >> 6));
    out[1] = static_cast<char>(0x80 | (c & 63));
    return 2;
  }
  out[0] = static_cast<char>(0xE0 | (c >> 12));
  out[1] = static_cast<char>(0x80 | ((c >> 6) & 63));
  out[2] = static_cast<char>(0x80 | (c & 63));
  return 3;
}

int compareCodes(const void* a, const void* b) {
  return static_cast<const PIX_GlyphRecord*>(a)->code -
         static_cast<const PIX_GlyphRecord*>(b)->code;
}

bool isContinuation(unsigned char b) {
  return b >= 0x80 && b <= 0xBF;
}

// The coverage of one cell, turned a quarter turn into out (new width = old height).
void rotateQuarter(const uint8_t* in, int w, int h, uint8_t* out, bool up) {
  for (int y = 0; y < w; ++y)
    for (int x = 0; x < h; ++x)
      out[y * h + x] = up ? in[x * w + (w - 1 - y)] : in[(h - 1 - x) * w + y];
}

void threshold(uint8_t* bytes, int n) {
  for (int i = 0; i < n; ++i)
    bytes[i] = bytes[i] >= 131 ? 255 : 0;
}

// One pass in row order on thresholded bytes; only full bytes (255) make an edge.
void markEdges(uint8_t* bytes, int w, int h, bool dropEdge) {
  auto full = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < w && y < h && bytes[y * w + x] == 255;
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (bytes[y * w + x] != 0)
        continue;
      bool edge = dropEdge ? full(x - 1, y) || full(x - 1, y - 1) || full(x, y - 1)
                           : full(x, y - 1) || full(x, y + 1) || full(x - 1, y) || full(x + 1, y);
      if (edge)
        bytes[y * w + x] = 128;
    }
}

// ---- Glyph blending: one member per family and combine mode, the writer fixed in each -------

struct Destination {
  PIX_Pixel* row0;
  ptrdiff_t step; // pixels from one drawn row to the next (negative on a flipped bitmap)
};

using Writer = void (*)(unsigned char*, int, int, int, int, int);

template <Writer write>
void blendCoverage(Destination d, const uint8_t* cov, int covStride, int w, int h, PIX_Pixel color,
                   int ia) {
  int r = PIX_Red(color), g = PIX_Green(color), b = PIX_Blue(color);
  for (int y = 0; y < h; ++y) {
    auto* p = reinterpret_cast<unsigned char*>(d.row0 + y * d.step);
    const uint8_t* c = cov + ptrdiff_t(y) * covStride;
    for (int x = 0; x < w; ++x) {
      if (!c[x])
        continue;
      int a = ia == 256 ? c[x] + 1 : std::min(c[x] * ia / 256, 256);
      write(p + x * 4, r, g, b, 255, a);
    }
  }
}

template <Writer write>
void blendFlat(Destination d, const uint8_t* cov, int covStride, int w, int h, PIX_Pixel color,
               int ia, bool wholeWord) {
  int r = PIX_Red(color), g = PIX_Green(color), b = PIX_Blue(color);
  for (int y = 0; y < h; ++y) {
    PIX_Pixel* p = d.row0 + y * d.step;
    const uint8_t* c = cov + ptrdiff_t(y) * covStride;
    for (int x = 0; x < w; ++x) {
      if (!c[x])
        continue;
      if (wholeWord)
        p[x] = color;
      else
        write(reinterpret_cast<unsigned char*>(p + x), r, g, b, 255, ia);
    }
  }
}

template <Writer write>
void blendEffect(Destination d, const uint8_t* cov, int covStride, int w, int h, PIX_Pixel text,
                 PIX_Pixel effect, int ia, bool wholeWord) {
  for (int y = 0; y < h; ++y) {
    PIX_Pixel* p = d.row0 + y * d.step;
    const uint8_t* c = cov + ptrdiff_t(y) * covStride;
    for (int x = 0; x < w; ++x) {
      if (!c[x])
        continue;
      PIX_Pixel color = c[x] == 255 ? text : effect;
      if (wholeWord)
        p[x] = color;
      else
        write(reinterpret_cast<unsigned char*>(p + x), PIX_Red(color), PIX_Green(color),
              PIX_Blue(color), 255, ia);
    }
  }
}

template <int M>
void blendMember(int family, Destination d, const uint8_t* cov, int stride, int w, int h,
                 PIX_Pixel text, PIX_Pixel effect, int ia, bool wholeWord) {
  constexpr Writer write = PIX_kPlainWriters[M];
  if (family == 0)
    blendCoverage<write>(d, cov, stride, w, h, text, ia);
  else if (family == 1)
    blendFlat<write>(d, cov, stride, w, h, text, ia, wholeWord);
  else
    blendEffect<write>(d, cov, stride, w, h, text, effect, ia, wholeWord);
}

using BlendMember = void (*)(int, Destination, const uint8_t*, int, int, int, PIX_Pixel, PIX_Pixel,
                             int, bool);
constexpr BlendMember kMembers[6] = {blendMember<0>, blendMember<1>, blendMember<2>,
                                     blendMember<3>, blendMember<4>, blendMember<5>};

} // namespace

int PIX_DecodeUTF8Char(const char* text, int* code, int available) {
  const auto* b = reinterpret_cast<const unsigned char*>(text);
  auto has = [&](int n) { return available < 0 || available >= n; };
  unsigned b0 = b[0];
  if (b0 >= 0xC2 && b0 <= 0xDF && has(2) && isContinuation(b[1])) {
    *code = ((b0 & 31) << 6) | (b[1] & 63);
    return 2;
  }
  if (b0 >= 0xE0 && b0 <= 0xEF && has(3) && isContinuation(b[1]) && isContinuation(b[2])) {
    *code = ((b0 & 15) << 12) | ((b[1] & 63) << 6) | (b[2] & 63);
    return 3;
  }
  if (b0 >= 0xF0 && b0 <= 0xF4 && has(4) && isContinuation(b[1]) && isContinuation(b[2]) &&
      isContinuation(b[3])) {
    *code = 32; // beyond 16 bits: drawn as a space
    return 4;
  }
  *code = static_cast<int>(b0);
  return 1;
}

PIX_CachedFont::PIX_CachedFont() {
  ++instanceCount;
}

PIX_CachedFont::~PIX_CachedFont() {
  if (flags & PIX_FONTFLAG_OWNED)
    DeleteObject(fontHandle);
  if (--instanceCount == 0) {
    delete renderBitmap;
    delete measureBitmap;
    renderBitmap = measureBitmap = nullptr;
  }
}

void PIX_CachedFont::SetFromFontHandle(GdiObject* font, unsigned newFlags) {
  if ((flags & PIX_FONTFLAG_OWNED) && fontHandle != font)
    DeleteObject(fontHandle);
  flags = newFlags;
  fontHandle = font;
  lineHeight = 0;
  if (font) {
    if (!renderBitmap)
      renderBitmap = new PIX_SysBitmap();
    if (renderBitmap->getWidth() < 256 || renderBitmap->getHeight() <= 255) {
      renderBitmap->resize(256, 256);
      if (renderBitmap->getDC())
        prepareRenderContext();
    }
    HDC dc = renderBitmap->getDC();
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRIC tm{};
    if (GetTextMetrics(dc, &tm))
      lineHeight = tm.tmHeight;
    SelectObject(dc, previous);
  }
  memset(directGlyphs, 0, sizeof directGlyphs);
  extendedGlyphs.Resize(0); // the storage stays
  coverage.Resize(0, true); // the storage is released
  if (flags & PIX_FONTFLAG_PRERENDER)
    for (int c = 0; c < 128; ++c)
      renderGlyph(c);
}

PIX_Pixel PIX_CachedFont::SetTextColor(PIX_Pixel color) {
  return std::exchange(textColor, color);
}
PIX_Pixel PIX_CachedFont::SetBkColor(PIX_Pixel color) {
  return std::exchange(bkColor, color);
}
PIX_Pixel PIX_CachedFont::SetEffectColor(PIX_Pixel color) {
  return std::exchange(effectColor, color);
}
int PIX_CachedFont::SetBkMode(int mode) {
  return std::exchange(bkMode, mode);
}
void PIX_CachedFont::SetCombineMode(int mode, float a) {
  combineMode = mode;
  alpha = a;
}

const PIX_GlyphRecord* PIX_CachedFont::FindGlyph(int code) const {
  if (code >= 0 && code < 128)
    return &directGlyphs[code];
  int count = extendedGlyphs.GetSize();
  if (count < 1)
    return nullptr;
  PIX_GlyphRecord key{0, 0, 0, 0, code};
  return static_cast<const PIX_GlyphRecord*>(
      bsearch(&key, extendedGlyphs.Get(), size_t(count), sizeof key, compareCodes));
}

PIX_GlyphRecord* PIX_CachedFont::findGlyph(int code) {
  return const_cast<PIX_GlyphRecord*>(FindGlyph(code));
}

const uint8_t* PIX_CachedFont::GlyphCoverage(const PIX_GlyphRecord* glyph) const {
  if (!glyph || glyph->coverageOffsetPlusOne == 0 ||
      glyph->coverageOffsetPlusOne == PIX_GLYPH_EMPTY || glyph->width < 1 || glyph->height < 1)
    return nullptr;
  int64_t start = int64_t(glyph->coverageOffsetPlusOne) - 1;
  if (start + int64_t(glyph->width) * glyph->height > coverage.GetSize())
    return nullptr;
  return coverage.Get() + start;
}

void PIX_CachedFont::markEmpty(PIX_GlyphRecord* glyph) {
  glyph->coverageOffsetPlusOne = PIX_GLYPH_EMPTY;
  glyph->width = glyph->height = 0;
  glyph->advance = 0;
}

bool PIX_CachedFont::renderGlyph(int code) {
  if (lineHeight > 1023)
    return false;
  bool added = false;
  if (code >= 128 && !findGlyph(code)) {
    if (flags & PIX_FONTFLAG_PRERENDER)
      return false;
    if (!extendedGlyphs.Add(PIX_GlyphRecord{0, 0, 0, 0, code}))
      return false;
    added = true;
  }
  // A record appended last is found at the end until the list is sorted again.
  PIX_GlyphRecord* glyph =
      added ? extendedGlyphs.Get() + extendedGlyphs.GetSize() - 1 : findGlyph(code);

  int side = lineHeight > 0 ? 2 * lineHeight + 8 : 10;
  ensureRenderBitmap(side);
  HDC dc = renderBitmap->getDC();
  if (!dc) {
    markEmpty(glyph);
  } else {
    HGDIOBJ previous = SelectObject(dc, fontHandle ? fontHandle : defaultFont());
    int extra = lineHeight < 16 ? 2 : lineHeight / 16 + 2;
    char utf8[4];
    int length = encodeUtf8(code, utf8);
    RECT measured{0, 0, 0, 0};
    ::DrawText(dc, utf8, length, &measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    int advance = measured.right;
    int cellWidth = advance + extra, cellHeight = measured.bottom;
    int bitmapWidth = renderBitmap->getWidth(), bitmapHeight = renderBitmap->getHeight();
    advance = std::min(advance, bitmapWidth);
    cellWidth = std::min(cellWidth, bitmapWidth);
    cellHeight = std::min(cellHeight, bitmapHeight);
    PIX_FillRect(renderBitmap, 0, 0, cellWidth, cellHeight, 0, 1.0f, PIX_COMBINE_COPY);
    RECT cell{0, 0, cellWidth, cellHeight};
    ::DrawText(dc, utf8, length, &cell, DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, previous);

    if (advance < 1 || cellHeight < 1) {
      markEmpty(glyph);
    } else {
      glyph->advance = advance;
      if (flags & PIX_FONTFLAG_BLUR)
        PIX_Blur(renderBitmap, renderBitmap, 0, 0, 0, 0, cellWidth, cellHeight);
      int oldSize = coverage.GetSize();
      int64_t wanted = int64_t(oldSize) + int64_t(cellWidth) * cellHeight;
      if (wanted > INT_MAX || (coverage.Resize(int(wanted)), coverage.GetSize() != wanted)) {
        markEmpty(glyph); // the store could not grow: nothing to draw, no advance
      } else {
        glyph->coverageOffsetPlusOne = uint32_t(oldSize) + 1;
        uint8_t* out = coverage.Get() + oldSize;
        int width = advance;
        PIX_Pixel* bits = renderBitmap->getBits();
        int span = renderBitmap->getRowSpan();
        bool flipped = renderBitmap->isFlipped();
        bool invert = (flags & PIX_FONTFLAG_INVERT) != 0;
        for (int y = 0; y < cellHeight; ++y) {
          int row = flipped ? bitmapHeight - 1 - y : y;
          const auto* src = reinterpret_cast<const uint8_t*>(bits + ptrdiff_t(row) * span);
          for (int x = 0; x < cellWidth; ++x) {
            uint8_t v = src[x * 4 + 1];
            if (v && x >= advance)
              width = std::max(width, x + 1);
            out[y * cellWidth + x] = invert ? uint8_t(255 - v) : v;
          }
        }
        if (width < cellWidth) {
          for (int y = 1; y < cellHeight; ++y)
            memmove(out + y * width, out + y * cellWidth, size_t(width));
          coverage.Resize(oldSize + width * cellHeight);
          out = coverage.Get() + oldSize;
        }
        int height = cellHeight;
        if (flags & PIX_FONTFLAG_ROTATED) {
          auto* scratch = reinterpret_cast<uint8_t*>(renderBitmap->getBits());
          memcpy(scratch, out, size_t(width) * height);
          rotateQuarter(scratch, width, height, out, (flags & PIX_FONTFLAG_ROTATE_UP) != 0);
          std::swap(width, height);
        }
        if (flags & PIX_FONTFLAG_NOAA)
          threshold(out, width * height);
        if (flags & (PIX_FONTFLAG_DROPEDGE | PIX_FONTFLAG_RING)) {
          threshold(out, width * height);
          markEdges(out, width, height, (flags & PIX_FONTFLAG_DROPEDGE) != 0);
        }
        glyph->width = width;
        glyph->height = height;
      }
    }
  }
  if (added && extendedGlyphs.GetSize() >= 2)
    qsort(extendedGlyphs.Get(), size_t(extendedGlyphs.GetSize()), sizeof(PIX_GlyphRecord),
          compareCodes);
  return true;
}

bool PIX_CachedFont::DrawGlyph(PIX_IBitmap* bitmap, unsigned short code, int x, int y,
                               const RECT* clip) {
  const PIX_GlyphRecord* glyph = FindGlyph(code);
  const uint8_t* cov = GlyphCoverage(glyph);
  if (!glyph || !cov || !bitmap || !clip)
    return false;
  int w = glyph->width, h = glyph->height;
  if (clip->right <= x || clip->bottom <= y || x + w <= clip->left || y + h <= clip->top)
    return false;
  int skipX = std::max(0, clip->left - x), skipY = std::max(0, clip->top - y);
  int drawW = std::min(w, clip->right - x) - skipX;
  int drawH = std::min(h, clip->bottom - y) - skipY;
  int dx = x + skipX, dy = y + skipY;
  // The clip may reach past the bitmap; never draw outside it.
  int bw = bitmap->getWidth(), bh = bitmap->getHeight();
  if (dx < 0) {
    skipX -= dx, drawW += dx, dx = 0;
  }
  if (dy < 0) {
    skipY -= dy, drawH += dy, dy = 0;
  }
  drawW = std::min(drawW, bw - dx);
  drawH = std::min(drawH, bh - dy);
  PIX_Pixel* bits = bitmap->getBits();
  if (drawW < 1 || drawH < 1 || !bits)
    return false;

  if (bkMode == 1)
    PIX_FillRect(bitmap, dx, dy, drawW, drawH, bkColor, alpha, combineMode & ~0x10000);
  int mode = combineMode & 0xFF;
  int ia = PIX_WeightFromAlpha(alpha);
  if (mode > 5 || ia == 0)
    return true;
  int family = (flags & PIX_FONTFLAG_NOAA)                                  ? 1
               : (flags & (PIX_FONTFLAG_DROPEDGE | PIX_FONTFLAG_RING)) != 0 ? 2
                                                                            : 0;
  if (family != 0)
    ia = std::min(ia, 256);
  bool wholeWord = family != 0 && alpha == 1.0f && mode == 0;
  ptrdiff_t span = bitmap->getRowSpan();
  Destination d;
  if (bitmap->isFlipped()) {
    d.row0 = bits + ptrdiff_t(bh - 1 - dy) * span + dx;
    d.step = -span;
  } else {
    d.row0 = bits + ptrdiff_t(dy) * span + dx;
    d.step = span;
  }
  kMembers[mode](family, d, cov + ptrdiff_t(skipY) * w + skipX, w, drawW, drawH, textColor,
                 effectColor, ia, wholeWord);
  return true;
}

bool PIX_CachedFont::chooseCachedPath(PIX_IBitmap* bitmap, unsigned f) const {
  if (bitmap && bitmap->extensionCall(PIX_EXTENSION_FORCE_CACHED_TEXT, nullptr) != 0)
    return true;
  bool native = (flags & PIX_FONTFLAG_PREFER_NATIVE) && !(flags & 0x1F7) && fontHandle &&
                !(f & (PIX_TEXT_USEFGALPHA | kBit31)) &&
                (lineSpacingAddend == 0 || (f & PIX_TEXT_SINGLELINE));
  return lineHeight < 256 && !native;
}

int PIX_CachedFont::DrawText(PIX_IBitmap* bitmap, const char* text, int count, RECT* rect,
                             unsigned flags) {
  if ((!(flags & PIX_TEXT_CALCRECT) && !bitmap) || !rect)
    return 0;
  unsigned f = flags & ~kBit31;
  if (chooseCachedPath(bitmap, flags)) {
    if (f & PIX_TEXT_CALCRECT)
      return measureCached(text, count, rect, f);
    return drawCached(bitmap, text, count, rect, flags);
  }
  return drawNative(bitmap, text, count, rect, f);
}

int PIX_CachedFont::drawNative(PIX_IBitmap* bitmap, const char* text, int count, RECT* rect,
                               unsigned f) {
  HDC dc = bitmap ? bitmap->getDC() : nullptr;
  if (!dc)
    return drawNativeThroughScratch(bitmap, text, count, rect, f);
  HGDIOBJ previous = SelectObject(dc, fontHandle);
  ::SetTextColor(dc, toColorRef(textColor));
  ::SetBkMode(dc, bkMode);
  if (bkMode == 1)
    ::SetBkColor(dc, toColorRef(bkColor));
  RECT r = *rect;
  int result = ::DrawText(dc, text, count, &r, f | DT_NOPREFIX);
  if (f & PIX_TEXT_CALCRECT)
    *rect = r;
  SelectObject(dc, previous);
  return result;
}

int PIX_CachedFont::drawNativeThroughScratch(PIX_IBitmap* bitmap, const char* text, int count,
                                             RECT* rect, unsigned f) {
  if (!measureBitmap)
    measureBitmap = new PIX_SysBitmap();
  if (measureBitmap->getWidth() < 4 || measureBitmap->getHeight() < 4)
    measureBitmap->resize(std::max(4, measureBitmap->getWidth()),
                          std::max(4, measureBitmap->getHeight()));
  HDC dc = measureBitmap->getDC();
  if (!dc)
    return 0;
  HGDIOBJ previous = SelectObject(dc, fontHandle);
  RECT m{0, 0, 0, 0};
  int result = ::DrawText(dc, text, count, &m, (f & ~0xB7u) | 0x81);
  SelectObject(dc, previous);
  int width = m.right, height = m.bottom;
  if (f & PIX_TEXT_CALCRECT) {
    rect->right = rect->left + width;
    rect->bottom = rect->top + height;
    return result;
  }
  int x = (f & PIX_TEXT_RIGHT)    ? rect->right - width
          : (f & PIX_TEXT_CENTER) ? (rect->left + rect->right - width) / 2
                                  : rect->left;
  int y = (f & PIX_TEXT_BOTTOM)    ? rect->bottom - height
          : (f & PIX_TEXT_VCENTER) ? (rect->top + rect->bottom - height) / 2
                                   : rect->top;
  RECT area{std::max(x, 0), std::max(y, 0), std::min(x + width, bitmap->getWidth()),
            std::min(y + height, bitmap->getHeight())};
  if (!(f & PIX_TEXT_NOCLIP)) {
    area.right = std::min(area.right, rect->right);
    area.bottom = std::min(area.bottom, rect->bottom);
    area.left = std::max(area.left, std::max(rect->left, 0));
    area.top = std::max(area.top, std::max(rect->top, 0));
  }
  int areaWidth = area.right - area.left, areaHeight = area.bottom - area.top;
  if (areaWidth < 1 || areaHeight < 1)
    return result;
  int offsetX = x - area.left, offsetY = y - area.top; // where the text starts in the area
  if (measureBitmap->getWidth() < areaWidth || measureBitmap->getHeight() < areaHeight)
    measureBitmap->resize(std::max(areaWidth, measureBitmap->getWidth()),
                          std::max(areaHeight, measureBitmap->getHeight()));
  dc = measureBitmap->getDC();
  if (!dc)
    return result;
  PIX_BlitRect(measureBitmap, bitmap, 0, 0, &area, 1.0f, PIX_COMBINE_COPY);
  previous = SelectObject(dc, fontHandle);
  ::SetTextColor(dc, toColorRef(textColor));
  ::SetBkMode(dc, bkMode);
  if (bkMode == 1)
    ::SetBkColor(dc, toColorRef(bkColor));
  RECT at{offsetX, offsetY, offsetX + width, offsetY + height};
  ::DrawText(dc, text, count, &at, (f & ~0x136u) | DT_NOPREFIX);
  SelectObject(dc, previous);
  PIX_Blit(bitmap, measureBitmap, area.left, area.top, 0, 0, areaWidth, areaHeight, alpha,
           PIX_COMBINE_COPY);
  return result;
}

const PIX_GlyphRecord* PIX_CachedFont::drawableGlyph(int code) {
  const PIX_GlyphRecord* glyph = FindGlyph(code);
  if (!glyph || glyph->coverageOffsetPlusOne == 0) {
    if (!renderGlyph(code))
      return nullptr;
    glyph = FindGlyph(code);
  }
  if (!glyph || glyph->coverageOffsetPlusOne == 0 ||
      glyph->coverageOffsetPlusOne == PIX_GLYPH_EMPTY)
    return nullptr;
  return glyph;
}

// Walks the text: a positive count is never run past, and never read past.
template <class OnChar, class OnLineFeed>
static void walkText(const char* text, int count, OnChar onChar, OnLineFeed onLineFeed,
                     bool singleLine) {
  while (count != 0 && *text) {
    int code = 0;
    int n = PIX_DecodeUTF8Char(text, &code, count > 0 ? count : -1);
    text += n;
    if (count > 0)
      count -= n;
    if (code == 13)
      continue;
    if (code == 10 && !singleLine) {
      onLineFeed();
      continue;
    }
    onChar(code == 10 ? 32 : code);
  }
}

int PIX_CachedFont::measureCached(const char* text, int count, RECT* rect, unsigned f) {
  int extentW = 0, extentH = 0;
  if (text && *text && count != 0) {
    int x = 0, y = 0;
    int step = lineHeight + lineSpacingAddend;
    bool vertical = isVertical();
    walkText(
        text, count,
        [&](int code) {
          const PIX_GlyphRecord* g = drawableGlyph(code);
          if (!g)
            return;
          if (vertical) {
            int oldY = y;
            y += g->advance;
            extentW = std::max(extentW, x + g->width);
            extentH = std::max({extentH, oldY + g->height, y});
          } else {
            int oldX = x;
            x += g->advance;
            extentW = std::max({extentW, oldX + g->width, x});
            extentH = std::max(extentH, y + g->height);
          }
        },
        [&] {
          if (vertical) {
            x += step;
            y = 0;
          } else {
            y += step;
            x = 0;
          }
        },
        (f & PIX_TEXT_SINGLELINE) != 0);
  }
  rect->right = rect->left + extentW;
  rect->bottom = rect->top + extentH;
  return isVertical() ? extentW : extentH;
}

int PIX_CachedFont::drawCached(PIX_IBitmap* bitmap, const char* text, int count, RECT* rect,
                               unsigned flags) {
  if (!text)
    return 0;
  float storedAlpha = alpha;
  float callAlpha = alpha;
  if (flags & PIX_TEXT_USEFGALPHA)
    callAlpha = alpha * float(textColor & 0xFF) / 255.0f;
  if (callAlpha == 0.0f)
    return 0;
  bool upward = (this->flags & 3) == 3;
  int x = rect->left, y = rect->top;
  if ((flags & kAlignFlags) || upward) {
    RECT m = *rect;
    DrawText(bitmap, text, count, &m, PIX_TEXT_CALCRECT | PIX_TEXT_SINGLELINE | (flags & kBit31));
    int mw = m.right - m.left, mh = m.bottom - m.top;
    if (flags & PIX_TEXT_CENTER)
      x += (rect->right - rect->left - mw) / 2;
    else if (flags & PIX_TEXT_RIGHT)
      x = rect->right - mw;
    if (flags & PIX_TEXT_VCENTER)
      y += (rect->bottom - rect->top - mh) / 2;
    else if (flags & PIX_TEXT_BOTTOM)
      y = rect->bottom - mh;
    if (upward)
      y += mh;
  }
  RECT clip{0, 0, bitmap->getWidth(), bitmap->getHeight()};
  if (!(flags & PIX_TEXT_NOCLIP)) {
    clip = RECT{std::max(rect->left, 0), std::max(rect->top, 0),
                std::min(rect->right, bitmap->getWidth()),
                std::min(rect->bottom, bitmap->getHeight())};
    if (clip.right <= clip.left || clip.bottom <= clip.top)
      return 0;
  }
  alpha = callAlpha;
  int startX = x, startY = y;
  int drawnRight = startX, drawnBottom = startY;
  int step = lineHeight + lineSpacingAddend;
  bool vertical = isVertical();
  walkText(
      text, count,
      [&](int code) {
        const PIX_GlyphRecord* g = drawableGlyph(code);
        if (!g)
          return;
        int w = g->width, h = g->height, advance = g->advance;
        if (upward)
          y -= h;
        bool drawn = DrawGlyph(bitmap, static_cast<unsigned short>(code), x, y, &clip);
        if (vertical) {
          if (drawn)
            drawnRight = std::max(drawnRight, x + w);
          y += upward ? h - advance : advance;
        } else {
          if (drawn)
            drawnBottom = std::max(drawnBottom, y + h);
          x += advance;
        }
      },
      [&] {
        if (vertical) {
          x += step;
          y = startY;
        } else {
          y += step;
          x = startX;
        }
      },
      (flags & PIX_TEXT_SINGLELINE) != 0);
  alpha = storedAlpha;
  return vertical ? drawnRight - startX : drawnBottom - startY;
}
