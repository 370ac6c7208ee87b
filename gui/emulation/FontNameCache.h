// Maps a composed font name ("Monaco Bold Italic") to the platform font name it resolved to,
// so that fonts recreated often (on every scale change) skip the slow name resolution.
// A sorted array of (key, value) pairs ordered by strcmp; keys are strdup copies, values
// retained CFStrings. Its own recursive mutex guards it.
#pragma once

#include <mutex>

#include "CoreFoundation/CoreFoundation.h"
#include "framework/KIT_TypedBuf.h"

namespace winemu {

class FontNameCache {
public:
  struct Entry {
    char* key;
    CFStringRef value; // retained, may be null
  };

  FontNameCache();
  ~FontNameCache();
  FontNameCache(const FontNameCache&) = delete;
  FontNameCache& operator=(const FontNameCache&) = delete;

  // The cached value, retained for the caller, or null on a miss or a null value.
  CFStringRef copyValue(const char* key);
  // Adds the pair, or replaces (and releases) the value of an existing key.
  void insert(const char* key, CFStringRef value);
  int count();
  void clear();

  static FontNameCache& shared();

private:
  // Halving search: the index of the key, or its insertion point with found false.
  size_t search(const char* key, bool& found) const;

  std::recursive_mutex lock;
  KIT_TypedBuf<Entry> entries{4096}; // storage grows in steps of 4096 bytes
};

} // namespace winemu
