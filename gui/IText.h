#pragma once
// A text style: font, size, colours, style, alignment, orientation, quality, and the raster font
// the font cache made for it (not owned).

#include <cstring>

#include "gui/IColor.h"

class PIX_CachedFont;

struct IText {
  enum EStyle : int { kStyleNormal = 0, kStyleBold = 1, kStyleItalic = 2 };
  enum EAlign : int { kAlignNear = 0, kAlignCenter = 1, kAlignFar = 2 };
  enum EQuality : int {
    kQualityDefault = 0,
    kQualityNonAntiAliased = 1,
    kQualityAntiAliased = 2,
    kQualityClearType = 3
  };
  static constexpr int kFontNameLen = 32;

  char mFont[kFontNameLen] = "Monaco";
  int mSize = 10; // points at scale 1.0
  IColor mColor = COLOR_BLACK;
  IColor mTextEntryBGColor = COLOR_WHITE;
  IColor mTextEntryFGColor = COLOR_BLACK;
  int mStyle = kStyleNormal;
  int mAlign = kAlignCenter;
  int mOrientation = 0; // escapement in tenths of degrees, divided by 10
  int mQuality = kQualityDefault;
  PIX_CachedFont* mCached = nullptr;

  IText() = default;
  IText(int size, const IColor& color = COLOR_BLACK, const char* font = nullptr,
        int style = kStyleNormal, int align = kAlignCenter, int orientation = 0,
        int quality = kQualityDefault)
      : mSize(size), mColor(color), mStyle(style), mAlign(align), mOrientation(orientation),
        mQuality(quality) {
    SetFont(font);
  }

  // Longer names are cut to 31 characters; null keeps the current one.
  void SetFont(const char* font) {
    if (!font)
      return;
    const size_t n = strnlen(font, kFontNameLen - 1);
    std::memcpy(mFont, font, n);
    mFont[n] = '\0';
  }
};
