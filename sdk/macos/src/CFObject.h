// The object model behind every stand-in CoreFoundation, CoreGraphics and CoreText reference:
// a reference count and a virtual destructor. Internal to the stand-ins.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "CoreFoundation/CoreFoundation.h"

struct CFObject {
  CFObject() = default;
  CFObject(const CFObject&) = delete;
  CFObject& operator=(const CFObject&) = delete;
  virtual ~CFObject() = default;

  std::atomic<long> retainCount{1};
  bool immortal = false; // CFSTR literals and process-wide singletons
};

struct __CFString : CFObject {
  std::string utf8;
};

struct __CFDictionary : CFObject {
  std::vector<std::pair<CFTypeRef, CFTypeRef>> entries; // both retained
  ~__CFDictionary() override;
};

struct __CFAttributedString : CFObject {
  CFStringRef string = nullptr;         // retained
  CFDictionaryRef attributes = nullptr; // retained, may be null
  ~__CFAttributedString() override;
};

struct __CFArray : CFObject {
  std::vector<CFTypeRef> values; // retained
  ~__CFArray() override;
};

struct __CFURL : CFObject {
  std::string path;
};

struct __CFUUID : CFObject {
  CFUUIDBytes bytes{};
};

namespace cfstub {

// Makes a new string object holding the given UTF-8 text.
CFStringRef makeString(const std::string& utf8);
// The UTF-8 text of a string, empty for null.
const std::string& utf8Of(CFStringRef string);
// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(const char* bytes, size_t count);
// Decodes well-formed UTF-8 into code points.
std::vector<char32_t> decodeUtf8(const std::string& utf8);
// An array that retains the given objects.
CFArrayRef makeArray(const std::vector<CFTypeRef>& values);

} // namespace cfstub
