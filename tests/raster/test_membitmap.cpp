#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "raster/PIX_MemBitmap.h"

TEST(MemBitmap, EmptyBitmapHasNoPixels) {
  PIX_MemBitmap bm(0, 0, 4);
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_EQ(bm.getHeight(), 0);
  EXPECT_EQ(bm.getDC(), nullptr);
  EXPECT_FALSE(bm.isFlipped());
  EXPECT_EQ(bm.extensionCall(0x59555678, nullptr), 0);
}

TEST(MemBitmap, PixelsAre64ByteAlignedAndWritable) {
  PIX_MemBitmap bm(13, 7, 4);
  ASSERT_NE(bm.getBits(), nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(bm.getBits()) % 64, 0u);
  PIX_Pixel* p = bm.getBits();
  for (int i = 0; i < bm.getRowSpan() * bm.getHeight(); ++i)
    p[i] = 0x12345678u; // ASan catches a block that is too small
}

TEST(MemBitmap, RowSpanFollowsLineAlignment) {
  struct Case {
    unsigned align;
    int width;
    int span;
  } cases[] = {{4, 5, 8},
               {4, 8, 8},
               {1, 5, 5},
               {0, 5, 5},
               {16, 17, 32},
               {6, 5, 6},
               // alignments above 16 are capped at 16, which does not round
               {32, 5, 5},
               {32, 20, 36}};
  for (const Case& c : cases) {
    PIX_MemBitmap bm(c.width, 2, c.align);
    EXPECT_EQ(bm.getRowSpan(), c.span) << "align " << c.align << " width " << c.width;
  }
}

TEST(MemBitmap, ResizeKeepsBlockWhileItFitsAndGrowsByAQuarter) {
  PIX_MemBitmap bm(100, 100, 4);
  PIX_Pixel* first = bm.getBits();
  EXPECT_FALSE(bm.resize(100, 100));
  EXPECT_TRUE(bm.resize(50, 50));
  EXPECT_EQ(bm.getBits(), first);
  EXPECT_TRUE(bm.resize(100, 100));
  EXPECT_EQ(bm.getBits(), first);
  EXPECT_TRUE(bm.resize(101, 100));
  // need = 104 x 100 x 4 = 41600; the block grows to need + need / 4 = 52000 bytes: a later
  // 104 x 125 image (52000 bytes) fits in it without growing again.
  PIX_Pixel* grown = bm.getBits();
  ASSERT_NE(grown, nullptr);
  EXPECT_TRUE(bm.resize(104, 125));
  EXPECT_EQ(bm.getBits(), grown);
  PIX_Pixel* p = bm.getBits();
  for (int i = 0; i < 104 * 125; ++i)
    p[i] = 1;
}

TEST(MemBitmap, ResizeToNothingFreesTheBlock) {
  PIX_MemBitmap bm(10, 10, 4);
  EXPECT_TRUE(bm.resize(0, 5));
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_EQ(bm.getHeight(), 0);
  EXPECT_TRUE(bm.resize(3, 3));
  EXPECT_NE(bm.getBits(), nullptr);
}

// Sizes whose byte count wraps a 32-bit int, or passes the limit, are refused and leave an
// empty bitmap rather than a block too small for its size.
TEST(MemBitmap, HugeSizesAreRefused) {
  const int sizes[][2] = {{65536, 65536}, {INT_MAX, 1},   {INT_MAX, INT_MAX},
                          {1, INT_MAX},   {46341, 46341}, {16385, 16384}};
  for (const auto& s : sizes) {
    PIX_MemBitmap bm(8, 8, 4);
    EXPECT_TRUE(bm.resize(s[0], s[1]));
    EXPECT_EQ(bm.getBits(), nullptr) << s[0] << " x " << s[1];
    EXPECT_EQ(bm.getWidth(), 0);
    EXPECT_EQ(bm.getHeight(), 0);
  }
  PIX_MemBitmap direct(INT_MAX, INT_MAX, 4);
  EXPECT_EQ(direct.getBits(), nullptr);
  EXPECT_EQ(direct.getWidth(), 0);
}

TEST(MemBitmap, DeletesThroughTheInterface) {
  PIX_IBitmap* bm = new PIX_MemBitmap(4, 4, 4);
  EXPECT_EQ(bm->getRowSpan(), 4);
  delete bm; // LeakSanitizer checks the block went with it
}
