// DrawText: the text rules, measuring against FreeType's own metrics, alignment, clipping,
// background, colour and antialiasing, read back from the pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "EmulationTestSupport.h"

using emutest::inkBounds;
using emutest::pixelAt;

namespace {

class DrawTextTest : public ::testing::Test {
protected:
  static constexpr int kWidth = 200, kHeight = 120;
  static constexpr double kSize = 14;

  void SetUp() override {
    dc = CreateMemContext(nullptr, kWidth, kHeight);
    font = CreateFont(int(kSize), 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Monaco");
    SelectObject(dc, font);
    emutest::fillWhite(dc, kWidth, kHeight);
  }
  void TearDown() override {
    SelectObject(dc, reinterpret_cast<HGDIOBJ>(3));
    DeleteObject(font);
    DeleteDC(dc);
  }

  RECT measure(const char* text, unsigned flags = 0, int count = -1) {
    RECT r{10, 20, 10, 20};
    height = DrawText(dc, text, count, &r, flags | DT_CALCRECT);
    return r;
  }
  int widthOf(const char* text, unsigned flags = 0, int count = -1) {
    RECT r = measure(text, flags, count);
    return r.right - r.left;
  }

  HDC dc = nullptr;
  HFONT font = nullptr;
  int height = 0;
  emutest::FaceMetrics ft{"monospace", kSize};
};

TEST_F(DrawTextTest, EmptyTextMeasuresNothingAndLeavesTheRectangle) {
  for (const char* text : {"", "&", "\r", "\r\r&"}) {
    RECT r{1, 2, 3, 4};
    EXPECT_EQ(DrawText(dc, text, -1, &r, DT_CALCRECT), 0) << text;
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(r.top, 2);
    EXPECT_EQ(r.right, 3);
    EXPECT_EQ(r.bottom, 4);
  }
  RECT r{0, 0, 0, 0};
  EXPECT_EQ(DrawText(dc, "abc", 0, &r, DT_CALCRECT), 0);
  EXPECT_EQ(DrawText(dc, nullptr, -1, &r, DT_CALCRECT), 0);
  EXPECT_EQ(DrawText(dc, "abc", -1, nullptr, DT_CALCRECT), 0);
}

TEST_F(DrawTextTest, OneLineMeasuresFreeTypeAdvancesAndLineHeight) {
  int lineHeight = static_cast<int>(std::floor(ft.ascent + ft.descent + ft.leading + 1.5));
  for (const char* text : {"a", "Hello, world", "WWWWiiii", "0123456789"}) {
    RECT r = measure(text);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, static_cast<int>(std::floor(ft.width(text) + 0.5))) << text;
    EXPECT_EQ(r.bottom - r.top, lineHeight + 1) << text;
    EXPECT_EQ(height, lineHeight + 1);
  }
  // Monaco is monospaced.
  EXPECT_EQ(widthOf("iiii"), widthOf("WWWW"));
}

TEST_F(DrawTextTest, ArialIsAProportionalFace) {
  HFONT arial = CreateFont(int(kSize), 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  SelectObject(dc, arial);
  EXPECT_LT(widthOf("iiii"), widthOf("WWWW"));
  SelectObject(dc, font);
  DeleteObject(arial);
}

TEST_F(DrawTextTest, TextRulesAsATable) {
  struct Case {
    const char* text;
    unsigned flags;
    int count;
    const char* sameAs; // measured with DT_NOPREFIX
  };
  const Case cases[] = {
      {"a&b", 0, -1, "ab"},    {"a&b", DT_NOPREFIX, -1, "a&b"},
      {"a&&b", 0, -1, "a&b"},  {"ab&", 0, -1, "ab"},
      {"a\rb", 0, -1, "ab"},   {"one\ntwo", DT_SINGLELINE, -1, "one two"},
      {"abcdef", 0, 3, "abc"}, {"ab\0cd", 0, 5, "ab"},
      {"a&bcd", 0, 3, "ab"}, // the count runs over the caller's bytes, '&' included
  };
  for (const Case& c : cases) {
    RECT got = measure(c.text, c.flags, c.count);
    int gotHeight = height;
    RECT want = measure(c.sameAs, DT_NOPREFIX);
    EXPECT_EQ(got.right, want.right) << c.text << " flags " << c.flags;
    EXPECT_EQ(got.bottom, want.bottom) << c.text;
    EXPECT_EQ(gotHeight, height) << c.text;
  }
}

TEST_F(DrawTextTest, LineFeedsMakeLinesThatMeasureOnePixelTallerEach) {
  int lineHeight = static_cast<int>(std::floor(ft.ascent + ft.descent + ft.leading + 1.5));
  RECT two = measure("one\ntwo");
  EXPECT_EQ(two.bottom - two.top, 2 * lineHeight + 1);
  EXPECT_EQ(two.right - two.left, widthOf("one"));
  RECT three = measure("a\n\nlonger line");
  EXPECT_EQ(three.bottom - three.top, 3 * lineHeight + 1);
  EXPECT_EQ(three.right - three.left, widthOf("longer line"));
  RECT trailing = measure("one\n");
  EXPECT_EQ(trailing.bottom - trailing.top, lineHeight + 1);
}

TEST_F(DrawTextTest, BadTextDrawsNothing) {
  RECT r{0, 0, 100, 40};
  EXPECT_EQ(DrawText(dc, "\xff\xfe", -1, &r, 0), 0); // neither UTF-8 nor ASCII
  EXPECT_EQ(inkBounds(dc, kWidth, kHeight).right, 0);
  EXPECT_GT(DrawText(dc, "caf\xc3\xa9", -1, &r, DT_CALCRECT), 0);
}

TEST_F(DrawTextTest, LongTextIsCutAtACharacterBoundary) {
  std::string text(4094, 'a');
  text += "\xc3\xa9"; // the 4095-byte limit falls inside this character
  RECT r{0, 0, 0, 0};
  EXPECT_GT(DrawText(dc, text.c_str(), -1, &r, DT_CALCRECT), 0);
  RECT shorter{0, 0, 0, 0};
  DrawText(dc, std::string(4094, 'a').c_str(), -1, &shorter, DT_CALCRECT);
  EXPECT_EQ(r.right, shorter.right);
}

TEST_F(DrawTextTest, AlignmentPlacesTheInk) {
  const char* text = "Mix";
  RECT m = measure(text);
  int W = m.right - m.left, H = m.bottom - m.top;
  struct Case {
    unsigned flags;
    int x, y; // origin the rules give for the box (20, 10)-(180, 110)
  };
  const RECT box{20, 10, 180, 110};
  const Case cases[] = {
      {0, 20, 10},
      {DT_RIGHT, 180 - W, 10},
      {DT_CENTER, 20 + (160 / 2 - W / 2), 10},
      {DT_RIGHT | DT_CENTER, 180 - W, 10},
      {DT_BOTTOM, 20, 110 - H},
      {DT_VCENTER, 20, 10 + (100 / 2 - H / 2)},
      {DT_VCENTER | DT_BOTTOM | DT_CENTER, 20 + (160 / 2 - W / 2), 110 - H},
  };
  for (const Case& c : cases) {
    emutest::fillWhite(dc, kWidth, kHeight);
    RECT r = box;
    EXPECT_EQ(DrawText(dc, text, -1, &r, c.flags), H);
    RECT ink = inkBounds(dc, kWidth, kHeight);
    ASSERT_GT(ink.right, ink.left) << c.flags;
    EXPECT_GE(ink.left, c.x) << c.flags;
    EXPECT_LE(ink.left, c.x + 2) << c.flags;
    EXPECT_LE(ink.right, c.x + W + 1) << c.flags;
    EXPECT_GE(ink.top, c.y) << c.flags;
    EXPECT_LE(ink.bottom, c.y + H) << c.flags;
    // The cap of 'M' reaches up to about the ascent of the font.
    EXPECT_LE(ink.top, c.y + static_cast<int>(ft.ascent) - 7) << c.flags;
  }
}

TEST_F(DrawTextTest, ClipsToTheRectangleUnlessToldNot) {
  RECT narrow{10, 10, 25, 40};
  DrawText(dc, "WWWWWWWW", -1, &narrow, 0);
  RECT ink = inkBounds(dc, kWidth, kHeight);
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 25);
  EXPECT_GT(ink.right, ink.left);
  emutest::fillWhite(dc, kWidth, kHeight);
  DrawText(dc, "WWWWWWWW", -1, &narrow, DT_NOCLIP);
  EXPECT_GT(inkBounds(dc, kWidth, kHeight).right, 40);
}

TEST_F(DrawTextTest, OpaqueBackgroundFillsTheTextBox) {
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(0, 0, 255));
  SetTextColor(dc, RGB(255, 0, 0));
  RECT r{30, 30, 190, 110};
  RECT m = measure("Hi");
  int W = m.right - m.left, H = m.bottom - m.top;
  DrawText(dc, "Hi", -1, &r, 0);
  EXPECT_EQ(pixelAt(dc, kWidth, 30, 30).b, 255);
  EXPECT_EQ(pixelAt(dc, kWidth, 30, 30).r, 0);
  EXPECT_EQ(pixelAt(dc, kWidth, 30 + W - 1, 30 + H - 1).b, 255);
  EXPECT_EQ(pixelAt(dc, kWidth, 30 + W, 30).r, 255); // outside the box: untouched white
  EXPECT_EQ(pixelAt(dc, kWidth, 30, 30 + H).g, 255);
  bool red = false;
  for (int y = 30; y < 30 + H; ++y)
    for (int x = 30; x < 30 + W; ++x) {
      emutest::Pixel p = pixelAt(dc, kWidth, x, y);
      red |= p.r == 255 && p.b == 0;
      EXPECT_EQ(p.g, 0);
    }
  EXPECT_TRUE(red);
  SetBkMode(dc, TRANSPARENT);
  emutest::fillWhite(dc, kWidth, kHeight);
  DrawText(dc, "Hi", -1, &r, 0);
  EXPECT_EQ(pixelAt(dc, kWidth, 30, 30).b, 255);
  EXPECT_EQ(pixelAt(dc, kWidth, 30, 30).r, 255);
}

