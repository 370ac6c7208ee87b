// Circles, arcs, rounded rectangles, polygons, trapezoids and curves: the properties that must
// hold, and the named cases.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "raster/PIX_Circle.h"
#include "raster/PIX_Combine.h"
#include "raster/PIX_Polygon.h"
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

// The masks as the drawing rules write them: rows separated by "/", bytes in hexadecimal,
// "(n rows)" repeating the row before it.
std::vector<unsigned char> ParseMask(const std::string& text) {
  std::vector<unsigned char> out;
  std::vector<unsigned char> row;
  std::istringstream in(text);
  std::string token;
  auto endRow = [&] {
    out.insert(out.end(), row.begin(), row.end());
    row.clear();
  };
  while (in >> token) {
    if (token == "/") {
      endRow();
    } else if (token[0] == '(') {
      const int n = token[1] - '0';
      std::string rest;
      in >> rest; // "rows)"
      const std::vector<unsigned char> last(row);
      for (int i = 1; i < n; ++i) {
        endRow();
        row = last;
      }
    } else {
      row.push_back((unsigned char)std::stoi(token, nullptr, 16));
    }
  }
  endRow();
  return out;
}

struct MaskText {
  float r;
  int n;
  const char* smooth;
  const char* plain;
};

// clang-format off
const MaskText kMaskTexts[] = {
  {1.5f, 4, "4F FF FF 4F / FF 0F 0F FF / FF 0F 0F FF / 4F FF FF 4F",
            "00 FF FF 00 / FF 00 00 FF / FF 00 00 FF / 00 FF FF 00"},
  {2.0f, 5, "0F BF FF BF 0F / BF D1 4F D1 BF / FF 4F 00 4F FF / BF D1 4F D1 BF / 0F BF FF BF 0F",
            "00 00 FF 00 00 / 00 FF 00 FF 00 / FF 00 00 00 FF / 00 FF 00 FF 00 / 00 00 FF 00 00"},
  {2.5f, 6, "0F BF FF FF BF 0F / BF D1 4F 4F D1 BF / FF 4F 00 00 4F FF / FF 4F 00 00 4F FF / BF D1 4F 4F D1 BF / 0F BF FF FF BF 0F",
            "00 00 FF FF 00 00 / 00 FF 00 00 FF 00 / FF 00 00 00 00 FF / FF 00 00 00 00 FF / 00 FF 00 00 FF 00 / 00 00 FF FF 00 00"},
  {3.0f, 7, "00 8F FF FF FF 8F 00 / 8F FF 61 40 61 FF 8F / FF 70 00 00 00 70 FF / FF 30 00 00 00 30 FF / FF 70 00 00 00 70 FF / 8F FF 61 40 61 FF 8F / 00 8F FF FF FF 8F 00",
            "00 00 FF FF FF 00 00 / 00 FF 00 00 00 FF 00 / FF 00 00 00 00 00 FF (3 rows) / 00 FF 00 00 00 FF 00 / 00 00 FF FF FF 00 00"},
  {3.5f, 8, "00 4F DE FF FF DE 4F 00 / 4F FF B0 40 40 B0 FF 4F / DE B0 00 00 00 00 B0 DE / FF 40 00 00 00 00 40 FF (2 rows) / DE B0 00 00 00 00 B0 DE / 4F FF B0 40 40 B0 FF 4F / 00 4F DE FF FF DE 4F 00",
            "00 00 FF FF FF FF 00 00 / 00 FF FF 00 00 FF FF 00 / FF FF 00 00 00 00 FF FF / FF 00 00 00 00 00 00 FF (2 rows) / FF FF 00 00 00 00 FF FF / 00 FF FF 00 00 FF FF 00 / 00 00 FF FF FF FF 00 00"},
  {4.0f, 9, "00 1F B0 FF FF FF B0 1F 00 / 1F F0 D1 4F 40 4F D1 F0 1F / B0 D1 0F 00 00 00 0F D1 B0 / FF 4F 00 00 00 00 00 4F FF / FF 30 00 00 00 00 00 30 FF / FF 4F 00 00 00 00 00 4F FF / B0 D1 0F 00 00 00 0F D1 B0 / 1F F0 D1 4F 40 4F D1 F0 1F / 00 1F B0 FF FF FF B0 1F 00",
            "00 00 FF FF FF FF FF 00 00 / 00 FF FF 00 00 00 FF FF 00 / FF FF 00 00 00 00 00 FF FF / FF 00 00 00 00 00 00 00 FF (3 rows) / FF FF 00 00 00 00 00 FF FF / 00 FF FF 00 00 00 FF FF 00 / 00 00 FF FF FF FF FF 00 00"},
};
// clang-format on
} // namespace

