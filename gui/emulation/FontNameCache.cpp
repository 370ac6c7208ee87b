#include "gui/emulation/FontNameCache.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace winemu {

FontNameCache::FontNameCache() = default;

FontNameCache::~FontNameCache() {
  clear();
}

// The shared cache object itself stays valid to the end, so that a font made during unload
// still finds it; its entries are freed when the module unloads. It lives in the binary's own
// storage, not on the heap, so an unloaded module leaves nothing behind.
FontNameCache& FontNameCache::shared() {
  alignas(FontNameCache) static unsigned char storage[sizeof(FontNameCache)];
  static FontNameCache* cache = new (storage) FontNameCache;
  return *cache;
}

namespace {

struct SharedCacheTeardown {
  ~SharedCacheTeardown() { FontNameCache::shared().clear(); }
} teardown;

} // namespace

size_t FontNameCache::search(const char* key, bool& found) const {
  size_t lo = 0, hi = size_t(entries.GetSize());
  const Entry* e = entries.Get();
  found = false;
  while (lo < hi) {
    size_t mid = (lo + hi) / 2;
    int order = strcmp(key, e[mid].key);
    if (order > 0) {
      lo = mid + 1;
    } else if (order < 0) {
      hi = mid;
    } else {
      found = true;
      return mid;
    }
  }
  return lo;
}

CFStringRef FontNameCache::copyValue(const char* key) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  bool found;
  size_t at = search(key, found);
  if (!found || !entries.Get()[at].value)
    return nullptr;
  return static_cast<CFStringRef>(CFRetain(entries.Get()[at].value));
}

void FontNameCache::insert(const char* key, CFStringRef value) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  bool found;
  size_t at = search(key, found);
  if (found) {
    Entry& entry = entries.Get()[at];
    CFStringRef old = entry.value;
    entry.value = static_cast<CFStringRef>(CFRetain(value));
    CFRelease(old);
    return;
  }
  char* copy = strdup(key);
  if (!copy)
    return;
  int count = entries.GetSize();
  entries.Resize(count + 1);
  if (entries.GetSize() != count + 1) {
    free(copy); // the array could not grow: the name stays unresolved in the cache
    return;
  }
  Entry* e = entries.Get();
  memmove(e + at + 1, e + at, (size_t(count) - at) * sizeof(Entry));
  e[at] = Entry{copy, static_cast<CFStringRef>(CFRetain(value))};
}

int FontNameCache::count() {
  std::lock_guard<std::recursive_mutex> guard(lock);
  return entries.GetSize();
}

void FontNameCache::clear() {
  std::lock_guard<std::recursive_mutex> guard(lock);
  Entry* e = entries.Get();
  for (int i = 0; i < entries.GetSize(); ++i) {
    free(e[i].key);
    CFRelease(e[i].value);
  }
  entries.Resize(0, true);
}

} // namespace winemu
