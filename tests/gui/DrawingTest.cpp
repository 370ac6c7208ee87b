// The bitmap, text and fill entry points against the raster library's own results: frames of
// strips, blends, the clip to the rectangle being redrawn, colours, text measuring.
#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "gui/StaticBitmapCache.h"
#include "raster/PIX_Blit.h"
#include "raster/PIX_Fill.h"
#include "raster/sys/PIX_CachedFont.h"
#include "raster/sys/PIX_SysBitmap.h"

using namespace guitest;

namespace {

constexpr int kW = 40, kH = 30;

// Fills a bitmap with the same grey-ish pattern the reference gets.
void Paint(PIX_IBitmap* b) {
  for (int y = 0; y < b->getHeight(); ++y)
    for (int x = 0; x < b->getWidth(); ++x)
      b->getBits()[y * b->getRowSpan() + x] = PIX_MakePixel(90 + x, 60 + y, 120, 200);
}

// Pixels of the visible area that differ.
int Differences(PIX_IBitmap* a, PIX_IBitmap* b) {
  int n = 0;
  for (int y = 0; y < a->getHeight(); ++y)
    for (int x = 0; x < a->getWidth(); ++x)
      n += a->getBits()[y * a->getRowSpan() + x] != b->getBits()[y * b->getRowSpan() + x];
  return n;
}

class DrawingTest : public ::testing::Test {
protected:
  void SetUp() override {
    editor.CreateDrawBitmaps();
    Paint(editor.GetDrawBitmap());
    Paint(&reference);
    everything = IRECT(0, 0, kW, kH);
    // The draw rectangle is set by Draw; a single full-size panel-less pass sets it here.
    SetDrawRect(everything);
  }
  void TearDown() override { StaticBitmapCache::Shared().Empty(); }

  void SetDrawRect(const IRECT& r) {
    // Draw with one invisible control sets the draw rectangle to r.
    if (editor.NControls() == 0)
      editor.AttachControl(new ProbeControl(&controller, IRECT()));
    IRECT rect = r;
    editor.Draw(&rect);
  }
  PIX_Pixel At(int x, int y) { return PIX_GetPixel(editor.GetDrawBitmap(), x, y); }

  FakeController controller;
  TestEditor editor{&controller, kW, kH};
  PIX_SysBitmap reference{kW, kH};
  IRECT everything;
};

TEST_F(DrawingTest, FramesOfAVerticalStripStartAtTheirRoundedRows) {
  IBitmap strip = editor.LoadIBitmap(7101, "strip3.png", 3);
  // frame, first source row (R = x, G = y in the coded strip)
  const int cases[][2] = {{1, 0}, {2, 30}, {3, 60}, {0, 0}, {-4, 0}, {9, 60}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0]);
    IRECT r(5, 2, 13, 32);
    editor.DrawBitmap(&strip, &r, c[0], nullptr);
    EXPECT_EQ(At(5, 2), PIX_MakePixel(0, c[1], 3, 255));
    EXPECT_EQ(At(12, 11), PIX_MakePixel(7, c[1] + 9, 3, 255));
  }
  // Any frame of a single-frame bitmap blits from (0, 0).
  IBitmap single = editor.LoadIBitmap(7101, "strip3.png", 1);
  IRECT r(0, 0, 8, 20);
  editor.DrawBitmap(&single, &r, 3, nullptr);
  EXPECT_EQ(At(0, 0), PIX_MakePixel(0, 0, 3, 255));
}

TEST_F(DrawingTest, FramesOfAHorizontalStripStartAtTheirRoundedColumns) {
  IBitmap strip = editor.LoadIBitmap(7102, "strip4h.png", 4, true);
  IRECT r(0, 0, 5, 6);
  editor.DrawBitmap(&strip, &r, 3, nullptr);
  EXPECT_EQ(At(0, 0), PIX_MakePixel(10, 0, 4, 255)); // trunc(2 x 20 / 4 + 0.5)
  EXPECT_EQ(At(4, 5), PIX_MakePixel(14, 5, 4, 255));
}