// The small outline circles are the masks of the table: each byte is the blend weight of its
// pixel at full opacity, placed with the top-left at ((int)(cx - r), (int)(cy - r)).
TEST(Circle, FixedMasksEqualTheirTables) {
  for (const MaskText& m : kMaskTexts)
    for (bool aa : {true, false}) {
      const std::vector<unsigned char> mask = ParseMask(aa ? m.smooth : m.plain);
      ASSERT_EQ(mask.size(), (size_t)m.n * m.n) << m.r;
      TestBitmap bm(20, 20, 20, false);
      bm.fill(0x10203040u);
      PIX_Circle(&bm, 10.3f, 9.8f, m.r, kInk, 1.0f, 0, aa);
      const int left = (int)(10.3f - m.r), top = (int)(9.8f - m.r);
      for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
          const bool in = x >= left && x < left + m.n && y >= top && y < top + m.n;
          const int cov = in ? mask[(y - top) * m.n + (x - left)] : 0;
          PIX_Pixel want = 0x10203040u;
          if (cov)
            PIX_PixelBlend(reinterpret_cast<unsigned char*>(&want), PIX_Red(kInk), PIX_Green(kInk),
                           PIX_Blue(kInk), PIX_Alpha(kInk), cov);
          ASSERT_EQ(bm.at(x, y), want) << "r " << m.r << " aa " << aa << " at " << x << "," << y;
        }
    }
}

TEST(Circle, PlainRadiusTwoIsTheEightPixelMask) {
  TestBitmap bm(20, 20, 20, false);
  bm.fill(0);
  PIX_Circle(&bm, 10, 10, 2.0f, kInk, 1.0f, 0, false);
  EXPECT_EQ(CountNot(bm, 0), 8);
  EXPECT_NE(bm.at(10, 8), 0u);
  EXPECT_EQ(bm.at(9, 8), 0u);
  // 2.01 goes through the engine: its outline is not the mask's.
  TestBitmap engine(20, 20, 20, false);
  engine.fill(0);
  PIX_Circle(&engine, 10, 10, 2.01f, kInk, 1.0f, 0, false);
  EXPECT_FALSE(SameWords(bm, engine));
}

TEST(Circle, TinyRadii) {
  TestBitmap bm(9, 9, 9, false);
  bm.fill(0);
  PIX_Circle(&bm, 4, 4, 0.4f, 0xFFFFFFFFu, 1.0f, PIX_COMBINE_ADD, false);
  EXPECT_EQ(CountNot(bm, 0), 1);
  bm.fill(0);
  PIX_Circle(&bm, 4, 4, 0.4f, 0xFFFFFFFFu, 0.502f, 0, false); // averaged four times
  EXPECT_EQ(bm.at(4, 4), 0xEFEFEFEFu);
  bm.fill(0);
  PIX_Circle(&bm, 4, 4, 1.0f, kInk, 1.0f, 0, false);
  EXPECT_EQ(CountNot(bm, 0), 4);
  EXPECT_EQ(bm.at(4, 3), kInk);
  EXPECT_EQ(bm.at(5, 4), kInk);
  EXPECT_EQ(bm.at(4, 4), 0u);
}

// A blended plain disc touches each pixel once: at weight 128 every covered pixel is one
// average away from the background.
TEST(Circle, BlendedDiscTouchesEachPixelOnce) {
  for (float r : {0.4f, 1.0f, 2.2f, 5.0f, 7.5f, 12.3f, 20.0f})
    for (float cx : {15.0f, 15.4f, 3.0f}) {
      TestBitmap bm(31, 31, 33, false);
      bm.fill(0);
      PIX_FillCircle(&bm, cx, 15.2f, r, 0xFFFFFFFFu, 0.502f, 0, false);
      int covered = 0;
      for (int y = 0; y < 31; ++y)
        for (int x = 0; x < 31; ++x) {
          ASSERT_TRUE(bm.at(x, y) == 0 || bm.at(x, y) == 0x7F7F7F7Fu)
              << "r " << r << " at " << x << "," << y << ": " << std::hex << bm.at(x, y);
          covered += bm.at(x, y) != 0;
        }
      EXPECT_GT(covered, 0);
      EXPECT_TRUE(bm.guardsIntact());
    }
}

