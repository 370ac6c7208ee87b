#include "gui/StaticFontCache.h"

#include <cstring>

#include "raster/sys/PIX_CachedFont.h"

namespace {
// Built when the library loads, emptied when it unloads; hidden from other plug-ins.
StaticFontCache sFontCache;
} // namespace

StaticFontCache& StaticFontCache::Shared() {
  return sFontCache;
}

StaticFontCache::~StaticFontCache() {
  Empty();
}

PIX_CachedFont* StaticFontCache::Find(double scale, int size, int orientation, int style,
                                      const char* name) {
  if (!name)
    name = "";
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  const Record* records = mRecords.Get();
  for (int i = 0; i < mRecords.GetSize(); ++i) {
    const Record& r = records[i];
    if (r.mSize == size && r.mOrientation == orientation && r.mStyle == style &&
        r.mScale == scale && std::strncmp(r.mName, name, kNameLen - 1) == 0)
      return r.mFont;
  }
  return nullptr;
}

bool StaticFontCache::Add(double scale, int size, int orientation, int style, const char* name,
                          PIX_CachedFont* font) {
  if (!font)
    return false;
  Record r{scale, size, orientation, style, {}, font};
  std::strncpy(r.mName, name ? name : "", kNameLen - 1);
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  return mRecords.Add(r);
}

int StaticFontCache::Size() {
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  return mRecords.GetSize();
}

void StaticFontCache::Empty() {
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  Record* records = mRecords.Get();
  for (int i = 0; i < mRecords.GetSize(); ++i)
    delete records[i].mFont;
  mRecords.Resize(0, true);
}
