// Single-pixel combine routines of the raster library (text drawing does not use them):
// one pixel combined with a colour for modes 0-5, with and without the source-alpha bit.
#pragma once

#include "raster/PIX_Pixel.h"

// The combined pixel; an opacity whose weight is 0 leaves dest unchanged.
PIX_Pixel PIX_CombinePixelValue(PIX_Pixel dest, PIX_Pixel color, int mode, float alpha);
// (r, g, b, a) at integer weight alpha into the pixel's four bytes, modes 0-5.
void PIX_CombinePixelRGBA(unsigned char* p, int r, int g, int b, int a, int alpha, int mode);
// The same for modes 0x10000-0x10005.
void PIX_CombinePixelRGBASourceAlpha(unsigned char* p, int r, int g, int b, int a, int alpha,
                                     int mode);
