#pragma once
// Round shapes: circle outlines, filled discs, arcs and rounded-rectangle outlines, all drawn by
// one engine. Centre (0, 0) is the centre of the top-left pixel; angles are radians clockwise
// from straight up (the point at angle a is (cx + r sin a, cy - r cos a)). Only the low byte of
// the mode selects the combine operation.

#include "raster/PIX_IBitmap.h"

void PIX_Circle(PIX_IBitmap* dest, float cx, float cy, float r, PIX_Pixel colour, float alpha,
                int mode, bool aa);
void PIX_FillCircle(PIX_IBitmap* dest, float cx, float cy, float r, PIX_Pixel colour, float alpha,
                    int mode, bool aa);
void PIX_Arc(PIX_IBitmap* dest, float cx, float cy, float r, float minAngle, float maxAngle,
             PIX_Pixel colour, float alpha, int mode, bool aa);
void PIX_RoundRect(PIX_IBitmap* dest, float x, float y, float w, float h, int cornerRadius,
                   PIX_Pixel colour, float alpha, int mode, bool aa);

// Left and top inclusive, right and bottom exclusive.
struct PIX_ClipRect {
  int left, top, right, bottom;
};

// The engine: a whole circle or disc at weight ia, plain or anti-aliased. With clipOn nothing
// outside clip is written; without it the caller has proven that the shape with a 2-pixel
// margin lies inside the bitmap.
void PIX_DrawCircleClipped(PIX_IBitmap* dest, float cx, float cy, float r, PIX_Pixel colour, int ia,
                           bool aa, bool fill, int mode, const PIX_ClipRect& clip, bool clipOn);
