// Named cases of the blits; the model cases (test_model_cases.cpp) cover the modes and weights.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "raster/PIX_Blit.h"
#include "raster/PIX_MemBitmap.h"
#include "raster/PIX_Transform.h"
#include "tests/raster/TestBitmap.h"

namespace {
// Pixel (x, y) gets a word that names it.
void Number(TestBitmap& bm) {
  for (int y = 0; y < bm.getHeight(); ++y)
    for (int x = 0; x < bm.getWidth(); ++x)
      bm.at(x, y) = 0x01000000u * (x + 1) + 0x00010000u * (y + 1) + 0xFF;
}
} // namespace

TEST(Blit, NegativeSourceCornerMovesTheDrawingPoint) {
  TestBitmap src(8, 8, 8, false), dst(16, 16, 16, false);
  Number(src);
  dst.fill(0);
  PIX_Blit(&dst, &src, 5, 5, -3, -2, 6, 6, 1.0f, 0);
  EXPECT_EQ(dst.at(8, 7), src.at(0, 0));
  EXPECT_EQ(dst.at(10, 9), src.at(2, 2));
  EXPECT_EQ(dst.at(7, 7), 0u);
  EXPECT_EQ(dst.at(11, 10), 0u);
}

TEST(Blit, ChannelCopyMovesOneByte) {
  TestBitmap src(2, 1, 2, false), dst(2, 1, 2, false);
  src.at(0, 0) = 0xAB000000u; // B = 0xAB
  dst.at(0, 0) = 0x11223344u;
  PIX_Blit(&dst, &src, 0, 0, 0, 0, 1, 1, 0.2f, 0xF0 | (2 << 2) | 3);
  EXPECT_EQ(dst.at(0, 0), 0x11AB3344u); // G takes source B
}

TEST(Blit, CopyResizesTheDestination) {
  PIX_MemBitmap src(7, 5, 4), dst(0, 0, 4);
  for (int i = 0; i < src.getRowSpan() * 5; ++i)
    src.getBits()[i] = 0x10203040u + i;
  PIX_Copy(&dst, &src);
  ASSERT_EQ(dst.getWidth(), 7);
  ASSERT_EQ(dst.getHeight(), 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x)
      EXPECT_EQ(dst.getBits()[y * dst.getRowSpan() + x], src.getBits()[y * src.getRowSpan() + x]);
}

// Fast paths against the general loops they shortcut, where both must agree.
TEST(Blit, FastPathsEqualTheGeneralLoops) {
  TestBitmap src(13, 9, 15, false);
  Number(src);
  for (int i = 0; i < 15 * 9; ++i)
    src.words()[i] ^= 0x5A3C1E00u * (i % 7);
  TestBitmap fast(13, 9, 13, false), general(13, 9, 13, false);
  fast.fill(0x12345678u);
  general.fill(0x12345678u);
  // Copy at full weight: a memory copy per row (alpha exactly 1.0) and the word-copy loop
  // (another alpha that also gives weight 256).
  PIX_BlitRect(&fast, &src, 1, 1, nullptr, 1.0f, 0);
  PIX_BlitRect(&general, &src, 1, 1, nullptr, 1.003f, 0);
  EXPECT_EQ(std::memcmp(fast.words(), general.words(), 13 * 9 * 4), 0);
  // The nearest scaled copy at full weight without a writer, and the scale loop with one (a
  // mode with other high bits set takes the general road).
  PIX_ScaledBlit(&fast, &src, 0, 0, 13, 9, 2.0f, 1.0f, 6.5f, 4.5f, 1.0f, 0);
  PIX_ScaledBlit(&general, &src, 0, 0, 13, 9, 2.0f, 1.0f, 6.5f, 4.5f, 1.0f, 0x200);
  EXPECT_EQ(std::memcmp(fast.words(), general.words(), 13 * 9 * 4), 0);
  // Half weight: the nearest scaled loop's word average is the plain blit's, sample by sample.
  TestBitmap doubled(26, 18, 26, false), one(1, 1, 1, false);
  doubled.fill(0x8040C020u);
  PIX_ScaledBlit(&doubled, &src, 0, 0, 26, 18, 0.0f, 0.0f, 13.0f, 9.0f, 0.5f, 0);
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < 26; ++x) {
      one.at(0, 0) = 0x8040C020u;
      PIX_Blit(&one, &src, 0, 0, x / 2, y / 2, 1, 1, 0.5f, 0);
      ASSERT_EQ(doubled.at(x, y), one.at(0, 0)) << x << "," << y;
    }
  // Rotated blit at angle 0 and the plain copy.
  TestBitmap rotated(13, 9, 13, false), plain(13, 9, 13, false);
  rotated.fill(0);
  plain.fill(0);
  PIX_RotatedBlit(&rotated, &src, 0, 0, 13, 9, 0, 0, 13, 9, 0.0f, false, 1.0f, 0, 0, 0);
  PIX_BlitRect(&plain, &src, 0, 0, nullptr, 1.0f, 0);
  EXPECT_EQ(std::memcmp(rotated.words(), plain.words(), 13 * 9 * 4), 0);
}

