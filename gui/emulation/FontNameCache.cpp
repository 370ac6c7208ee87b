#include "gui/emulation/FontNameCache.h"

#include <cstdlib>
#include <cstring>

namespace winemu {

static constexpr size_t kGrowthBytes = 4096;

FontNameCache::FontNameCache() = default;

FontNameCache::~FontNameCache() {
  clear();
}

// The shared cache object itself stays valid to the end, so that a font made during unload
// still finds it; its entries are freed when the module unloads.
FontNameCache& FontNameCache::shared() {
  static FontNameCache* cache = new FontNameCache;
  return *cache;
}

namespace {

struct SharedCacheTeardown {
  ~SharedCacheTeardown() { FontNameCache::shared().clear(); }
} teardown;

} // namespace

size_t FontNameCache::search(const char* key, bool& found) const {
  size_t lo = 0, hi = entries.size();
  found = false;
  while (lo < hi) {
    size_t mid = (lo + hi) / 2;
    int order = strcmp(key, entries[mid].key);
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
  if (!found || !entries[at].value)
    return nullptr;
  return static_cast<CFStringRef>(CFRetain(entries[at].value));
}

void FontNameCache::insert(const char* key, CFStringRef value) {
  std::lock_guard<std::recursive_mutex> guard(lock);
  bool found;
  size_t at = search(key, found);
  if (found) {
    CFStringRef old = entries[at].value;
    entries[at].value = static_cast<CFStringRef>(CFRetain(value));
    CFRelease(old);
    return;
  }
  char* copy = strdup(key);
  if (!copy)
    return;
  if (entries.size() == entries.capacity()) {
    size_t bytes = (entries.size() + 1) * sizeof(Entry);
    bytes = (bytes + kGrowthBytes - 1) / kGrowthBytes * kGrowthBytes;
    entries.reserve(bytes / sizeof(Entry));
  }
  entries.insert(entries.begin() + static_cast<ptrdiff_t>(at),
                 Entry{copy, static_cast<CFStringRef>(CFRetain(value))});
}

int FontNameCache::count() {
  std::lock_guard<std::recursive_mutex> guard(lock);
  return static_cast<int>(entries.size());
}

void FontNameCache::clear() {
  std::lock_guard<std::recursive_mutex> guard(lock);
  for (Entry& e : entries) {
    free(e.key);
    CFRelease(e.value);
  }
  entries.clear();
}

} // namespace winemu