// The anti-aliased disc's interior is one full-weight touch per pixel, and its weights add up
// to no more than the full weight anywhere.
TEST(Circle, SmoothDiscTouchesEachPixelOnce) {
  for (float r : {3.3f, 6.0f, 9.75f}) {
    TestBitmap bm(31, 31, 31, false);
    bm.fill(0);
    // Adding 0x40 at full weight: two touches would give 0x80 or more.
    PIX_FillCircle(&bm, 15, 15, r, 0x40404040u, 1.0f, PIX_COMBINE_ADD, true);
    for (int y = 0; y < 31; ++y)
      for (int x = 0; x < 31; ++x)
        ASSERT_LE(bm.at(x, y) & 0xFF, 0x40u) << r << " at " << x << "," << y;
    EXPECT_EQ(bm.at(15, 15), 0x40404040u);
  }
}

TEST(Circle, SmoothOutlineWeightsTheOuterAxisPixels) {
  TestBitmap bm(40, 40, 40, false);
  bm.fill(0);
  PIX_Circle(&bm, 20, 20, 10.25f, 0xFFFFFFFFu, 1.0f, PIX_COMBINE_ADD, true);
  const PIX_Pixel quarter = 0x3F3F3F3Fu; // 255 x (int)(0.25 x 256) / 256
  EXPECT_EQ(bm.at(20, 9), quarter);
  EXPECT_EQ(bm.at(20, 31), quarter);
  EXPECT_EQ(bm.at(9, 20), quarter);
  EXPECT_EQ(bm.at(31, 20), quarter);
}

TEST(Circle, RejectionAtTheMargin) {
  TestBitmap bm(10, 10, 10, false);
  bm.fill(0);
  PIX_Circle(&bm, -5.0f, 5.0f, 2.2f, kInk, 1.0f, 0, false); // (int)cx + (int)r = -3
  PIX_Circle(&bm, -4.0f, 5.0f, 2.2f, kInk, 1.0f, 0, false); // -2: drawn, all clipped away
  PIX_FillCircle(&bm, -4.0f, 5.0f, 2.2f, kInk, 1.0f, 0, false);
  EXPECT_EQ(CountNot(bm, 0), 0);
  for (float bad : {NAN, INFINITY, 1e30f}) {
    PIX_Circle(&bm, bad, 5, 3, kInk, 1.0f, 0, true);
    PIX_FillCircle(&bm, 5, bad, 3, kInk, 1.0f, 0, true);
    PIX_FillCircle(&bm, 5, 5, bad, kInk, 1.0f, 0, false);
    if (!std::isfinite(bad))
      PIX_Arc(&bm, 5, 5, 3, 0, bad, kInk, 1.0f, 0, true);
  }
  EXPECT_EQ(CountNot(bm, 0), 0);
  EXPECT_TRUE(bm.guardsIntact());
}

TEST(Circle, ShapesNearAndPastTheEdgesStayInside) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> pos(-15, 45), rad(0, 25);
  for (int i = 0; i < 300; ++i) {
    TestBitmap bm(30, 24, 33, i % 2 == 0);
    bm.fill(0);
    const float cx = pos(rng), cy = pos(rng), r = rad(rng);
    const bool aa = i % 3 == 0;
    PIX_Circle(&bm, cx, cy, r, kInk, 0.7f, i % 6, aa);
    PIX_FillCircle(&bm, cx, cy, r, kInk, 0.7f, i % 6, aa);
    PIX_Arc(&bm, cx, cy, r, pos(rng) / 5, pos(rng) / 5, kInk, 0.7f, i % 6, aa);
    PIX_RoundRect(&bm, cx - r, cy - r / 2, 2 * r, r, (int)(r / 2), kInk, 0.7f, i % 6, aa);
    ASSERT_TRUE(bm.guardsIntact()) << cx << "," << cy << " r " << r;
    for (int y = 0; y < 24; ++y)
      for (int x = 30; x < 33; ++x)
        ASSERT_EQ(bm.words()[y * 33 + x], 0u) << "row padding written";
  }
}

