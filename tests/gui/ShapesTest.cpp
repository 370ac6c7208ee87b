// The shape and rotated-bitmap wrappers against the raster calls they stand for, drawn on a
// reference bitmap with the same arguments.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "GuiTestSupport.h"
#include "gui/StaticBitmapCache.h"
#include "raster/PIX_Blit.h"
#include "raster/PIX_Circle.h"
#include "raster/PIX_Fill.h"
#include "raster/PIX_Line.h"
#include "raster/PIX_MemBitmap.h"
#include "raster/PIX_Polygon.h"
#include "raster/PIX_Transform.h"
#include "raster/sys/PIX_SysBitmap.h"

using namespace guitest;

namespace {

constexpr int kW = 48, kH = 40;
constexpr int kPlain = PIX_COMBINE_COPY | PIX_COMBINE_SOURCEALPHA; // the default blend's mode

void Paint(PIX_IBitmap* b) {
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      b->getBits()[y * b->getRowSpan() + x] = PIX_MakePixel(3 * x, 4 * y, 90, 255);
}

class ShapesTest : public ::testing::Test {
protected:
  void SetUp() override {
    editor.CreateDrawBitmaps();
    pointer = editor.LoadIBitmap(7301, "pointer.png");
    alpha = editor.LoadIBitmap(7302, "alpha.png");
    background = editor.LoadIBitmap(7303, "background.png");
  }
  void TearDown() override { StaticBitmapCache::Shared().Empty(); }

  // Runs the editor's call and the reference call on equal pictures; the number of pixels that
  // differ, and whether the editor drew anything at all.
  void Check(const char* name, const std::function<bool(IEditor&)>& viaEditor,
             const std::function<void(PIX_IBitmap*)>& viaRaster, bool mustDraw = true) {
    SCOPED_TRACE(name);
    PIX_SysBitmap reference(kW, kH), before(kW, kH);
    Paint(editor.GetDrawBitmap());
    Paint(&reference);
    Paint(&before);
    EXPECT_TRUE(viaEditor(editor));
    viaRaster(&reference);
    int differ = 0, changed = 0;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const PIX_Pixel p = PIX_GetPixel(editor.GetDrawBitmap(), x, y);
        differ += p != PIX_GetPixel(&reference, x, y);
        changed += p != PIX_GetPixel(&before, x, y);
      }
    EXPECT_EQ(differ, 0);
    if (mustDraw) {
      EXPECT_GT(changed, 0);
    }
  }

  void FillDrawBitmap(PIX_Pixel p) {
    PIX_IBitmap* b = editor.GetDrawBitmap();
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        b->getBits()[y * b->getRowSpan() + x] = p;
  }

  FakeController controller;
  TestEditor editor{&controller, kW, kH};
  IBitmap pointer, alpha, background;
};