// The mirrored scaled blit draws every destination column, the first showing the source's last
// column and the last its first, and reads nothing outside the source window.
TEST(ScaledBlit, MirroredDrawsEveryColumnOfTheSource) {
  TestBitmap src(10, 3, 10, false), dst(20, 3, 20, false);
  Number(src);
  dst.fill(0);
  PIX_ScaledBlit(&dst, &src, 15, 0, -10, 3, 0.0f, 0.0f, 10.0f, 3.0f, 1.0f, 0);
  for (int x = 0; x < 10; ++x)
    EXPECT_EQ(dst.at(5 + x, 1), src.at(9 - x, 1)) << x;
  EXPECT_EQ(dst.at(4, 1), 0u);
  EXPECT_EQ(dst.at(15, 1), 0u);
  // A window inside the source: nothing of its neighbours shows.
  dst.fill(0);
  PIX_ScaledBlit(&dst, &src, 10, 0, -6, 3, 2.0f, 0.0f, 6.0f, 3.0f, 1.0f, 0);
  for (int x = 0; x < 6; ++x)
    EXPECT_EQ(dst.at(4 + x, 0), src.at(7 - x, 0)) << x;
}

// 16.16 source positions of 32768 pixels and more are held without wrapping.
TEST(ScaledBlit, WideSourcesAreAddressedCorrectly) {
  PIX_MemBitmap src(40000, 2, 4);
  for (int x = 0; x < 40000; ++x)
    src.getBits()[x] = src.getBits()[src.getRowSpan() + x] = (PIX_Pixel)x * 2654435761u;
  TestBitmap dst(8, 2, 8, false);
  dst.fill(0);
  PIX_ScaledBlit(&dst, &src, 0, 0, 8, 2, 39000.0f, 0.0f, 16.0f, 2.0f, 1.0f, 0);
  for (int x = 0; x < 8; ++x)
    EXPECT_EQ(dst.at(x, 0), src.getBits()[39000 + 2 * x]) << x;
  dst.fill(0);
  PIX_ScaledBlit(&dst, &src, 0, 0, 8, 2, 39990.0f, 0.0f, 8.0f, 2.0f, 1.0f, 0x100);
  EXPECT_EQ(dst.at(0, 0), src.getBits()[39990]);
}

TEST(ScaledBlit, RefusesCoordinatesThatCannotBeRepresented) {
  TestBitmap src(4, 4, 4, false), dst(4, 4, 4, false);
  src.fill(0xFFFFFFFFu);
  dst.fill(0);
  for (float bad : {NAN, INFINITY, -INFINITY, 1e20f, -1e20f}) {
    PIX_ScaledBlit(&dst, &src, 0, 0, 4, 4, bad, 0, 4, 4, 1.0f, 0x100);
    PIX_ScaledBlit(&dst, &src, 0, 0, 4, 4, 0, 0, bad, 4, 1.0f, 0x100);
    PIX_ScaledBlit(&dst, &src, 0, 0, 4, 4, 0, 0, 3, 3, bad, 0);
  }
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(dst.words()[i], 0u);
  EXPECT_TRUE(dst.guardsIntact());
}

// The scale loop's bilinear sampling, worked out per row, and the transform walker's shared
// sampler give the same pixels where both walk the same positions.
TEST(ScaledBlit, BilinearRowLoopEqualsTheWalkerSampler) {
  TestBitmap src(17, 11, 19, false);
  Number(src);
  for (int i = 0; i < 19 * 11; ++i)
    src.words()[i] ^= 0x9E3779B9u * (i % 5);
  for (int mode : {0x100, 0x10100, 0x101, 0x10105}) {
    TestBitmap scaled(14, 8, 14, false), rotated(14, 8, 14, false);
    scaled.fill(0x20406080u);
    rotated.fill(0x20406080u);
    // Same size with a sub-pixel offset: filtered, one source pixel per destination pixel, the
    // window reaching the source's right and bottom edges.
    PIX_ScaledBlit(&scaled, &src, 0, 0, 14, 8, 3.4f, 3.3f, 14.0f, 8.0f, 0.8f, mode);
    PIX_RotatedBlit(&rotated, &src, 0, 0, 14, 8, 3.4f, 3.3f, 14.0f, 8.0f, 0.0f, false, 0.8f, mode,
                    0, 0);
    EXPECT_EQ(std::memcmp(scaled.words(), rotated.words(), 14 * 8 * 4), 0) << mode;
  }
}

// Mirrored through the rotated blit at angle 0: every column of the source window, in reverse,
// the same as the mirrored scaled blit.
TEST(RotatedBlit, MirroredAtAngleZeroShowsTheWholeWindow) {
  TestBitmap src(10, 6, 10, false);
  Number(src);
  TestBitmap rotated(10, 6, 10, false), scaled(10, 6, 10, false);
  rotated.fill(0);
  scaled.fill(0);
  PIX_RotatedBlit(&rotated, &src, 10, 6, -10, -6, 0, 0, 10, 6, 0.0f, true, 1.0f, 0, 0, 0);
  PIX_ScaledBlit(&scaled, &src, 10, 6, -10, -6, 0, 0, 10, 6, 1.0f, 0);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x)
      EXPECT_EQ(rotated.at(x, y), src.at(9 - x, 5 - y)) << x << "," << y;
  EXPECT_EQ(std::memcmp(rotated.words(), scaled.words(), 10 * 6 * 4), 0);
}
