#include "base/source/fstring.h"

namespace Steinberg {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isContinuation(uint8 byte) {
  return (byte & 0xC0) == 0x80;
}

// Decodes one code point starting at src[i]; advances i past what it consumed.
char32_t decodeUtf8(const char8* src, int64& i) {
  const uint8 lead = static_cast<uint8>(src[i]);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  int extra = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    cp = lead & 0x1F;
    minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    cp = lead & 0x0F;
    minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    cp = lead & 0x07;
    minimum = 0x10000;
  } else {
    ++i; // stray continuation byte or invalid lead
    return kReplacement;
  }
  ++i;
  for (int k = 0; k < extra; ++k) {
    const uint8 next = static_cast<uint8>(src[i]);
    if (!isContinuation(next)) // also stops at the terminator
      return kReplacement;
    cp = (cp << 6) | (next & 0x3F);
    ++i;
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
    return kReplacement;
  return cp;
}

// Decodes one code point from UTF-16 at src[i]; advances i.
char32_t decodeUtf16(const char16* src, int64& i) {
  const char16 unit = src[i++];
  if (unit >= 0xD800 && unit <= 0xDBFF) {
    const char16 low = src[i];
    if (low >= 0xDC00 && low <= 0xDFFF) {
      ++i;
      return 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00);
    }
    return kReplacement;
  }
  if (unit >= 0xDC00 && unit <= 0xDFFF)
    return kReplacement;
  return unit;
}

int encodeUtf8(char32_t cp, char8 out[4]) {
  if (cp < 0x80) {
    out[0] = static_cast<char8>(cp);
    return 1;
  }
  if (cp < 0x800) {
    out[0] = static_cast<char8>(0xC0 | (cp >> 6));
    out[1] = static_cast<char8>(0x80 | (cp & 0x3F));
    return 2;
  }
  if (cp < 0x10000) {
    out[0] = static_cast<char8>(0xE0 | (cp >> 12));
    out[1] = static_cast<char8>(0x80 | ((cp >> 6) & 0x3F));
    out[2] = static_cast<char8>(0x80 | (cp & 0x3F));
    return 3;
  }
  out[0] = static_cast<char8>(0xF0 | (cp >> 18));
  out[1] = static_cast<char8>(0x80 | ((cp >> 12) & 0x3F));
  out[2] = static_cast<char8>(0x80 | ((cp >> 6) & 0x3F));
  out[3] = static_cast<char8>(0x80 | (cp & 0x3F));
  return 4;
}

} // namespace

int32 utf16Length(const char16* text, int32 maxUnits) {
  if (!text)
    return 0;
  int32 n = 0;
  while (n < maxUnits && text[n] != 0)
    ++n;
  return n;
}

namespace {

// The frame of the bounded converters: -1 without a usable destination, otherwise the
// characters of src (null gives "") that emit writes into dst until one no longer fits in
// capacity units with the terminator, which is always written.
template <typename Src, typename Dst, typename Emit>
int32 convertTerminated(const Src* src, Dst* dst, int32 capacity, Emit emit) {
  if (!dst || capacity < 1)
    return -1;
  int32 written = 0;
  if (src) {
    int64 i = 0;
    while (src[i] != 0 && emit(src, i, dst, written, capacity - 1)) {
    }
  }
  dst[written] = 0;
  return written;
}

// The emitters: each reads one character at src[i] (advancing i) and writes it at
// dst[written], or returns false, writing nothing, where room units are not enough for it.

bool emitUtf16(const char8* src, int64& i, char16* dst, int32& written, int32 room) {
  const char32_t cp = decodeUtf8(src, i);
  const int32 units = cp >= 0x10000 ? 2 : 1;
  if (written + units > room)
    return false;
  if (units == 2) {
    const char32_t v = cp - 0x10000;
    dst[written++] = static_cast<char16>(0xD800 + (v >> 10));
    dst[written++] = static_cast<char16>(0xDC00 + (v & 0x3FF));
  } else {
    dst[written++] = static_cast<char16>(cp);
  }
  return true;
}

bool emitUtf8(const char16* src, int64& i, char8* dst, int32& written, int32 room) {
  char8 bytes[4];
  const int32 n = encodeUtf8(decodeUtf16(src, i), bytes);
  if (written + n > room)
    return false;
  for (int32 k = 0; k < n; ++k)
    dst[written++] = bytes[k];
  return true;
}

bool emitAscii(const char16* src, int64& i, char8* dst, int32& written, int32 room) {
  if (written >= room)
    return false;
  const char32_t cp = decodeUtf16(src, i);
  dst[written++] = cp < 0x80 ? static_cast<char8>(cp) : '?';
  return true;
}

} // namespace

int32 utf8ToUtf16(const char8* src, char16* dst, int32 capacity) {
  return convertTerminated(src, dst, capacity, emitUtf16);
}

int32 utf16ToUtf8(const char16* src, char8* dst, int32 capacity) {
  return convertTerminated(src, dst, capacity, emitUtf8);
}

int32 utf16ToAscii(const char16* src, char8* dst, int32 capacity) {
  return convertTerminated(src, dst, capacity, emitAscii);
}

bool utf16Equal(const char16* a, const char16* b) {
  static const char16 empty[1] = {0};
  if (!a)
    a = empty;
  if (!b)
    b = empty;
  for (;; ++a, ++b) {
    if (*a != *b)
      return false;
    if (*a == 0)
      return true;
  }
}

} // namespace Steinberg