TEST_F(ShapesTest, EachWrapperIsItsRasterCall) {
  const IColor c(255, 240, 30, 10), translucent(120, 10, 250, 60);
  const PIX_Pixel cp = IColorToPixel(c), tp = IColorToPixel(translucent);
  IChannelBlend half(0, 0.5f), add(2, 0.75f);
  IRECT box(5, 6, 30, 26);

  Check(
      "FillCircle", [&](IEditor& g) { return g.FillCircle(&c, 20.5f, 18.f, 9.f, &half, true); },
      [&](PIX_IBitmap* b) { PIX_FillCircle(b, 20.5f, 18.f, 9.f, cp, 0.5f, kPlain, true); });
  Check(
      "DrawCircle", [&](IEditor& g) { return g.DrawCircle(&c, 20.f, 18.f, 12.f); },
      [&](PIX_IBitmap* b) { PIX_Circle(b, 20.f, 18.f, 12.f, cp, 1.f, kPlain, false); });
  Check(
      "DrawArc", [&](IEditor& g) { return g.DrawArc(&c, 24.f, 20.f, 14.f, -1.f, 2.f, &add, true); },
      [&](PIX_IBitmap* b) {
        PIX_Arc(b, 24.f, 20.f, 14.f, -1.f, 2.f, cp, 0.75f,
                PIX_COMBINE_ADD | PIX_COMBINE_SOURCEALPHA, true);
      });
  Check(
      "DrawLine", [&](IEditor& g) { return g.DrawLine(&c, 2.f, 3.f, 40.5f, 33.f, &half, true); },
      [&](PIX_IBitmap* b) { PIX_Line(b, 2, 3, 40, 33, cp, 0.5f, kPlain, true); });
  Check(
      "DrawRoundRect", [&](IEditor& g) { return g.DrawRoundRect(&c, &box, nullptr, 4, false); },
      [&](PIX_IBitmap* b) { PIX_RoundRect(b, 5.f, 6.f, 25.f, 20.f, 4, cp, 1.f, kPlain, false); });
  Check(
      "FillTriangle", [&](IEditor& g) { return g.FillTriangle(&c, 3, 3, 40, 10, 12, 35); },
      [&](PIX_IBitmap* b) { PIX_FillTriangle(b, 3, 3, 40, 10, 12, 35, cp, 1.f, kPlain); });
  const int xs[] = {5, 30, 40, 12}, ys[] = {4, 2, 30, 36};
  Check(
      "FillConvexPolygon",
      [&](IEditor& g) { return g.FillConvexPolygon(&translucent, xs, ys, 4, &half); },
      [&](PIX_IBitmap* b) { PIX_FillConvexPolygon(b, xs, ys, 4, tp, 0.5f, kPlain); });
  Check(
      "DrawVerticalLine", [&](IEditor& g) { return g.DrawVerticalLine(&c, 7, 2, 30); },
      [&](PIX_IBitmap* b) { PIX_Line(b, 7, 2, 7, 30, cp, 1.f, kPlain, false); });
  Check(
      "DrawHorizontalLine", [&](IEditor& g) { return g.DrawHorizontalLine(&c, 9, 1, 44); },
      [&](PIX_IBitmap* b) { PIX_Line(b, 1, 9, 44, 9, cp, 1.f, kPlain, false); });
  Check(
      "DrawIRect", [&](IEditor& g) { return g.DrawIRect(&c, &box); },
      [&](PIX_IBitmap* b) {
        PIX_Line(b, 5, 6, 30, 6, cp, 1.f, kPlain, false);
        PIX_Line(b, 30, 6, 30, 26, cp, 1.f, kPlain, false);
        PIX_Line(b, 30, 26, 5, 26, cp, 1.f, kPlain, false);
        PIX_Line(b, 5, 26, 5, 6, cp, 1.f, kPlain, false);
      });
  Check(
      "DrawVerticalLineInRect",
      [&](IEditor& g) { return g.DrawVerticalLineInRect(&c, &box, 0.5f); },
      [&](PIX_IBitmap* b) { PIX_Line(b, 17, 6, 17, 26, cp, 1.f, kPlain, false); });
  Check(
      "DrawHorizontalLineInRect",
      [&](IEditor& g) { return g.DrawHorizontalLineInRect(&c, &box, 0.25f); },
      [&](PIX_IBitmap* b) { PIX_Line(b, 5, 21, 30, 21, cp, 1.f, kPlain, false); });
  // Angles clockwise from straight up: a quarter turn points right.
  Check(
      "DrawRadialLine",
      [&](IEditor& g) {
        return g.DrawRadialLine(&c, 20.f, 20.f, (float)(M_PI / 2), 3.f, 15.f, nullptr, true);
      },
      [&](PIX_IBitmap* b) {
        const float s = std::sin((float)(M_PI / 2)), k = std::cos((float)(M_PI / 2));
        PIX_Line(b, (int)(20.f + 3.f * s), (int)(20.f - 3.f * k), (int)(20.f + 15.f * s),
                 (int)(20.f - 15.f * k), cp, 1.f, kPlain, true);
      });
  Check(
      "DrawRotatedBitmap",
      [&](IEditor& g) { return g.DrawRotatedBitmap(&pointer, 20, 18, 0.6, &half); },
      [&](PIX_IBitmap* b) {
        PIX_RotatedBlit(b, pointer.mData, 13, 11, 15, 15, 0.f, 0.f, 15.f, 15.f, 0.6f, false, 0.5f,
                        kPlain, 0.f, 0.f);
      });
  Check(
      "DrawRotatedMask",
      [&](IEditor& g) { return g.DrawRotatedMask(&background, &pointer, &alpha, 4, 3, 1.2); },
      [&](PIX_IBitmap* b) {
        PIX_MemBitmap scratch(64, 48);
        PIX_Blit(&scratch, background.mData, 0, 0, 0, 0, 64, 48, 1.f, PIX_COMBINE_COPY);
        PIX_RotatedBlit(&scratch, pointer.mData, 25, 17, 15, 15, 0.f, 0.f, 15.f, 15.f, 1.2f, true,
                        1.f, 0x10101, 0.f, 0.f);
        PIX_RotatedBlit(&scratch, alpha.mData, 28, 20, 8, 8, 0.f, 0.f, 8.f, 8.f, 1.2f, true, 1.f,
                        0x10100, 0.f, 0.f);
        PIX_Blit(b, &scratch, 4, 3, 0, 0, 64, 48, 1.f, kPlain);
      });
}

