// Drawing contexts over views and windows, and the density test of views and windows.
#include <gtest/gtest.h>

#include "AppKit/AppKit.h"
#include "gui/emulation/DrawingEmulation.h"

namespace {

// A view that paints into a context of its own.
class PaintingView : public NSView, public WinemuPaintInfoSource {
public:
  PaintingView(CGContextRef port) : NSView(NSMakeRect(0, 0, 10, 10)), port(port) {}
  bool getWinemuPaintInfo(WinemuPaintInfo* info) override {
    info->context = port;
    return true;
  }
  CGContextRef port;
};

CGContextRef MakeBitmapContext(int w, int h) {
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGContextRef c =
      CGBitmapContextCreate(nullptr, w, h, 8, w * 4, space, kCGImageAlphaNoneSkipFirst);
  CGColorSpaceRelease(space);
  return c;
}

// The red byte of a backing-store pixel, row 0 at the top.
int RedAt(CGContextRef c, int x, int y) {
  auto* bytes = static_cast<const uint8_t*>(CGBitmapContextGetData(c));
  return bytes[y * CGBitmapContextGetBytesPerRow(c) + x * 4 + 1];
}

struct ScreenScale {
  explicit ScreenScale(double s) { NSScreen::mainScreen()->setBackingScaleFactor(s); }
  ~ScreenScale() { NSScreen::mainScreen()->setBackingScaleFactor(1.0); }
};

TEST(WindowContexts, RetinaIsABackingScaleAbove1Point9) {
  for (double scale : {1.0, 1.5, 2.0}) {
    ScreenScale screen(scale);
    NSWindow window(NSMakeRect(0, 0, 50, 40), nullptr);
    auto* view = new NSView(NSMakeRect(0, 0, 10, 10));
    window.contentView()->addSubview(view);
    EXPECT_EQ(IsRetinaWindow(&window), scale > 1.9) << scale;
    EXPECT_EQ(IsRetinaWindow(view), scale > 1.9) << scale;
    view->release();
  }
  ScreenScale screen(2.0);
  NSView loose(NSMakeRect(0, 0, 10, 10));
  NSObject other;
  EXPECT_FALSE(IsRetinaWindow(&loose)); // in no window
  EXPECT_FALSE(IsRetinaWindow(&other));
  EXPECT_FALSE(IsRetinaWindow(nullptr));
}

TEST(WindowContexts, WindowContextDrawsInWindowPointsAndIsGivenBack) {
  ScreenScale screen(2.0);
  NSWindow window(NSMakeRect(0, 0, 50, 40), nullptr);
  CGContextRef backing = window.backingContext();
  ASSERT_EQ(CGBitmapContextGetWidth(backing), 100u);
  HDC dc = GetWindowDC(&window);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(dc->platformContext, backing);
  EXPECT_TRUE(IsRetinaContext(dc));
  HBRUSH red = CreateSolidBrush(0xFF0000);
  const RECT square = {10, 10, 20, 20}; // window points, origin bottom left
  FillRect(dc, &square, red);
  ReleaseDC(&window, dc);
  DeleteObject(red);
  // Device pixels 20-40 from the bottom of an 80-pixel-high store: rows 40-59.
  EXPECT_EQ(RedAt(backing, 25, 50), 255);
  EXPECT_EQ(RedAt(backing, 19, 50), 0);
  EXPECT_EQ(RedAt(backing, 25, 39), 0);
  EXPECT_EQ(RedAt(backing, 25, 60), 0);
  // The port's state is back as it was.
  const CGAffineTransform ctm = CGContextGetCTM(backing);
  EXPECT_DOUBLE_EQ(ctm.a, 1.0);
  EXPECT_DOUBLE_EQ(ctm.tx, 0.0);
}

TEST(WindowContexts, ViewContextComesFromItsPaintInfoElseTheCurrentContext) {
  CGContextRef own = MakeBitmapContext(4, 4), current = MakeBitmapContext(4, 4);
  PaintingView painter(own);
  NSView plain(NSMakeRect(0, 0, 4, 4));

  HDC dc = GetWindowContext(&painter);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(dc->platformContext, own);
  ReleaseDC(&painter, dc);

  EXPECT_EQ(GetWindowContext(&plain), nullptr); // nothing is drawing
  NSGraphicsContext* graphics = NSGraphicsContext::graphicsContextWithGraphicsPort(current, false);
  NSGraphicsContext::setCurrentContext(graphics);
  dc = GetWindowContext(&plain);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(dc->platformContext, current);
  ReleaseDC(&plain, dc);
  HDC wrapped = WrapGraphicsContext(graphics);
  ASSERT_NE(wrapped, nullptr);
  EXPECT_EQ(wrapped->platformContext, current);
  EXPECT_EQ(GetContextPixelBuffer(wrapped), nullptr); // not its buffer
  DeleteDC(wrapped);
  NSGraphicsContext::setCurrentContext(nullptr);
  graphics->release();
  EXPECT_EQ(WrapGraphicsContext(static_cast<NSGraphicsContext*>(nullptr)), nullptr);
  EXPECT_EQ(GetWindowContext(nullptr), nullptr);
  ReleaseDC(nullptr, nullptr);

  CGContextRelease(own);
  CGContextRelease(current);
}

} // namespace
