// The editor's shape and rotated-bitmap drawing: each converts colour and blend and makes
// one raster call (or a few) on the draw bitmap with the caller's coordinates.
#include "gui/IEditor.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "raster/PIX_Blit.h"
#include "raster/PIX_Circle.h"
#include "raster/PIX_Fill.h"
#include "raster/PIX_Line.h"
#include "raster/PIX_MemBitmap.h"
#include "raster/PIX_Polygon.h"
#include "raster/PIX_Transform.h"
#include "raster/sys/PIX_SysBitmap.h"

namespace {

// Knob layers are filtered and weighted by their own alpha; the mask adds light, the top covers.
constexpr int kMaskLayerMode = PIX_COMBINE_ADD | PIX_COMBINE_FILTER | PIX_COMBINE_SOURCEALPHA;
constexpr int kTopLayerMode = PIX_COMBINE_COPY | PIX_COMBINE_FILTER | PIX_COMBINE_SOURCEALPHA;

// Turns a layer by angle about the centre of the w x h scratch, at the layer's own size. Only
// the layer's own rectangle is sampled, so the corners the turn brings in stay untouched.
void DrawTurnedLayer(PIX_IBitmap* scratch, int w, int h, const IBitmap& layer, double angle,
                     int mode) {
  const int lw = layer.W, lh = layer.H;
  PIX_RotatedBlit(scratch, layer.mData, w / 2 - lw / 2, h / 2 - lh / 2, lw, lh, 0.0f, 0.0f,
                  (float)lw, (float)lh, (float)angle, true, 1.0f, mode, 0.0f, 0.0f);
}

// A coordinate as the integer line takes it, truncated toward zero; false for a value no int
// holds (not finite, or beyond the int range), whose conversion would be undefined.
bool ToLineCoordinate(float v, int& out) {
  if (!(v >= -2147483648.0f && v < 2147483648.0f))
    return false;
  out = (int)v;
  return true;
}

} // namespace

bool IEditor::FillCircle(const IColor* color, float cx, float cy, float r,
                         const IChannelBlend* blend, bool antiAlias) {
  if (!color || !mDrawBitmap)
    return false;
  PIX_FillCircle(mDrawBitmap, cx, cy, r, IColorToPixel(*color), IBlendToWeight(blend),
                 IBlendToMode(blend), antiAlias);
  return true;
}

bool IEditor::DrawRotatedBitmap(IBitmap* bitmap, int destCtrX, int destCtrY, double angle,
                                const IChannelBlend* blend) {
  if (!bitmap || !bitmap->mData || !mDrawBitmap)
    return false;
  const int w = bitmap->W, h = bitmap->H;
  PIX_RotatedBlit(mDrawBitmap, bitmap->mData, destCtrX - w / 2, destCtrY - h / 2, w, h, 0.0f, 0.0f,
                  (float)w, (float)h, (float)angle, false, IBlendToWeight(blend),
                  IBlendToMode(blend), 0.0f, 0.0f);
  return true;
}

bool IEditor::DrawRotatedMask(IBitmap* base, IBitmap* mask, IBitmap* top, int x, int y,
                              double angle, const IChannelBlend* blend) {
  if (!base || !base->mData || !mask || !mask->mData || !top || !top->mData || !mDrawBitmap ||
      !mTmpBitmap)
    return false;
  const int w = base->W, h = base->H;
  // Composed off screen: the base, the mask turned and added over it, the top turned over
  // both; the result goes onto the draw bitmap in one blit.
  mTmpBitmap->resize(w, h);
  if (mTmpBitmap->getWidth() != w || mTmpBitmap->getHeight() != h)
    return false;
  PIX_Blit(mTmpBitmap, base->mData, 0, 0, 0, 0, w, h, 1.0f, PIX_COMBINE_COPY);
  DrawTurnedLayer(mTmpBitmap, w, h, *mask, angle, kMaskLayerMode);
  DrawTurnedLayer(mTmpBitmap, w, h, *top, angle, kTopLayerMode);
  PIX_Blit(mDrawBitmap, mTmpBitmap, x, y, 0, 0, w, h, IBlendToWeight(blend), IBlendToMode(blend));
  return true;
}

