#pragma once
// The process-wide cache of raster fonts, keyed by scale, size, orientation, style and font
// name, shared by every editor of the plug-in. It owns the fonts until the library is unloaded.
// Every call holds the cache's recursive mutex.

#include <mutex>

#include "framework/KIT_TypedBuf.h"

class PIX_CachedFont;

class StaticFontCache {
public:
  static constexpr int kNameLen = 36;

  struct Record {
    double mScale;
    int mSize;
    int mOrientation;
    int mStyle;
    char mName[kNameLen];
    PIX_CachedFont* mFont;
  };

  StaticFontCache() = default;
  ~StaticFontCache(); // deletes every font
  StaticFontCache(const StaticFontCache&) = delete;
  StaticFontCache& operator=(const StaticFontCache&) = delete;

  static StaticFontCache& Shared();

  // The first font stored under this key, or null.
  PIX_CachedFont* Find(double scale, int size, int orientation, int style, const char* name);
  // Takes ownership; false (the font not taken) for null or when the list cannot grow.
  bool Add(double scale, int size, int orientation, int style, const char* name,
           PIX_CachedFont* font);
  int Size();
  void Empty();

private:
  KIT_TypedBuf<Record> mRecords{4096};
  std::recursive_mutex mMutex;
};
