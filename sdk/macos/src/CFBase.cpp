// Reference counting, strings, dictionaries, attributed strings, arrays and UUIDs.
#include "CFObject.h"
#include "LeakChecks.h"

#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <unistd.h>
#include <unordered_map>

static CFObject* objectOf(CFTypeRef object) {
  return const_cast<CFObject*>(static_cast<const CFObject*>(object));
}

CFTypeRef CFRetain(CFTypeRef object) {
  if (object)
    objectOf(object)->retainCount.fetch_add(1, std::memory_order_relaxed);
  return object;
}

void CFRelease(CFTypeRef object) {
  if (!object)
    return;
  CFObject* o = objectOf(object);
  if (o->retainCount.fetch_sub(1, std::memory_order_acq_rel) == 1 && !o->immortal)
    delete o;
}

CFIndex CFGetRetainCount(CFTypeRef object) {
  return object ? objectOf(object)->retainCount.load() : 0;
}

namespace cfstub {

bool isValidUtf8(const char* bytes, size_t count) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes);
  size_t i = 0;
  while (i < count) {
    unsigned c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t n;
    unsigned code;
    if (c >= 0xC2 && c <= 0xDF) {
      n = 1;
      code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2;
      code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
      code = c & 0x07;
    } else {
      return false;
    }
    if (i + n >= count)
      return false;
    for (size_t k = 1; k <= n; ++k) {
      if ((p[i + k] & 0xC0) != 0x80)
        return false;
      code = (code << 6) | (p[i + k] & 0x3F);
    }
    if ((n == 2 && code < 0x800) || (n == 3 && (code < 0x10000 || code > 0x10FFFF)) ||
        (code >= 0xD800 && code <= 0xDFFF))
      return false;
    i += n + 1;
  }
  return true;
}

std::vector<char32_t> decodeUtf8(const std::string& utf8) {
  std::vector<char32_t> codes;
  codes.reserve(utf8.size());
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  size_t i = 0, count = utf8.size();
  while (i < count) {
    unsigned c = p[i];
    size_t n = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    char32_t code = n == 0 ? c : n == 1 ? (c & 0x1F) : n == 2 ? (c & 0x0F) : (c & 0x07);
    for (size_t k = 1; k <= n && i + k < count; ++k)
      code = (code << 6) | (p[i + k] & 0x3F);
    codes.push_back(code);
    i += n + 1;
  }
  return codes;
}

CFStringRef makeString(const std::string& utf8) {
  std::unique_ptr<__CFString> s(new __CFString);
  s->utf8 = utf8;
  return s.release();
}

const std::string& utf8Of(CFStringRef string) {
  static const std::string empty;
  return string ? string->utf8 : empty;
}

CFArrayRef makeArray(const std::vector<CFTypeRef>& values) {
  auto* a = new __CFArray;
  for (CFTypeRef v : values)
    a->values.push_back(CFRetain(v));
  return a;
}

} // namespace cfstub

static bool isAscii(const char* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (static_cast<unsigned char>(bytes[i]) >= 0x80)
      return false;
  return true;
}

CFStringRef CFStringCreateWithBytes(CFAllocatorRef, const UInt8* bytes, CFIndex count,
                                    CFStringEncoding encoding, Boolean) {
  if (count < 0 || (!bytes && count > 0))
    return nullptr;
  const char* text = reinterpret_cast<const char*>(bytes);
  size_t n = static_cast<size_t>(count);
  bool ok = (encoding == kCFStringEncodingUTF8 && cfstub::isValidUtf8(text, n)) ||
            (encoding == kCFStringEncodingASCII && isAscii(text, n));
  if (!ok)
    return nullptr;
  return cfstub::makeString(std::string(text, n));
}

CFStringRef CFStringCreateWithCString(CFAllocatorRef allocator, const char* text,
                                      CFStringEncoding encoding) {
  if (!text)
    return nullptr;
  return CFStringCreateWithBytes(allocator, reinterpret_cast<const UInt8*>(text),
                                 static_cast<CFIndex>(strlen(text)), encoding, false);
}

CFIndex CFStringGetLength(CFStringRef string) {
  if (!string)
    return 0;
  CFIndex units = 0;
  for (char32_t c : cfstub::decodeUtf8(string->utf8))
    units += c > 0xFFFF ? 2 : 1;
  return units;
}

CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding) {
  return encoding == kCFStringEncodingUTF8 ? length * 3 : length;
}

Boolean CFStringGetCString(CFStringRef string, char* buffer, CFIndex size,
                           CFStringEncoding encoding) {
  if (!string || !buffer || size < 1)
    return false;
  const std::string& s = string->utf8;
  if (encoding == kCFStringEncodingASCII && !isAscii(s.data(), s.size()))
    return false;
  if (encoding != kCFStringEncodingASCII && encoding != kCFStringEncodingUTF8)
    return false;
  if (static_cast<CFIndex>(s.size()) + 1 > size)
    return false;
  memcpy(buffer, s.c_str(), s.size() + 1);
  return true;
}