TEST(Arc, QuarterHalfAndFullTurns) {
  TestBitmap full(41, 41, 41, false), arc(41, 41, 41, false);
  full.fill(0);
  arc.fill(0);
  PIX_Circle(&full, 20, 20, 12.0f, kInk, 1.0f, 0, false);
  PIX_Arc(&arc, 20, 20, 12.0f, 0.0f, 6.2831855f, kInk, 1.0f, 0, false);
  EXPECT_TRUE(SameWords(full, arc));
  arc.fill(0);
  PIX_Arc(&arc, 20, 20, 12.0f, 0.0f, 1.5707964f, kInk, 1.0f, 0, false);
  int n = 0;
  for (int y = 0; y < 41; ++y)
    for (int x = 0; x < 41; ++x)
      if (arc.at(x, y)) {
        ++n;
        EXPECT_EQ(full.at(x, y), kInk) << x << "," << y;
        EXPECT_TRUE(x >= 20 && y <= 20) << x << "," << y;
      }
  EXPECT_GT(n, 10);
  TestBitmap a(41, 41, 41, false), b(41, 41, 41, false);
  a.fill(0);
  b.fill(0);
  PIX_Arc(&a, 20, 20, 12.0f, 3 * 3.1415927f, 3.5f * 3.1415927f, kInk, 1.0f, 0, true);
  PIX_Arc(&b, 20, 20, 12.0f, 3.1415927f, 1.5f * 3.1415927f, kInk, 1.0f, 0, true);
  EXPECT_TRUE(SameWords(a, b));
}

TEST(RoundRect, SmallRadiusIsAPlainOutlineAndLargeRadiiAreCut) {
  TestBitmap a(30, 20, 30, false), b(30, 20, 30, false);
  a.fill(0);
  b.fill(0);
  PIX_RoundRect(&a, 2, 3, 20, 10, 1, kInk, 1.0f, 0, false);
  PIX_DrawRect(&b, 2, 3, 20, 10, kInk, 1.0f, 0);
  EXPECT_TRUE(SameWords(a, b));
  EXPECT_EQ(CountNot(a, 0), 2 * 21 + 2 * 9);
  a.fill(0);
  b.fill(0);
  PIX_RoundRect(&a, 2, 3, 20, 10, 50, kInk, 1.0f, 0, false);
  PIX_RoundRect(&b, 2, 3, 20, 10, 5, kInk, 1.0f, 0, false); // floor(10 / 2)
  EXPECT_TRUE(SameWords(a, b));
}

// The same triangle in any vertex order fills the same pixels with the same weights.
TEST(Polygon, TriangleVertexOrderDoesNotMatter) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> coord(-10, 45);
  for (int trial = 0; trial < 200; ++trial) {
    int p[3][2];
    for (auto& q : p)
      q[0] = coord(rng), q[1] = coord(rng);
    const int orders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    TestBitmap first(36, 34, 36, trial % 4 == 0);
    for (int o = 0; o < 6; ++o) {
      TestBitmap bm(36, 34, 36, trial % 4 == 0);
      bm.fill(0x20406080u);
      const int* a = p[orders[o][0]];
      const int* b = p[orders[o][1]];
      const int* c = p[orders[o][2]];
      PIX_FillTriangle(&bm, a[0], a[1], b[0], b[1], c[0], c[1], kInk, 0.3f, trial % 6);
      if (o == 0)
        std::memcpy(first.words(), bm.words(), bm.wordCount() * 4);
      else
        ASSERT_TRUE(SameWords(first, bm)) << "trial " << trial << " order " << o;
      ASSERT_TRUE(bm.guardsIntact());
    }
  }
}

TEST(Polygon, RightTriangleAndOneRow) {
  TestBitmap bm(20, 20, 20, false);
  bm.fill(0);
  PIX_FillTriangle(&bm, 0, 0, 10, 0, 0, 10, kInk, 1.0f, 0);
  EXPECT_EQ(bm.at(0, 0), kInk);
  EXPECT_EQ(bm.at(10, 0), kInk);
  EXPECT_EQ(bm.at(0, 10), kInk);
  EXPECT_EQ(bm.at(6, 6), 0u);
  bm.fill(0);
  const int xs[] = {7, -3, 30, 12}, ys[] = {5, 5, 5, 5};
  PIX_FillConvexPolygon(&bm, xs, ys, 4, kInk, 1.0f, 0);
  for (int x = 0; x < 20; ++x)
    EXPECT_EQ(bm.at(x, 5), kInk) << x;
  EXPECT_EQ(CountNot(bm, 0), 20);
}

