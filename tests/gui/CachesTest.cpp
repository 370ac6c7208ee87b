// The process-wide bitmap and font caches: one decoded bitmap per resource id, 1x and 2x twins
// apart, failed loads not cached, fonts shared by key, and the caches of two plug-ins in one
// process kept apart.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <thread>
#include <vector>

#include "GuiTestSupport.h"
#include "gui/StaticBitmapCache.h"
#include "gui/StaticFontCache.h"
#include "gui/emulation/DrawingEmulation.h"
#include "raster/sys/PIX_CachedFont.h"

using namespace guitest;

namespace {

class CachesTest : public ::testing::Test {
protected:
  void SetUp() override { editor.CreateDrawBitmaps(); }
  void TearDown() override { StaticBitmapCache::Shared().Empty(); }

  FakeController controller;
  TestEditor editor{&controller, 64, 48};
};

TEST_F(CachesTest, OneDecodedBitmapPerIdWhateverTheFramesOrEditor) {
  IBitmap a = editor.LoadIBitmap(7001, "strip3.png", 3);
  IBitmap b = editor.LoadIBitmap(7001, "strip3.png", 1, true);
  FakeController other;
  TestEditor second(&other, 10, 10);
  IBitmap c = second.LoadIBitmap(7001, "strip3.png", 3);
  ASSERT_NE(a.mData, nullptr);
  EXPECT_EQ(a.mData, b.mData);
  EXPECT_EQ(a.mData, c.mData);
  EXPECT_EQ(editor.loads.size() + second.loads.size(), 1u);
  EXPECT_EQ(a.W, 8);
  EXPECT_EQ(a.H, 90);
  EXPECT_EQ(a.N, 3);
  EXPECT_FALSE(a.mFramesAreHorizontal);
  EXPECT_EQ(b.N, 1);
  EXPECT_TRUE(b.mFramesAreHorizontal);
}

TEST_F(CachesTest, OneAndTwoTimesTwinsAreSeparateResources) {
  IBitmap one = editor.LoadIBitmap(102, "background.png");
  IBitmap two = editor.LoadIBitmap(103, "background2x.png");
  ASSERT_NE(one.mData, nullptr);
  ASSERT_NE(two.mData, nullptr);
  EXPECT_NE(one.mData, two.mData);
  EXPECT_EQ(one.W * 2, two.W);
  EXPECT_EQ(one.H * 2, two.H);
  EXPECT_EQ(editor.LoadIBitmap(102, "background.png").mData, one.mData);
  EXPECT_EQ(editor.loads, (std::vector<int>{102, 103}));
}

TEST_F(CachesTest, AResourceThatCannotBeLoadedIsEmptyAndNotCached) {
  for (const char* name : {"missing.png", "broken.png"}) {
    SCOPED_TRACE(name);
    editor.loads.clear();
    IBitmap b = editor.LoadIBitmap(7002, name, 0);
    EXPECT_EQ(b.mData, nullptr);
    EXPECT_EQ(b.W, 0);
    EXPECT_EQ(b.H, 0);
    EXPECT_EQ(b.N, 1); // no frame count of zero to divide by
    editor.LoadIBitmap(7002, name);
    EXPECT_EQ(editor.loads.size(), 2u); // tried again
  }
  EXPECT_EQ(StaticBitmapCache::Shared().Size(), 0);
}

TEST_F(CachesTest, RetainReleaseCropAndScale) {
  IBitmap strip = editor.LoadIBitmap(7003, "strip3.png", 3);
  IRECT cut(2, 30, 6, 40);
  IBitmap cropped = editor.CropBitmap(&strip, &cut);
  ASSERT_NE(cropped.mData, nullptr);
  EXPECT_EQ(cropped.W, 4);
  EXPECT_EQ(cropped.H, 10);
  EXPECT_EQ(cropped.N, 3);
  // The crop's pixel (0, 0) is the source's (2, 30): R = x, G = y.
  EXPECT_EQ(cropped.mData->getBits()[0], PIX_MakePixel(2, 30, 3, 255));
  IBitmap scaled = editor.ScaleBitmap(&strip, 16, 180);
  ASSERT_NE(scaled.mData, nullptr);
  EXPECT_EQ(scaled.W, 16);
  EXPECT_EQ(StaticBitmapCache::Shared().Size(), 3);
  editor.ReleaseBitmap(&cropped);
  EXPECT_EQ(cropped.mData, nullptr);
  EXPECT_EQ(StaticBitmapCache::Shared().Size(), 2);
  IBitmap bad = editor.ScaleBitmap(&cropped, 4, 4);
  EXPECT_EQ(bad.mData, nullptr);
  // Retaining a bitmap that is already cached does not store it twice.
  editor.RetainBitmap(&strip);
  EXPECT_EQ(StaticBitmapCache::Shared().Size(), 2);
}

// Editors on several threads missing the same id at once may each decode it; every bitmap
// they get stays owned by the cache and later lookups all find one of them.
TEST_F(CachesTest, ConcurrentLoadsOfOneIdEndInTheCache) {
  constexpr int kThreads = 6;
  PIX_IBitmap* got[kThreads] = {};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&got, t] {
      FakeController c;
      TestEditor e(&c, 8, 8);
      for (int i = 0; i < 20; ++i)
        got[t] = e.LoadIBitmap(7005 + i % 2, "strip3.png", 3).mData;
    });
  for (auto& th : threads)
    th.join();
  const int records = StaticBitmapCache::Shared().Size();
  EXPECT_GE(records, 2);
  EXPECT_LE(records, 2 * kThreads);
  PIX_IBitmap* first = editor.LoadIBitmap(7006, "strip3.png").mData;
  for (PIX_IBitmap* b : got) {
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(StaticBitmapCache::Shared().Contains(b));
  }
  EXPECT_EQ(editor.LoadIBitmap(7006, "strip3.png").mData, first);
  EXPECT_TRUE(editor.loads.empty());
}

