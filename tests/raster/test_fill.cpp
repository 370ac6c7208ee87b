// Named cases of the fills and area helpers; the model cases cover fills, pixels, coverage
// masks and the blur bit for bit.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "raster/PIX_Combine.h"
#include "raster/PIX_Fill.h"
#include "raster/PIX_Transform.h"
#include "tests/raster/TestBitmap.h"

TEST(Fill, NamedWeights) {
  TestBitmap bm(4, 1, 4, false);
  bm.fill(0x80808080u);
  PIX_FillRect(&bm, 0, 0, 1, 1, 0x40404040u, 0.75f, 0); // d/4 + c/4 + c/2
  EXPECT_EQ(bm.at(0, 0), 0x50505050u);
  PIX_PutPixel(&bm, 1, 0, 0x40404040u, 0.25f, 0); // d/4 + d/2 + c/4
  EXPECT_EQ(bm.at(1, 0), 0x70707070u);
  // Source alpha folds the colour's A into the opacity: A 0 draws nothing, 0x80 is half weight.
  PIX_FillRect(&bm, 2, 0, 1, 1, 0x40404000u, 1.0f, PIX_COMBINE_SOURCEALPHA);
  EXPECT_EQ(bm.at(2, 0), 0x80808080u);
  PIX_FillRect(&bm, 3, 0, 1, 1, 0x40404080u, 1.0f, PIX_COMBINE_SOURCEALPHA);
  EXPECT_EQ(bm.at(3, 0), PIX_WordHalf(0x80808080u, 0x40404080u));
  // A blended fill takes the alpha byte toward the weight, not toward the colour's A.
  TestBitmap a(1, 1, 1, false);
  a.fill(0x00000000u);
  PIX_FillRect(&a, 0, 0, 1, 1, 0xFFFFFFFFu, 0.3f, 0);
  EXPECT_EQ(a.at(0, 0) & 0xFF, (PIX_Pixel)(76 + ((0 - 76) * (256 - 76)) / 256));
}

TEST(Fill, PixelAccessOutsideAndFlipped) {
  TestBitmap bm(5, 3, 6, true);
  bm.fill(0);
  PIX_PutPixel(&bm, 1, 0, 0xABCDEF01u, 1.0f, 0);
  EXPECT_EQ(bm.words()[2 * 6 + 1], 0xABCDEF01u); // image row 0 is the last stored row
  EXPECT_EQ(PIX_GetPixel(&bm, 1, 0), 0xABCDEF01u);
  EXPECT_EQ(PIX_GetPixel(&bm, -1, 0), 0u);
  EXPECT_EQ(PIX_GetPixel(&bm, 5, 0), 0u);
  EXPECT_EQ(PIX_GetPixel(&bm, 0, 3), 0u);
  EXPECT_EQ(PIX_GetPixel(nullptr, 0, 0), 0u);
  PIX_PutPixel(&bm, INT_MIN, INT_MAX, 0xFFFFFFFFu, 1.0f, 0);
  EXPECT_TRUE(bm.guardsIntact());
}

TEST(Fill, ClearAndClearRect) {
  TestBitmap bm(4, 3, 6, false);
  bm.fill(0x11111111u);
  PIX_Clear(&bm, 0x22222222u);
  EXPECT_EQ(bm.words()[4], 0x11111111u); // span columns beyond the width untouched
  EXPECT_EQ(bm.at(3, 2), 0x22222222u);
  PIX_ClearRect(&bm, -1, 1, 3, 5, 0xFFFF0000u, 0x000000AAu);
  EXPECT_EQ(bm.at(0, 1), 0x222200AAu);
  EXPECT_EQ(bm.at(1, 2), 0x222200AAu);
  EXPECT_EQ(bm.at(2, 1), 0x22222222u);
  EXPECT_EQ(bm.at(0, 0), 0x22222222u);
}

