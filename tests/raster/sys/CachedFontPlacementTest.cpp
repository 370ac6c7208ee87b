// The cached font against its arithmetic written out again here: the coverage family's weight
// at every font alpha and its combine modes 1-5 (each channel from the mode's formula), where
// upward text puts each glyph, and where the native path that draws through the scratch bitmap
// puts the text and how it clips it.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "gui/emulation/DrawingEmulation.h"
#include "raster/PIX_Fill.h"
#include "raster/PIX_MemBitmap.h"
#include "raster/sys/PIX_CachedFont.h"
#include "raster/sys/PIX_SysBitmap.h"

namespace {

constexpr PIX_Pixel kWhite = 0xFFFFFFFF;

HFONT Monaco(int height) {
  return CreateFont(height, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Monaco");
}

// ---- the combine rules, one channel at a time -------------------------------------------------

int Clamp(int v) {
  return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// One byte d combined with source value s at weight w by mode 0-4 (the low 8 bits kept where
// the rule does not clamp).
int CombineByte(int mode, int d, int s, int w) {
  switch (mode) {
  case 0:
    return (s + ((d - s) * (256 - w)) / 256) & 0xFF;
  case 1:
    return Clamp(d + (s * w) / 256);
  case 2: {
    const int q = 256 - (s * w) / 256;
    return q >= 2 ? Clamp((d * 256) / q) : Clamp(d * 256);
  }
  case 3:
    return (((s * w + (256 - w) * 256) * d) >> 16) & 0xFF;
  case 4: {
    const int s2 = s * w + (256 - w) * 128;
    return Clamp(((((32768 - s2) * d) / 256) + s2) * d >> 15);
  }
  }
  return d;
}

int Reciprocal(int i) {
  return i == 0 ? 0 : 65536 / i - 1;
}

// The HSV adjustment of a destination pixel by source (r, g, b) at weight w; the alpha byte
// becomes a.
PIX_Pixel HsvAdjust(PIX_Pixel dst, int r, int g, int b, int a, int w) {
  const int R = PIX_Red(dst), G = PIX_Green(dst), B = PIX_Blue(dst);
  int max, diff, delta, base;
  if (R < G && G > B) {
    max = G, diff = B - R, delta = G - std::min(B, R), base = 128;
  } else if (R >= G && B < R) {
    max = R, diff = G - B, delta = R - std::min(G, B), base = G < B ? 383 : 0;
  } else {
    max = B, diff = R - G, delta = B - std::min(R, G), base = 256;
  }
  int hue = base + ((Reciprocal(delta) + 1) * diff) / 1024;
  int sat = (delta * Reciprocal(max)) / 256;
  int val = max;
  hue += ((r + r / 2 - 192) * w) / 256;
  if (hue < 0)
    hue += 384;
  else if (hue > 383)
    hue -= 384;
  sat = Clamp(sat + ((g - 128) * w) / 128);
  val = Clamp(val + ((b - 128) * w) / 128);
  const int p = ((256 - sat) * val) / 256;
  auto ramp = [&](int k) { return (val * (16384 - k * sat)) / 16384; };
  int nr, ng, nb;
  if (hue < 64)
    nr = val, ng = ramp(64 - hue), nb = p;
  else if (hue < 128)
    nr = ramp(hue - 64), ng = val, nb = p;
  else if (hue < 192)
    nr = p, ng = val, nb = ramp(192 - hue);
  else if (hue < 256)
    nr = p, ng = ramp(hue - 192), nb = val;
  else if (hue < 320)
    nr = ramp(320 - hue), ng = p, nb = val;
  else
    nr = val, ng = p, nb = ramp(hue - 320);
  return PIX_MakePixel(nr & 0xFF, ng & 0xFF, nb & 0xFF, a & 0xFF);
}

// A glyph pixel of coverage c > 0 in colour text over d, at font weight ia, by mode 0-5: the
// text colour is a source of alpha 255 at weight a taken from the coverage.
PIX_Pixel CoveragePixel(PIX_Pixel d, PIX_Pixel text, int c, int ia, int mode) {
  const int a = ia == 256 ? c + 1 : std::min(c * ia / 256, 256);
  const int r = PIX_Red(text), g = PIX_Green(text), b = PIX_Blue(text);
  if (mode == 5)
    return HsvAdjust(d, r, g, b, 255, a);
  return PIX_MakePixel(CombineByte(mode, PIX_Red(d), r, a), CombineByte(mode, PIX_Green(d), g, a),
                       CombineByte(mode, PIX_Blue(d), b, a),
                       CombineByte(mode, PIX_Alpha(d), 255, a));
}

// A background where neighbouring pixels differ in every byte.
PIX_Pixel Backdrop(int x, int y) {
  return PIX_MakePixel((x * 37 + y * 11) & 0xFF, (x * 5 + y * 71) & 0xFF, (x * y * 3 + 40) & 0xFF,
                       (x * 13 + y * 29) & 0xFF);
}

void PaintBackdrop(PIX_IBitmap* b) {
  for (int y = 0; y < b->getHeight(); ++y)
    for (int x = 0; x < b->getWidth(); ++x)
      b->getBits()[y * b->getRowSpan() + x] = Backdrop(x, y);
}

TEST(CachedFontFormula, CoverageFamilyAtEveryWeightAndMode) {
  PIX_CachedFont font;
  font.SetFromFontHandle(Monaco(16), PIX_FONTFLAG_OWNED);
  const PIX_Pixel text = PIX_MakePixel(200, 90, 30, 255);
  font.SetTextColor(text);
  PIX_MemBitmap target(60, 40, 4);
  for (int mode = 0; mode <= 5; ++mode) {
    for (float alpha : {1.0f, 0.8f, 0.5f, 0.3f, 0.05f}) {
      const int ia = (int)(alpha * 256.0);
      for (char ch : {'W', '@', 'g'}) {
        SCOPED_TRACE(testing::Message()
                     << "mode " << mode << " alpha " << alpha << " '" << ch << "'");
        font.SetCombineMode(mode, alpha);
        PaintBackdrop(&target);
        RECT r{9, 6, 60, 40};
        const char str[2] = {ch, 0};
        font.DrawText(&target, str, -1, &r, 0);
        const PIX_GlyphRecord* g = font.FindGlyph(ch);
        const uint8_t* cov = font.GlyphCoverage(g);
        ASSERT_NE(cov, nullptr);
        int wrong = 0, inked = 0;
        for (int y = 0; y < target.getHeight(); ++y) {
          for (int x = 0; x < target.getWidth(); ++x) {
            const int gx = x - 9, gy = y - 6;
            const int c =
                gx >= 0 && gy >= 0 && gx < g->width && gy < g->height ? cov[gy * g->width + gx] : 0;
            const PIX_Pixel want =
                c == 0 ? Backdrop(x, y) : CoveragePixel(Backdrop(x, y), text, c, ia, mode);
            inked += c > 0;
            const PIX_Pixel got = target.getBits()[y * target.getRowSpan() + x];
            if (got != want && ++wrong <= 3)
              ADD_FAILURE() << "(" << x << ", " << y << ") coverage " << c << ": " << std::hex
                            << got << " instead of " << want;
          }
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_GT(inked, 20);
      }
    }
  }
}

// ---- upward text -------------------------------------------------------------------------------

// The walk of upward text, written out: the start is the rectangle's corner moved by the
// alignment and down by the text's measured height (a single line's); each glyph goes up by its
// height before it is drawn and the pen ends one advance above where it was.
struct UpwardCase {
  const char* text;
  unsigned flags;
  RECT rect;
};

TEST(CachedFontFormula, UpwardTextPlacesEachGlyph) {
  PIX_CachedFont font;
  font.SetFromFontHandle(Monaco(14),
                         PIX_FONTFLAG_ROTATED | PIX_FONTFLAG_ROTATE_UP | PIX_FONTFLAG_OWNED);
  font.SetTextColor(PIX_MakePixel(10, 20, 30, 255));
  const UpwardCase cases[] = {
      {"Hello", 0, {20, 10, 150, 200}},
      {"Hello", PIX_TEXT_BOTTOM, {20, 10, 150, 200}},
      {"Hello", PIX_TEXT_VCENTER | PIX_TEXT_CENTER, {20, 10, 150, 200}},
      {"Hello", PIX_TEXT_RIGHT, {20, 10, 150, 200}},
      {"Up\nto", 0, {30, 5, 150, 200}},           // a second line to the right
      {"Upward text runs", 0, {40, 0, 120, 200}}, // past the clip's top
      {"Hello", 0, {-6, 150, 150, 200}},          // left of the bitmap
      {"Hi", PIX_TEXT_NOCLIP, {50, 40, 60, 45}},  // drawn outside its small rectangle
  };
  for (const UpwardCase& c : cases) {
    SCOPED_TRACE(testing::Message() << '"' << c.text << "\" flags " << c.flags);
    PIX_MemBitmap drawn(160, 210, 4), expected(160, 210, 4);
    PIX_Clear(&drawn, kWhite);
    PIX_Clear(&expected, kWhite);
    RECT r = c.rect;
    const int result = font.DrawText(&drawn, c.text, -1, &r, c.flags);

    // Every glyph the text needs is rendered by now; the single-line measure of the text.
    std::string oneLine = c.text;
    std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
    int measuredW = 0, measuredH = 0, pen = 0;
    for (char ch : oneLine) {
      const PIX_GlyphRecord* g = font.FindGlyph(ch);
      ASSERT_NE(g, nullptr);
      if (g->coverageOffsetPlusOne == PIX_GLYPH_EMPTY)
        continue;
      measuredW = std::max(measuredW, g->width);
      measuredH = std::max({measuredH, pen + g->height, pen + g->advance});
      pen += g->advance;
    }
    int x0 = c.rect.left, y0 = c.rect.top;
    const int rw = c.rect.right - c.rect.left, rh = c.rect.bottom - c.rect.top;
    if (c.flags & PIX_TEXT_CENTER)
      x0 += (rw - measuredW) / 2;
    else if (c.flags & PIX_TEXT_RIGHT)
      x0 = c.rect.right - measuredW;
    if (c.flags & PIX_TEXT_VCENTER)
      y0 += (rh - measuredH) / 2;
    else if (c.flags & PIX_TEXT_BOTTOM)
      y0 = c.rect.bottom - measuredH;
    y0 += measuredH;
    RECT clip = c.flags & PIX_TEXT_NOCLIP
                    ? RECT{0, 0, 160, 210}
                    : RECT{std::max<int>(c.rect.left, 0), std::max<int>(c.rect.top, 0),
                           std::min<int>(c.rect.right, 160), std::min<int>(c.rect.bottom, 210)};
    int x = x0, y = y0, right = x0;
    for (const char* p = c.text; *p; ++p) {
      if (*p == '\n') {
        x += font.GetLineHeight();
        y = y0;
        continue;
      }
      const PIX_GlyphRecord* g = font.FindGlyph(*p);
      if (g->coverageOffsetPlusOne == PIX_GLYPH_EMPTY)
        continue;
      y -= g->height;
      if (font.DrawGlyph(&expected, *p, x, y, &clip))
        right = std::max(right, x + g->width);
      y += g->height - g->advance;
    }
    EXPECT_EQ(result, right - x0);
    int wrong = 0, inked = 0;
    for (int py = 0; py < 210; ++py)
      for (int px = 0; px < 160; ++px) {
        const PIX_Pixel want = PIX_GetPixel(&expected, px, py);
        inked += want != kWhite;
        if (PIX_GetPixel(&drawn, px, py) != want && ++wrong <= 3)
          ADD_FAILURE() << "pixel (" << px << ", " << py << ")";
      }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(inked, 10);
  }
}

// ---- the native path through the scratch bitmap ------------------------------------------------

// Text on a bitmap without a drawing context: measured, placed by the alignment flags, limited
// to the bitmap and (unless told otherwise) to the rectangle, drawn there over the target's own
// pixels and blitted back at the font's alpha. At alpha 0.5 the blit back averages every pixel
// of that area, so the white around the text turns 0xFEFEFEFE exactly there: the area shows.
// The ink in it is the emulation's drawing of the text at the placed corner.
struct ScratchCase {
  const char* text;
  unsigned flags;
  RECT rect;
};

TEST(CachedFontFormula, ScratchPathPlacesAndClipsTheText) {
  PIX_CachedFont font;
  font.SetFromFontHandle(Monaco(16), PIX_FONTFLAG_OWNED | PIX_FONTFLAG_PREFER_NATIVE);
  font.SetTextColor(PIX_MakePixel(20, 30, 160, 255));
  const int W = 160, H = 60;
  RECT odd{0, 0, 0, 0};
  font.DrawText(nullptr, "Odd", -1, &odd, PIX_TEXT_CALCRECT);
  ASSERT_GT(odd.right, 10);
  // Centred across 0 with left + right - width = -3: the half truncates towards zero from the
  // sum, one pixel right of half the room added to the left edge.
  const RECT acrossZero{-10, -10, odd.right + 7, odd.bottom + 7};
  const ScratchCase cases[] = {
      {"Native", 0, {10, 5, 150, 55}},
      {"Native", PIX_TEXT_CENTER | PIX_TEXT_VCENTER, {10, 5, 150, 55}},
      {"Native", PIX_TEXT_RIGHT | PIX_TEXT_BOTTOM, {10, 5, 151, 56}},
      {"Odd", PIX_TEXT_CENTER | PIX_TEXT_VCENTER, {-9, -7, 40, 20}},
      {"Odd", PIX_TEXT_CENTER | PIX_TEXT_VCENTER, acrossZero},
      {"Native", 0, {-7, -4, 60, 30}},                // starting left of and above the bitmap
      {"Native", 0, {10, 4, 30, 14}},                 // cut by the rectangle
      {"Native", PIX_TEXT_NOCLIP, {10, 4, 30, 14}},   // only by the bitmap
      {"Native", PIX_TEXT_NOCLIP, {-12, -6, 30, 14}}, // ... on its left and top edges
      {"Native", 0, {120, 40, 400, 200}},             // past the bitmap's right and bottom
      // Wider and taller than its rectangle: aligned right and to the bottom it starts left of
      // and above it, and is cut at the rectangle's left and top.
      {"Native", PIX_TEXT_RIGHT | PIX_TEXT_BOTTOM, {30, 25, 50, 32}},
  };
  for (const ScratchCase& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << '"' << c.text << "\" flags " << c.flags << " rect " << c.rect.left << ","
                 << c.rect.top << "," << c.rect.right << "," << c.rect.bottom);
    RECT m{0, 0, 0, 0};
    font.DrawText(nullptr, c.text, -1, &m, PIX_TEXT_CALCRECT);
    const int w = m.right, h = m.bottom;
    const RECT& r = c.rect;
    const int x = c.flags & PIX_TEXT_RIGHT    ? r.right - w
                  : c.flags & PIX_TEXT_CENTER ? (r.left + r.right - w) / 2
                                              : r.left;
    const int y = c.flags & PIX_TEXT_BOTTOM    ? r.bottom - h
                  : c.flags & PIX_TEXT_VCENTER ? (r.top + r.bottom - h) / 2
                                               : r.top;
    RECT area{std::max(x, 0), std::max(y, 0), std::min(x + w, W), std::min(y + h, H)};
    if (!(c.flags & PIX_TEXT_NOCLIP))
      area = RECT{std::max<int>({area.left, r.left, 0}), std::max<int>({area.top, r.top, 0}),
                  std::min<int>(area.right, r.right), std::min<int>(area.bottom, r.bottom)};

    // The emulation's own drawing of the text at (x, y), on a bitmap that has a context.
    PIX_SysBitmap reference(W, H);
    PIX_Clear(&reference, kWhite);
    RECT at{x, y, x + w, y + h};
    font.DrawText(&reference, c.text, -1, &at, PIX_TEXT_NOCLIP);

    for (float alpha : {1.0f, 0.5f}) {
      SCOPED_TRACE(alpha);
      font.SetCombineMode(0, alpha);
      PIX_MemBitmap target(W, H, 4);
      PIX_Clear(&target, kWhite);
      RECT rect = c.rect;
      font.DrawText(&target, c.text, -1, &rect, c.flags);
      int wrong = 0, inked = 0;
      for (int py = 0; py < H; ++py)
        for (int px = 0; px < W; ++px) {
          const bool inside =
              px >= area.left && px < area.right && py >= area.top && py < area.bottom;
          const PIX_Pixel ink = PIX_GetPixel(&reference, px, py);
          PIX_Pixel want = kWhite;
          if (inside)
            want = alpha == 1.0f ? ink : ((ink >> 1) & 0x7F7F7F7F) + ((kWhite >> 1) & 0x7F7F7F7F);
          inked += inside && ink != kWhite;
          const PIX_Pixel got = PIX_GetPixel(&target, px, py);
          if (got != want && ++wrong <= 3)
            ADD_FAILURE() << "pixel (" << px << ", " << py << ") " << std::hex << got
                          << " instead of " << want << (inside ? " inside" : " outside")
                          << " the area";
        }
      EXPECT_EQ(wrong, 0);
      EXPECT_GT(inked, 0);
    }
    font.SetCombineMode(0, 1.0f);
  }
}

} // namespace
