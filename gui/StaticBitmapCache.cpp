#include "gui/StaticBitmapCache.h"

#include "raster/PIX_IBitmap.h"

namespace {
// Built when the library loads, emptied when it unloads. Symbols are hidden, so two plug-ins in
// one process each keep their own (their resource ids name different images).
StaticBitmapCache sBitmapCache;
} // namespace

StaticBitmapCache& StaticBitmapCache::Shared() {
  return sBitmapCache;
}

StaticBitmapCache::~StaticBitmapCache() {
  Empty();
}

PIX_IBitmap* StaticBitmapCache::Find(int id) {
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  const Record* records = mRecords.Get();
  for (int i = 0; i < mRecords.GetSize(); ++i)
    if (records[i].mID == id)
      return records[i].mBitmap;
  return nullptr;
}

bool StaticBitmapCache::Add(int id, PIX_IBitmap* bitmap) {
  if (!bitmap)
    return false;
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  return mRecords.Add(Record{id, bitmap});
}

bool StaticBitmapCache::Remove(PIX_IBitmap* bitmap) {
  if (!bitmap)
    return false;
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  Record* records = mRecords.Get();
  const int n = mRecords.GetSize();
  for (int i = 0; i < n; ++i) {
    if (records[i].mBitmap != bitmap)
      continue;
    for (int j = i + 1; j < n; ++j)
      records[j - 1] = records[j];
    mRecords.Resize(n - 1);
    delete bitmap;
    return true;
  }
  return false;
}

bool StaticBitmapCache::Contains(PIX_IBitmap* bitmap) {
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  const Record* records = mRecords.Get();
  for (int i = 0; i < mRecords.GetSize(); ++i)
    if (records[i].mBitmap == bitmap)
      return true;
  return false;
}

int StaticBitmapCache::Size() {
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  return mRecords.GetSize();
}

void StaticBitmapCache::Empty() {
  std::lock_guard<std::recursive_mutex> lock(mMutex);
  Record* records = mRecords.Get();
  for (int i = 0; i < mRecords.GetSize(); ++i)
    delete records[i].mBitmap;
  mRecords.Resize(0, true);
}
