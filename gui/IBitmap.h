#pragma once
// A bitmap of the bitmap cache (not owned) seen as a strip of N frames, stacked or side by side.

#include "raster/PIX_IBitmap.h"

struct IBitmap {
  PIX_IBitmap* mData = nullptr;
  int W = 0;
  int H = 0; // of the whole strip
  int N = 1; // frame count, at least 1
  bool mFramesAreHorizontal = false;

  IBitmap() = default;
  IBitmap(PIX_IBitmap* data, int w, int h, int n = 1, bool horizontal = false)
      : mData(data), W(w), H(h), N(n < 1 ? 1 : n), mFramesAreHorizontal(horizontal) {}

  // Frames, never fewer than one.
  int Frames() const { return N < 1 ? 1 : N; }
  // Size of one frame.
  int FrameW() const { return mFramesAreHorizontal ? W / Frames() : W; }
  int FrameH() const { return mFramesAreHorizontal ? H : H / Frames(); }
  // First column (horizontal) or row (vertical) of frame f, counted from 1; frames outside
  // 1..N are taken as the nearest end.
  int FrameOffset(int f) const {
    const int n = Frames();
    f = f < 1 ? 1 : (f > n ? n : f);
    const int extent = mFramesAreHorizontal ? W : H;
    return (int)((double)(f - 1) * extent / n + 0.5);
  }
};