// Each blend through the editor equals the raster blit with the mode the blend stands for.
TEST_F(DrawingTest, BlendsAreTheRasterBlitsTheyStandFor) {
  IBitmap alpha = editor.LoadIBitmap(7103, "alpha.png");
  struct Case {
    const char* name;
    IChannelBlend blend;
    bool noBlend;
    int mode;
    float weight;
  } cases[] = {
      {"none", {}, true, PIX_COMBINE_COPY | PIX_COMBINE_SOURCEALPHA, 1.0f},
      {"default", {0, 1.0f}, false, PIX_COMBINE_COPY | PIX_COMBINE_SOURCEALPHA, 1.0f},
      {"clobber", {1, 1.0f}, false, PIX_COMBINE_COPY, 1.0f},
      {"add", {2, 0.75f}, false, PIX_COMBINE_ADD | PIX_COMBINE_SOURCEALPHA, 0.75f},
      {"dodge", {3, 0.5f}, false, PIX_COMBINE_DODGE | PIX_COMBINE_SOURCEALPHA, 0.5f},
      {"unknown", {9, 0.3f}, false, PIX_COMBINE_COPY | PIX_COMBINE_SOURCEALPHA, 0.3f},
      {"grayed", {0, 0.25f}, false, PIX_COMBINE_COPY | PIX_COMBINE_SOURCEALPHA, 0.25f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Paint(editor.GetDrawBitmap());
    Paint(&reference);
    IRECT r(3, 4, 11, 12);
    editor.DrawBitmap(&alpha, &r, 1, c.noBlend ? nullptr : &c.blend);
    PIX_Blit(&reference, alpha.mData, 3, 4, 0, 0, 8, 8, c.weight, c.mode);
    EXPECT_EQ(Differences(editor.GetDrawBitmap(), &reference), 0);
  }
}

TEST_F(DrawingTest, BlitsAreClippedToTheRectangleBeingRedrawn) {
  IBitmap strip = editor.LoadIBitmap(7104, "strip3.png", 3);
  SetDrawRect(IRECT(10, 10, 20, 25));
  Paint(editor.GetDrawBitmap());
  IRECT r(6, 8, 14, 38);
  editor.DrawBitmap(&strip, &r, 2, nullptr);
  // Only the overlap (10, 10)-(14, 25) is drawn, from the source moved by the cut (4, 2).
  PIX_Blit(&reference, strip.mData, 10, 10, 4, 32, 4, 15, 1.0f,
           PIX_COMBINE_COPY | PIX_COMBINE_SOURCEALPHA);
  EXPECT_EQ(Differences(editor.GetDrawBitmap(), &reference), 0);

  // Wholly outside the draw rectangle: nothing.
  Paint(editor.GetDrawBitmap());
  IRECT outside(25, 0, 33, 30);
  EXPECT_TRUE(editor.DrawBitmap(&strip, &outside, 1, nullptr));
  Paint(&reference);
  EXPECT_EQ(Differences(editor.GetDrawBitmap(), &reference), 0);
}

TEST_F(DrawingTest, NullBitmapsDrawNothing) {
  IBitmap empty;
  IRECT r(0, 0, 10, 10);
  EXPECT_FALSE(editor.DrawBitmap(&empty, &r, 1, nullptr));
  EXPECT_FALSE(editor.DrawBitmap(nullptr, &r, 1, nullptr));
  EXPECT_FALSE(editor.BlitBitmap(&empty, &r, 0, 0, nullptr));
  EXPECT_EQ(Differences(editor.GetDrawBitmap(), &reference), 0);
}

TEST_F(DrawingTest, ColoursBecomePixelWordsAlphaInTheLowByte) {
  EXPECT_EQ(IColorToPixel(IColor(0x11, 0x22, 0x33, 0x44)), 0x44332211u);
  const IColor colour(160, 10, 200, 30);
  IChannelBlend half(0, 0.5f);
  IRECT r(2, 3, 17, 9);
  editor.FillIRect(&colour, &r, &half);
  PIX_FillRect(&reference, 2, 3, 15, 6, 0x1EC80AA0u, 0.5f,
               PIX_COMBINE_COPY | PIX_COMBINE_SOURCEALPHA);
  EXPECT_EQ(Differences(editor.GetDrawBitmap(), &reference), 0);

  EXPECT_TRUE(editor.ForcePixel(&colour, 39, 29));
  EXPECT_EQ(At(39, 29), 0x1EC80AA0u);
  EXPECT_EQ(editor.GetPoint(39, 29), colour);
  const int outside[][2] = {{40, 0}, {0, 30}, {-1, 5}, {5, -1}};
  for (const auto& p : outside)
    EXPECT_FALSE(editor.ForcePixel(&colour, p[0], p[1]));
  EXPECT_EQ(editor.GetBits(), editor.GetDrawBitmap()->getBits());

  IColor point(255, 1, 2, 3);
  editor.DrawPoint(&point, 7, 7);
  EXPECT_EQ(At(7, 7), PIX_MakePixel(1, 2, 3, 255));
}

TEST_F(DrawingTest, MeasuringPlacesTheTextExtentByAlignment) {
  IText text(12, COLOR_BLACK, "Arial");
  PIX_CachedFont* font = editor.CacheFont(&text);
  ASSERT_NE(font, nullptr);
  RECT extent{0, 0, 0, 0};
  font->DrawText(editor.GetDrawBitmap(), "Gain 12", -1, &extent, PIX_TEXT_CALCRECT);
  const int w = extent.right - extent.left, h = extent.bottom - extent.top;
  ASSERT_GT(w, 0);
  ASSERT_GT(h, 0);

  const int aligns[] = {IText::kAlignNear, IText::kAlignCenter, IText::kAlignFar};
  const IRECT expected[] = {IRECT(100, 50, 100 + w, 50 + h),
                            IRECT(150 - w / 2, 50, 150 - w / 2 + w, 50 + h),
                            IRECT(200 - w, 50, 200, 50 + h)};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    text.mAlign = aligns[i];
    IRECT r(100, 50, 200, 70);
    EXPECT_TRUE(editor.MeasureIText(&text, "Gain 12", &r));
    EXPECT_EQ(r, expected[i]);
  }
  Paint(&reference);
  EXPECT_EQ(Differences(editor.GetDrawBitmap(), &reference), 0); // measuring draws nothing
}

TEST_F(DrawingTest, TextDrawsWithTheStyleColourAndItsAlpha) {
  IText text(14, COLOR_BLACK, "Arial");
  text.mAlign = IText::kAlignNear;
  IRECT r(0, 0, kW, kH);
  PIX_Clear(editor.GetDrawBitmap(), 0xFFFFFFFF);
  EXPECT_TRUE(editor.DrawIText(&text, "", &r)); // nothing to draw, success
  EXPECT_TRUE(editor.DrawIText(&text, "WM", &r));
  auto darkest = [&] {
    int d = 255;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x)
        d = std::min(d, PIX_Red(At(x, y)));
    return d;
  };
  const int opaque = darkest();
  EXPECT_LT(opaque, 40);
  PIX_Clear(editor.GetDrawBitmap(), 0xFFFFFFFF);
  text.mColor = IColor(128, 0, 0, 0);
  EXPECT_TRUE(editor.DrawIText(&text, "WM", &r));
  const int half = darkest();
  EXPECT_GT(half, 100); // half-opaque glyphs over white
  EXPECT_LT(half, 160);
}

} // namespace