// More than 512 points take the heap; repeated points change nothing.
TEST(Polygon, ManyPointsFillTheirHull) {
  std::vector<int> xs, ys;
  for (int i = 0; i < 200; ++i) {
    const double a = i * 2 * 3.14159265358979 / 200;
    xs.push_back(20 + (int)std::lround(15 * std::sin(a)));
    ys.push_back(20 - (int)std::lround(15 * std::cos(a)));
  }
  TestBitmap once(41, 41, 41, false), thrice(41, 41, 41, false);
  once.fill(0);
  thrice.fill(0);
  PIX_FillConvexPolygon(&once, xs.data(), ys.data(), 200, kInk, 0.5f, 0);
  std::vector<int> x3, y3;
  for (int k = 0; k < 3; ++k) {
    x3.insert(x3.end(), xs.begin(), xs.end());
    y3.insert(y3.end(), ys.begin(), ys.end());
  }
  PIX_FillConvexPolygon(&thrice, x3.data(), y3.data(), 600, kInk, 0.5f, 0);
  EXPECT_TRUE(SameWords(once, thrice));
  EXPECT_GT(CountNot(once, 0), 600);
}

TEST(Trapezoid, RowsAndColumnsInclusive) {
  TestBitmap bm(12, 8, 12, false);
  bm.fill(0);
  PIX_FillTrapezoid(&bm, 2, 8, 0, 2, 8, 3, kInk, 1.0f, 0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 12; ++x)
      EXPECT_EQ(bm.at(x, y) == kInk, y <= 3 && x >= 2 && x <= 8) << x << "," << y;
}