// String constants are never freed: code may name one in any static's destructor while a
// module unloads, as the platform's constants, which live in the binary's image, allow.
CFStringRef __CFStringMakeConstantString(const char* text) {
  static std::mutex lock;
  std::lock_guard<std::mutex> guard(lock);
  cfstub::KeptForTheProcess kept;
  static std::unordered_map<std::string, __CFString*>* literals =
      new std::unordered_map<std::string, __CFString*>;
  auto found = literals->find(text);
  if (found != literals->end())
    return found->second;
  auto* s = new __CFString;
  s->utf8 = text;
  s->immortal = true;
  literals->emplace(text, s);
  return s;
}

const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks{0};
const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks{0};

__CFDictionary::~__CFDictionary() {
  for (auto& [key, value] : entries) {
    CFRelease(key);
    CFRelease(value);
  }
}

CFDictionaryRef CFDictionaryCreate(CFAllocatorRef, const void** keys, const void** values,
                                   CFIndex count, const CFDictionaryKeyCallBacks*,
                                   const CFDictionaryValueCallBacks*) {
  auto* d = new __CFDictionary;
  for (CFIndex i = 0; i < count; ++i)
    d->entries.emplace_back(CFRetain(keys[i]), CFRetain(values[i]));
  return d;
}

static bool sameKey(CFTypeRef a, CFTypeRef b) {
  if (a == b)
    return true;
  auto* sa = dynamic_cast<const __CFString*>(static_cast<const CFObject*>(a));
  auto* sb = dynamic_cast<const __CFString*>(static_cast<const CFObject*>(b));
  return sa && sb && sa->utf8 == sb->utf8;
}

const void* CFDictionaryGetValue(CFDictionaryRef dictionary, const void* key) {
  if (!dictionary || !key)
    return nullptr;
  for (auto& [k, v] : dictionary->entries)
    if (sameKey(k, key))
      return v;
  return nullptr;
}

CFIndex CFDictionaryGetCount(CFDictionaryRef dictionary) {
  return dictionary ? static_cast<CFIndex>(dictionary->entries.size()) : 0;
}

__CFAttributedString::~__CFAttributedString() {
  CFRelease(string);
  CFRelease(attributes);
}

CFAttributedStringRef CFAttributedStringCreate(CFAllocatorRef, CFStringRef string,
                                               CFDictionaryRef attributes) {
  if (!string)
    return nullptr;
  auto* a = new __CFAttributedString;
  a->string = static_cast<CFStringRef>(CFRetain(string));
  a->attributes = static_cast<CFDictionaryRef>(CFRetain(attributes));
  return a;
}

CFStringRef CFAttributedStringGetString(CFAttributedStringRef string) {
  return string ? string->string : nullptr;
}

CFIndex CFAttributedStringGetLength(CFAttributedStringRef string) {
  return string ? CFStringGetLength(string->string) : 0;
}

__CFArray::~__CFArray() {
  for (CFTypeRef v : values)
    CFRelease(v);
}

CFIndex CFArrayGetCount(CFArrayRef array) {
  return array ? static_cast<CFIndex>(array->values.size()) : 0;
}

const void* CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index) {
  if (!array || index < 0 || index >= CFArrayGetCount(array))
    return nullptr;
  return array->values[static_cast<size_t>(index)];
}

// Version 4 (random) UUIDs from the system's random source.
CFUUIDRef CFUUIDCreate(CFAllocatorRef) {
  auto* u = new __CFUUID;
  UInt8 raw[16] = {};
  int fd = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  bool filled = false;
  if (fd >= 0) {
    filled = read(fd, raw, sizeof raw) == static_cast<ssize_t>(sizeof raw);
    close(fd);
  }
  if (!filled) {
    // Without a random source, mix the clock and an address: still unique per process run.
    uint64_t seed = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(u)) ^
                    static_cast<uint64_t>(time(nullptr)) * 0x9E3779B97F4A7C15ull;
    for (int i = 0; i < 16; ++i) {
      seed = seed * 6364136223846793005ull + 1442695040888963407ull;
      raw[i] = static_cast<UInt8>(seed >> 56);
    }
  }
  raw[6] = static_cast<UInt8>((raw[6] & 0x0F) | 0x40);
  raw[8] = static_cast<UInt8>((raw[8] & 0x3F) | 0x80);
  memcpy(&u->bytes, raw, 16);
  return u;
}

CFUUIDBytes CFUUIDGetUUIDBytes(CFUUIDRef uuid) {
  return uuid ? uuid->bytes : CFUUIDBytes{};
}
