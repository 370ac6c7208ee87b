// The single-pixel combine routines against the combine formulas, written out here.
#include <gtest/gtest.h>

#include <algorithm>

#include "raster/sys/PIX_CombinePixel.h"

namespace {

int clamp255(int v) {
  return std::clamp(v, 0, 255);
}
int blend(int d, int s, int w) {
  return s + ((d - s) * (256 - w)) / 256;
}

TEST(CombinePixel, ModesAgainstTheFormulas) {
  const PIX_Pixel dest = PIX_MakePixel(200, 100, 50, 80);
  const PIX_Pixel color = PIX_MakePixel(20, 240, 128, 160);
  struct Case {
    int mode;
    float alpha;
    PIX_Pixel expected;
  };
  int w = 128;                   // alpha 0.5
  int e = ((160 + 1) * w) / 256; // source-alpha weight
  const Case cases[] = {
      {0, 1.0f, color},
      {0, 0.5f,
       PIX_MakePixel(blend(200, 20, w), blend(100, 240, w), blend(50, 128, w), blend(80, 160, w))},
      {1, 0.5f,
       PIX_MakePixel(clamp255(200 + 20 * w / 256), clamp255(100 + 240 * w / 256),
                     clamp255(50 + 128 * w / 256), clamp255(80 + 160 * w / 256))},
      {0x10000, 0.5f,
       PIX_MakePixel(blend(200, 20, e), blend(100, 240, e), blend(50, 128, e),
                     std::min(80 + e, 255))},
      {6, 1.0f, dest}, // modes above 5 leave the pixel
      {0, 0.0f, dest}, // weight 0 leaves the pixel
  };
  for (const Case& c : cases)
    EXPECT_EQ(PIX_CombinePixelValue(dest, color, c.mode, c.alpha), c.expected)
        << "mode " << c.mode << " alpha " << c.alpha;
  unsigned char p[4] = {1, 2, 3, 4};
  PIX_CombinePixelRGBA(p, 9, 9, 9, 9, 256, 7); // out of range: untouched
  PIX_CombinePixelRGBASourceAlpha(p, 9, 9, 9, 9, 256, 3);
  EXPECT_EQ(p[0], 1);
  EXPECT_EQ(p[3], 4);
}

} // namespace
