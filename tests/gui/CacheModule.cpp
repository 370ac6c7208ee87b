// A stand-in for a plug-in bundle that links the toolkit: it exports only what the test asks
// of its caches.
#include "gui/StaticBitmapCache.h"
#include "raster/PIX_MemBitmap.h"

extern "C" __attribute__((visibility("default"))) void* orvane_test_bitmap_cache() {
  return &StaticBitmapCache::Shared();
}

extern "C" __attribute__((visibility("default"))) int orvane_test_cache_add(int id) {
  StaticBitmapCache::Shared().Add(id, new PIX_MemBitmap(2, 2));
  return StaticBitmapCache::Shared().Size();
}
