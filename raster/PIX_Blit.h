#pragma once
// Plain and scaled blits: pixels copied from one bitmap into another through a combine mode.
// Every blit clips against both bitmaps, honours flipped rows on either side, and draws nothing
// for a null bitmap, an empty result or an opacity whose weight is 0. None allocates.

#include "raster/PIX_IBitmap.h"
#include "raster/PIX_Rect.h"

// dest takes src's size, then src is copied into it.
void PIX_Copy(PIX_IBitmap* dest, PIX_IBitmap* src);

// The blit core: the source rectangle (null: the whole source) drawn with its top-left corner at
// (dstx, dsty). A source rectangle starting left of or above the source moves the drawing point
// by the amount cut. dest may be src: the result is that of a copy of the source.
void PIX_BlitRect(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, const RECT* srcrect,
                  float alpha, int mode);

void PIX_Blit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int srcx, int srcy, int srcw,
              int srch, float alpha, int mode);

// The source window (srcx, srcy, srcw, srch) scaled onto the destination rectangle, nearest or,
// with (mode & 0xFF00) == PIX_COMBINE_FILTER, bilinear (and box-averaged when shrinking by 1.7
// or more on both axes). A negative dstw or dsth draws the window mirrored into the columns or
// rows before dstx or dsty.
void PIX_ScaledBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                    float srcx, float srcy, float srcw, float srch, float alpha, int mode);

// 2 x 2 box reduction of src into dest's top-left corner, on stored rows.
void PIX_HalveBlit(PIX_IBitmap* dest, PIX_IBitmap* src);
