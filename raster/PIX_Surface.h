#pragma once
// Row addressing shared by the drawing code: a bitmap's pixels seen as rows of the image the
// caller addresses, with the row order of a flipped bitmap already taken into account.

#include <cstddef>

#include "raster/PIX_IBitmap.h"

struct PIX_Surface {
  unsigned char* row0 = nullptr; // first byte of image row 0
  ptrdiff_t rowStep = 0;         // bytes from one image row to the next; negative when flipped
  int width = 0;
  int height = 0;

  bool empty() const { return !row0 || width < 1 || height < 1; }
  unsigned char* at(int x, int y) const { return row0 + (ptrdiff_t)y * rowStep + (ptrdiff_t)x * 4; }
  PIX_Pixel* pixel(int x, int y) const { return reinterpret_cast<PIX_Pixel*>(at(x, y)); }
};

// The image rows of a bitmap; row y of a flipped bitmap is the stored row height - 1 - y.
inline PIX_Surface PIX_ImageRows(PIX_IBitmap* bitmap) {
  PIX_Surface s;
  if (!bitmap)
    return s;
  auto* bits = reinterpret_cast<unsigned char*>(bitmap->getBits());
  s.width = bitmap->getWidth();
  s.height = bitmap->getHeight();
  if (!bits || s.width < 1 || s.height < 1)
    return PIX_Surface{};
  const ptrdiff_t span = (ptrdiff_t)bitmap->getRowSpan() * 4;
  if (bitmap->isFlipped()) {
    s.row0 = bits + (ptrdiff_t)(s.height - 1) * span;
    s.rowStep = -span;
  } else {
    s.row0 = bits;
    s.rowStep = span;
  }
  return s;
}

// The rows as stored, ignoring the flip (operations that work on memory order).
inline PIX_Surface PIX_StoredRows(PIX_IBitmap* bitmap) {
  PIX_Surface s;
  if (!bitmap)
    return s;
  auto* bits = reinterpret_cast<unsigned char*>(bitmap->getBits());
  s.width = bitmap->getWidth();
  s.height = bitmap->getHeight();
  if (!bits || s.width < 1 || s.height < 1)
    return PIX_Surface{};
  s.row0 = bits;
  s.rowStep = (ptrdiff_t)bitmap->getRowSpan() * 4;
  return s;
}
