#include "raster/sys/PIX_SysBitmap.h"

#include "gui/emulation/DrawingEmulation.h"

PIX_SysBitmap::PIX_SysBitmap(int w, int h) {
  resize(w, h);
}

PIX_SysBitmap::~PIX_SysBitmap() {
  if (context)
    DeleteDC(context);
}

bool PIX_SysBitmap::resize(int w, int h) {
  if (w == width && h == height)
    return false;
  width = w;
  height = h;
  if (w > 0 && h > 0 && context && w <= allocatedWidth && h <= allocatedHeight)
    return true;
  // A width near INT_MAX would wrap when rounded up: the context is then refused below, like
  // any allocation that fails.
  bool representable = w <= 0x7FFFFFF0;
  allocatedWidth = w > 0 && representable ? (w + 3) & ~3 : 0;
  allocatedHeight = h;
  if (context)
    DeleteDC(context);
  context = nullptr;
  bits = nullptr;
  if ((allocatedWidth < 1 && representable) || h < 1) {
    // An empty (or negative) size leaves a valid empty bitmap.
    width = height = 0;
    allocatedWidth = allocatedHeight = 0;
    return false;
  }
  context = representable ? CreateMemContext(nullptr, allocatedWidth, h) : nullptr;
  if (!context) {
    width = height = 0;
    allocatedWidth = allocatedHeight = 0;
    return true;
  }
  bits = static_cast<PIX_Pixel*>(GetContextPixelBuffer(context));
  return true;
}