TEST_F(DrawTextTest, QualityChoosesAntialiasing) {
  struct Case {
    char quality;
    bool greys;
  };
  for (Case c : {Case{3, false}, Case{4, true}, Case{0, true}}) {
    HFONT f = CreateFont(int(kSize), 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, c.quality, 0, "Monaco");
    SelectObject(dc, f);
    emutest::fillWhite(dc, kWidth, kHeight);
    RECT r{5, 5, 195, 60};
    DrawText(dc, "Quality &Test", -1, &r, 0);
    int greys = 0, blacks = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        uint8_t v = pixelAt(dc, kWidth, x, y).r;
        greys += v != 0 && v != 255;
        blacks += v == 0;
      }
    EXPECT_GT(blacks, 10) << int(c.quality);
    EXPECT_EQ(greys > 0, c.greys) << int(c.quality);
    SelectObject(dc, font);
    DeleteObject(f);
  }
}

TEST_F(DrawTextTest, DrawnLinesAdvanceOnePixelLessThanMeasured) {
  // Two identical lines: the second line's ink is the first moved down by the drawing step.
  RECT r{10, 5, 190, 115};
  DrawText(dc, "|\n|", -1, &r, 0);
  int step = static_cast<int>(std::floor(ft.ascent + ft.descent + ft.leading + 0.5));
  int firstTop = -1, secondTop = -1;
  for (int y = 0; y < kHeight; ++y) {
    bool ink = false;
    for (int x = 0; x < kWidth; ++x)
      ink |= pixelAt(dc, kWidth, x, y).r < 128;
    bool above = y > 0 && [&] {
      for (int x = 0; x < kWidth; ++x)
        if (pixelAt(dc, kWidth, x, y - 1).r < 128)
          return true;
      return false;
    }();
    if (ink && !above) {
      if (firstTop < 0)
        firstTop = y;
      else if (secondTop < 0)
        secondTop = y;
    }
  }
  ASSERT_GE(firstTop, 0);
  if (secondTop < 0) {
    // The bars touch: measure the ink's height instead.
    RECT ink = inkBounds(dc, kWidth, kHeight);
    RECT one{10, 5, 190, 115};
    emutest::fillWhite(dc, kWidth, kHeight);
    DrawText(dc, "|", -1, &one, 0);
    RECT single = inkBounds(dc, kWidth, kHeight);
    EXPECT_EQ((ink.bottom - ink.top) - (single.bottom - single.top), step);
  } else {
    EXPECT_EQ(secondTop - firstTop, step);
  }
}

TEST_F(DrawTextTest, TextColourReachesThePixels) {
  SetTextColor(dc, RGB(0, 160, 0));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 160, 0));
  RECT r{5, 5, 195, 60};
  DrawText(dc, "green", -1, &r, 0);
  bool solid = false;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      emutest::Pixel p = pixelAt(dc, kWidth, x, y);
      EXPECT_GE(p.g, 160);
      EXPECT_EQ(p.r, p.b);
      solid |= p.g == 160 && p.r == 0;
    }
  EXPECT_TRUE(solid);
}

} // namespace