TEST(Fill, BlurNeedsTwoByTwoAndKeepsUniformAreas) {
  TestBitmap src(6, 6, 6, false), dst(6, 6, 6, false);
  src.fill(0x80808080u);
  dst.fill(0);
  PIX_Blur(&dst, &src, 0, 0, 0, 0, 1, 6);
  EXPECT_EQ(dst.at(0, 0), 0u);
  PIX_Blur(&dst, &src, 0, 0, 0, 0, 6, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(dst.at(x, y), 0x80808080u);
}

TEST(Fill, CoverageMaskZeroBytesAndBadSpans) {
  const unsigned char mask[] = {0, 255, 0, 128};
  for (int mode = 0; mode <= 5; ++mode) {
    TestBitmap bm(2, 2, 2, false);
    bm.fill(0x30303030u);
    PIX_DrawCoverageMask(&bm, 0, 0, 0xFFFFFFFFu, mask, 2, 2, 1.0f, mode);
    EXPECT_EQ(bm.at(0, 0), 0x30303030u) << mode;
    EXPECT_EQ(bm.at(0, 1), 0x30303030u) << mode;
  }
  TestBitmap bm(2, 2, 2, false);
  bm.fill(0);
  PIX_DrawCoverageMaskSpan(&bm, 0, 0, 0xFFFFFFFFu, mask, 2, -2, 2, 1.0f, 0);
  PIX_DrawCoverageMaskSpan(&bm, 0, 0, 0xFFFFFFFFu, mask, 2, 1, 2, 1.0f, 0);
  PIX_DrawCoverageMask(&bm, 0, 0, 0xFFFFFFFFu, nullptr, 2, 2, 1.0f, 0);
  EXPECT_EQ(bm.at(1, 0) | bm.at(1, 1), 0u);
}

TEST(Fill, GradientScaleOffsetAndCallback) {
  TestBitmap bm(8, 4, 8, false);
  bm.fill(0);
  // Red ramps across, blue down; a negative x moves the start along the ramp.
  PIX_GradientFillRect(&bm, -2, 0, 10, 4, 0.0f, 0.0f, 0.0f, 1.0f, 0.1f, 0.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 0.2f, 0.0f, 0);
  EXPECT_EQ(PIX_Red(bm.at(0, 0)), (int)(2 * 0.1 * 255));
  EXPECT_EQ(PIX_Red(bm.at(7, 0)), 229);
  EXPECT_EQ(PIX_Blue(bm.at(0, 3)), (int)(3 * (int)(0.2f * 255.0 * 65536.0) / 65536));
  EXPECT_EQ(PIX_Alpha(bm.at(3, 2)), 255);
  PIX_GradientFillRect(&bm, 0, 0, 8, 4, NAN, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);

  TestBitmap s(2, 1, 2, false);
  s.at(0, 0) = PIX_MakePixel(100, 200, 50, 10);
  s.at(1, 0) = PIX_MakePixel(255, 0, 0, 0);
  PIX_ScaleOffsetRect(&s, 0, 0, 2, 1, 0.5f, 2.0f, 1.0f, 1.0f, 10.0f, 0.0f, -60.0f, 0.0f);
  EXPECT_EQ(s.at(0, 0), PIX_MakePixel(60, 255, 0, 10));
  EXPECT_EQ(s.at(1, 0), PIX_MakePixel(137, 0, 0, 0));

  int calls = 0;
  PIX_ForEachPixelInRect(
      &bm, 6, 2, 5, 5, [](PIX_Pixel* p, void* n) { ++*(int*)n, *p = 0; }, &calls);
  EXPECT_EQ(calls, 4);
  EXPECT_EQ(bm.at(7, 3), 0u);
}

TEST(Fill, ColorKeyFloodFillAndCompare) {
  TestBitmap bm(5, 4, 5, false);
  bm.fill(0x10203040u);
  bm.at(2, 1) = 0x99999999u;
  PIX_AlphaFromColorKey(&bm, 0x10203000u);
  EXPECT_EQ(bm.at(0, 0), 0x10203000u);
  EXPECT_EQ(bm.at(2, 1), 0x999999FFu);

  // The fill runs down and up column 1 and out along each row while pixels match.
  TestBitmap f(5, 4, 5, false);
  f.fill(0);
  f.at(3, 2) = 7; // a wall in row 2
  PIX_SpanFloodFill(&f, 1, 2, 0x55, 0xFFFFFFFFu, 0);
  EXPECT_EQ(f.at(0, 2), 0x55u);
  EXPECT_EQ(f.at(2, 2), 0x55u);
  EXPECT_EQ(f.at(4, 2), 0u); // beyond the wall
  EXPECT_EQ(f.at(4, 0), 0x55u);
  PIX_SpanFloodFill(&f, 9, 9, 0x55, 0xFFFFFFFFu, 0);

  TestBitmap a(4, 3, 4, false), b(4, 3, 6, true);
  a.fill(1);
  b.fill(1);
  EXPECT_EQ(PIX_CompareBitmaps(&a, &b, nullptr), 0);
  RECT box = {9, 9, 9, 9};
  EXPECT_EQ(PIX_CompareBitmaps(&a, &b, &box), 0);
  b.at(2, 1) = 3;
  b.at(1, 2) = 3;
  EXPECT_NE(PIX_CompareBitmaps(&a, &b, nullptr), 0);
  EXPECT_EQ(PIX_CompareBitmapsMasked(&a, &b, 0xFFFFFFFCu, nullptr), 0);
  EXPECT_EQ(PIX_CompareBitmaps(&a, &b, &box), 1);
  EXPECT_EQ(box.left, 1);
  EXPECT_EQ(box.top, 1);
  EXPECT_EQ(box.right, 3);
  EXPECT_EQ(box.bottom, 3);
  TestBitmap wide(5, 3, 5, false);
  EXPECT_EQ(PIX_CompareBitmaps(&a, &wide, nullptr), 1);
  EXPECT_EQ(PIX_CompareBitmaps(nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(PIX_CompareBitmaps(&a, nullptr, nullptr), 1);
  EXPECT_EQ(PIX_CompareBitmaps(nullptr, &a, nullptr), -1);
}

// The mesh warp over a grid of its own source positions reproduces the source, and the
// alpha-walking delta blit fades across.
TEST(Transform, IdentityMeshAndAlphaRamp) {
  TestBitmap src(8, 8, 8, false), dst(8, 8, 8, false);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      src.at(x, y) = PIX_MakePixel(x * 30, y * 30, 7, 255);
  dst.fill(0);
  const float points[] = {0, 0, 4, 0, 8, 0, 0, 4, 4, 4, 8, 4, 0, 8, 4, 8, 8, 8};
  PIX_MeshBlit(&dst, &src, 0, 0, 8, 8, points, 3, 3, 0, 1.0f);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(dst.at(x, y), src.at(x, y)) << x << "," << y;
  PIX_MeshBlit(&dst, &src, 0, 0, 8, 8, points, 1, 3, 0, 1.0f); // too few points: nothing
  PIX_MeshBlit(&dst, &src, 0, 0, 8, 8, nullptr, 3, 3, 0, 1.0f);

  TestBitmap ramp(8, 1, 8, false);
  ramp.fill(0);
  PIX_AffineDeltaBlitAlpha(&ramp, &src, 0, 0, 8, 1, 7, 7, 1, 1, 0, 0, 0, 0, 0, 0, false, 0.0f,
                           PIX_COMBINE_ADD, 1.0 / 7, 0, 0);
  EXPECT_EQ(PIX_Red(ramp.at(0, 0)), 0);
  EXPECT_GT(PIX_Red(ramp.at(4, 0)), PIX_Red(ramp.at(2, 0)));
  EXPECT_EQ(PIX_Red(ramp.at(7, 0)), (210 * 65535 / 256) >> 8);
  EXPECT_TRUE(ramp.guardsIntact());
}
