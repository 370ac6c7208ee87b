#pragma once
// A bitmap in a plain heap block, 64-byte aligned, rows rounded to the line alignment. The editor
// uses it for scratch images and decoded PNG resources.

#include "raster/PIX_IBitmap.h"

class PIX_MemBitmap : public PIX_IBitmap {
public:
  // Largest pixel block a bitmap takes (1 GiB); larger sizes are refused like a failed allocation.
  static constexpr long long kMaxBytes = 1LL << 30;

  // linealign rounds the row span to its lowest set bit (4 gives spans that are multiples of 4);
  // below 2 rows are not rounded.
  PIX_MemBitmap(int w = 0, int h = 0, unsigned linealign = 0);
  ~PIX_MemBitmap() override;
  PIX_MemBitmap(const PIX_MemBitmap&) = delete;
  PIX_MemBitmap& operator=(const PIX_MemBitmap&) = delete;

  PIX_Pixel* getBits() override;
  int getWidth() override { return width; }
  int getHeight() override { return height; }
  int getRowSpan() override { return (width + lineAlignMask) & ~lineAlignMask; }
  bool isFlipped() override { return false; }
  bool resize(int w, int h) override;
  DrawingContext* getDC() override { return nullptr; }
  intptr_t extensionCall(int, void*) override { return 0; }

private:
  void release();

  void* buffer = nullptr; // heap block (malloc/realloc/free), 63 bytes longer than allocated
  int width = 0;
  int height = 0;
  int allocated = 0; // bytes usable in the buffer, alignment slack excluded
  int lineAlignMask = 0;
};
