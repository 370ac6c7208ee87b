#pragma once
// Single-colour and per-pixel operations: rectangle fills, masked clears, pixel access, coverage
// masks, the plus-shaped blur, and a set of whole-area helpers. Rectangles given as (x, y, w, h)
// are clipped to the bitmap (a negative x shortens w by -x and starts at 0); an empty result
// draws nothing. Rows follow the bitmap's flip except where noted.

#include "raster/PIX_IBitmap.h"
#include "raster/PIX_Rect.h"

void PIX_FillRect(PIX_IBitmap* dest, int x, int y, int w, int h, PIX_Pixel colour, float alpha,
                  int mode);
// pixel = (pixel & mask) | orbits.
void PIX_ClearRect(PIX_IBitmap* dest, int x, int y, int w, int h, PIX_Pixel mask, PIX_Pixel orbits);
// Every pixel of every stored row = colour; row-span columns beyond the width stay untouched.
void PIX_Clear(PIX_IBitmap* dest, PIX_Pixel colour);
// The pixel word, 0 for a null bitmap or pixels or a point outside.
PIX_Pixel PIX_GetPixel(PIX_IBitmap* bitmap, int x, int y);
void PIX_PutPixel(PIX_IBitmap* dest, int x, int y, PIX_Pixel colour, float alpha, int mode);

// An 8-bit coverage mask drawn in a colour: each non-zero byte m weights the colour by
// m x ia / 256. The source-alpha flag is not consulted.
void PIX_DrawCoverageMask(PIX_IBitmap* dest, int x, int y, PIX_Pixel colour,
                          const unsigned char* coverage, int w, int h, float alpha, int mode);
void PIX_DrawCoverageMaskSpan(PIX_IBitmap* dest, int x, int y, PIX_Pixel colour,
                              const unsigned char* coverage, int w, int span, int h, float alpha,
                              int mode);

// Plus-shaped blur (centre 1/2, each neighbour 1/8) of a source area into dest; dest may be src,
// and the result is then that of blurring a copy.
void PIX_Blur(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int srcx, int srcy, int w,
              int h);

// A linear gradient: start values, per-column and per-row changes of R, G, B, A on a 0-1 scale.
void PIX_GradientFillRect(PIX_IBitmap* dest, int x, int y, int w, int h, float r, float g, float b,
                          float a, float drdx, float dgdx, float dbdx, float dadx, float drdy,
                          float dgdy, float dbdy, float dady, int mode);
// c = clamp((c x scale + addend) >> 8) per channel, scales and addends x 256.
void PIX_ScaleOffsetRect(PIX_IBitmap* dest, int x, int y, int w, int h, float rscale, float gscale,
                         float bscale, float ascale, float radd, float gadd, float badd,
                         float aadd);

using PIX_PixelCallback = void (*)(PIX_Pixel* pixel, void* parameter);
void PIX_ForEachPixelInRect(PIX_IBitmap* dest, int x, int y, int w, int h,
                            PIX_PixelCallback callback, void* parameter);
// Alpha byte 0 where (p & 0xFFFFFF00) equals key, else 255 (stored rows).
void PIX_AlphaFromColorKey(PIX_IBitmap* dest, PIX_Pixel key);
// Span fill anchored on column x (stored rows): matching pixels become (p & keepmask) | orbits.
void PIX_SpanFloodFill(PIX_IBitmap* dest, int x, int y, PIX_Pixel orbits, PIX_Pixel comparemask,
                       PIX_Pixel keepmask);
int PIX_CompareBitmaps(PIX_IBitmap* a, PIX_IBitmap* b, RECT* out);
// 0 when equal under the mask. With out, the bounding box of the differing pixels is written
// (empty when none) and the result is 1 when any differ.
int PIX_CompareBitmapsMasked(PIX_IBitmap* a, PIX_IBitmap* b, PIX_Pixel mask, RECT* out);
