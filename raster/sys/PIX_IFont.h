// The interface of a font that draws text into a PIX_IBitmap. DrawText calls DrawGlyph through
// the virtual table, so a derived font can replace glyph drawing.
#pragma once

#include "raster/PIX_IBitmap.h"
#include "raster/PIX_Rect.h"

struct GdiObject;

class PIX_IFont {
public:
  virtual ~PIX_IFont() = default;

  virtual void SetFromFontHandle(GdiObject* font, unsigned flags) = 0;
  // Each setter returns the previous value.
  virtual PIX_Pixel SetTextColor(PIX_Pixel color) = 0;
  virtual PIX_Pixel SetBkColor(PIX_Pixel color) = 0;
  virtual PIX_Pixel SetEffectColor(PIX_Pixel color) = 0;
  virtual int SetBkMode(int mode) = 0;
  virtual void SetCombineMode(int mode, float alpha) = 0;
  // Draws (or with PIX_TEXT_CALCRECT measures) UTF-8 text in the rectangle; returns the extent.
  virtual int DrawText(PIX_IBitmap* bitmap, const char* text, int count, RECT* rect,
                       unsigned flags) = 0;
  virtual PIX_Pixel GetTextColor() = 0;
  virtual GdiObject* GetFontHandle() = 0;
  virtual int GetLineHeight() = 0;
  // True when the glyph lay at least partly inside the clip rectangle.
  virtual bool DrawGlyph(PIX_IBitmap* bitmap, unsigned short code, int x, int y,
                         const RECT* clip) = 0;
};
