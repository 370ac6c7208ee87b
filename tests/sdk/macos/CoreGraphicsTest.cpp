// The CoreGraphics stand-in: bitmap layouts, the transform and state stack, clipping,
// anti-aliased coverage, strokes and image drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CoreGraphics/CoreGraphics.h"
#include "CoreText/CoreText.h"

namespace {

class Context : public ::testing::Test {
protected:
  static constexpr int W = 8, H = 6;
  void SetUp() override {
    space = CGColorSpaceCreateDeviceRGB();
    cg = CGBitmapContextCreate(pixels.data(), W, H, 8, W * 4, space, kCGImageAlphaNoneSkipFirst);
    ASSERT_NE(cg, nullptr);
  }
  void TearDown() override {
    CGContextRelease(cg);
    CGColorSpaceRelease(space);
  }
  // R byte of pixel (x, y), y counted from the top memory row.
  int red(int x, int y) const { return pixels[(y * W + x) * 4 + 1]; }
  void fillRed(CGRect r) {
    CGContextSetRGBFillColor(cg, 1, 0, 0, 1);
    CGContextFillRect(cg, r);
  }
  std::vector<uint8_t> pixels = std::vector<uint8_t>(W * H * 4, 0);
  CGColorSpaceRef space = nullptr;
  CGContextRef cg = nullptr;
};

TEST_F(Context, DeviceSpaceStartsAtTheBottomLeft) {
  fillRed(CGRectMake(0, 0, 1, 1));
  EXPECT_EQ(red(0, H - 1), 255); // the bottom row is the last in memory
  EXPECT_EQ(red(0, 0), 0);
  EXPECT_EQ(pixels[((H - 1) * W) * 4 + 0], 0); // the skipped byte stays
}

TEST_F(Context, TransformAndStateStack) {
  CGContextSaveGState(cg);
  CGContextTranslateCTM(cg, 0, H);
  CGContextScaleCTM(cg, 1, -1); // y downwards, row 0 at the top
  fillRed(CGRectMake(2, 1, 1, 1));
  EXPECT_EQ(red(2, 1), 255);
  CGContextClipToRect(cg, CGRectMake(0, 0, 4, 4));
  fillRed(CGRectMake(0, 0, W, H));
  EXPECT_EQ(red(3, 3), 255);
  EXPECT_EQ(red(4, 3), 0); // outside the clip
  CGContextRestoreGState(cg);
  EXPECT_DOUBLE_EQ(CGContextGetCTM(cg).d, 1.0);
  fillRed(CGRectMake(0, 0, W, H)); // clip and transform restored
  EXPECT_EQ(red(7, 0), 255);
}

TEST_F(Context, AntialiasedEdgesCoverByArea) {
  CGContextSetRGBFillColor(cg, 1, 1, 1, 1);
  CGContextFillRect(cg, CGRectMake(1.5, 0, 2, 1)); // half of x=1, all of x=2, half of x=3
  EXPECT_EQ(red(1, H - 1), 128);
  EXPECT_EQ(red(2, H - 1), 255);
  EXPECT_EQ(red(3, H - 1), 128);
  CGContextSetShouldAntialias(cg, false);
  CGContextFillRect(cg, CGRectMake(5.4, 0, 1.0, 1)); // only the centre of x=5 is inside
  EXPECT_EQ(red(5, H - 1), 255);
  EXPECT_EQ(red(6, H - 1), 0);
}

TEST_F(Context, StrokesAndAlphaBlending) {
  CGContextSetRGBStrokeColor(cg, 1, 0, 0, 0.5);
  CGContextSetLineWidth(cg, 1);
  CGContextBeginPath(cg);
  CGContextMoveToPoint(cg, 0, 2.5);
  CGContextAddLineToPoint(cg, W, 2.5);
  CGContextStrokePath(cg);
  EXPECT_EQ(red(4, H - 3), 128); // device row 2 is memory row H - 3
  EXPECT_EQ(red(4, H - 2), 0);
  EXPECT_TRUE(CGContextIsPathEmpty(cg));
  CGFloat nan = std::nan("");
  CGContextMoveToPoint(cg, nan, 0);
  CGContextAddLineToPoint(cg, 5, 5);
  CGContextAddLineToPoint(cg, 0, 5);
  CGContextFillPath(cg); // a NaN point draws nothing
  EXPECT_EQ(red(1, 1), 0);
}

TEST_F(Context, ImagesDrawUprightAndPixelExact) {
  std::vector<uint8_t> source = {0, 10, 20, 30, 0, 40, 50, 60, 0, 70, 80, 90, 0, 100, 110, 120};
  CGDataProviderRef provider =
      CGDataProviderCreateWithData(nullptr, source.data(), source.size(), nullptr);
  CGImageRef image = CGImageCreate(2, 2, 8, 32, 8, space, kCGImageAlphaNoneSkipFirst, provider,
                                   nullptr, false, kCGRenderingIntentDefault);
  CGDataProviderRelease(provider);
  ASSERT_NE(image, nullptr);
  CGContextDrawImage(cg, CGRectMake(1, 1, 2, 2), image);
  // The image's top row lies at the rectangle's top (maximum y): memory row H - 3.
  EXPECT_EQ(red(1, H - 3), 10);
  EXPECT_EQ(red(2, H - 3), 40);
  EXPECT_EQ(red(1, H - 2), 70);
  EXPECT_EQ(red(2, H - 2), 100);
  CGImageRelease(image);
  CGImageRef copy = CGBitmapContextCreateImage(cg);
  EXPECT_EQ(CGImageGetWidth(copy), size_t(W));
  CGImageRelease(copy);
}

TEST(BitmapContext, UnsupportedLayoutsAreRefused) {
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  EXPECT_EQ(CGBitmapContextCreate(nullptr, 4, 4, 8, 16, space, kCGImageAlphaLast), nullptr);
  EXPECT_EQ(CGBitmapContextCreate(nullptr, 4, 4, 16, 32, space, kCGImageAlphaNoneSkipFirst),
            nullptr);
  EXPECT_EQ(CGBitmapContextCreate(nullptr, 4, 4, 8, 8, space, kCGImageAlphaNoneSkipFirst),
            nullptr); // rows too short
  EXPECT_EQ(CGBitmapContextCreate(nullptr, 0, 4, 8, 0, space, kCGImageAlphaNoneSkipFirst), nullptr);
  CGContextRef own =
      CGBitmapContextCreate(nullptr, 4, 4, 8, 0, space, kCGImageAlphaPremultipliedFirst);
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(CGBitmapContextGetBytesPerRow(own), 16u);
  CGContextSetRGBFillColor(own, 1, 1, 1, 0.5);
  CGContextFillRect(own, CGRectMake(0, 0, 4, 4));
  auto* p = static_cast<uint8_t*>(CGBitmapContextGetData(own));
  EXPECT_EQ(p[0], 128); // premultiplied alpha first
  EXPECT_EQ(p[1], 128);
  CGContextRelease(own);
  CGColorSpaceRelease(space);
}

TEST(CoreText, FontsResolveAndLinesMeasure) {
  CTFontRef mono = CTFontCreateWithName(CFSTR("Monaco"), 20, nullptr);
  CTFontRef bold = CTFontCreateWithName(CFSTR("Monaco Bold"), 20, nullptr);
  ASSERT_NE(mono, nullptr);
  EXPECT_DOUBLE_EQ(CTFontGetSize(mono), 20);
  EXPECT_GT(CTFontGetAscent(mono), 10);
  EXPECT_GT(CTFontGetDescent(mono), 2);
  CFStringRef a = CTFontCopyPostScriptName(mono), b = CTFontCopyPostScriptName(bold);
  char na[64], nb[64];
  CFStringGetCString(a, na, sizeof na, kCFStringEncodingUTF8);
  CFStringGetCString(b, nb, sizeof nb, kCFStringEncodingUTF8);
  EXPECT_STRNE(na, nb);
  // A PostScript name resolves to the same face.
  CTFontRef again = CTFontCreateWithName(b, 20, nullptr);
  CFStringRef c = CTFontCopyPostScriptName(again);
  char nc[64];
  CFStringGetCString(c, nc, sizeof nc, kCFStringEncodingUTF8);
  EXPECT_STREQ(nb, nc);

  const void* keys[] = {kCTFontAttributeName};
  const void* values[] = {mono};
  CFDictionaryRef attributes = CFDictionaryCreate(nullptr, keys, values, 1, nullptr, nullptr);
  auto width = [&](const char* text) {
    CFStringRef s = CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
    CFAttributedStringRef as = CFAttributedStringCreate(nullptr, s, attributes);
    CTLineRef line = CTLineCreateWithAttributedString(as);
    double w = CTLineGetTypographicBounds(line, nullptr, nullptr, nullptr);
    CFRelease(line);
    CFRelease(as);
    CFRelease(s);
    return w;
  };
  EXPECT_DOUBLE_EQ(width("iiii"), width("MMMM"));
  EXPECT_NEAR(width("abcd"), 2 * width("ab"), 1e-9);
  EXPECT_DOUBLE_EQ(width("ab\ncd"), width("abcd")); // line feeds take no room in a line
  for (CFTypeRef o : {CFTypeRef(a), CFTypeRef(b), CFTypeRef(c), CFTypeRef(attributes),
                      CFTypeRef(mono), CFTypeRef(bold), CFTypeRef(again)})
    CFRelease(o);
}

} // namespace
