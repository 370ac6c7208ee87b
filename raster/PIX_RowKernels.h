#pragma once
// The inner row loops of the blits and fills the editors spend their time in, each a fast path
// of the general per-pixel loop it shortcuts and bit for bit equal to it:
//
// - copy at full weight with source alpha (the knob and switch frames);
// - copy at a weight of 1-255 with source alpha;
// - copy at a weight of 1-255 (a blend of two images, all four bytes);
// - fill with one colour at a weight of 1-255, and at full weight;
// - the bilinear samples of a scaled blit's interior, copied at full weight.
//
// Every set of kernels does the same arithmetic: the plain set runs the writers pixel by pixel
// (the general path itself); the vector sets run the same integer formulas on 4 (SSE2, the
// x86-64 baseline) or 8 (AVX2, chosen at run time when the processor has it) pixels at once.
// Rows are PIX_Pixel words; a kernel walks them left to right, so a destination row may lie at
// or before its source row in the same memory.

#include <cstddef>
#include <cstdint>

#include "raster/PIX_Pixel.h"

// An area of bilinear samples that all lie inside the sampling window with a right and a lower
// neighbour: destination pixel (x, y) samples the source at the 16.16 position
// (cx + x * dx, cy + y * dy); cx, cy, dx and dy are not negative.
struct PIX_BilinearArea {
  unsigned char* d = nullptr; // destination pixel (0, 0)
  ptrdiff_t dstep = 0;        // bytes from a destination row to the next
  int w = 0;
  int h = 0;
  const unsigned char* s = nullptr; // source pixel (0, 0)
  ptrdiff_t sstep = 0;              // bytes from a source row to the next
  int64_t cx = 0, dx = 0, cy = 0, dy = 0;
};

struct PIX_RowKernels {
  const char* name;
  // PIX_PixelCopySourceAlpha over n pixels.
  void (*sourceAlphaFullWeight)(PIX_Pixel* d, const PIX_Pixel* s, int n);
  // PIX_PixelBlendSourceAlpha at weight ia (1-255) over n pixels.
  void (*sourceAlphaBlend)(PIX_Pixel* d, const PIX_Pixel* s, int n, int ia);
  // PIX_PixelBlend at weight ia (1-255) over n pixels, the source's alpha byte as a.
  void (*blend)(PIX_Pixel* d, const PIX_Pixel* s, int n, int ia);
  // PIX_PixelBlend toward one colour at weight ia (1-255); the colour's alpha byte is the value
  // the destination's alpha byte is blended toward (a fill passes the weight itself).
  void (*blendToColour)(PIX_Pixel* d, int n, PIX_Pixel colour, int ia);
  // Every pixel = colour.
  void (*fill)(PIX_Pixel* d, int n, PIX_Pixel colour);
  // The bilinear samples of an area, written as they are (copy at full weight).
  void (*bilinearCopy)(const PIX_BilinearArea& area);
};

// The general path: the writers of PIX_Combine.h pixel by pixel.
const PIX_RowKernels& PIX_PlainRowKernels();
// SSE2, always present on x86-64.
const PIX_RowKernels& PIX_SSE2RowKernels();
// AVX2, or null when the processor lacks it.
const PIX_RowKernels* PIX_AVX2RowKernels();
// The widest set this processor runs, chosen once.
const PIX_RowKernels& PIX_FastRowKernels();