TEST_F(ShapesTest, FillRoundRectIsThreeRectanglesAndFourDiscs) {
  const IColor c(255, 200, 100, 50);
  const PIX_Pixel cp = IColorToPixel(c);
  IRECT box(4, 5, 34, 29);
  Check(
      "FillRoundRect", [&](IEditor& g) { return g.FillRoundRect(&c, &box, nullptr, 5, true); },
      [&](PIX_IBitmap* b) {
        PIX_FillRect(b, 9, 5, 20, 24, cp, 1.f, kPlain);
        PIX_FillRect(b, 4, 10, 5, 14, cp, 1.f, kPlain);
        PIX_FillRect(b, 29, 10, 5, 14, cp, 1.f, kPlain);
        for (float x : {9.f, 28.f})
          for (float y : {10.f, 23.f})
            PIX_FillCircle(b, x, y, 5.f, cp, 1.f, kPlain, true);
      });
  // The inside is filled solid.
  EXPECT_EQ(PIX_GetPixel(editor.GetDrawBitmap(), 19, 17), cp);
  EXPECT_EQ(PIX_GetPixel(editor.GetDrawBitmap(), 4, 17), cp);
}

// An anti-aliased line from (0, 0) to (4, 1), worked out by hand from the integer line's rules:
// both ends at full weight, a slope of a quarter pixel per column walked from both ends (weights
// 191 and 64), the middle column split 127 / 128. The editor truncates its float ends toward
// zero, so these end points all give that line.
TEST_F(ShapesTest, LinesAreIntegerLinesThroughTruncatedEnds) {
  const int red[2][5] = {{255, 191, 127, 64, 0}, {0, 64, 128, 191, 255}};
  const IColor white(255, 255, 255, 255);
  const float ends[][4] = {
      {0.7f, 0.2f, 4.9f, 1.6f}, {4.9f, 1.6f, 0.7f, 0.2f}, {-0.9f, -0.5f, 4.2f, 1.99f}};
  for (const auto& e : ends) {
    SCOPED_TRACE(testing::Message() << e[0] << "," << e[1] << " - " << e[2] << "," << e[3]);
    FillDrawBitmap(PIX_MakePixel(0, 0, 0, 255));
    EXPECT_TRUE(editor.DrawLine(&white, e[0], e[1], e[2], e[3], nullptr, true));
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const int expected = x < 5 && y < 2 ? red[y][x] : 0;
        ASSERT_EQ(PIX_Red(PIX_GetPixel(editor.GetDrawBitmap(), x, y)), expected) << x << "," << y;
      }
  }
}

