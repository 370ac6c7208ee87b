// A bitmap over a memory drawing context of the drawing emulation, so that the platform can
// draw text into the same pixels and the view can turn them into an image; the editor's back
// buffer is one. It grows to the largest size asked for and keeps its context while sizes fit.
#pragma once

#include "raster/PIX_IBitmap.h"

class PIX_SysBitmap : public PIX_IBitmap {
public:
  explicit PIX_SysBitmap(int w = 0, int h = 0);
  ~PIX_SysBitmap() override;
  PIX_SysBitmap(const PIX_SysBitmap&) = delete;
  PIX_SysBitmap& operator=(const PIX_SysBitmap&) = delete;

  PIX_Pixel* getBits() override { return bits; }
  int getWidth() override { return width; }
  int getHeight() override { return height; }
  int getRowSpan() override { return allocatedWidth; }
  bool isFlipped() override { return false; }
  bool resize(int w, int h) override;
  DrawingContext* getDC() override { return context; }
  intptr_t extensionCall(int, void*) override { return 0; }

private:
  int width = 0;
  int height = 0;
  DrawingContext* context = nullptr; // memory context, or null
  PIX_Pixel* bits = nullptr;         // the context's pixel buffer, or null
  int allocatedWidth = 0;            // width of the context, a multiple of 4
  int allocatedHeight = 0;
};
