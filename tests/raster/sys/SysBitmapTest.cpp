// The system bitmap: its context, row span and growth, and pixels shared with the platform.
#include <gtest/gtest.h>

#include "gui/emulation/DrawingEmulation.h"
#include "raster/sys/PIX_SysBitmap.h"

namespace {

TEST(SysBitmap, RowSpanIsTheContextWidthRoundedToFour) {
  PIX_SysBitmap b(5, 3);
  EXPECT_EQ(b.getWidth(), 5);
  EXPECT_EQ(b.getHeight(), 3);
  EXPECT_EQ(b.getRowSpan(), 8);
  ASSERT_NE(b.getDC(), nullptr);
  EXPECT_EQ(b.getBits(), GetContextPixelBuffer(b.getDC()));
  EXPECT_FALSE(b.isFlipped());
  EXPECT_EQ(b.extensionCall(0x59555678, nullptr), 0);
  EXPECT_EQ(CGBitmapContextGetWidth(b.getDC()->platformContext), 8u);
}

TEST(SysBitmap, KeepsItsContextWhileSizesFit) {
  PIX_SysBitmap b(5, 3);
  DrawingContext* first = b.getDC();
  EXPECT_TRUE(b.resize(3, 3));
  EXPECT_EQ(b.getDC(), first);
  EXPECT_EQ(b.getRowSpan(), 8);
  EXPECT_EQ(b.getWidth(), 3);
  EXPECT_FALSE(b.resize(3, 3)); // same size
  EXPECT_TRUE(b.resize(9, 3));  // does not fit: a new context 12 pixels wide
  EXPECT_EQ(b.getRowSpan(), 12);
  EXPECT_EQ(CGBitmapContextGetWidth(b.getDC()->platformContext), 12u);
  EXPECT_TRUE(b.resize(2, 2));
  EXPECT_EQ(b.getRowSpan(), 12);
}

TEST(SysBitmap, EmptySizesDeleteTheContext) {
  PIX_SysBitmap b(4, 4);
  EXPECT_FALSE(b.resize(0, 0)); // the size changed, yet false
  EXPECT_EQ(b.getDC(), nullptr);
  EXPECT_EQ(b.getBits(), nullptr);
  EXPECT_EQ(b.getWidth(), 0);
  PIX_SysBitmap none;
  EXPECT_EQ(none.getDC(), nullptr);
  EXPECT_EQ(none.getBits(), nullptr);
  EXPECT_FALSE(none.resize(-4, 7));
  EXPECT_EQ(none.getWidth(), 0);
  EXPECT_EQ(none.getHeight(), 0);
}

TEST(SysBitmap, HugeSizesLeaveAValidEmptyBitmap) {
  PIX_SysBitmap b(4, 4);
  EXPECT_TRUE(b.resize(0x7FFFFFFF, 0x7FFFFFFF));
  EXPECT_EQ(b.getWidth(), 0);
  EXPECT_EQ(b.getHeight(), 0);
  EXPECT_EQ(b.getBits(), nullptr);
}

TEST(SysBitmap, PlatformDrawingAndPixelWordsShareTheBytes) {
  PIX_SysBitmap b(6, 4);
  HBRUSH brush = CreateSolidBrush(RGB(0x11, 0x22, 0x33));
  RECT r{1, 2, 2, 3};
  FillRect(b.getDC(), &r, brush);
  DeleteObject(brush);
  PIX_Pixel p = b.getBits()[2 * b.getRowSpan() + 1];
  EXPECT_EQ((p >> 8) & 0xFF, 0x11u); // R
  EXPECT_EQ((p >> 16) & 0xFF, 0x22u);
  EXPECT_EQ(p >> 24, 0x33u);
  EXPECT_EQ(b.getBits()[0], 0u);
}

} // namespace
