#pragma once
// The process-wide cache of decoded editor bitmaps, keyed by resource id, so that every editor
// of the plug-in (and the controls rebuilt after a scale change) share one decoded copy. It owns
// the bitmaps until the library is unloaded. Every call holds the cache's recursive mutex.

#include <mutex>

#include "framework/KIT_TypedBuf.h"

class PIX_IBitmap;

class StaticBitmapCache {
public:
  struct Record {
    int mID;
    PIX_IBitmap* mBitmap;
  };

  StaticBitmapCache() = default;
  ~StaticBitmapCache(); // deletes every bitmap
  StaticBitmapCache(const StaticBitmapCache&) = delete;
  StaticBitmapCache& operator=(const StaticBitmapCache&) = delete;

  // The one cache of this library.
  static StaticBitmapCache& Shared();

  // The first bitmap stored under id, or null.
  PIX_IBitmap* Find(int id);
  // Takes ownership; false (the bitmap not taken) for null or when the list cannot grow.
  bool Add(int id, PIX_IBitmap* bitmap);
  // Removes the bitmap's record and deletes it; false when it is not in the cache.
  bool Remove(PIX_IBitmap* bitmap);
  bool Contains(PIX_IBitmap* bitmap);
  int Size();
  // Deletes every bitmap and record.
  void Empty();

private:
  KIT_TypedBuf<Record> mRecords{4096};
  std::recursive_mutex mMutex;
};
