#pragma once
// How the shapes (lines, circles, polygons) put a colour on one pixel: one small type per
// combine instance, chosen once before a shape's loops, so that every inner loop runs with its
// operation fixed. A paint is called with the pixel and the weight of that pixel (the shape's
// weight, or a share of it at anti-aliased edges); the whole-word forms ignore the weight.

#include "raster/PIX_Combine.h"

struct PIX_ShapeColour {
  PIX_Pixel word;
  int r, g, b, a;
  explicit PIX_ShapeColour(PIX_Pixel c)
      : word(c), r(PIX_Red(c)), g(PIX_Green(c)), b(PIX_Blue(c)), a(PIX_Alpha(c)) {}
};

// Copy at full weight: the colour word.
struct PIX_PaintOverwrite {
  PIX_Pixel c;
  void operator()(PIX_Pixel* p, int) const { *p = c; }
};
// Copy at weight 128 (shapes): the byte-wise average (d + c) >> 1.
struct PIX_PaintAverage {
  PIX_Pixel c;
  void operator()(PIX_Pixel* p, int) const { *p = PIX_ByteAverage(*p, c); }
};
// Copy at half weight by whole words: d/2 + c/2.
struct PIX_PaintHalfWord {
  PIX_Pixel c;
  void operator()(PIX_Pixel* p, int) const { *p = PIX_WordHalf(*p, c); }
};
// Copy at quarter weight by whole words: d/4 + d/2 + c/4.
struct PIX_PaintQuarterWord {
  PIX_Pixel c;
  void operator()(PIX_Pixel* p, int) const { *p = PIX_WordQuarter(*p, c); }
};
// Copy at three-quarter weight by whole words: d/4 + c/4 + c/2.
struct PIX_PaintThreeQuarterWord {
  PIX_Pixel c;
  void operator()(PIX_Pixel* p, int) const { *p = PIX_WordThreeQuarter(*p, c); }
};
// A writer of a combine mode at the pixel's weight, the colour's A combined with the alpha byte.
template <auto Writer> struct PIX_PaintWriter {
  PIX_ShapeColour col;
  void operator()(PIX_Pixel* p, int w) const {
    Writer(reinterpret_cast<unsigned char*>(p), col.r, col.g, col.b, col.a, w);
  }
};

// Calls run(paint) with the writer paint of mode op (1-5), or of the blend for 0; false for
// modes above 5.
template <class Run> bool PIX_WithWriterPaint(int op, PIX_Pixel colour, Run&& run) {
  const PIX_ShapeColour c(colour);
  switch (op) {
  case 0:
    run(PIX_PaintWriter<PIX_PixelBlend>{c});
    return true;
  case 1:
    run(PIX_PaintWriter<PIX_PixelAdd>{c});
    return true;
  case 2:
    run(PIX_PaintWriter<PIX_PixelDodge>{c});
    return true;
  case 3:
    run(PIX_PaintWriter<PIX_PixelMultiply>{c});
    return true;
  case 4:
    run(PIX_PaintWriter<PIX_PixelOverlay>{c});
    return true;
  case 5:
    run(PIX_PaintWriter<PIX_HSVAdjustPixel>{c});
    return true;
  default:
    return false;
  }
}

// The plain (not anti-aliased) shape instances: copy at weight 256 overwrites, at 128 averages,
// below 1 draws nothing, else blends; modes 1-5 their writer. Returns false when nothing is to
// be drawn.
template <class Run> bool PIX_WithPlainPaint(int op, int ia, PIX_Pixel colour, Run&& run) {
  if (ia == 0 || op < 0 || op > 5)
    return false;
  if (op == 0) {
    if (ia == 256) {
      run(PIX_PaintOverwrite{colour});
      return true;
    }
    if (ia == 128) {
      run(PIX_PaintAverage{colour});
      return true;
    }
    if (ia < 1)
      return false;
  }
  return PIX_WithWriterPaint(op, colour, run);
}

// The anti-aliased instances: every pixel through its mode's writer at its own weight (copy
// blends); copy needs a positive weight.
template <class Run> bool PIX_WithSmoothPaint(int op, int ia, PIX_Pixel colour, Run&& run) {
  if (ia == 0 || op < 0 || op > 5 || (op == 0 && ia < 1))
    return false;
  return PIX_WithWriterPaint(op, colour, run);
}