bool IEditor::DrawLine(const IColor* color, float x1, float y1, float x2, float y2,
                       const IChannelBlend* blend, bool antiAlias) {
  int ix1, iy1, ix2, iy2;
  if (!color || !mDrawBitmap || !ToLineCoordinate(x1, ix1) || !ToLineCoordinate(y1, iy1) ||
      !ToLineCoordinate(x2, ix2) || !ToLineCoordinate(y2, iy2))
    return false;
  // The editor's lines are integer lines: end pixels at full weight, the same pixels drawn
  // whichever end comes first.
  PIX_Line(mDrawBitmap, ix1, iy1, ix2, iy2, IColorToPixel(*color), IBlendToWeight(blend),
           IBlendToMode(blend), antiAlias);
  return true;
}

bool IEditor::DrawArc(const IColor* color, float cx, float cy, float r, float minAngle,
                      float maxAngle, const IChannelBlend* blend, bool antiAlias) {
  if (!color || !mDrawBitmap)
    return false;
  PIX_Arc(mDrawBitmap, cx, cy, r, minAngle, maxAngle, IColorToPixel(*color), IBlendToWeight(blend),
          IBlendToMode(blend), antiAlias);
  return true;
}

bool IEditor::DrawCircle(const IColor* color, float cx, float cy, float r,
                         const IChannelBlend* blend, bool antiAlias) {
  if (!color || !mDrawBitmap)
    return false;
  PIX_Circle(mDrawBitmap, cx, cy, r, IColorToPixel(*color), IBlendToWeight(blend),
             IBlendToMode(blend), antiAlias);
  return true;
}

bool IEditor::DrawRoundRect(const IColor* color, IRECT* rect, const IChannelBlend* blend,
                            int cornerRadius, bool antiAlias) {
  if (!color || !rect || !mDrawBitmap)
    return false;
  PIX_RoundRect(mDrawBitmap, (float)rect->L, (float)rect->T, (float)rect->W(), (float)rect->H(),
                cornerRadius, IColorToPixel(*color), IBlendToWeight(blend), IBlendToMode(blend),
                antiAlias);
  return true;
}

bool IEditor::FillRoundRect(const IColor* color, IRECT* rect, const IChannelBlend* blend,
                            int cornerRadius, bool antiAlias) {
  if (!color || !rect || !mDrawBitmap)
    return false;
  const int w = rect->W(), h = rect->H();
  if (w < 1 || h < 1)
    return false;
  // A radius larger than half the shorter side would make the rectangles overlap.
  const int cr = std::clamp(cornerRadius, 0, std::min(w, h) / 2);
  const PIX_Pixel pixel = IColorToPixel(*color);
  const float weight = IBlendToWeight(blend);
  const int mode = IBlendToMode(blend);
  PIX_FillRect(mDrawBitmap, rect->L + cr, rect->T, w - 2 * cr, h, pixel, weight, mode);
  PIX_FillRect(mDrawBitmap, rect->L, rect->T + cr, cr, h - 2 * cr, pixel, weight, mode);
  PIX_FillRect(mDrawBitmap, rect->R - cr, rect->T + cr, cr, h - 2 * cr, pixel, weight, mode);
  if (cr > 0) {
    const float left = (float)(rect->L + cr), right = (float)(rect->R - 1 - cr);
    const float upper = (float)(rect->T + cr), lower = (float)(rect->B - 1 - cr);
    PIX_FillCircle(mDrawBitmap, left, upper, (float)cr, pixel, weight, mode, antiAlias);
    PIX_FillCircle(mDrawBitmap, right, upper, (float)cr, pixel, weight, mode, antiAlias);
    PIX_FillCircle(mDrawBitmap, left, lower, (float)cr, pixel, weight, mode, antiAlias);
    PIX_FillCircle(mDrawBitmap, right, lower, (float)cr, pixel, weight, mode, antiAlias);
  }
  return true;
}

bool IEditor::FillTriangle(const IColor* color, int x1, int y1, int x2, int y2, int x3, int y3,
                           const IChannelBlend* blend) {
  if (!color || !mDrawBitmap)
    return false;
  PIX_FillTriangle(mDrawBitmap, x1, y1, x2, y2, x3, y3, IColorToPixel(*color),
                   IBlendToWeight(blend), IBlendToMode(blend));
  return true;
}

bool IEditor::FillConvexPolygon(const IColor* color, const int* x, const int* y, int npoints,
                                const IChannelBlend* blend) {
  if (!color || !x || !y || npoints < 3 || !mDrawBitmap)
    return false;
  PIX_FillConvexPolygon(mDrawBitmap, x, y, npoints, IColorToPixel(*color), IBlendToWeight(blend),
                        IBlendToMode(blend));
  return true;
}

