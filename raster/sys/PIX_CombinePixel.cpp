#include "raster/sys/PIX_CombinePixel.h"

#include <cstring>

#include "raster/PIX_Combine.h"

void PIX_CombinePixelRGBA(unsigned char* p, int r, int g, int b, int a, int alpha, int mode) {
  if (!p || mode < 0 || mode > 5)
    return;
  PIX_kPlainWriters[mode](p, r, g, b, a, alpha);
}

void PIX_CombinePixelRGBASourceAlpha(unsigned char* p, int r, int g, int b, int a, int alpha,
                                     int mode) {
  int m = mode - 0x10000;
  if (!p || m < 0 || m > 5)
    return;
  PIX_kSourceAlphaWriters[m](p, r, g, b, a, alpha);
}

PIX_Pixel PIX_CombinePixelValue(PIX_Pixel dest, PIX_Pixel color, int mode, float alpha) {
  int ia = PIX_WeightFromAlpha(alpha);
  if (ia == 0)
    return dest;
  unsigned char bytes[4];
  memcpy(bytes, &dest, 4);
  if (mode & PIX_COMBINE_SOURCEALPHA)
    PIX_CombinePixelRGBASourceAlpha(bytes, PIX_Red(color), PIX_Green(color), PIX_Blue(color),
                                    PIX_Alpha(color), ia, 0x10000 | (mode & 0xFF));
  else
    PIX_CombinePixelRGBA(bytes, PIX_Red(color), PIX_Green(color), PIX_Blue(color), PIX_Alpha(color),
                         ia, mode & 0xFF);
  PIX_Pixel out;
  memcpy(&out, bytes, 4);
  return out;
}
