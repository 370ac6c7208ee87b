#include "raster/PIX_MemBitmap.h"

#include <cstdlib>

namespace {
constexpr int kAlignSlack = 63;

int LineAlignMask(unsigned linealign) {
  if (linealign < 2)
    return 0;
  const unsigned lowest = linealign & (0u - linealign);
  // Alignments above 16 are capped at the value 16, which is not of the form 2^k - 1: such
  // alignments leave the row span unrounded.
  return lowest - 1 > 16 ? 16 : (int)(lowest - 1);
}
} // namespace

PIX_MemBitmap::PIX_MemBitmap(int w, int h, unsigned linealign)
    : lineAlignMask(LineAlignMask(linealign)) {
  if (w >= 1 && h >= 1)
    resize(w, h);
}

PIX_MemBitmap::~PIX_MemBitmap() {
  std::free(buffer);
}

PIX_Pixel* PIX_MemBitmap::getBits() {
  if (!buffer)
    return nullptr;
  const uintptr_t address = (reinterpret_cast<uintptr_t>(buffer) + kAlignSlack) & ~uintptr_t(63);
  return reinterpret_cast<PIX_Pixel*>(address);
}

void PIX_MemBitmap::release() {
  std::free(buffer);
  buffer = nullptr;
  allocated = 0;
  width = 0;
  height = 0;
}

bool PIX_MemBitmap::resize(int w, int h) {
  if (w == width && h == height)
    return false;
  if (w < 1 || h < 1) {
    release();
    return true;
  }
  // The size is worked out in 64 bits: w x h in int wraps for large images and would leave a
  // block smaller than what is drawn into it. Sizes past the limit are refused.
  const long long span = ((long long)w + lineAlignMask) & ~(long long)lineAlignMask;
  if (span > kMaxBytes / 4 || h > kMaxBytes / 4 || span * h > kMaxBytes / 4) {
    release();
    return true;
  }
  const long long need = span * h * 4;
  width = w;
  height = h;
  if (buffer && need <= allocated)
    return true; // a smaller image never shrinks the block
  if (buffer) {
    const long long grown = need + need / 4;
    void* block = std::realloc(buffer, (size_t)grown + kAlignSlack);
    if (block) {
      buffer = block;
      allocated = (int)grown;
      return true;
    }
    std::free(buffer);
    buffer = nullptr;
    allocated = 0;
  }
  buffer = std::malloc((size_t)need + kAlignSlack);
  if (!buffer) {
    allocated = 0;
    width = 0;
    height = 0;
    return true;
  }
  allocated = (int)need;
  return true;
}
