// Lines, dashed lines and clipping: the properties that must hold, and the named cases.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <random>

#include "raster/PIX_Combine.h"
#include "raster/PIX_Line.h"
#include "tests/raster/TestBitmap.h"

namespace {
constexpr PIX_Pixel kInk = 0xC0804020u;

int CountNot(TestBitmap& bm, PIX_Pixel background) {
  int n = 0;
  for (int y = 0; y < bm.getHeight(); ++y)
    for (int x = 0; x < bm.getWidth(); ++x)
      n += bm.at(x, y) != background;
  return n;
}

bool SameWords(TestBitmap& a, TestBitmap& b) {
  return std::memcmp(a.words(), b.words(), a.wordCount() * 4) == 0;
}

} // namespace

// A plain line inside the bitmap covers both ends and draws one pixel per step of its major
// axis.
TEST(Line, CoversBothEndsWithOnePixelPerMajorStep) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> coord(0, 39);
  for (int trial = 0; trial < 300; ++trial) {
    const int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng);
    TestBitmap bm(40, 40, 40, false);
    bm.fill(0);
    PIX_Line(&bm, x1, y1, x2, y2, kInk, 1.0f, 0, false);
    EXPECT_EQ(bm.at(x1, y1), kInk);
    EXPECT_EQ(bm.at(x2, y2), kInk);
    EXPECT_EQ(CountNot(bm, 0), std::max(std::abs(x2 - x1), std::abs(y2 - y1)) + 1)
        << x1 << "," << y1 << " - " << x2 << "," << y2;
  }
}

TEST(Line, OnePixelPerColumnOnAShallowSlope) {
  TestBitmap bm(20, 10, 20, false);
  bm.fill(0);
  PIX_Line(&bm, 0, 0, 10, 3, kInk, 1.0f, 0, false);
  for (int x = 0; x <= 10; ++x) {
    int inColumn = 0;
    for (int y = 0; y < 10; ++y)
      inColumn += bm.at(x, y) == kInk;
    EXPECT_EQ(inColumn, 1) << x;
  }
  EXPECT_EQ(CountNot(bm, 0), 11);
}

TEST(Line, SinglePointDrawsOnePixelInEveryMode) {
  for (int mode = 0; mode <= 5; ++mode) {
    TestBitmap bm(8, 8, 8, false);
    bm.fill(0x40404040u);
    PIX_Line(&bm, 3, 5, 3, 5, kInk, 0.6f, mode, true);
    EXPECT_EQ(CountNot(bm, 0x40404040u), 1) << mode;
  }
}

TEST(Line, HalfWeightRunsUseWordAndByteAverages) {
  TestBitmap bm(4, 1, 4, false);
  bm.fill(0x01030507u);
  PIX_Line(&bm, 0, 0, 1, 0, 0x03050709u, 0.5f, 0, false);
  EXPECT_EQ(bm.at(0, 0), PIX_WordHalf(0x01030507u, 0x03050709u));
  PIX_Line(&bm, 2, 0, 3, 0, 0x03050709u, 0.502f, 0, false);
  EXPECT_EQ(bm.at(2, 0), 0x02040608u); // (d + c) >> 1 per byte
  PIX_Line(&bm, 0, 0, 3, 0, kInk, 0.25f, 0, false);
  EXPECT_EQ(bm.at(3, 0), PIX_WordQuarter(0x02040608u, kInk));
}

TEST(Line, SourceAlphaFlagIsIgnoredAndHighModesDrawNothing) {
  TestBitmap a(10, 10, 10, false), b(10, 10, 10, false);
  a.fill(0x55555555u);
  b.fill(0x55555555u);
  PIX_Line(&a, 1, 1, 8, 5, 0x12345600u, 1.0f, 0x10000, false);
  PIX_Line(&b, 1, 1, 8, 5, 0x12345600u, 1.0f, 0, false);
  EXPECT_TRUE(SameWords(a, b));
  EXPECT_EQ(a.at(1, 1), 0x12345600u); // A = 0 overwrites too
  TestBitmap c(10, 10, 10, false);
  c.fill(0x55555555u);
  PIX_Line(&c, 1, 1, 8, 5, kInk, 1.0f, 6, false);
  PIX_Line(&c, 1, 1, 8, 1, kInk, 1.0f, 6, false);
  EXPECT_EQ(CountNot(c, 0x55555555u), 0);
}

TEST(Line, FlippedBitmapDrawsOnTheLastStoredRow) {
  TestBitmap bm(8, 4, 8, true);
  bm.fill(0);
  PIX_Line(&bm, 0, 0, 5, 0, kInk, 1.0f, 0, false);
  for (int x = 0; x <= 5; ++x)
    EXPECT_EQ(bm.words()[3 * 8 + x], kInk);
}

