// The editor's bitmap and text drawing: the process-wide bitmap and font caches, and the
// entry points that turn editor types into raster-library calls on the draw bitmap.
#include "gui/IEditor.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "gui/StaticBitmapCache.h"
#include "gui/StaticFontCache.h"
#include "gui/emulation/DrawingEmulation.h"
#include "raster/PIX_Blit.h"
#include "raster/PIX_Fill.h"
#include "raster/PIX_MemBitmap.h"
#include "raster/sys/PIX_CachedFont.h"
#include "raster/sys/PIX_SysBitmap.h"

namespace {

IBitmap AsIBitmap(PIX_IBitmap* data, int nFrames, bool horizontal) {
  if (!data)
    return IBitmap(nullptr, 0, 0, nFrames, horizontal);
  return IBitmap(data, data->getWidth(), data->getHeight(), nFrames, horizontal);
}

// The system font's quality for a style's quality setting.
char FontQuality(int quality) {
  switch (quality) {
  case IText::kQualityDefault:
    return 0;
  case IText::kQualityAntiAliased:
  case IText::kQualityClearType:
    return 4;
  default:
    return 3;
  }
}

HFONT CreateStyleFont(const IText& text, int height) {
  return CreateFont(height, 0, text.mOrientation * 10, text.mOrientation * 10,
                    text.mStyle == IText::kStyleBold ? 700 : 400,
                    text.mStyle == IText::kStyleItalic ? 1 : 0, 0, 0, 0, 0, 0,
                    FontQuality(text.mQuality), 0, text.mFont);
}

} // namespace

// ---- bitmaps ----

IBitmap IEditor::LoadIBitmap(int id, const char* name, int nFrames, bool framesAreHorizontal) {
  StaticBitmapCache& cache = StaticBitmapCache::Shared();
  PIX_IBitmap* data = cache.Find(id);
  if (!data) {
    data = LoadPlatformBitmap(id, name);
    // A resource that failed to load is not cached: a later call tries again.
    if (data && !cache.Add(id, data)) {
      delete data;
      data = nullptr;
    }
  }
  return AsIBitmap(data, nFrames, framesAreHorizontal);
}

void IEditor::RetainBitmap(IBitmap* bitmap) {
  if (bitmap && bitmap->mData && !StaticBitmapCache::Shared().Contains(bitmap->mData))
    StaticBitmapCache::Shared().Add(-1, bitmap->mData);
}

void IEditor::ReleaseBitmap(IBitmap* bitmap) {
  if (bitmap && StaticBitmapCache::Shared().Remove(bitmap->mData))
    *bitmap = IBitmap();
}

IBitmap IEditor::ScaleBitmap(IBitmap* bitmap, int destW, int destH) {
  if (!bitmap || !bitmap->mData || destW < 1 || destH < 1)
    return IBitmap();
  PIX_MemBitmap* scaled = new PIX_MemBitmap(destW, destH);
  if (scaled->getWidth() != destW || scaled->getHeight() != destH) {
    delete scaled;
    return IBitmap();
  }
  PIX_ScaledBlit(scaled, bitmap->mData, 0, 0, destW, destH, 0.0f, 0.0f, (float)bitmap->W,
                 (float)bitmap->H, 1.0f, PIX_COMBINE_COPY | PIX_COMBINE_FILTER);
  IBitmap result = AsIBitmap(scaled, bitmap->N, bitmap->mFramesAreHorizontal);
  if (!StaticBitmapCache::Shared().Add(-1, scaled)) {
    delete scaled;
    return IBitmap();
  }
  return result;
}

IBitmap IEditor::CropBitmap(IBitmap* bitmap, IRECT* rect) {
  if (!bitmap || !bitmap->mData || !rect || rect->W() < 1 || rect->H() < 1)
    return IBitmap();
  PIX_MemBitmap* cropped = new PIX_MemBitmap(rect->W(), rect->H());
  if (cropped->getWidth() != rect->W() || cropped->getHeight() != rect->H()) {
    delete cropped;
    return IBitmap();
  }
  PIX_Blit(cropped, bitmap->mData, 0, 0, rect->L, rect->T, rect->W(), rect->H(), 1.0f,
           PIX_COMBINE_COPY);
  IBitmap result = AsIBitmap(cropped, bitmap->N, bitmap->mFramesAreHorizontal);
  if (!StaticBitmapCache::Shared().Add(-1, cropped)) {
    delete cropped;
    return IBitmap();
  }
  return result;
}

bool IEditor::DrawBitmap(IBitmap* bitmap, IRECT* rect, int frame, const IChannelBlend* blend) {
  if (!bitmap || !rect)
    return false;
  int srcX = 0, srcY = 0;
  if (bitmap->Frames() >= 2 && frame >= 2) {
    if (bitmap->mFramesAreHorizontal)
      srcX = bitmap->FrameOffset(frame);
    else
      srcY = bitmap->FrameOffset(frame);
  }
  return BlitBitmap(bitmap, rect, srcX, srcY, blend);
}

