// A font that rasterises each character once through the drawing emulation into a shared
// scratch bitmap, keeps its 8-bit coverage, and blends that coverage into any bitmap with the
// text colour, combine mode and alpha (the cached path); or that hands whole strings to the
// emulation's DrawText (the native path).
#pragma once

#include <cstdint>

#include "framework/KIT_TypedBuf.h"
#include "raster/sys/PIX_IFont.h"

class PIX_SysBitmap;

// Font flags.
enum : unsigned {
  PIX_FONTFLAG_ROTATED = 0x1,   // glyphs turned a quarter turn, text advances downwards
  PIX_FONTFLAG_ROTATE_UP = 0x2, // with 0x1: the other way, text advances upwards
  PIX_FONTFLAG_PRERENDER = 0x4, // codes 0-127 rendered at once, 128 and up never
  PIX_FONTFLAG_BLUR = 0x10,     // each glyph blurred once
  PIX_FONTFLAG_INVERT = 0x20,   // coverage inverted
  PIX_FONTFLAG_NOAA = 0x40,     // coverage thresholded, one flat colour
  PIX_FONTFLAG_DROPEDGE = 0x80, // thresholded, edge right, below and below-right
  PIX_FONTFLAG_RING = 0x100,    // thresholded, edge on the 4-adjacent pixels
  PIX_FONTFLAG_OWNED = 0x200,   // the font handle is deleted with this object
  PIX_FONTFLAG_PREFER_NATIVE = 0x400,
};

// Text flags of DrawText.
enum : unsigned {
  PIX_TEXT_CALCRECT = 0x1,
  PIX_TEXT_VCENTER = 0x2,
  PIX_TEXT_CENTER = 0x4,
  PIX_TEXT_BOTTOM = 0x10,
  PIX_TEXT_RIGHT = 0x20,
  PIX_TEXT_SINGLELINE = 0x40,
  PIX_TEXT_NOCLIP = 0x100,
  PIX_TEXT_USEFGALPHA = 0x40000000,
};

// The extension id a bitmap answers with non-zero to force the cached path.
constexpr int PIX_EXTENSION_FORCE_CACHED_TEXT = 0x59555678;

struct PIX_GlyphRecord {
  // 0: not rendered yet; 0xFFFFFFFF: empty (nothing to draw, no advance); n >= 1: the
  // coverage bytes start at store position n - 1.
  uint32_t coverageOffsetPlusOne;
  int32_t width;
  int32_t height;
  int32_t advance;
  int32_t code; // sort key of the extended list
};

constexpr uint32_t PIX_GLYPH_EMPTY = 0xFFFFFFFF;

// Decodes one UTF-8 character; returns its byte count (at least 1). With available >= 0 it
// never reads more than that many bytes: a sequence cut short is one stray byte.
int PIX_DecodeUTF8Char(const char* text, int* code, int available = -1);

class PIX_CachedFont : public PIX_IFont {
public:
  PIX_CachedFont();
  ~PIX_CachedFont() override;
  PIX_CachedFont(const PIX_CachedFont&) = delete;
  PIX_CachedFont& operator=(const PIX_CachedFont&) = delete;

  void SetFromFontHandle(GdiObject* font, unsigned flags) override;
  PIX_Pixel SetTextColor(PIX_Pixel color) override;
  PIX_Pixel SetBkColor(PIX_Pixel color) override;
  PIX_Pixel SetEffectColor(PIX_Pixel color) override;
  int SetBkMode(int mode) override;
  void SetCombineMode(int mode, float alpha) override;
  int DrawText(PIX_IBitmap* bitmap, const char* text, int count, RECT* rect,
               unsigned flags) override;
  PIX_Pixel GetTextColor() override { return textColor; }
  GdiObject* GetFontHandle() override { return fontHandle; }
  int GetLineHeight() override { return lineHeight; }
  bool DrawGlyph(PIX_IBitmap* bitmap, unsigned short code, int x, int y, const RECT* clip) override;

  // The record of a code, or null; codes below 128 by index, others by halving search.
  const PIX_GlyphRecord* FindGlyph(int code) const;
  // The coverage bytes of a rendered glyph (width x height, row 0 at the top), or null.
  const uint8_t* GlyphCoverage(const PIX_GlyphRecord* glyph) const;
  int CoverageStoreSize() const { return coverage.GetSize(); }

private:
  PIX_GlyphRecord* findGlyph(int code);
  bool renderGlyph(int code);
  void markEmpty(PIX_GlyphRecord* glyph);
  bool chooseCachedPath(PIX_IBitmap* bitmap, unsigned flags) const;
  int drawNative(PIX_IBitmap* bitmap, const char* text, int count, RECT* rect, unsigned flags);
  int drawNativeThroughScratch(PIX_IBitmap* bitmap, const char* text, int count, RECT* rect,
                               unsigned flags);
  int measureCached(const char* text, int count, RECT* rect, unsigned flags);
  int drawCached(PIX_IBitmap* bitmap, const char* text, int count, RECT* rect, unsigned flags);
  // A drawable glyph for the code, rendering it when needed; null to skip it.
  const PIX_GlyphRecord* drawableGlyph(int code);
  bool isVertical() const { return (flags & PIX_FONTFLAG_ROTATED) != 0; }

  PIX_Pixel textColor = 0;
  PIX_Pixel bkColor = 0xFFFFFFFF;
  PIX_Pixel effectColor = 0xFFFFFFFF; // shadow and outline pixels
  int32_t bkMode = 0;                 // 1: each glyph cell filled with the background colour
  int32_t combineMode = 0;            // a PIX mode word
  float alpha = 1.0f;
  uint32_t flags = 0;
  int32_t lineHeight = 0; // measured by SetFromFontHandle
  int32_t lineSpacingAddend = 0;
  PIX_GlyphRecord directGlyphs[128] = {};
  KIT_TypedBuf<PIX_GlyphRecord> extendedGlyphs{4096}; // codes 128 and up, sorted by code
  KIT_TypedBuf<uint8_t> coverage{65536};              // every rendered glyph, one after another
  GdiObject* fontHandle = nullptr;
};
