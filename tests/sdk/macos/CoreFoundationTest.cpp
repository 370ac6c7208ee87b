// The CoreFoundation stand-in: strings by encoding, reference counts, dictionaries, bundles.
#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

#include "CoreFoundation/CoreFoundation.h"

namespace {

TEST(CFString, EncodingsAreChecked) {
  struct Case {
    const char* text;
    CFStringEncoding encoding;
    bool valid;
    CFIndex length;
  };
  const Case cases[] = {
      {"plain", kCFStringEncodingASCII, true, 5},
      {"caf\xc3\xa9", kCFStringEncodingUTF8, true, 4},
      {"caf\xc3\xa9", kCFStringEncodingASCII, false, 0},
      {"\xf0\x9f\x98\x80", kCFStringEncodingUTF8, true, 2}, // two UTF-16 units
      {"\xc0\xaf", kCFStringEncodingUTF8, false, 0},        // overlong
      {"\xed\xa0\x80", kCFStringEncodingUTF8, false, 0},    // surrogate
      {"\xe2\x82", kCFStringEncodingUTF8, false, 0},        // cut short
      {"\xff", kCFStringEncodingUTF8, false, 0},
      {"", kCFStringEncodingUTF8, true, 0},
  };
  for (const Case& c : cases) {
    CFStringRef s = CFStringCreateWithCString(nullptr, c.text, c.encoding);
    EXPECT_EQ(s != nullptr, c.valid) << c.text;
    if (s) {
      EXPECT_EQ(CFStringGetLength(s), c.length);
      char back[16];
      EXPECT_TRUE(CFStringGetCString(s, back, sizeof back, kCFStringEncodingUTF8));
      EXPECT_STREQ(back, c.text);
      char tiny[2];
      EXPECT_EQ(CFStringGetCString(s, tiny, sizeof tiny, kCFStringEncodingUTF8),
                strlen(c.text) < 2);
      CFRelease(s);
    }
  }
}

TEST(CFType, ReferenceCountsAndDictionaries) {
  CFStringRef key = CFStringCreateWithCString(nullptr, "key", kCFStringEncodingUTF8);
  CFStringRef value = CFStringCreateWithCString(nullptr, "value", kCFStringEncodingUTF8);
  const void* keys[] = {key};
  const void* values[] = {value};
  CFDictionaryRef d = CFDictionaryCreate(nullptr, keys, values, 1, &kCFTypeDictionaryKeyCallBacks,
                                         &kCFTypeDictionaryValueCallBacks);
  EXPECT_EQ(CFGetRetainCount(value), 2);
  EXPECT_EQ(CFDictionaryGetValue(d, CFSTR("key")), value); // strings compare by content
  EXPECT_EQ(CFDictionaryGetValue(d, CFSTR("other")), nullptr);
  CFRelease(d);
  EXPECT_EQ(CFGetRetainCount(value), 1);
  CFRelease(key);
  CFRelease(value);
  EXPECT_EQ(CFSTR("same"), CFSTR("same"));
}

TEST(CFBundle, TheMainBundleHoldsTheProgram) {
  CFBundleRef main = CFBundleGetMainBundle();
  ASSERT_NE(main, nullptr);
  CFURLRef url = CFBundleCopyBundleURL(main);
  char folder[PATH_MAX];
  ASSERT_TRUE(
      CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8*>(folder), sizeof folder));
  CFRelease(url);
  char exe[PATH_MAX] = {};
  ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
  EXPECT_EQ(std::string(exe).substr(0, std::string(exe).find_last_of('/')), folder);
  char small[4];
  url = CFBundleCopyBundleURL(main);
  EXPECT_FALSE(CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8*>(small), 4));
  CFRelease(url);
  EXPECT_NE(CFBundleGetFunctionPointerForName(main, CFSTR("malloc")), nullptr);
}

TEST(CFBundle, AFolderWithoutCodeDoesNotLoad) {
  CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, CFSTR("/nonexistent/Thing.vst3"),
                                               kCFURLPOSIXPathStyle, true);
  CFBundleRef bundle = CFBundleCreate(nullptr, url);
  ASSERT_NE(bundle, nullptr);
  EXPECT_FALSE(CFBundleLoadExecutable(bundle));
  EXPECT_EQ(CFBundleGetFunctionPointerForName(bundle, CFSTR("GetPluginFactory")), nullptr);
  CFURLRef code = CFBundleCopyExecutableURL(bundle);
  char path[256];
  CFURLGetFileSystemRepresentation(code, true, reinterpret_cast<UInt8*>(path), sizeof path);
  EXPECT_STREQ(path, "/nonexistent/Thing.vst3/Contents/x86_64-linux/Thing.so");
  CFRelease(code);
  CFRelease(bundle);
  CFRelease(url);
}

} // namespace