// Random lines, blends and both anti-aliasing settings, partly or wholly off the bitmap: the
// editor's line is the integer line through the truncated ends.
TEST_F(ShapesTest, RandomLinesAreTheIntegerLine) {
  std::mt19937 rng(2026);
  std::uniform_real_distribution<float> coord(-20.f, 70.f);
  const IChannelBlend blends[] = {IChannelBlend(0), IChannelBlend(0, 0.6f), IChannelBlend(1),
                                  IChannelBlend(2, 0.75f), IChannelBlend(3, 0.3f)};
  const IColor colours[] = {IColor(255, 240, 30, 10), IColor(90, 10, 250, 60)};
  for (int i = 0; i < 600; ++i) {
    float e[4];
    for (float& v : e)
      v = i % 2 ? coord(rng) : std::round(coord(rng)); // every other line on whole pixels
    const IChannelBlend& blend = blends[i % 5];
    const IColor& colour = colours[i % 2];
    const bool aa = i % 3 != 0;
    Check(
        "random line",
        [&](IEditor& g) { return g.DrawLine(&colour, e[0], e[1], e[2], e[3], &blend, aa); },
        [&](PIX_IBitmap* b) {
          PIX_Line(b, (int)e[0], (int)e[1], (int)e[2], (int)e[3], IColorToPixel(colour),
                   blend.mWeight, IBlendToMode(&blend), aa);
        },
        false);
    if (HasFailure())
      FAIL() << "line " << i << ": " << e[0] << "," << e[1] << " - " << e[2] << "," << e[3];
  }
}

// End points no int can hold are refused: nothing is drawn.
TEST_F(ShapesTest, LinesWithUnusableEndsDrawNothing) {
  const IColor c = COLOR_RED;
  const float bad[] = {NAN, INFINITY, -INFINITY, 3e9f, -3e9f};
  for (float v : bad)
    for (int at = 0; at < 4; ++at) {
      float e[4] = {2.f, 3.f, 30.f, 20.f};
      e[at] = v;
      Check(
          "unusable end",
          [&](IEditor& g) { return !g.DrawLine(&c, e[0], e[1], e[2], e[3], nullptr, true); },
          [](PIX_IBitmap*) {}, false);
    }
}

// A turned knob keeps the caller's mode: without a filter it samples the nearest pixel, so
// every pixel it draws is one of the bitmap's own two colours.
TEST_F(ShapesTest, RotatedBitmapSamplesNearestInTheCallersMode) {
  const PIX_Pixel bar = PIX_MakePixel(250, 250, 250, 255), field = PIX_MakePixel(20, 20, 60, 255);
  FillDrawBitmap(PIX_MakePixel(0, 0, 0, 255));
  const IChannelBlend opaque(IChannelBlend::kBlendClobber);
  EXPECT_TRUE(editor.DrawRotatedBitmap(&pointer, 20, 18, 0.6, &opaque));
  int bars = 0, fields = 0;
  for (int y = 11; y < 26; ++y)
    for (int x = 13; x < 28; ++x) {
      const PIX_Pixel p = PIX_GetPixel(editor.GetDrawBitmap(), x, y);
      if (p == PIX_MakePixel(0, 0, 0, 255))
        continue; // a corner the turn left out
      EXPECT_TRUE(p == bar || p == field) << x << "," << y << ": " << std::hex << p;
      bars += p == bar;
      fields += p == field;
    }
  EXPECT_GT(bars, 10);
  EXPECT_GT(fields, 100);
}

