// The cached font: UTF-8 walking, the glyph cache, blending families, effects, alignment, the
// choice between the cached and native paths, and a rendered card saved as PNG.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <zlib.h>

#include "gui/emulation/DrawingEmulation.h"
#include "gui/emulation/RecordPools.h"
#include "raster/PIX_Fill.h"
#include "raster/PIX_MemBitmap.h"
#include "raster/sys/PIX_CachedFont.h"
#include "raster/sys/PIX_SysBitmap.h"

namespace {

constexpr PIX_Pixel kWhite = 0xFFFFFFFF, kBlack = 0x000000FF;

PIX_Pixel rgba(int r, int g, int b, int a) {
  return PIX_MakePixel(r, g, b, a);
}

HFONT monaco(int height, char quality = 0) {
  return CreateFont(height, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, quality, 0, "Monaco");
}

// A memory bitmap that asks for the cached path, as some targets do.
class ForcingBitmap : public PIX_MemBitmap {
public:
  using PIX_MemBitmap::PIX_MemBitmap;
  intptr_t extensionCall(int id, void*) override {
    return id == PIX_EXTENSION_FORCE_CACHED_TEXT ? 1 : 0;
  }
};

RECT inkBounds(PIX_IBitmap* b, PIX_Pixel background) {
  RECT r{b->getWidth(), b->getHeight(), 0, 0};
  for (int y = 0; y < b->getHeight(); ++y)
    for (int x = 0; x < b->getWidth(); ++x)
      if (b->getBits()[y * b->getRowSpan() + x] != background) {
        r.left = std::min(r.left, x), r.right = std::max(r.right, x + 1);
        r.top = std::min(r.top, y), r.bottom = std::max(r.bottom, y + 1);
      }
  return r;
}

// A tiny PNG writer (RGBA, filter 0) for looking at rendered text.
void savePng(PIX_IBitmap* b, const std::string& path) {
  int w = b->getWidth(), h = b->getHeight();
  std::vector<uint8_t> raw;
  for (int y = 0; y < h; ++y) {
    raw.push_back(0);
    for (int x = 0; x < w; ++x) {
      PIX_Pixel p = b->getBits()[y * b->getRowSpan() + x];
      raw.insert(raw.end(), {uint8_t(PIX_Red(p)), uint8_t(PIX_Green(p)), uint8_t(PIX_Blue(p)),
                             uint8_t(PIX_Alpha(p))});
    }
  }
  uLongf size = compressBound(raw.size());
  std::vector<uint8_t> z(size);
  compress(z.data(), &size, raw.data(), raw.size());
  z.resize(size);
  std::ofstream out(path, std::ios::binary);
  auto put32 = [&](uint32_t v) {
    for (int s = 24; s >= 0; s -= 8)
      out.put(char(v >> s));
  };
  auto chunk = [&](const char* type, const std::vector<uint8_t>& data) {
    put32(uint32_t(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.write(reinterpret_cast<const char*>(body.data()), std::streamsize(body.size()));
    put32(uint32_t(crc32(0, body.data(), uInt(body.size()))));
  };
  out.write("\x89PNG\r\n\x1a\n", 8);
  std::vector<uint8_t> ihdr;
  for (uint32_t v : {uint32_t(w), uint32_t(h)})
    for (int s = 24; s >= 0; s -= 8)
      ihdr.push_back(uint8_t(v >> s));
  ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
  chunk("IHDR", ihdr);
  chunk("IDAT", z);
  chunk("IEND", {});
}

TEST(DecodeUTF8, TableOfSequences) {
  struct Case {
    const char* bytes;
    int available;
    int code, length;
  };
  const Case cases[] = {
      {"A", -1, 'A', 1},
      {"\xc3\xa9", -1, 0xE9, 2},
      {"\xe2\x82\xac", -1, 0x20AC, 3},
      {"\xf0\x9f\x98\x80", -1, 32, 4}, // beyond 16 bits: a space of 4 bytes
      {"\xc0", -1, 0xC0, 1},           // stray bytes are codes of their own
      {"\xc1\xa0", -1, 0xC1, 1},
      {"\x80", -1, 0x80, 1},
      {"\xf5\x80\x80\x80", -1, 0xF5, 1},
      {"\xc3\x41", -1, 0xC3, 1}, // no continuation
      {"\xc3\xa9", 1, 0xC3, 1},  // cut short by the count: never read past it
      {"\xe2\x82\xac", 2, 0xE2, 1},
      {"\xf0\x9f\x98\x80", 3, 0xF0, 1},
  };
  for (const Case& c : cases) {
    int code = -1;
    EXPECT_EQ(PIX_DecodeUTF8Char(c.bytes, &code, c.available), c.length) << c.bytes;
    EXPECT_EQ(code, c.code) << c.bytes;
  }
}

class CachedFont : public ::testing::Test {
protected:
  void SetUp() override {
    font = std::make_unique<PIX_CachedFont>();
    font->SetFromFontHandle(monaco(16), PIX_FONTFLAG_OWNED);
    font->SetTextColor(kBlack);
    target = std::make_unique<PIX_MemBitmap>(160, 60, 4);
    PIX_Clear(target.get(), kWhite);
  }
  RECT measure(const char* text, int count = -1, unsigned flags = 0) {
    RECT r{5, 7, 5, 7};
    extent = font->DrawText(nullptr, text, count, &r, flags | PIX_TEXT_CALCRECT);
    return r;
  }
  std::unique_ptr<PIX_CachedFont> font;
  std::unique_ptr<PIX_MemBitmap> target;
  int extent = 0;
};

TEST_F(CachedFont, FreshFontDefaults) {
  PIX_CachedFont fresh;
  EXPECT_EQ(fresh.SetTextColor(1), 0u);
  EXPECT_EQ(fresh.SetBkColor(2), 0xFFFFFFFFu);
  EXPECT_EQ(fresh.SetEffectColor(3), 0xFFFFFFFFu);
  EXPECT_EQ(fresh.SetBkMode(1), 0);
  EXPECT_EQ(fresh.GetTextColor(), 1u);
  EXPECT_EQ(fresh.GetFontHandle(), nullptr);
  EXPECT_EQ(fresh.GetLineHeight(), 0);
}

TEST_F(CachedFont, LineHeightIsTheFontsTextMetric) {
  HDC dc = CreateMemContext(nullptr, 4, 4);
  SelectObject(dc, font->GetFontHandle());
  TEXTMETRIC tm;
  GetTextMetrics(dc, &tm);
  SelectObject(dc, reinterpret_cast<HGDIOBJ>(3));
  DeleteDC(dc);
  EXPECT_EQ(font->GetLineHeight(), tm.tmHeight);
}

TEST_F(CachedFont, EachCharacterIsRenderedOnce) {
  EXPECT_EQ(font->CoverageStoreSize(), 0);
  RECT r = measure("a");
  int one = font->CoverageStoreSize();
  const PIX_GlyphRecord* a = font->FindGlyph('a');
  ASSERT_NE(a, nullptr);
  EXPECT_GE(a->coverageOffsetPlusOne, 1u);
  EXPECT_EQ(one, a->width * a->height);
  EXPECT_EQ(r.right - r.left, a->advance);
  measure("aaaa");
  EXPECT_EQ(font->CoverageStoreSize(), one);
  RECT four = measure("aaaa");
  EXPECT_EQ(four.right - four.left, 4 * a->advance);
  // Codes from 128 up live in the sorted extended list.
  measure("\xe2\x82\xac\xc3\xa9\xc3\xa0");
  ASSERT_NE(font->FindGlyph(0x20AC), nullptr);
  ASSERT_NE(font->FindGlyph(0xE9), nullptr);
  ASSERT_NE(font->FindGlyph(0xE0), nullptr);
  EXPECT_EQ(font->FindGlyph(0xE1), nullptr);
  EXPECT_EQ(font->FindGlyph(0xE9)->code, 0xE9);
  // Replacing the handle clears the cache.
  font->SetFromFontHandle(monaco(20), PIX_FONTFLAG_OWNED);
  EXPECT_EQ(font->CoverageStoreSize(), 0);
  EXPECT_EQ(font->FindGlyph('a')->coverageOffsetPlusOne, 0u);
  EXPECT_EQ(font->FindGlyph(0xE9), nullptr);
}

TEST_F(CachedFont, MeasuringRules) {
  RECT empty = measure("");
  EXPECT_EQ(extent, 0);
  EXPECT_EQ(empty.right, 5);
  EXPECT_EQ(empty.bottom, 7);
  measure("abc", 0);
  EXPECT_EQ(extent, 0);
  RECT ab = measure("A B");
  RECT single = measure("A\nB", -1, PIX_TEXT_SINGLELINE);
  EXPECT_EQ(single.right, ab.right);
  EXPECT_EQ(single.bottom, ab.bottom);
  RECT two = measure("A\nB");
  EXPECT_EQ(two.bottom - two.top, font->GetLineHeight() + font->FindGlyph('B')->height);
  RECT cr = measure("A\r\rB");
  EXPECT_EQ(cr.right, measure("AB").right);
  // A positive count stops the walk, even in the middle of a character.
  std::unique_ptr<char[]> exact(new char[2]{'a', '\xc3'}); // no terminator: ASan sees over-reads
  RECT cut{0, 0, 0, 0};
  font->DrawText(nullptr, exact.get(), 2, &cut, PIX_TEXT_CALCRECT);
  EXPECT_EQ(cut.right, measure("a\xc3\x83").right - 5); // 'a' and the stray byte 0xC3
  RECT prefix = measure("abcdef", 3);
  EXPECT_EQ(prefix.right, measure("abc").right);
}

TEST_F(CachedFont, CoverageBlendsWithTheFormula) {
  font->SetTextColor(rgba(200, 40, 10, 255));
  PIX_Pixel background = rgba(20, 120, 240, 60);
  PIX_Clear(target.get(), background);
  RECT r{10, 5, 150, 55};
  ASSERT_GT(font->DrawText(target.get(), "W", -1, &r, 0), 0);
  const PIX_GlyphRecord* g = font->FindGlyph('W');
  const uint8_t* cov = font->GlyphCoverage(g);
  ASSERT_NE(cov, nullptr);
  auto blend = [](int d, int s, int a) { return s + ((d - s) * (256 - a)) / 256; };
  int partial = 0;
  for (int y = 0; y < g->height; ++y)
    for (int x = 0; x < g->width; ++x) {
      int c = cov[y * g->width + x];
      PIX_Pixel p = target->getBits()[(5 + y) * target->getRowSpan() + 10 + x];
      if (c == 0) {
        EXPECT_EQ(p, background);
        continue;
      }
      partial += c < 255;
      int a = c + 1; // alpha 1.0
      EXPECT_EQ(PIX_Red(p), blend(20, 200, a));
      EXPECT_EQ(PIX_Green(p), blend(120, 40, a));
      EXPECT_EQ(PIX_Blue(p), blend(240, 10, a));
      EXPECT_EQ(PIX_Alpha(p), blend(60, 255, a)); // the alpha byte moves towards 255
    }
  EXPECT_GT(partial, 0); // anti-aliased edges
}

TEST_F(CachedFont, FlatAndEffectFamiliesWriteWholeColours) {
  PIX_Pixel text = rgba(255, 0, 0, 200), effect = rgba(0, 0, 255, 255);
  struct Case {
    unsigned flags;
    bool effectPixels;
  };
  for (Case c : {Case{PIX_FONTFLAG_NOAA, false}, Case{PIX_FONTFLAG_DROPEDGE, true},
                 Case{PIX_FONTFLAG_RING, true}}) {
    font->SetFromFontHandle(monaco(16), c.flags | PIX_FONTFLAG_OWNED);
    font->SetTextColor(text);
    font->SetEffectColor(effect);
    PIX_Clear(target.get(), kWhite);
    RECT r{10, 5, 150, 55};
    font->DrawText(target.get(), "Ok", -1, &r, 0);
    int texts = 0, effects = 0;
    for (int y = 0; y < target->getHeight(); ++y)
      for (int x = 0; x < target->getWidth(); ++x) {
        PIX_Pixel p = target->getBits()[y * target->getRowSpan() + x];
        ASSERT_TRUE(p == kWhite || p == text || p == effect) << std::hex << p;
        texts += p == text;
        effects += p == effect;
      }
    EXPECT_GT(texts, 10) << c.flags;
    EXPECT_EQ(effects > 0, c.effectPixels) << c.flags;
  }
}

TEST_F(CachedFont, EffectEdgesLieWhereTheFlagsSay) {
  for (unsigned flag : {PIX_FONTFLAG_DROPEDGE, PIX_FONTFLAG_RING, PIX_FONTFLAG_NOAA}) {
    font->SetFromFontHandle(monaco(16), flag | PIX_FONTFLAG_OWNED);
    measure("#");
    const PIX_GlyphRecord* g = font->FindGlyph('#');
    const uint8_t* c = font->GlyphCoverage(g);
    ASSERT_NE(c, nullptr);
    int w = g->width, h = g->height, edges = 0;
    auto at = [&](int x, int y) { return x < 0 || y < 0 || x >= w || y >= h ? 0 : c[y * w + x]; };
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        int v = at(x, y);
        ASSERT_TRUE(v == 0 || v == 128 || v == 255);
        if (v != 128)
          continue;
        ++edges;
        bool dropSource = at(x - 1, y) == 255 || at(x - 1, y - 1) == 255 || at(x, y - 1) == 255;
        bool ringSource = at(x, y - 1) == 255 || at(x, y + 1) == 255 || at(x - 1, y) == 255 ||
                          at(x + 1, y) == 255;
        EXPECT_TRUE(flag == PIX_FONTFLAG_DROPEDGE ? dropSource : ringSource);
      }
    EXPECT_EQ(edges > 0, flag != PIX_FONTFLAG_NOAA);
    // Every empty byte that touches the glyph the flag's way was marked.
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        if (at(x, y) == 0 && flag == PIX_FONTFLAG_DROPEDGE) {
          EXPECT_FALSE(at(x - 1, y) == 255 || at(x - 1, y - 1) == 255 || at(x, y - 1) == 255);
        }
      }
  }
}

TEST_F(CachedFont, InvertBlurAndRotation) {
  measure("H");
  const PIX_GlyphRecord plain = *font->FindGlyph('H');
  std::vector<uint8_t> plainCoverage(font->GlyphCoverage(font->FindGlyph('H')),
                                     font->GlyphCoverage(font->FindGlyph('H')) +
                                         plain.width * plain.height);

  font->SetFromFontHandle(monaco(16), PIX_FONTFLAG_INVERT | PIX_FONTFLAG_OWNED);
  measure("H");
  const PIX_GlyphRecord* inv = font->FindGlyph('H');
  const uint8_t* ic = font->GlyphCoverage(inv);
  ASSERT_EQ(inv->height, plain.height);
  for (int y = 0; y < plain.height; ++y)
    for (int x = 0; x < std::min(plain.width, inv->width); ++x)
      EXPECT_EQ(ic[y * inv->width + x], 255 - plainCoverage[y * plain.width + x]);

  font->SetFromFontHandle(monaco(16), PIX_FONTFLAG_BLUR | PIX_FONTFLAG_OWNED);
  measure("H");
  const PIX_GlyphRecord* blurred = font->FindGlyph('H');
  EXPECT_NE(memcmp(font->GlyphCoverage(blurred), plainCoverage.data(),
                   std::min<size_t>(plainCoverage.size(), blurred->width * blurred->height)),
            0);

  for (unsigned up : {0u, unsigned(PIX_FONTFLAG_ROTATE_UP)}) {
    font->SetFromFontHandle(monaco(16), PIX_FONTFLAG_ROTATED | up | PIX_FONTFLAG_OWNED);
    RECT r = measure("H");
    const PIX_GlyphRecord* rot = font->FindGlyph('H');
    const uint8_t* rc = font->GlyphCoverage(rot);
    ASSERT_EQ(rot->width, plain.height);
    ASSERT_EQ(rot->height, plain.width);
    EXPECT_EQ(rot->advance, plain.advance);
    for (int y = 0; y < rot->height; ++y)
      for (int x = 0; x < rot->width; ++x) {
        uint8_t want = up ? plainCoverage[x * plain.width + (plain.width - 1 - y)]
                          : plainCoverage[(plain.height - 1 - x) * plain.width + y];
        ASSERT_EQ(rc[y * rot->width + x], want) << x << "," << y << " up " << up;
      }
    // Vertical text measures along y and returns the width.
    EXPECT_EQ(extent, r.right - r.left);
    RECT two = measure("HH");
    EXPECT_EQ(two.bottom - two.top, std::max(2 * plain.advance, plain.advance + rot->height));
  }
}

TEST_F(CachedFont, AlignmentPlacesTheText) {
  RECT m = measure("Mid");
  int w = m.right - m.left, h = m.bottom - m.top;
  struct Case {
    unsigned flags;
    int x, y;
  };
  const RECT box{10, 4, 150, 56};
  const Case cases[] = {{0, 10, 4},
                        {PIX_TEXT_RIGHT, 150 - w, 4},
                        {PIX_TEXT_CENTER, 10 + (140 - w) / 2, 4},
                        {PIX_TEXT_BOTTOM, 10, 56 - h},
                        {PIX_TEXT_VCENTER | PIX_TEXT_CENTER, 10 + (140 - w) / 2, 4 + (52 - h) / 2}};
  for (const Case& c : cases) {
    PIX_Clear(target.get(), kWhite);
    RECT r = box;
    font->DrawText(target.get(), "Mid", -1, &r, c.flags);
    RECT ink = inkBounds(target.get(), kWhite);
    EXPECT_GE(ink.left, c.x) << c.flags;
    EXPECT_LE(ink.left, c.x + 3) << c.flags;
    EXPECT_LE(ink.right, c.x + w + 1) << c.flags;
    EXPECT_GE(ink.top, c.y) << c.flags;
    EXPECT_LE(ink.bottom, c.y + h) << c.flags;
  }
  // Clipped to the rectangle, or to the bitmap under PIX_TEXT_NOCLIP.
  PIX_Clear(target.get(), kWhite);
  RECT narrow{10, 4, 20, 56};
  font->DrawText(target.get(), "WWWW", -1, &narrow, 0);
  EXPECT_LE(inkBounds(target.get(), kWhite).right, 20);
  PIX_Clear(target.get(), kWhite);
  font->DrawText(target.get(), "WWWW", -1, &narrow, PIX_TEXT_NOCLIP);
  EXPECT_GT(inkBounds(target.get(), kWhite).right, 20);
  // Far outside the bitmap: nothing drawn, nothing touched.
  PIX_Clear(target.get(), kWhite);
  RECT outside{-1000, -1000, 2000, 2000};
  font->DrawText(target.get(), "WWWW", -1, &outside, PIX_TEXT_NOCLIP);
  EXPECT_EQ(inkBounds(target.get(), kWhite).right, 0);
}

TEST_F(CachedFont, ForegroundAlphaAndZeroAlphaDrawNothing) {
  font->SetTextColor(rgba(0, 0, 0, 0));
  RECT r{0, 0, 160, 60};
  EXPECT_EQ(font->DrawText(target.get(), "Hi", -1, &r, PIX_TEXT_USEFGALPHA), 0);
  EXPECT_EQ(inkBounds(target.get(), kWhite).right, 0);
  font->SetTextColor(kBlack);
  font->SetCombineMode(0, 0.0f);
  EXPECT_EQ(font->DrawText(target.get(), "Hi", -1, &r, 0), 0);
  EXPECT_EQ(inkBounds(target.get(), kWhite).right, 0);
  font->SetCombineMode(6, 1.0f); // a mode above 5 draws nothing
  font->DrawText(target.get(), "Hi", -1, &r, 0);
  EXPECT_EQ(inkBounds(target.get(), kWhite).right, 0);
}

TEST_F(CachedFont, PathChoice) {
  PIX_SysBitmap sys(160, 60);
  PIX_Clear(&sys, kWhite);
  RECT r{0, 0, 160, 60};
  // Preferring native drawing with no effect flags: the emulation draws, nothing is cached.
  font->SetFromFontHandle(monaco(16), PIX_FONTFLAG_OWNED | PIX_FONTFLAG_PREFER_NATIVE);
  font->SetTextColor(kBlack);
  font->DrawText(&sys, "Native", -1, &r, 0);
  EXPECT_EQ(font->CoverageStoreSize(), 0);
  EXPECT_GT(inkBounds(&sys, kWhite).right, 0);
  // No drawing context: native through the scratch bitmap.
  font->DrawText(target.get(), "Native", -1, &r, 0);
  EXPECT_EQ(font->CoverageStoreSize(), 0);
  EXPECT_GT(inkBounds(target.get(), kWhite).right, 0);
  // The foreground-alpha flag and a forcing bitmap take the cached path.
  font->DrawText(target.get(), "x", -1, &r, PIX_TEXT_USEFGALPHA);
  EXPECT_GT(font->CoverageStoreSize(), 0);
  font->SetFromFontHandle(monaco(16), PIX_FONTFLAG_OWNED | PIX_FONTFLAG_PREFER_NATIVE);
  ForcingBitmap forcing(160, 60, 4);
  PIX_Clear(&forcing, kWhite);
  font->DrawText(&forcing, "y", -1, &r, 0);
  EXPECT_GT(font->CoverageStoreSize(), 0);
  // Bit 31 of the text flags blocks the native path too.
  font->SetFromFontHandle(monaco(16), PIX_FONTFLAG_OWNED | PIX_FONTFLAG_PREFER_NATIVE);
  font->DrawText(&sys, "z", -1, &r, 0x80000000u);
  EXPECT_GT(font->CoverageStoreSize(), 0);
}

TEST_F(CachedFont, LargeLineHeightsGoNativeOrDrawNothing) {
  font->SetFromFontHandle(monaco(300), PIX_FONTFLAG_OWNED);
  EXPECT_GE(font->GetLineHeight(), 256);
  PIX_MemBitmap big(400, 400, 4);
  PIX_Clear(&big, kWhite);
  RECT r{0, 0, 400, 400};
  font->DrawText(&big, "A", -1, &r, 0);
  EXPECT_EQ(font->CoverageStoreSize(), 0); // never cached
  EXPECT_GT(inkBounds(&big, kWhite).right, 0);

  // Above 1023 nothing renders on the cached path (forced here).
  font->SetFromFontHandle(CreateFont(1100, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Monaco"),
                          PIX_FONTFLAG_OWNED);
  EXPECT_GT(font->GetLineHeight(), 1023);
  ForcingBitmap forcing(50, 50, 4);
  PIX_Clear(&forcing, kWhite);
  RECT s{0, 0, 50, 50};
  EXPECT_EQ(font->DrawText(&forcing, "A", -1, &s, 0), 0);
  EXPECT_EQ(font->CoverageStoreSize(), 0);
  EXPECT_EQ(inkBounds(&forcing, kWhite).right, 0);
}

TEST_F(CachedFont, PrerenderCoversAsciiOnly) {
  font->SetFromFontHandle(monaco(12), PIX_FONTFLAG_PRERENDER | PIX_FONTFLAG_OWNED);
  int size = font->CoverageStoreSize();
  EXPECT_GT(size, 0);
  EXPECT_NE(font->FindGlyph('Z')->coverageOffsetPlusOne, 0u);
  RECT e = measure("\xc3\xa9");
  EXPECT_EQ(e.right, 5); // skipped
  EXPECT_EQ(font->CoverageStoreSize(), size);
  EXPECT_EQ(font->FindGlyph(0xE9), nullptr);
}

TEST_F(CachedFont, FlippedTargetsAreDrawnTheRightWayUp) {
  class Flipped : public PIX_MemBitmap {
  public:
    using PIX_MemBitmap::PIX_MemBitmap;
    bool isFlipped() override { return true; }
  } flipped(160, 60, 4);
  PIX_Clear(&flipped, kWhite);
  RECT r{10, 5, 150, 55};
  font->DrawText(&flipped, "T", -1, &r, 0);
  PIX_Clear(target.get(), kWhite);
  font->DrawText(target.get(), "T", -1, &r, 0);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 160; ++x)
      ASSERT_EQ(flipped.getBits()[(59 - y) * flipped.getRowSpan() + x],
                target->getBits()[y * target->getRowSpan() + x]);
}

TEST(CachedFontShared, TheLastFontTakesTheSharedBitmapsWithIt) {
  int before = winemu::pooledContextCount();
  {
    PIX_CachedFont font;
    font.SetFromFontHandle(monaco(12), PIX_FONTFLAG_OWNED); // makes the render bitmap
    PIX_MemBitmap target(40, 20, 4);
    RECT r{0, 0, 40, 20};
    font.SetFromFontHandle(monaco(12), PIX_FONTFLAG_OWNED | PIX_FONTFLAG_PREFER_NATIVE);
    font.DrawText(&target, "x", -1, &r, 0); // and the measuring bitmap
    {
      PIX_CachedFont second;
      second.SetFromFontHandle(monaco(14), PIX_FONTFLAG_OWNED);
    } // not the last font: the shared bitmaps stay
    EXPECT_EQ(winemu::pooledContextCount(), std::max(0, before - 2));
  }
  // Both shared contexts went back to the pool.
  EXPECT_EQ(winemu::pooledContextCount(), std::max(0, before - 2) + 2);
  PIX_CachedFont fresh;
  fresh.SetFromFontHandle(monaco(12), PIX_FONTFLAG_OWNED); // a new render bitmap
  EXPECT_EQ(winemu::pooledContextCount(), std::max(0, before - 2) + 1);
}

TEST(CachedFontCard, RenderedTextSavedAsPng) {
  PIX_MemBitmap card(420, 300, 4);
  PIX_Clear(&card, rgba(40, 44, 52, 255));
  struct Line {
    const char* text;
    unsigned flags;
    PIX_Pixel color;
    int height;
    unsigned textFlags;
  };
  const Line lines[] = {
      {"Monaco 16: plain coverage", 0, rgba(235, 235, 235, 255), 16, 0},
      {"NOAA: flat colour", PIX_FONTFLAG_NOAA, rgba(255, 210, 80, 255), 16, 0},
      {"DROPEDGE: shadowed", PIX_FONTFLAG_DROPEDGE, rgba(255, 255, 255, 255), 18, 0},
      {"RING: outlined", PIX_FONTFLAG_RING, rgba(255, 255, 255, 255), 18, 0},
      {"BLUR: soft", PIX_FONTFLAG_BLUR, rgba(120, 200, 255, 255), 16, 0},
      {"INVERT", PIX_FONTFLAG_INVERT, rgba(255, 120, 120, 255), 14, 0},
      {"centred, 50% alpha", 0, rgba(255, 255, 255, 255), 20, PIX_TEXT_CENTER},
      {"caf\xc3\xa9 \xe2\x82\xac 12", 0, rgba(160, 255, 160, 255), 16, PIX_TEXT_RIGHT},
  };
  int y = 6;
  for (const Line& l : lines) {
    PIX_CachedFont font;
    font.SetFromFontHandle(monaco(l.height), l.flags | PIX_FONTFLAG_OWNED);
    font.SetTextColor(l.color);
    font.SetEffectColor(rgba(230, 60, 60, 255));
    if (l.textFlags & PIX_TEXT_CENTER)
      font.SetCombineMode(0, 0.5f);
    RECT r{8, y, 380, y + 34};
    font.DrawText(&card, l.text, -1, &r, l.textFlags);
    y += 30;
  }
  PIX_CachedFont native;
  native.SetFromFontHandle(
      CreateFont(15, 0, 0, 0, 700, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"),
      PIX_FONTFLAG_OWNED | PIX_FONTFLAG_PREFER_NATIVE);
  native.SetTextColor(rgba(255, 255, 255, 255));
  RECT n{8, y, 380, y + 30};
  native.DrawText(&card, "Native path: Arial Bold", -1, &n, 0);
  EXPECT_EQ(native.CoverageStoreSize(), 0);
  PIX_CachedFont vertical;
  vertical.SetFromFontHandle(monaco(16), PIX_FONTFLAG_ROTATED | PIX_FONTFLAG_OWNED);
  vertical.SetTextColor(rgba(255, 160, 255, 255));
  RECT v{388, 6, 416, 294};
  vertical.DrawText(&card, "ROTATED", -1, &v, 0);
  std::string path = std::string(ORVANE_TEST_OUTPUT) + "/cached_font_card.png";
  savePng(&card, path);
  std::ifstream check(path, std::ios::binary);
  EXPECT_TRUE(check.good());
  EXPECT_NE(inkBounds(&card, rgba(40, 44, 52, 255)).right, 0);
}

} // namespace
