#pragma once
// Blits whose source is walked along an affine path: rotated blits (the editor's knobs), blits
// by explicit per-column and per-row deltas, and warps over a grid of points. All run one
// per-pixel walker that samples the source at 16.16 positions and hands each sample to a writer
// chosen through a pointer.

#include <cstddef>
#include <cstdint>

#include "raster/PIX_Combine.h"
#include "raster/PIX_IBitmap.h"

// angle in radians, clockwise; the centre of the destination rectangle samples
// (srcx + srcw / 2 + rotxcent, srcy + srch / 2 + rotycent). With cliptosourcerect the source is
// cut to the source rectangle, else to the whole source.
void PIX_RotatedBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw, int dsth,
                     float srcx, float srcy, float srcw, float srch, float angle,
                     bool cliptosourcerect, float alpha, int mode, float rotxcent, float rotycent);

// The source walked from (srcx, srcy) by (dsdx, dtdx) per column and (dsdy, dtdy) per row; the
// per-column step changes by (dsdxdy, dtdxdy) per row.
void PIX_AffineDeltaBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw,
                         int dsth, float srcx, float srcy, float srcw, float srch, double dsdx,
                         double dtdx, double dsdy, double dtdy, double dsdxdy, double dtdxdy,
                         bool cliptosourcerect, float alpha, int mode);

// As PIX_AffineDeltaBlit with an opacity that starts at alpha and changes by dadx per column,
// dady per row and dadxdy per row in the per-column change, through the clamped writers.
void PIX_AffineDeltaBlitAlpha(PIX_IBitmap* dest, PIX_IBitmap* src, int dstx, int dsty, int dstw,
                              int dsth, float srcx, float srcy, float srcw, float srch, double dsdx,
                              double dtdx, double dsdy, double dtdy, double dsdxdy, double dtdxdy,
                              bool cliptosourcerect, float alpha, int mode, double dadx,
                              double dady, double dadxdy);

// across x down source points, row by row, as (x, y) pairs warped onto the rectangle.
void PIX_MeshBlit(PIX_IBitmap* dest, PIX_IBitmap* src, int x, int y, int w, int h,
                  const float* points, int across, int down, int mode, float alpha);
void PIX_MeshBlitDouble(PIX_IBitmap* dest, PIX_IBitmap* src, int x, int y, int w, int h,
                        const double* points, int across, int down, int mode, float alpha);
// (x, y, alpha) triples; each point's alpha is scaled by the float alpha.
void PIX_MeshBlitAlpha(PIX_IBitmap* dest, PIX_IBitmap* src, int x, int y, int w, int h,
                       const double* points, int across, int down, int mode, float alpha);

// The walk itself, in 16.16 fixed point held in 64 bits: for each of h rows and w pixels, the
// sample at (u, v) counted from the window corner src goes to writer with the weight; u and v
// move by (dudx, dvdx) per pixel, the row start by (dudy, dvdy) per row, and the per-pixel steps
// by (ddudy, ddvdy) per row. Samples outside [0, winw) x [0, winh) are skipped.
struct PIX_Walk {
  unsigned char* dst;
  ptrdiff_t dstStep;
  const unsigned char* src;
  ptrdiff_t srcStep;
  int w, h;
  int64_t u, v;
  int64_t dudx, dvdx;
  int64_t dudy, dvdy;
  int64_t ddudy, ddvdy;
  int winw, winh;
};
void PIX_TransformWalker(const PIX_Walk& walk, int weight, bool filter, PIX_PixelWriter writer);
