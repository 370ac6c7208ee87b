#pragma once
// Source sampling shared by the scaled and transform blits: nearest or bilinear at a 16.16
// position, with the rules at the right and bottom edges of the sampling window.

#include <cstddef>
#include <cstdint>

// The interior bilinear sample: the pixel at p00, its right neighbour and the pair one row
// (sstep bytes) further, weighted by the 16-bit fractions fx and fy. Fills ch with A, R, G, B.
inline void PIX_MixFourNeighbours(const unsigned char* p00, ptrdiff_t sstep, int fx, int fy,
                                  int ch[4]) {
  // fx x fy reaches 2^32 - 2^17 + 1, past a signed int: the product is taken unsigned.
  const int w11 = (int)(((uint32_t)fx * (uint32_t)fy) >> 16);
  const int w01 = fy - w11, w10 = fx - w11, w00 = 65536 - fx - fy + w11;
  const unsigned char* p10 = p00 + 4;
  const unsigned char* p01 = p00 + sstep;
  const unsigned char* p11 = p01 + 4;
  for (int c = 0; c < 4; ++c)
    ch[c] = (p00[c] * w00 + p10[c] * w10 + p01[c] * w01 + p11[c] * w11) >> 16;
}

// Samples the window [0, clipR) x [0, clipB) whose pixel (0, 0) is at s, rows sstep bytes apart,
// at 16.16 (cx, cy). Fills ch with bytes A, R, G, B and returns true, or returns false outside
// the window (negative indices included). Bilinear: four neighbours inside; on the last column
// only the vertical pair is mixed, on the last row only the horizontal pair; the last corner is
// taken as is.
template <bool Bilinear>
inline bool PIX_SampleSource(const unsigned char* s, ptrdiff_t sstep, int clipR, int clipB,
                             int64_t cx, int64_t cy, int ch[4]) {
  const int64_t sx = cx >> 16, sy = cy >> 16;
  if ((uint64_t)sx >= (uint64_t)clipR || (uint64_t)sy >= (uint64_t)clipB)
    return false;
  const unsigned char* p00 = s + (ptrdiff_t)sy * sstep + (ptrdiff_t)sx * 4;
  if (!Bilinear) {
    ch[0] = p00[0], ch[1] = p00[1], ch[2] = p00[2], ch[3] = p00[3];
    return true;
  }
  const int fx = (int)(cx & 0xFFFF), fy = (int)(cy & 0xFFFF);
  const bool hasRight = sx < clipR - 1, hasBelow = sy < clipB - 1;
  if (hasRight && hasBelow) {
    PIX_MixFourNeighbours(p00, sstep, fx, fy, ch);
  } else if (hasBelow) {
    const unsigned char* p01 = p00 + sstep;
    for (int c = 0; c < 4; ++c)
      ch[c] = (p00[c] * (65536 - fy) + p01[c] * fy) >> 16;
  } else if (hasRight) {
    const unsigned char* p10 = p00 + 4;
    for (int c = 0; c < 4; ++c)
      ch[c] = (p00[c] * (65536 - fx) + p10[c] * fx) >> 16;
  } else {
    ch[0] = p00[0], ch[1] = p00[1], ch[2] = p00[2], ch[3] = p00[3];
  }
  return true;
}