// The knob of three layers on hand-made 9 x 9 bitmaps: a grey base; a mask whose left columns
// are red but fully transparent and whose right columns are opaque green; a clear top with one
// opaque blue mark at the top centre. The mask adds light in proportion to its own alpha, and
// the top turns with the knob.
TEST_F(ShapesTest, RotatedMaskWeighsTheMaskByItsAlphaAndTurnsTheTop) {
  PIX_MemBitmap base(9, 9), mask(9, 9), top(9, 9);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) {
      base.getBits()[y * base.getRowSpan() + x] = PIX_MakePixel(40, 40, 40, 255);
      mask.getBits()[y * mask.getRowSpan() + x] = x < 3    ? PIX_MakePixel(200, 0, 0, 0)
                                                  : x >= 6 ? PIX_MakePixel(0, 100, 0, 255)
                                                           : PIX_MakePixel(0, 0, 0, 0);
      top.getBits()[y * top.getRowSpan() + x] =
          x == 4 && y == 1 ? PIX_MakePixel(0, 0, 255, 255) : PIX_MakePixel(255, 255, 255, 0);
    }
  IBitmap b(&base, 9, 9), m(&mask, 9, 9), t(&top, 9, 9);
  const IChannelBlend opaque(IChannelBlend::kBlendClobber);
  const int x0 = 10, y0 = 5;
  auto at = [&](int x, int y) { return PIX_GetPixel(editor.GetDrawBitmap(), x0 + x, y0 + y); };

  // Unturned, every layer is sampled on its own pixels.
  FillDrawBitmap(0);
  EXPECT_TRUE(editor.DrawRotatedMask(&b, &m, &t, x0, y0, 0.0, &opaque));
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) {
      const PIX_Pixel expected = x == 4 && y == 1 ? PIX_MakePixel(0, 0, 255, 255)
                                 : x >= 6         ? PIX_MakePixel(40, 140, 40, 255)
                                                  : PIX_MakePixel(40, 40, 40, 255);
      EXPECT_EQ(at(x, y), expected) << x << "," << y;
    }

  // A quarter turn clockwise takes the mark from the top centre to the right of the centre.
  FillDrawBitmap(0);
  EXPECT_TRUE(editor.DrawRotatedMask(&b, &m, &t, x0, y0, M_PI / 2, &opaque));
  int markX = -1, markY = -1, bluest = -1;
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x)
      if (PIX_Blue(at(x, y)) > bluest)
        bluest = PIX_Blue(at(x, y)), markX = x, markY = y;
  EXPECT_GT(bluest, 200);
  EXPECT_GE(markX, 7);
  EXPECT_TRUE(markY >= 3 && markY <= 5) << markY;
  EXPECT_LT(PIX_Blue(at(4, 1)), 60);
}

// Shapes take the colour's alpha byte as one more channel: the source-alpha bit of the blend
// changes nothing for them.
TEST_F(ShapesTest, ShapesIgnoreTheSourceAlphaBit) {
  const IColor translucent(100, 250, 250, 250);
  const PIX_Pixel tp = IColorToPixel(translucent);
  Check(
      "FillCircle", [&](IEditor& g) { return g.FillCircle(&translucent, 20, 20, 10); },
      [&](PIX_IBitmap* b) { PIX_FillCircle(b, 20, 20, 10, tp, 1.f, PIX_COMBINE_COPY, false); });
  EXPECT_EQ(PIX_GetPixel(editor.GetDrawBitmap(), 20, 20), tp);
}

TEST_F(ShapesTest, NothingToDrawWithoutItsInputs) {
  const IColor c = COLOR_RED;
  IBitmap empty;
  EXPECT_FALSE(editor.FillConvexPolygon(&c, nullptr, nullptr, 3));
  const int xs[] = {1, 2};
  EXPECT_FALSE(editor.FillConvexPolygon(&c, xs, xs, 2));
  EXPECT_FALSE(editor.DrawRotatedBitmap(&empty, 5, 5, 0.0));
  EXPECT_FALSE(editor.DrawRotatedMask(&empty, &pointer, &alpha, 0, 0, 0.0));
  IRECT nothing;
  EXPECT_FALSE(editor.FillRoundRect(&c, &nothing, nullptr, 3, false));
  EXPECT_FALSE(editor.FillCircle(nullptr, 1, 1, 1));
}

} // namespace
