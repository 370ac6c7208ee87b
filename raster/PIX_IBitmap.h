#pragma once
// The interface of a 32-bit bitmap that the raster library draws into and from.
//
// Pixel (x, y) lies at getBits() + y x getRowSpan() + x; on a flipped bitmap row y is stored at
// height - 1 - y. The pixel pointer may change at every resize: callers fetch getBits() and
// getRowSpan() afresh for each drawing call.

#include <cstdint>

#include "raster/PIX_Pixel.h"

// The drawing emulation's context record (gui/emulation); the raster library only passes it on.
struct DrawingContext;

class PIX_IBitmap {
public:
  virtual ~PIX_IBitmap() = default;

  // First pixel of row 0, or null.
  virtual PIX_Pixel* getBits() = 0;
  virtual int getWidth() = 0;
  virtual int getHeight() = 0;
  // Distance between rows in pixels (not bytes).
  virtual int getRowSpan() = 0;
  // True when row 0 of the image is stored last (rows bottom-up).
  virtual bool isFlipped() = 0;
  // True when the size changed.
  virtual bool resize(int w, int h) = 0;
  // The platform drawing context behind the pixels, or null.
  virtual DrawingContext* getDC() = 0;
  // Hook for later interface additions; the classes here answer 0 for every id.
  virtual intptr_t extensionCall(int id, void* data) = 0;
};
