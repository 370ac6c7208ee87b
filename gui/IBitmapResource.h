#pragma once
// A bitmap resource in its two densities, and what a layout needs to place controls at a
// drawing scale: the 2x set at a scale of exactly 2.0 (any other scale uses the 1x set with
// positions multiplied and truncated).

#include <cmath>

#include "gui/IEditor.h"

struct IBitmapResource {
  int id1x;
  const char* name1x;
  int id2x;
  const char* name2x;
  int frames;
};

inline bool IUsesTwiceSizeBitmaps(double scale) {
  return scale == 2.0;
}

inline IBitmap ILoadBitmapForScale(IEditor* g, const IBitmapResource& r) {
  return IUsesTwiceSizeBitmaps(g->GetDrawScale()) ? g->LoadIBitmap(r.id2x, r.name2x, r.frames)
                                                  : g->LoadIBitmap(r.id1x, r.name1x, r.frames);
}

inline void IAttachBackgroundForScale(IEditor* g, const IBitmapResource& r) {
  if (IUsesTwiceSizeBitmaps(g->GetDrawScale()))
    g->AttachBackground(r.id2x, r.name2x);
  else
    g->AttachBackground(r.id1x, r.name1x);
}

// A 1x layout coordinate at the drawing scale.
inline int IScaledCoordinate(int v, double scale) {
  return (int)std::trunc(v * scale);
}

inline IRECT IScaledRect(int l, int t, int r, int b, double scale) {
  return IRECT(IScaledCoordinate(l, scale), IScaledCoordinate(t, scale),
               IScaledCoordinate(r, scale), IScaledCoordinate(b, scale));
}
