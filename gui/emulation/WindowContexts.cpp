// Drawing contexts over a view's or a window's graphics port, and the density test of views
// and windows.
#include "gui/emulation/DrawingEmulation.h"
#include "gui/emulation/EmulationSupport.h"

#include "AppKit/AppKit.h"
#include "CoreServices/CoreServices.h"

using winemu::isLive;

namespace {

// Views from this system version on tell their backing scale.
constexpr SInt32 kFirstVersionWithBackingScale = 0x1070;

// A context over port whose state ReleaseDC puts back.
HDC WrapPort(CGContextRef port) {
  if (!port)
    return nullptr;
  CGContextSaveGState(port);
  HDC context = WrapGraphicsContext(port);
  if (!context)
    CGContextRestoreGState(port);
  return context;
}

CGContextRef CurrentPort() {
  NSGraphicsContext* current = NSGraphicsContext::currentContext();
  return current ? current->graphicsPort() : nullptr;
}

} // namespace

HDC WrapGraphicsContext(NSGraphicsContext* context) {
  return context ? WrapGraphicsContext(context->graphicsPort()) : nullptr;
}

HDC GetWindowContext(HWND view) {
  if (!view)
    return nullptr;
  if (auto* painter = dynamic_cast<WinemuPaintInfoSource*>(view)) {
    WinemuPaintInfo info{};
    if (painter->getWinemuPaintInfo(&info) && info.context)
      return WrapPort(info.context);
  }
  return WrapPort(CurrentPort());
}

HDC GetWindowDC(HWND window) {
  auto* nsWindow = dynamic_cast<NSWindow*>(window);
  if (!nsWindow)
    return GetWindowContext(window);
  CGContextRef port = nsWindow->backingContext();
  HDC context = WrapPort(port);
  if (!context)
    return nullptr;
  // Window points from the content view's origin, at the window's density.
  const double scale = nsWindow->backingScaleFactor();
  CGContextScaleCTM(port, scale, scale);
  if (NSView* content = nsWindow->contentView())
    CGContextTranslateCTM(port, content->frame().origin.x, content->frame().origin.y);
  return context;
}

void ReleaseDC(HWND, HDC context) {
  if (!isLive(context))
    return;
  CGContextRestoreGState(context->platformContext);
  DeleteDC(context);
}

bool IsRetinaWindow(HWND viewOrWindow) {
  NSWindow* window = dynamic_cast<NSWindow*>(viewOrWindow);
  if (!window) {
    auto* view = dynamic_cast<NSView*>(viewOrWindow);
    SInt32 version = 0;
    if (!view || Gestalt(gestaltSystemVersion, &version) != noErr ||
        version < kFirstVersionWithBackingScale)
      return false;
    window = view->window();
  }
  return window && window->convertRectToBacking(NSMakeRect(0, 0, 1, 1)).size.width > 1.9;
}