bool IEditor::BlitBitmap(IBitmap* bitmap, IRECT* rect, int srcX, int srcY,
                         const IChannelBlend* blend) {
  if (!bitmap || !bitmap->mData || !rect)
    return false;
  // Only the area being redrawn is touched.
  const IRECT clipped = rect->Intersect(mDrawRECT);
  srcX += clipped.L - rect->L;
  srcY += clipped.T - rect->T;
  PIX_Blit(mDrawBitmap, bitmap->mData, clipped.L, clipped.T, srcX, srcY, clipped.W(), clipped.H(),
           IBlendToWeight(blend), IBlendToMode(blend));
  return true;
}

// ---- text ----

PIX_CachedFont* IEditor::CacheFont(IText* text) {
  if (!text)
    return nullptr;
  StaticFontCache& cache = StaticFontCache::Shared();
  PIX_CachedFont* font =
      cache.Find(mScale, text->mSize, text->mOrientation, text->mStyle, text->mFont);
  if (!font) {
    const double h = text->mSize * mScale;
    const int wanted = std::max((int)std::trunc(h), 2);
    int height = wanted;
    font = new PIX_CachedFont();
    // Fonts answer their line height, not their nominal size: when the two differ the font is
    // made once more at the height that gives the wanted line height.
    for (int attempt = 0; attempt < 2; ++attempt) {
      HFONT handle = CreateStyleFont(*text, height);
      if (!handle) {
        delete font;
        return nullptr;
      }
      font->SetFromFontHandle(handle, PIX_FONTFLAG_OWNED | PIX_FONTFLAG_PREFER_NATIVE);
      const int lineHeight = font->GetLineHeight();
      if (lineHeight == wanted || lineHeight <= 0)
        break;
      height = std::max((int)((double)wanted * wanted / lineHeight + 0.5), 2);
    }
    if (!cache.Add(mScale, text->mSize, text->mOrientation, text->mStyle, text->mFont, font)) {
      delete font;
      return nullptr;
    }
  }
  text->mCached = font;
  return font;
}

bool IEditor::MeasureIText(IText* text, const char* str, IRECT* rect) {
  return DrawIText(text, str, rect, true);
}

bool IEditor::DrawIText(IText* text, const char* str, IRECT* rect, bool measure) {
  if (!str || !str[0])
    return true;
  if (!text || !rect)
    return false;
  PIX_CachedFont* font = text->mCached ? text->mCached : CacheFont(text);
  if (!font)
    return false;
  font->SetTextColor(IColorToPixel(text->mColor));
  unsigned flags = 0;
  if (text->mColor.A < 255)
    flags |= PIX_TEXT_USEFGALPHA;
  if (text->mAlign == IText::kAlignCenter)
    flags |= PIX_TEXT_CENTER;
  else if (text->mAlign == IText::kAlignFar)
    flags |= PIX_TEXT_RIGHT;

  if (measure) {
    RECT extent{0, 0, 0, 0};
    font->DrawText(mDrawBitmap, str, -1, &extent, flags | PIX_TEXT_CALCRECT);
    const int w = extent.right - extent.left, h = extent.bottom - extent.top;
    if (text->mAlign == IText::kAlignCenter) {
      rect->L = (int)std::trunc((rect->L + rect->R) * 0.5) - w / 2;
      rect->R = rect->L + w;
    } else if (text->mAlign == IText::kAlignFar) {
      rect->L = rect->R - w;
    } else {
      rect->R = rect->L + w;
    }
    rect->B = rect->T + h;
    return true;
  }
  if (!mDrawBitmap)
    return false;
  RECT r{rect->L, rect->T, rect->R, rect->B};
  font->DrawText(mDrawBitmap, str, -1, &r, flags);
  return true;
}

// ---- fills and pixels ----

PIX_IBitmap* IEditor::ShapeTarget() const {
  return mDrawBitmap;
}

bool IEditor::FillIRect(const IColor* color, IRECT* rect, const IChannelBlend* blend) {
  if (!color || !rect || !mDrawBitmap)
    return false;
  PIX_FillRect(mDrawBitmap, rect->L, rect->T, rect->W(), rect->H(), IColorToPixel(*color),
               IBlendToWeight(blend), IBlendToMode(blend));
  return true;
}

bool IEditor::DrawPoint(const IColor* color, int x, int y, const IChannelBlend* blend, bool) {
  if (!color || !mDrawBitmap)
    return false;
  PIX_PutPixel(mDrawBitmap, x, y, IColorToPixel(*color), IBlendToWeight(blend),
               IBlendToMode(blend));
  return true;
}

bool IEditor::ForcePixel(const IColor* color, int x, int y) {
  if (!color || !mDrawBitmap || !mDrawBitmap->getBits() || x < 0 || y < 0 ||
      x >= mDrawBitmap->getWidth() || y >= mDrawBitmap->getHeight())
    return false;
  mDrawBitmap->getBits()[(size_t)y * mDrawBitmap->getRowSpan() + x] = IColorToPixel(*color);
  return true;
}

IColor IEditor::GetPoint(int x, int y) {
  return IColorFromPixel(PIX_GetPixel(mDrawBitmap, x, y));
}

PIX_Pixel* IEditor::GetBits() {
  return mDrawBitmap ? mDrawBitmap->getBits() : nullptr;
}