TEST(FontCacheTest, StylesShareAFontByNameSizeStyleOrientationAndScale) {
  FakeController controller;
  TestEditor editor(&controller, 32, 32);
  editor.CreateDrawBitmaps();
  IText base(11, COLOR_BLACK, "Monaco");
  IText quality = base, colour = base, align = base;
  quality.mQuality = IText::kQualityNonAntiAliased;
  colour.mColor = COLOR_RED;
  align.mAlign = IText::kAlignFar;
  PIX_CachedFont* font = editor.CacheFont(&base);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(base.mCached, font);
  for (IText* t : {&quality, &colour, &align})
    EXPECT_EQ(editor.CacheFont(t), font);

  IText size = base, style = base, name = base, turned = base;
  size.mSize = 12;
  style.mStyle = IText::kStyleBold;
  name.SetFont("Arial");
  turned.mOrientation = 90;
  for (IText* t : {&size, &style, &name, &turned})
    EXPECT_NE(editor.CacheFont(t), font);

  IText scaled = base;
  editor.SetDrawScale(2.0);
  EXPECT_NE(editor.CacheFont(&scaled), font);
}

// The line height the cache ends with: the wanted height, or that of a font made once more at
// the height that corrects for the first font's line height.
TEST(FontCacheTest, TwiceTheScaleAsksForTwiceTheLineHeightCorrectedOnce) {
  FakeController controller;
  TestEditor editor(&controller, 32, 32);
  editor.CreateDrawBitmaps();
  editor.SetDrawScale(2.0);
  IText text(10, COLOR_BLACK, "Arial");
  PIX_CachedFont* font = editor.CacheFont(&text);
  ASSERT_NE(font, nullptr);

  auto lineHeightAt = [](int h) {
    PIX_CachedFont probe;
    probe.SetFromFontHandle(CreateFont(h, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"), 0x600);
    return probe.GetLineHeight();
  };
  const int first = lineHeightAt(20);
  const int expected = first == 20 ? 20 : lineHeightAt(int(20.0 * 20 / first + 0.5));
  EXPECT_EQ(font->GetLineHeight(), expected);
}

TEST(CacheIsolationTest, TwoPluginsInOneProcessKeepTheirOwnCaches) {
  // RTLD_GLOBAL puts the first module's symbols in the global scope: a visible cache would be
  // interposed on the second.
  void* a = dlopen(ORVANE_GUI_CACHE_MODULE_A, RTLD_NOW | RTLD_GLOBAL);
  void* b = dlopen(ORVANE_GUI_CACHE_MODULE_B, RTLD_NOW | RTLD_GLOBAL);
  ASSERT_NE(a, nullptr) << dlerror();
  ASSERT_NE(b, nullptr) << dlerror();
  using Address = void* (*)();
  using Add = int (*)(int);
  auto addressA = reinterpret_cast<Address>(dlsym(a, "orvane_test_bitmap_cache"));
  auto addressB = reinterpret_cast<Address>(dlsym(b, "orvane_test_bitmap_cache"));
  auto addA = reinterpret_cast<Add>(dlsym(a, "orvane_test_cache_add"));
  auto addB = reinterpret_cast<Add>(dlsym(b, "orvane_test_cache_add"));
  ASSERT_TRUE(addressA && addressB && addA && addB);
  EXPECT_NE(addressA(), addressB());
  EXPECT_NE(addressA(), static_cast<void*>(&StaticBitmapCache::Shared()));
  EXPECT_EQ(addA(102), 1);
  EXPECT_EQ(addA(103), 2);
  EXPECT_EQ(addB(102), 1); // the other plug-in's id 102 is its own image
  // Unloading empties each cache (the bitmaps are freed: the leak check sees none).
  dlclose(b);
  dlclose(a);
}

} // namespace
