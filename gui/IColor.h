#pragma once
// An editor colour: alpha and the three colour components, 0-255 each.

#include "raster/PIX_Pixel.h"

struct IColor {
  int A = 0, R = 0, G = 0, B = 0;

  IColor() = default;
  IColor(int a, int r, int g, int b) : A(a), R(r), G(g), B(b) {}
  bool operator==(const IColor& o) const = default;
};

const IColor COLOR_TRANSPARENT(0, 0, 0, 0);
const IColor COLOR_BLACK(255, 0, 0, 0);
const IColor COLOR_GRAY(255, 127, 127, 127);
const IColor COLOR_WHITE(255, 255, 255, 255);
const IColor COLOR_RED(255, 255, 0, 0);
const IColor COLOR_GREEN(255, 0, 255, 0);
const IColor COLOR_BLUE(255, 0, 0, 255);
const IColor COLOR_YELLOW(255, 255, 255, 0);
const IColor COLOR_ORANGE(255, 255, 127, 0);

// The raster library's pixel word of a colour (A in the low byte, then R, G, B).
inline PIX_Pixel IColorToPixel(const IColor& c) {
  return PIX_MakePixel(c.R, c.G, c.B, c.A);
}
inline IColor IColorFromPixel(PIX_Pixel p) {
  return IColor(PIX_Alpha(p), PIX_Red(p), PIX_Green(p), PIX_Blue(p));
}
