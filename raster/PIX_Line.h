#pragma once
// One-pixel-wide straight lines and the clipping that brings a line into a bitmap or a
// rectangle. Only the low byte of the mode selects the combine operation; the colour's A byte
// is combined like the other channels. Coordinates are pixel indices, y from the top as the
// caller sees it (PIX_Line and PIX_FloatLine mirror y on a flipped bitmap; PIX_DashedLine
// works on stored rows).

#include "raster/PIX_IBitmap.h"

// Integer line, both ends included; with aa, sloped lines spread each step over two pixels.
void PIX_Line(PIX_IBitmap* dest, int x1, int y1, int x2, int y2, PIX_Pixel colour, float alpha,
              int mode, bool aa);
// Anti-aliased line with fractional end points; without aa, PIX_Line on the truncated points.
// Coordinates or an opacity that are not finite draw nothing.
void PIX_FloatLine(PIX_IBitmap* dest, float x1, float y1, float x2, float y2, PIX_Pixel colour,
                   float alpha, int mode, bool aa);
// Axis-aligned dashes of pxon pixels with gaps of pxoff; the end pixel is never drawn. Needs
// pxon >= 1 and pxoff >= 0, else draws nothing.
void PIX_DashedLine(PIX_IBitmap* dest, int x1, int y1, int x2, int y2, int pxon, int pxoff,
                    PIX_Pixel colour, float alpha, int mode);

// Cohen-Sutherland against [0, width) x [0, height); true when part of the line lies inside.
// The points are rewritten also when false.
bool PIX_ClipLine(int* x1, int* y1, int* x2, int* y2, int width, int height);
// The same in single precision against the bounds width - 1 and height - 1.
bool PIX_ClipFloatLine(float* x1, float* y1, float* x2, float* y2, int width, int height);
bool PIX_ClipLineToRect(int* x1, int* y1, int* x2, int* y2, int xlo, int ylo, int xhi, int yhi);
bool PIX_ClipFloatLineToRect(float* x1, float* y1, float* x2, float* y2, float xlo, float ylo,
                             float xhi, float yhi);
