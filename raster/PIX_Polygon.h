#pragma once
// Filled convex shapes and curves: polygons and triangles on one span filler (trapezoids),
// rectangle outlines, and Bezier curves drawn as chains of anti-aliased float lines or filled to
// a base line. Polygons are not anti-aliased; only the low byte of the mode selects the combine
// operation.

#include "raster/PIX_IBitmap.h"

// The convex hull of the points, whatever their order; fewer than 3 points draw nothing.
// Mirrors y on a flipped bitmap.
void PIX_FillConvexPolygon(PIX_IBitmap* dest, const int* xs, const int* ys, int n, PIX_Pixel colour,
                           float alpha, int mode);
void PIX_FillTriangle(PIX_IBitmap* dest, int x1, int y1, int x2, int y2, int x3, int y3,
                      PIX_Pixel colour, float alpha, int mode);
// Rows y1..y2 (stored rows), row y1 from x1a to x1b and row y2 from x2a to x2b, both ends
// included, the edges interpolated between in 16.16 fixed point.
void PIX_FillTrapezoid(PIX_IBitmap* dest, int x1a, int x1b, int y1, int x2a, int x2b, int y2,
                       PIX_Pixel colour, float alpha, int mode);
// Outline of w + 1 by h + 1 pixels from four lines; each corner is written twice.
void PIX_DrawRect(PIX_IBitmap* dest, int x, int y, int w, int h, PIX_Pixel colour, float alpha,
                  int mode);
// The inside (x + 1, y + 1, w - 1, h - 1) filled with bgcolour, the outline in fgcolour.
void PIX_BorderedRect(PIX_IBitmap* dest, int x, int y, int w, int h, PIX_Pixel bgcolour,
                      PIX_Pixel fgcolour, float alpha, int mode);

// Curves are split into segments of about tol pixels (tol <= 0 counts as 1).
void PIX_DrawQBezier(PIX_IBitmap* dest, float xstart, float ystart, float xctl, float yctl,
                     float xend, float yend, PIX_Pixel colour, float alpha, int mode, bool aa,
                     float tol);
void PIX_DrawCBezier(PIX_IBitmap* dest, float x0, float y0, float x1, float y1, float x2, float y2,
                     float x3, float y3, PIX_Pixel colour, float alpha, int mode, bool aa,
                     float tol);
// The area between the curve and the row yfill.
void PIX_FillCBezier(PIX_IBitmap* dest, float x0, float y0, float x1, float y1, float x2, float y2,
                     float x3, float y3, int yfill, PIX_Pixel colour, float alpha, int mode,
                     float tol);
// The area between the curve and the column xfill.
void PIX_FillCBezierX(PIX_IBitmap* dest, float x0, float y0, float x1, float y1, float x2, float y2,
                      float x3, float y3, int xfill, PIX_Pixel colour, float alpha, int mode,
                      float tol);

// y of the quadratic curve where its x equals x; t (may be null) receives the parameter.
float PIX_QBezierYForX(float x0, float xc, float x1, float y0, float yc, float y1, float x,
                       double* t);
// The polynomial form of a cubic curve ordered by x (byX) or y, its start and end clipped to
// the bitmap's columns (byX), and the number of steps; 0 when nothing is to be drawn.
int PIX_CBezierPrep(PIX_IBitmap* dest, float x0, float y0, float x1, float y1, float x2, float y2,
                    float x3, float y3, bool byX, float tol, double* ax, double* bx, double* cx,
                    double* px0, double* ay, double* by, double* cy, double* py0, float* xstart,
                    float* ystart, float* xend, float* yend, double* t0, double* t1);
// y of the cubic curve at x, by bisection on t; the outputs may be null.
float PIX_CBezierYForX(float x0, float x1, float x2, float x3, float y0, float y1, float y2,
                       float y3, float x, float* xUpper, float* slope, double* tLower,
                       double* tUpper);