TEST(Line, AntiAliasedEndsAtFullWeightInteriorSplit) {
  TestBitmap bm(20, 10, 20, false);
  bm.fill(0);
  PIX_Line(&bm, 0, 0, 10, 3, 0xFFFFFFFFu, 1.0f, PIX_COMBINE_ADD, true);
  EXPECT_EQ(bm.at(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(bm.at(10, 3), 0xFFFFFFFFu);
  for (int x = 1; x < 10; ++x) {
    int sum = 0, lit = 0;
    for (int y = 0; y < 10; ++y) {
      sum += bm.at(x, y) & 0xFF;
      lit += bm.at(x, y) != 0;
    }
    EXPECT_LE(lit, 2) << x;
    EXPECT_GE(sum, 250) << x; // 255 - e and e, each truncated by the add
  }
}

TEST(Line, FarOutsideAndHugeCoordinatesStayInside) {
  const int far[] = {INT_MIN, INT_MIN + 1, -100000, -1, 0, 5, 39, 40, 100000, INT_MAX};
  for (int x1 : far)
    for (int y1 : far)
      for (int x2 : {INT_MIN, -7, 20, INT_MAX})
        for (int y2 : {INT_MAX, 3, -9, INT_MIN})
          for (bool aa : {false, true}) {
            TestBitmap bm(40, 30, 43, (x1 ^ y2) & 1);
            bm.fill(0);
            PIX_Line(&bm, x1, y1, x2, y2, kInk, 0.7f, 1, aa);
            PIX_DashedLine(&bm, x1, y1, x2, y2, 3, 2, kInk, 1.0f, 0);
            PIX_FloatLine(&bm, (float)x1, (float)y1, (float)x2, (float)y2, kInk, 0.7f, 0, aa);
            ASSERT_TRUE(bm.guardsIntact()) << x1 << "," << y1 << " - " << x2 << "," << y2;
            for (int y = 0; y < 30; ++y)
              for (int x = 40; x < 43; ++x)
                ASSERT_EQ(bm.words()[y * 43 + x], 0u) << "row padding written";
          }
}

TEST(Line, ClipLineCutsAtTheBorder) {
  int x1 = 5, y1 = 5, x2 = 5, y2 = 100;
  EXPECT_TRUE(PIX_ClipLine(&x1, &y1, &x2, &y2, 20, 10));
  EXPECT_EQ(y2, 9);
  EXPECT_EQ(x2, 5);
  x1 = 0, y1 = 0, x2 = 30, y2 = 30; // crossing computed on y = 10: x = 10, placed on row 9
  EXPECT_TRUE(PIX_ClipLine(&x1, &y1, &x2, &y2, 40, 10));
  EXPECT_EQ(x2, 10);
  EXPECT_EQ(y2, 9);
  x1 = -5, y1 = -5, x2 = -1, y2 = 3;
  EXPECT_FALSE(PIX_ClipLine(&x1, &y1, &x2, &y2, 20, 10));
  // The crossing is computed from the line's first point as given, so a line and its reverse
  // can be cut one row apart: 19 + (int)(8 * 11 / 45) against 27 + (int)(-8 * 34 / 45).
  x1 = 51, y1 = 19, x2 = 6, y2 = 27;
  EXPECT_TRUE(PIX_ClipLine(&x1, &y1, &x2, &y2, 40, 30));
  EXPECT_EQ(x1, 39);
  EXPECT_EQ(y1, 20);
  EXPECT_EQ(x2, 6);
  EXPECT_EQ(y2, 27);
  x1 = 6, y1 = 27, x2 = 51, y2 = 19;
  EXPECT_TRUE(PIX_ClipLine(&x1, &y1, &x2, &y2, 40, 30));
  EXPECT_EQ(x1, 6);
  EXPECT_EQ(y1, 27);
  EXPECT_EQ(x2, 39);
  EXPECT_EQ(y2, 21);

  int a = 12, b = 12, c = 18, d = 15;
  EXPECT_TRUE(PIX_ClipLineToRect(&a, &b, &c, &d, 10, 10, 20, 20));
  EXPECT_EQ(a, 12);
  EXPECT_EQ(b, 12);
  EXPECT_EQ(c, 18);
  EXPECT_EQ(d, 15);
  a = 0, b = 12, c = 5, d = 15;
  EXPECT_FALSE(PIX_ClipLineToRect(&a, &b, &c, &d, 10, 10, 20, 20));
  a = INT_MIN, b = INT_MIN, c = INT_MAX, d = INT_MAX;
  EXPECT_TRUE(PIX_ClipLineToRect(&a, &b, &c, &d, INT_MIN, INT_MIN, INT_MAX, INT_MAX));
}

TEST(FloatLine, NonFiniteInputDrawsNothing) {
  const float bad[] = {NAN, INFINITY, -INFINITY};
  for (float v : bad)
    for (bool aa : {false, true}) {
      TestBitmap bm(16, 16, 16, false);
      bm.fill(0);
      PIX_FloatLine(&bm, v, 2, 10, 12, kInk, 1.0f, 0, aa);
      PIX_FloatLine(&bm, 2, v, 10, 12, kInk, 1.0f, 0, aa);
      PIX_FloatLine(&bm, 2, 2, v, 12, kInk, 1.0f, 0, aa);
      PIX_FloatLine(&bm, 2, 2, 10, v, kInk, 1.0f, 0, aa);
      PIX_FloatLine(&bm, 2, 2, 10, 12, kInk, v, 0, aa);
      PIX_FloatLine(&bm, 2e10f, 2, 10, 12, kInk, 1.0f, 0, false);
      EXPECT_EQ(CountNot(bm, 0), 0) << v << " aa " << aa;
      float x1 = v, y1 = 0, x2 = 3, y2 = 3;
      EXPECT_FALSE(PIX_ClipFloatLine(&x1, &y1, &x2, &y2, 16, 16));
    }
}

TEST(FloatLine, EqualEndsAndTheTruncatingPath) {
  TestBitmap bm(16, 16, 16, false);
  bm.fill(0);
  PIX_FloatLine(&bm, 4.5f, 4.5f, 4.5f, 4.5f, kInk, 1.0f, 0, true);
  EXPECT_EQ(CountNot(bm, 0), 0);
  PIX_FloatLine(&bm, 4.7f, 5.9f, 4.7f, 5.9f, kInk, 1.0f, 0, false);
  EXPECT_EQ(CountNot(bm, 0), 1);
  EXPECT_EQ(bm.at(4, 5), kInk);
}

TEST(FloatLine, AntiAliasedWeightsSumToTheFullWeight) {
  TestBitmap bm(40, 20, 40, false);
  bm.fill(0);
  PIX_FloatLine(&bm, 2.3f, 3.6f, 30.8f, 11.1f, 0xFFFFFFFFu, 1.0f, PIX_COMBINE_ADD, true);
  for (int x = 3; x <= 30; ++x) {
    int sum = 0;
    for (int y = 0; y < 20; ++y)
      sum += bm.at(x, y) & 0xFF;
    EXPECT_GE(sum, 250) << x;
    EXPECT_LE(sum, 255) << x;
  }
}

TEST(DashedLine, DashesGapsAndTheOpenEnd) {
  TestBitmap bm(4, 12, 4, false);
  bm.fill(0);
  PIX_DashedLine(&bm, 0, 0, 0, 10, 3, 2, kInk, 1.0f, 0);
  for (int y = 0; y < 12; ++y)
    EXPECT_EQ(bm.at(0, y) == kInk, (y <= 2) || (y >= 5 && y <= 7)) << y;
  TestBitmap sloped(12, 12, 12, false);
  sloped.fill(0);
  PIX_DashedLine(&sloped, 0, 0, 5, 10, 3, 2, kInk, 1.0f, 0);
  EXPECT_EQ(CountNot(sloped, 0), 0);
  TestBitmap dots(4, 12, 4, false);
  dots.fill(0);
  PIX_DashedLine(&dots, 1, 0, 1, 6, 1, 1, kInk, 1.0f, 0); // (6 - 0 + 1) / 2 = 3 dots
  EXPECT_EQ(CountNot(dots, 0), 3);
  EXPECT_EQ(dots.at(1, 4), kInk);
}

// A dash period that does not advance is refused instead of walking forever.
TEST(DashedLine, PeriodThatDoesNotAdvanceDrawsNothing) {
  TestBitmap bm(16, 16, 16, false);
  bm.fill(0);
  for (auto [on, off] : {std::pair{0, 0}, {-1, 1}, {1, -1}, {-5, 3}, {0, 4}, {INT_MIN, INT_MAX}})
    PIX_DashedLine(&bm, 0, 3, 15, 3, on, off, kInk, 0.5f, 0);
  EXPECT_EQ(CountNot(bm, 0), 0);
  PIX_DashedLine(&bm, 0, 3, 15, 3, INT_MAX, INT_MAX, kInk, 1.0f, 0);
  EXPECT_EQ(CountNot(bm, 0), 15);
}
