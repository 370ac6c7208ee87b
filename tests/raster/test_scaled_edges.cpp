// The scaled blit's far edges: a window that runs past the source's last column or last row
// draws every destination pixel whose sample falls inside the source, wherever inside the last
// pixel that sample lands, and leaves the pixels whose samples lie beyond it alone.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "TestBitmap.h"
#include "raster/PIX_Blit.h"

namespace {

constexpr PIX_Pixel kUntouched = 0x11223344u;

// Pixel (x, y) of the source: every pixel a different opaque colour.
PIX_Pixel SourcePixel(int x, int y) {
  return 0xFF000000u | (PIX_Pixel)(x * 16 + 5) << 16 | (PIX_Pixel)(y * 16 + 7) << 8 | 0x3Cu;
}

TestBitmap MakeSource(int w, int h, bool flipped) {
  TestBitmap s(w, h, w + 3, flipped);
  s.fill(0xDEADBEEFu);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      s.at(x, y) = SourcePixel(x, y);
  return s;
}

// The source column or row a destination position samples, taken from the sample's own
// position (start + k x step in 16.16, as the blit walks it): -1 when it lies outside [0, size).
std::vector<int> Samples(float start, float window, int count, int size) {
  const float step = window / (float)count;
  const int64_t c0 = (int64_t)((double)start * 65536.0);
  const int64_t dc = (int64_t)((double)step * 65536.0);
  std::vector<int> out;
  for (int k = 0; k < count; ++k) {
    const int64_t c = c0 + k * dc;
    out.push_back(c >= 0 && c < (int64_t)size * 65536 ? (int)(c >> 16) : -1);
  }
  return out;
}

// The picture, written out: a 10-pixel source drawn at twice its size into 24
// destination columns (source window 12 wide). Samples at 9.0 and 9.5 (from srcx 0) and at 9.25
// and 9.75 (from 0.25) all read column 9; the columns after those stay untouched.
TEST(ScaledBlitEdges, TwiceSizeShowsTheLastColumnAndRowTwice) {
  for (bool flipped : {false, true}) {
    const TestBitmap src = MakeSource(10, 6, flipped);
    for (float offset : {0.0f, 0.25f, 0.4f}) {
      SCOPED_TRACE(testing::Message() << "flipped " << flipped << " offset " << offset);
      // Along the row.
      TestBitmap row(24, 2, 24, false);
      row.fill(kUntouched);
      PIX_ScaledBlit(&row, const_cast<TestBitmap*>(&src), 0, 0, 24, 2, offset, 2.0f, 12.0f, 1.0f,
                     1.0f, 0);
      for (int x = 0; x < 24; ++x)
        EXPECT_EQ(row.at(x, 0), x < 20 ? SourcePixel(x / 2, 2) : kUntouched) << "column " << x;
      // Down the column: 6 rows at twice their height into 16.
      TestBitmap col(2, 16, 2, false);
      col.fill(kUntouched);
      PIX_ScaledBlit(&col, const_cast<TestBitmap*>(&src), 0, 0, 2, 16, 3.0f, offset, 1.0f, 8.0f,
                     1.0f, 0);
      for (int y = 0; y < 16; ++y)
        EXPECT_EQ(col.at(0, y), y < 12 ? SourcePixel(3, y / 2) : kUntouched) << "row " << y;
      EXPECT_TRUE(row.guardsIntact());
      EXPECT_TRUE(col.guardsIntact());
    }
  }
}

// Enlargements and reductions at offsets all over the last pixel, windows running past both far
// edges at once, at full weight (the nearest copy) and at a weight that goes through the mode's
// writer: each destination pixel shows the source pixel its sample reads, or stays untouched
// when the sample is outside.
TEST(ScaledBlitEdges, EverySampleInsideTheSourceIsDrawn) {
  const int sw = 10, sh = 7;
  struct Window {
    int dstw, dsth;
    float srcw, srch;
  } windows[] = {{24, 17, 12.0f, 8.5f},  {37, 29, 12.3f, 9.7f}, {9, 8, 11.25f, 10.0f},
                 {50, 40, 12.5f, 10.0f}, {15, 11, 13.0f, 9.0f}, {13, 13, 11.9f, 8.2f},
                 {5, 4, 12.0f, 9.0f}}; // the last one a reduction the filter averages
  const float offsets[] = {0.0f, 0.1f, 0.25f, 0.5f, 0.75f, 0.9f, 0.999f};
  // The nearest copy, whose pixels are the source's; the additive writer and the filter (the
  // bilinear loop, or the averaging one for the reduction), whose written pixels are no longer
  // the untouched word while the ones left alone still are.
  struct Way {
    int mode;
    float alpha;
  } ways[] = {{0, 1.0f}, {1, 0.75f}, {0x100, 1.0f}};
  for (bool flipped : {false, true}) {
    const TestBitmap src = MakeSource(sw, sh, flipped);
    for (const Window& win : windows) {
      for (float ox : offsets) {
        for (float oy : {0.0f, 0.6f}) {
          for (const Way& way : ways) {
            const int mode = way.mode;
            const float alpha = way.alpha;
            SCOPED_TRACE(testing::Message()
                         << "flipped " << flipped << " " << win.dstw << "x" << win.dsth << " from "
                         << win.srcw << "x" << win.srch << " at (" << ox << ", " << oy << ") mode "
                         << mode << " alpha " << alpha);
            TestBitmap dst(win.dstw + 2, win.dsth + 2, win.dstw + 5, !flipped);
            dst.fill(kUntouched);
            PIX_ScaledBlit(&dst, const_cast<TestBitmap*>(&src), 1, 1, win.dstw, win.dsth, ox, oy,
                           win.srcw, win.srch, alpha, mode);
            const std::vector<int> xs = Samples(ox, win.srcw, win.dstw, sw);
            const std::vector<int> ys = Samples(oy, win.srch, win.dsth, sh);
            int wrong = 0;
            for (int y = 0; y < win.dsth + 2; ++y) {
              for (int x = 0; x < win.dstw + 2; ++x) {
                const bool inside = x >= 1 && y >= 1 && x <= win.dstw && y <= win.dsth &&
                                    xs[x - 1] >= 0 && ys[y - 1] >= 0;
                const PIX_Pixel got = dst.at(x, y);
                const bool ok = !inside     ? got == kUntouched
                                : mode == 0 ? got == SourcePixel(xs[x - 1], ys[y - 1])
                                            : got != kUntouched;
                if (!ok && ++wrong <= 4)
                  ADD_FAILURE() << "pixel (" << x << ", " << y << ") " << std::hex << got;
              }
            }
            EXPECT_EQ(wrong, 0);
            EXPECT_TRUE(dst.guardsIntact());
          }
        }
      }
    }
  }
}

// Filtered: the last column's samples interpolate nothing beyond the source; on a source
// whose rows are all alike, the samples in the last pixel show it exactly.
TEST(ScaledBlitEdges, FilteredSamplesInTheLastPixelShowIt) {
  TestBitmap src(10, 3, 10, false);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 10; ++x)
      src.at(x, y) = SourcePixel(x, 0);
  for (float offset : {0.0f, 0.25f, 0.75f}) {
    SCOPED_TRACE(offset);
    TestBitmap dst(24, 4, 24, false);
    dst.fill(kUntouched);
    PIX_ScaledBlit(&dst, &src, 0, 0, 24, 4, offset, 0.0f, 12.0f, 2.0f, 1.0f, 0x100);
    const std::vector<int> xs = Samples(offset, 12.0f, 24, 10);
    int inLast = 0;
    for (int x = 0; x < 24; ++x) {
      if (xs[x] == 9) {
        ++inLast;
        EXPECT_EQ(dst.at(x, 1), SourcePixel(9, 0)) << "column " << x;
      } else if (xs[x] < 0) {
        EXPECT_EQ(dst.at(x, 1), kUntouched) << "column " << x;
      }
    }
    EXPECT_EQ(inLast, 2); // two samples at twice the size, wherever they start
  }
}

} // namespace
