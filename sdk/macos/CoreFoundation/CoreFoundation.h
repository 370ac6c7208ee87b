// Stand-in for the CoreFoundation calls the drawing emulation, the platform support and the
// PNG resource loader make: reference-counted objects, strings, dictionaries, attributed
// strings, arrays, URLs, bundles and UUIDs. Every object is reference counted; CFRelease of
// the last reference frees it.
#pragma once

#include <cstddef>
#include <cstdint>

typedef long CFIndex;
typedef unsigned char Boolean;
typedef uint8_t UInt8;
typedef uint32_t UInt32;
typedef int32_t SInt32;
typedef uint32_t CFStringEncoding;
typedef const void* CFTypeRef;

struct CFRange {
  CFIndex location;
  CFIndex length;
};
inline CFRange CFRangeMake(CFIndex location, CFIndex length) {
  return CFRange{location, length};
}

typedef const struct __CFAllocator* CFAllocatorRef;
#define kCFAllocatorDefault ((CFAllocatorRef) nullptr)

typedef const struct __CFString* CFStringRef;
typedef const struct __CFDictionary* CFDictionaryRef;
typedef const struct __CFAttributedString* CFAttributedStringRef;
typedef const struct __CFArray* CFArrayRef;
typedef const struct __CFURL* CFURLRef;
typedef struct __CFBundle* CFBundleRef;
typedef const struct __CFUUID* CFUUIDRef;

enum : CFStringEncoding {
  kCFStringEncodingASCII = 0x0600,
  kCFStringEncodingUTF8 = 0x08000100,
};

CFTypeRef CFRetain(CFTypeRef object);
void CFRelease(CFTypeRef object);
CFIndex CFGetRetainCount(CFTypeRef object);

// Strings. Text is kept as UTF-8; lengths are in UTF-16 units as on the platform.
CFStringRef CFStringCreateWithCString(CFAllocatorRef allocator, const char* text,
                                      CFStringEncoding encoding);
CFStringRef CFStringCreateWithBytes(CFAllocatorRef allocator, const UInt8* bytes, CFIndex count,
                                    CFStringEncoding encoding, Boolean external);
CFIndex CFStringGetLength(CFStringRef string);
CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding);
Boolean CFStringGetCString(CFStringRef string, char* buffer, CFIndex size,
                           CFStringEncoding encoding);
// A string that lives for the whole process (the CFSTR literal).
CFStringRef __CFStringMakeConstantString(const char* text);
#define CFSTR(text) __CFStringMakeConstantString("" text "")

// Dictionaries: keys are compared by identity or, for strings, by content.
struct CFDictionaryKeyCallBacks {
  int version;
};
struct CFDictionaryValueCallBacks {
  int version;
};
extern const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks;
extern const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks;
CFDictionaryRef CFDictionaryCreate(CFAllocatorRef allocator, const void** keys, const void** values,
                                   CFIndex count, const CFDictionaryKeyCallBacks* keyCallBacks,
                                   const CFDictionaryValueCallBacks* valueCallBacks);
const void* CFDictionaryGetValue(CFDictionaryRef dictionary, const void* key);
CFIndex CFDictionaryGetCount(CFDictionaryRef dictionary);

// An attributed string with one attribute run over the whole text.
CFAttributedStringRef CFAttributedStringCreate(CFAllocatorRef allocator, CFStringRef string,
                                               CFDictionaryRef attributes);
CFStringRef CFAttributedStringGetString(CFAttributedStringRef string);
CFIndex CFAttributedStringGetLength(CFAttributedStringRef string);

CFIndex CFArrayGetCount(CFArrayRef array);
const void* CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index);

// URLs over POSIX paths.
enum CFURLPathStyle { kCFURLPOSIXPathStyle = 0 };
CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef allocator, CFStringRef path,
                                       CFURLPathStyle style, Boolean isDirectory);
CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef allocator, const UInt8* path,
                                                 CFIndex length, Boolean isDirectory);
Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean resolveAgainstBase, UInt8* buffer,
                                         CFIndex size);

// Bundles. A bundle is a folder whose code lies in Contents/x86_64-linux/<name>.so; the main
// bundle is the folder that holds the running program.
CFBundleRef CFBundleCreate(CFAllocatorRef allocator, CFURLRef url);
CFBundleRef CFBundleGetMainBundle();
CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle);
CFURLRef CFBundleCopyExecutableURL(CFBundleRef bundle);
Boolean CFBundleLoadExecutable(CFBundleRef bundle);
Boolean CFBundleIsExecutableLoaded(CFBundleRef bundle);
void CFBundleUnloadExecutable(CFBundleRef bundle);
void* CFBundleGetFunctionPointerForName(CFBundleRef bundle, CFStringRef name);
// The bundle of a plug-in by its identifier: the bundle that holds the calling code (the
// binary this stand-in is linked into, found with dladdr; links resolved). Code outside a
// bundle folder stands for a bundle in the folder that holds it. Null for a null or empty
// identifier. The bundle lives for the process (not to be released).
CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef identifier);
// The URL of Contents/Resources/[subDir/]name[.type] in the bundle, null when no such file
// exists.
CFURLRef CFBundleCopyResourceURL(CFBundleRef bundle, CFStringRef name, CFStringRef type,
                                 CFStringRef subDir);

struct CFUUIDBytes {
  UInt8 byte0, byte1, byte2, byte3, byte4, byte5, byte6, byte7;
  UInt8 byte8, byte9, byte10, byte11, byte12, byte13, byte14, byte15;
};
CFUUIDRef CFUUIDCreate(CFAllocatorRef allocator);
CFUUIDBytes CFUUIDGetUUIDBytes(CFUUIDRef uuid);