// A trapezoid starting above the bitmap keeps its slope: its visible rows are the rows the
// whole shape has there, however far above it starts.
TEST(Trapezoid, StartingFarAboveKeepsTheSlope) {
  TestBitmap tall(40, 60, 40, false), cut(40, 20, 40, false);
  tall.fill(0);
  cut.fill(0);
  PIX_FillTrapezoid(&tall, 0, 5, 0, 30, 38, 59, kInk, 1.0f, 0);
  PIX_FillTrapezoid(&cut, 0, 5, -40, 30, 38, 19, kInk, 1.0f, 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(cut.at(x, y), tall.at(x, y + 40)) << x << "," << y;
  // One pixel per row to the right from 2^30 rows above: row r covers [r, r + 10].
  const int k = 1 << 30;
  TestBitmap far(40, 20, 40, false);
  far.fill(0);
  PIX_FillTrapezoid(&far, -k, -k + 10, -k, k, k + 10, k, kInk, 1.0f, 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(far.at(x, y) == kInk, x >= y && x <= y + 10) << x << "," << y;
  PIX_FillTrapezoid(&far, INT_MIN, INT_MAX, INT_MIN, INT_MAX, INT_MIN, INT_MAX, kInk, 0.3f, 1);
  EXPECT_TRUE(far.guardsIntact());
}

TEST(Trapezoid, QuarterWeightsUseWholeWords) {
  TestBitmap bm(6, 2, 6, false);
  bm.fill(0x80604020u);
  PIX_FillTrapezoid(&bm, 0, 2, 0, 0, 2, 0, kInk, 0.25f, 0);
  PIX_FillTrapezoid(&bm, 3, 5, 0, 3, 5, 0, kInk, 0.75f, 0);
  PIX_FillTrapezoid(&bm, 0, 5, 1, 0, 5, 1, kInk, 0.3f, 0);
  EXPECT_EQ(bm.at(0, 0), PIX_WordQuarter(0x80604020u, kInk));
  EXPECT_EQ(bm.at(4, 0), PIX_WordThreeQuarter(0x80604020u, kInk));
  PIX_Pixel blended = 0x80604020u;
  PIX_PixelBlend(reinterpret_cast<unsigned char*>(&blended), PIX_Red(kInk), PIX_Green(kInk),
                 PIX_Blue(kInk), PIX_Alpha(kInk), 76);
  EXPECT_EQ(bm.at(2, 1), blended);
}

TEST(Rect, OutlineAndBorderedRectangle) {
  TestBitmap bm(14, 8, 14, false);
  bm.fill(0);
  PIX_DrawRect(&bm, 0, 0, 10, 5, 0xFFFFFFFFu, 0.502f, 0);
  EXPECT_EQ(CountNot(bm, 0), 2 * 11 + 2 * 4);
  EXPECT_EQ(bm.at(0, 0), 0xBFBFBFBFu); // corners averaged twice
  EXPECT_EQ(bm.at(5, 0), 0x7F7F7F7Fu);
  TestBitmap b(12, 12, 12, false);
  b.fill(0);
  PIX_BorderedRect(&b, 0, 0, 10, 10, 0x11111111u, 0x22222222u, 1.0f, 0);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool edge = (x == 0 || x == 10 || y == 0 || y == 10) && x <= 10 && y <= 10;
      const bool inside = x >= 1 && x <= 9 && y >= 1 && y <= 9;
      EXPECT_EQ(b.at(x, y), edge ? 0x22222222u : inside ? 0x11111111u : 0u) << x << "," << y;
    }
}

TEST(Bezier, ToleranceCurveOutsideAndTheSolvers) {
  TestBitmap a(40, 30, 40, false), b(40, 30, 40, false);
  a.fill(0);
  b.fill(0);
  PIX_DrawQBezier(&a, 2, 25, 20, -10, 37, 20, kInk, 1.0f, 0, true, 0.0f);
  PIX_DrawQBezier(&b, 2, 25, 20, -10, 37, 20, kInk, 1.0f, 0, true, 1.0f);
  EXPECT_TRUE(SameWords(a, b));
  EXPECT_GT(CountNot(a, 0), 30);
  TestBitmap c(40, 30, 40, false);
  c.fill(0);
  PIX_DrawQBezier(&c, 50, 5, 60, 10, 70, 20, kInk, 1.0f, 0, true, 1.0f);
  PIX_DrawCBezier(&c, 50, 5, 60, 10, 65, 12, 70, 20, kInk, 1.0f, 0, true, 1.0f);
  PIX_DrawQBezier(&c, 5, 5, 6, 6, 7, 7, kInk, 1.0f, 0, true, 1e-30f); // steps are bounded
  EXPECT_TRUE(c.guardsIntact());
  EXPECT_EQ(PIX_CBezierYForX(10, 20, 30, 40, 7, 8, 9, 10, 5, nullptr, nullptr, nullptr, nullptr),
            7.0f);
  EXPECT_NEAR(
      PIX_CBezierYForX(0, 10, 20, 30, 0, 10, 20, 30, 15, nullptr, nullptr, nullptr, nullptr), 15.0f,
      0.01f);
  double t = -1;
  EXPECT_NEAR(PIX_QBezierYForX(0, 5, 10, 0, 5, 10, 2.5f, &t), 2.5f, 1e-5f);
  EXPECT_NEAR(t, 0.25, 1e-9);
}

TEST(Bezier, FillsStayBetweenCurveAndBase) {
  TestBitmap bm(40, 30, 40, false);
  bm.fill(0);
  PIX_FillCBezier(&bm, 2, 10, 12, 2, 25, 18, 37, 8, 25, kInk, 1.0f, 0, 1.0f);
  EXPECT_EQ(bm.at(20, 24), kInk);
  EXPECT_EQ(bm.at(20, 28), 0u);
  EXPECT_EQ(bm.at(20, 1), 0u);
  TestBitmap across(40, 30, 40, false);
  across.fill(0);
  PIX_FillCBezierX(&across, 10, 2, 2, 12, 18, 20, 8, 28, 30, kInk, 1.0f, 0, 1.0f);
  EXPECT_EQ(across.at(28, 15), kInk);
  EXPECT_EQ(across.at(35, 15), 0u);
  for (float bad : {NAN, INFINITY, 1e30f})
    PIX_FillCBezier(&bm, bad, 10, 12, 2, 25, 18, 37, 8, 25, kInk, 1.0f, 0, 1.0f);
  EXPECT_TRUE(bm.guardsIntact() && across.guardsIntact());
}
