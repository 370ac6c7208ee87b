// Named cases of the combine writers; check_writers.py compares them exhaustively with the
// model.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "raster/PIX_Combine.h"

namespace {
PIX_Pixel Apply(PIX_PixelWriter writer, PIX_Pixel dest, PIX_Pixel src, int w) {
  unsigned char p[4] = {(unsigned char)dest, (unsigned char)(dest >> 8),
                        (unsigned char)(dest >> 16), (unsigned char)(dest >> 24)};
  writer(p, PIX_Red(src), PIX_Green(src), PIX_Blue(src), PIX_Alpha(src), w);
  return p[0] | (p[1] << 8) | (p[2] << 16) | ((PIX_Pixel)p[3] << 24);
}
} // namespace

TEST(Combine, WeightTruncatesTowardZeroAndRefusesNonNumbers) {
  EXPECT_EQ(PIX_WeightFromAlpha(1.0f), 256);
  EXPECT_EQ(PIX_WeightFromAlpha(0.5f), 128);
  EXPECT_EQ(PIX_WeightFromAlpha(0.75f), 192);
  EXPECT_EQ(PIX_WeightFromAlpha(0.003f), 0);
  EXPECT_EQ(PIX_WeightFromAlpha(-0.003f), 0);
  EXPECT_EQ(PIX_WeightFromAlpha(0.502f), 128);
  EXPECT_EQ(PIX_WeightFromAlpha(std::nanf("")), 0);
  EXPECT_EQ(PIX_WeightFromAlpha(std::numeric_limits<float>::infinity()), 0);
  EXPECT_EQ(PIX_WeightFromAlpha(-std::numeric_limits<float>::infinity()), 0);
  EXPECT_EQ(PIX_WeightFromAlpha(1e30f), 0);
  EXPECT_EQ(PIX_WeightFromAlpha(64.0f), 16384);
}

TEST(Combine, PixelWordLayout) {
  const PIX_Pixel p = PIX_MakePixel(0x11, 0x22, 0x33, 0x44);
  EXPECT_EQ(p, 0x33221144u);
  EXPECT_EQ(PIX_Red(p), 0x11);
  EXPECT_EQ(PIX_Green(p), 0x22);
  EXPECT_EQ(PIX_Blue(p), 0x33);
  EXPECT_EQ(PIX_Alpha(p), 0x44);
}

TEST(Combine, ReciprocalTable) {
  EXPECT_EQ(PIX_ReciprocalTable[0], 0);
  EXPECT_EQ(PIX_ReciprocalTable[1], 65535);
  EXPECT_EQ(PIX_ReciprocalTable[2], 32767);
  EXPECT_EQ(PIX_ReciprocalTable[255], 256);
}

TEST(Combine, DodgeAtFullSourceSaturates) {
  // s 255 at w 256: q = 1, no division: non-zero channels become 255, zero stays 0.
  EXPECT_EQ(Apply(PIX_PixelDodge, 0x00800100u, 0xFFFFFFFFu, 256), 0x00FFFF00u);
}

TEST(Combine, HsvNeutralSourceKeepsGreyAndTakesSourceAlpha) {
  EXPECT_EQ(Apply(PIX_HSVAdjustPixel, 0x80808011u, PIX_MakePixel(128, 128, 128, 0x5A), 256),
            0x8080805Au);
}

TEST(Combine, SourceAlphaCopyExtremes) {
  EXPECT_EQ(Apply(PIX_PixelCopySourceAlpha, 0x12345678u, 0xAABBCC00u, 256), 0x12345678u);
  EXPECT_EQ(Apply(PIX_PixelCopySourceAlpha, 0x12345600u, 0xAABBCCFFu, 256), 0xAABBCCFFu);
}

TEST(Combine, SourceAlphaOverlayRunsAtZeroAlpha) {
  // e = (0 + 1) x 256 / 256 = 1: the overlay still moves mid greys through truncation, while
  // the blend leaves the pixel alone.
  EXPECT_NE(Apply(PIX_PixelOverlaySourceAlpha, 0x80808080u, 0x00000000u, 256), 0x80808080u);
  EXPECT_EQ(Apply(PIX_PixelBlendSourceAlpha, 0x12345678u, 0xFFFFFF00u, 256), 0x12345678u);
}

// The word forms against the byte arithmetic they stand for.
TEST(Combine, WordFormsAreShiftedBytes) {
  for (unsigned d : {0u, 1u, 0x80u, 0xFFu, 0x7Fu, 0xFEu})
    for (unsigned c : {0u, 1u, 0x80u, 0xFFu, 0x3u, 0xFDu}) {
      const PIX_Pixel dw = d * 0x01010101u, cw = c * 0x01010101u;
      EXPECT_EQ(PIX_WordHalf(dw, cw), ((d >> 1) + (c >> 1)) * 0x01010101u);
      EXPECT_EQ(PIX_WordQuarter(dw, cw), ((d >> 2) + (c >> 2) + (d >> 1)) * 0x01010101u);
      EXPECT_EQ(PIX_WordThreeQuarter(dw, cw), ((d >> 2) + (c >> 2) + (c >> 1)) * 0x01010101u);
      EXPECT_EQ(PIX_ByteAverage(dw, cw), ((d + c) >> 1) * 0x01010101u);
    }
}

TEST(Combine, WriterTables) {
  EXPECT_EQ(PIX_ClampedWriters[0], &PIX_PixelBlendClamped);
  EXPECT_EQ(PIX_ClampedWriters[3], &PIX_PixelMultiplyClamped);
  EXPECT_EQ(PIX_ClampedWriters[5], &PIX_HSVAdjustPixel);
  EXPECT_EQ(PIX_PlainWriter(6), nullptr);
  EXPECT_EQ(PIX_SourceAlphaWriter(0), &PIX_PixelBlendSourceAlpha);
}
