#pragma once
// The pixel word of the raster library and the arguments every drawing call shares:
// an opacity turned into an integer weight, and a combine-mode word.

#include <cmath>
#include <cstdint>

// 32 bits, A in the low byte and R, G, B above it, so that bytes in memory run A, R, G, B.
// Pixels are not premultiplied.
using PIX_Pixel = uint32_t;

// Low byte of the mode word: the combine operation. Values 6-255 draw nothing.
enum : int {
  PIX_COMBINE_COPY = 0,
  PIX_COMBINE_ADD = 1,
  PIX_COMBINE_DODGE = 2,
  PIX_COMBINE_MULTIPLY = 3,
  PIX_COMBINE_OVERLAY = 4,
  PIX_COMBINE_HSVADJUST = 5,
  // Bilinear filtering in scaled and rotated blits.
  PIX_COMBINE_FILTER = 0x100,
  // Weight each pixel by a source alpha byte (blits: the source pixel's A; fills: the colour's A).
  PIX_COMBINE_SOURCEALPHA = 0x10000,
  // (mode & 0xF0) == 0xF0 in plain blits: copy source byte (mode & 3) into destination byte
  // ((mode >> 2) & 3). Byte numbers are memory bytes: 0 A, 1 R, 2 G, 3 B.
  PIX_COMBINE_CHANNELCOPY = 0xF0,
};

inline int PIX_Red(PIX_Pixel p) {
  return (p >> 8) & 0xFF;
}
inline int PIX_Green(PIX_Pixel p) {
  return (p >> 16) & 0xFF;
}
inline int PIX_Blue(PIX_Pixel p) {
  return p >> 24;
}
inline int PIX_Alpha(PIX_Pixel p) {
  return p & 0xFF;
}
inline PIX_Pixel PIX_MakePixel(int r, int g, int b, int a) {
  return (PIX_Pixel)(a & 0xFF) | ((PIX_Pixel)(r & 0xFF) << 8) | ((PIX_Pixel)(g & 0xFF) << 16) |
         ((PIX_Pixel)(b & 0xFF) << 24);
}

// Largest weight magnitude the channel arithmetic holds without overflowing a 32-bit int
// (alpha 64.0). Opacities are meant to lie in 0.0-1.0; a weight beyond this, or an opacity that
// is not a number, is refused and draws nothing.
constexpr int PIX_MaxWeight = 16384;

// The integer weight of an opacity: (int)(alpha x 256), truncated toward zero. The product is
// exact in float and double alike (a power of two), so one conversion serves every entry point.
inline int PIX_WeightFromAlpha(double alpha) {
  if (!std::isfinite(alpha))
    return 0;
  const double w = alpha * 256.0;
  if (w > PIX_MaxWeight || w < -PIX_MaxWeight)
    return 0;
  return (int)w;
}

// An opacity every entry point can work with: finite and within the weight range.
inline bool PIX_UsableAlpha(double alpha) {
  return PIX_WeightFromAlpha(alpha) != 0;
}
