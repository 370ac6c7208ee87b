#pragma once
// A bitmap for tests: any row span, either row order, and guard words before and after the
// pixels that must never change.

#include <cstdint>
#include <vector>

#include "raster/PIX_IBitmap.h"

class TestBitmap : public PIX_IBitmap {
public:
  static constexpr int kGuardWords = 64;
  static constexpr PIX_Pixel kGuard = 0xA5C3E1F7u;

  TestBitmap(int w, int h, int span, bool flipped)
      : width(w), height(h), span(span), flipped(flipped),
        storage((size_t)span * h + 2 * kGuardWords, kGuard) {}

  PIX_Pixel* getBits() override { return width > 0 ? storage.data() + kGuardWords : nullptr; }
  int getWidth() override { return width; }
  int getHeight() override { return height; }
  int getRowSpan() override { return span; }
  bool isFlipped() override { return flipped; }
  bool resize(int, int) override { return false; }
  DrawingContext* getDC() override { return nullptr; }
  intptr_t extensionCall(int, void*) override { return 0; }

  // Stored words, row 0 first in memory.
  PIX_Pixel* words() { return storage.data() + kGuardWords; }
  size_t wordCount() const { return (size_t)span * height; }
  bool guardsIntact() const {
    for (int i = 0; i < kGuardWords; ++i)
      if (storage[i] != kGuard || storage[storage.size() - 1 - i] != kGuard)
        return false;
    return true;
  }
  // The pixel at image row y (flip applied).
  PIX_Pixel& at(int x, int y) { return words()[(size_t)(flipped ? height - 1 - y : y) * span + x]; }
  void fill(PIX_Pixel v) {
    for (size_t i = 0; i < wordCount(); ++i)
      words()[i] = v;
  }

private:
  int width, height, span;
  bool flipped;
  std::vector<PIX_Pixel> storage;
};