bool IEditor::DrawVerticalLine(const IColor* color, int xi, int yLo, int yHi) {
  if (!color || !mDrawBitmap)
    return false;
  PIX_Line(mDrawBitmap, xi, yLo, xi, yHi, IColorToPixel(*color), 1.0f, IBlendToMode(nullptr),
           false);
  return true;
}

bool IEditor::DrawHorizontalLine(const IColor* color, int yi, int xLo, int xHi) {
  if (!color || !mDrawBitmap)
    return false;
  PIX_Line(mDrawBitmap, xLo, yi, xHi, yi, IColorToPixel(*color), 1.0f, IBlendToMode(nullptr),
           false);
  return true;
}

bool IEditor::DrawIRect(const IColor* color, IRECT* rect, const IChannelBlend* blend) {
  if (!color || !rect || !mDrawBitmap)
    return false;
  const PIX_Pixel pixel = IColorToPixel(*color);
  const float weight = IBlendToWeight(blend);
  const int mode = IBlendToMode(blend);
  PIX_Line(mDrawBitmap, rect->L, rect->T, rect->R, rect->T, pixel, weight, mode, false);
  PIX_Line(mDrawBitmap, rect->R, rect->T, rect->R, rect->B, pixel, weight, mode, false);
  PIX_Line(mDrawBitmap, rect->R, rect->B, rect->L, rect->B, pixel, weight, mode, false);
  PIX_Line(mDrawBitmap, rect->L, rect->B, rect->L, rect->T, pixel, weight, mode, false);
  return true;
}

bool IEditor::DrawVerticalLineInRect(const IColor* color, IRECT* rect, float fraction) {
  if (!rect)
    return false;
  const int x = rect->L + (int)std::trunc(fraction * rect->W());
  return DrawVerticalLine(color, x, rect->T, rect->B);
}

bool IEditor::DrawHorizontalLineInRect(const IColor* color, IRECT* rect, float fraction) {
  if (!rect)
    return false;
  const int y = rect->B - (int)std::trunc(fraction * rect->H());
  return DrawHorizontalLine(color, y, rect->L, rect->R);
}

bool IEditor::DrawRadialLine(const IColor* color, float cx, float cy, float angle, float rMin,
                             float rMax, const IChannelBlend* blend, bool antiAlias) {
  const float s = std::sin(angle), c = std::cos(angle);
  return DrawLine(color, cx + rMin * s, cy - rMin * c, cx + rMax * s, cy - rMax * c, blend,
                  antiAlias);
}

bool IEditor::DrawBitmapFontText(IBitmap* bitmap, IRECT* rect, IText* text,
                                 const IChannelBlend* blend, const char* str, bool vCenter,
                                 bool multiline, int charWidth, int charHeight, int charOffset) {
  if (!bitmap || !bitmap->mData || !rect || !str || charWidth < 1 || charHeight < 1)
    return false;
  const int length = (int)std::strlen(str);
  if (length == 0)
    return true;
  const int cell = charWidth + charOffset;
  if (cell < 1)
    return false;
  // Characters per line: those that fit; a single line is cut there, several lines wrap.
  const int perLine = std::max(1, (rect->W() + charOffset) / cell);
  const int lines = multiline ? (length + perLine - 1) / perLine : 1;
  const int shown = multiline ? length : std::min(length, perLine);
  const int lineChars = std::min(shown, perLine);
  const int lineWidth = lineChars * cell - charOffset;
  int x0 = rect->L;
  if (text && text->mAlign == IText::kAlignCenter)
    x0 = rect->L + (rect->W() - lineWidth) / 2;
  int y = rect->T;
  if (vCenter)
    y = rect->T + (rect->H() - lines * charHeight) / 2;
  for (int i = 0; i < shown; ++i) {
    const int column = i % perLine, line = i / perLine;
    const int frame = (unsigned char)str[i] - 31;
    IRECT glyph(x0 + column * cell, y + line * charHeight, x0 + column * cell + charWidth,
                y + (line + 1) * charHeight);
    if (frame >= 1 && frame <= bitmap->Frames())
      DrawBitmap(bitmap, &glyph, frame, blend);
  }
  return true;
}
