// Renders a test card of every drawing primitive into raster_test_card.rgba (320 x 240, bytes
// R, G, B, A per pixel) in the working directory, for looking at: card_to_png.py turns it into
// a PNG. The test itself checks only that drawing stays inside the bitmap.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "raster/PIX_Blit.h"
#include "raster/PIX_Circle.h"
#include "raster/PIX_Fill.h"
#include "raster/PIX_Line.h"
#include "raster/PIX_MemBitmap.h"
#include "raster/PIX_Polygon.h"
#include "raster/PIX_Transform.h"
#include "tests/raster/TestBitmap.h"

namespace {
constexpr int kW = 320, kH = 240;

PIX_Pixel Rgb(int r, int g, int b, int a = 255) {
  return PIX_MakePixel(r, g, b, a);
}

// A 24 x 24 sprite: a ring with a soft alpha edge, a diagonal stripe and an arrow pointing up.
void DrawSprite(PIX_IBitmap* s) {
  PIX_Clear(s, 0);
  PIX_FillCircle(s, 11.5f, 11.5f, 11.0f, Rgb(40, 120, 220, 255), 1.0f, 0, true);
  PIX_FillCircle(s, 11.5f, 11.5f, 7.0f, Rgb(250, 250, 250, 255), 1.0f, 0, true);
  PIX_FillTriangle(s, 11, 3, 6, 12, 17, 12, Rgb(220, 40, 40, 255), 1.0f, 0);
  PIX_Line(s, 4, 20, 20, 20, Rgb(20, 20, 20, 255), 1.0f, 0, false);
}

void Render(PIX_IBitmap* card) {
  PIX_GradientFillRect(card, 0, 0, kW, kH, 0.15f, 0.15f, 0.2f, 1.0f, 0.0008f, 0.0f, 0.001f, 0.0f,
                       0.0f, 0.0012f, 0.0f, 0.0f, 0);
  for (int y = 0; y < kH; y += 20)
    for (int x = (y / 20) % 2 * 20; x < kW; x += 40)
      PIX_FillRect(card, x, y, 20, 20, Rgb(255, 255, 255), 0.06f, 0);

  // Lines: a fan, plain on the left half, anti-aliased on the right.
  for (int i = 0; i <= 16; ++i) {
    const double a = i * 3.14159265 / 32;
    const int dx = (int)(50 * std::cos(a)), dy = (int)(50 * std::sin(a));
    PIX_Line(card, 10, 10, 10 + dx, 10 + dy, Rgb(255, 220, 80), 1.0f, 0, false);
    PIX_Line(card, 70, 10, 70 + dx, 10 + dy, Rgb(255, 220, 80), 1.0f, 0, true);
  }
  for (int i = 0; i < 6; ++i)
    PIX_FloatLine(card, 125.0f + i * 0.3f, 5.0f + i * 9.2f, 175.0f, 12.0f + i * 7.6f,
                  Rgb(120, 255, 160), 0.9f, 0, true);
  PIX_DashedLine(card, 5, 70, 150, 70, 6, 3, Rgb(255, 255, 255), 1.0f, 0);
  PIX_DashedLine(card, 150, 5, 150, 65, 1, 1, Rgb(255, 255, 255), 1.0f, 0);
  for (int m = 0; m <= 5; ++m)
    PIX_Line(card, 5, 76 + 3 * m, 150, 76 + 3 * m, Rgb(200, 60 + 30 * m, 255 - 40 * m), 0.8f, m,
             false);

  // Circles: the small masks, outlines plain and smooth, discs, arcs and rounded rectangles.
  const float small[] = {1.5f, 2.0f, 2.5f, 3.0f, 3.5f, 4.0f};
  for (int i = 0; i < 6; ++i) {
    PIX_Circle(card, 190.0f + i * 12, 10, small[i], Rgb(255, 255, 255), 1.0f, 0, false);
    PIX_Circle(card, 190.0f + i * 12, 24, small[i], Rgb(255, 255, 255), 1.0f, 0, true);
  }
  PIX_Circle(card, 200, 60, 18.0f, Rgb(255, 140, 0), 1.0f, 0, false);
  PIX_Circle(card, 245, 60, 18.4f, Rgb(255, 140, 0), 1.0f, 0, true);
  PIX_FillCircle(card, 290, 60, 18.0f, Rgb(0, 200, 255), 0.6f, 0, false);
  PIX_FillCircle(card, 290, 60, 10.3f, Rgb(255, 0, 120), 1.0f, 0, true);
  PIX_Arc(card, 200, 110, 20.0f, -0.5f, 2.2f, Rgb(255, 255, 0), 1.0f, 0, true);
  PIX_Arc(card, 200, 110, 14.0f, 2.5f, 5.5f, Rgb(0, 255, 255), 1.0f, 0, false);
  PIX_RoundRect(card, 230, 92, 80, 36, 10, Rgb(255, 255, 255), 1.0f, 0, true);
  PIX_RoundRect(card, 236, 98, 68, 24, 6, Rgb(160, 160, 255), 1.0f, 0, false);

  // Polygons and curves.
  PIX_FillTriangle(card, 10, 200, 60, 110, 110, 200, Rgb(80, 200, 80), 0.75f, 0);
  const int hx[] = {120, 150, 165, 150, 120, 105}, hy[] = {110, 110, 135, 160, 160, 135};
  PIX_FillConvexPolygon(card, hx, hy, 6, Rgb(220, 80, 220), 0.5f, 0);
  PIX_FillTrapezoid(card, 20, 40, 205, 5, 80, 235, Rgb(255, 200, 150), 1.0f, 0);
  PIX_BorderedRect(card, 90, 205, 60, 28, Rgb(40, 40, 90), Rgb(255, 255, 255), 1.0f, 0);
  PIX_DrawQBezier(card, 160, 230, 200, 140, 240, 230, Rgb(255, 255, 255), 1.0f, 0, true, 2.0f);
  PIX_DrawCBezier(card, 160, 180, 180, 120, 220, 240, 250, 170, Rgb(255, 80, 80), 1.0f, 0, true,
                  2.0f);
  PIX_FillCBezier(card, 255, 200, 270, 150, 290, 230, 315, 180, 235, Rgb(80, 160, 255), 0.7f, 0,
                  1.0f);

  // Blits: the sprite plain, with source alpha, scaled nearest and bilinear, shrunk, mirrored,
  // rotated.
  PIX_MemBitmap sprite(24, 24, 4);
  DrawSprite(&sprite);
  PIX_Blit(card, &sprite, 4, 130, 0, 0, 24, 24, 1.0f, 0);
  PIX_Blit(card, &sprite, 30, 130, 0, 0, 24, 24, 1.0f, PIX_COMBINE_SOURCEALPHA);
  PIX_ScaledBlit(card, &sprite, 56, 124, 36, 36, 0, 0, 24, 24, 1.0f, PIX_COMBINE_SOURCEALPHA);
  PIX_ScaledBlit(card, &sprite, 56, 162, 36, 36, 0, 0, 24, 24, 1.0f,
                 PIX_COMBINE_SOURCEALPHA | PIX_COMBINE_FILTER);
  PIX_ScaledBlit(card, &sprite, 96, 170, 12, 12, 0, 0, 24, 24, 1.0f,
                 PIX_COMBINE_SOURCEALPHA | PIX_COMBINE_FILTER);
  PIX_ScaledBlit(card, &sprite, 134, 170, -24, 24, 0, 0, 24, 24, 1.0f, PIX_COMBINE_SOURCEALPHA);
  for (int i = 0; i < 4; ++i)
    PIX_RotatedBlit(card, &sprite, 170 + i * 36, 190, 32, 32, 0, 0, 24, 24, i * 0.6f, true, 1.0f,
                    PIX_COMBINE_SOURCEALPHA | PIX_COMBINE_FILTER, 0, 0);
}
} // namespace

TEST(TestCard, RendersEveryPrimitiveInsideTheBitmap) {
  TestBitmap card(kW, kH, kW + 3, false);
  card.fill(0);
  Render(&card);
  ASSERT_TRUE(card.guardsIntact());
  for (int y = 0; y < kH; ++y)
    for (int x = kW; x < kW + 3; ++x)
      ASSERT_EQ(card.words()[y * (kW + 3) + x], 0u);
  FILE* f = fopen("raster_test_card.rgba", "wb");
  ASSERT_NE(f, nullptr);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const PIX_Pixel p = card.at(x, y);
      const unsigned char rgba[4] = {(unsigned char)PIX_Red(p), (unsigned char)PIX_Green(p),
                                     (unsigned char)PIX_Blue(p), 255};
      fwrite(rgba, 1, 4, f);
    }
  fclose(f);
}
