// UTF-16 text helpers: the VST 3 interfaces carry UTF-16 in fixed fields (String128 and
// friends) while the framework keeps 8-bit text. Every copy is bounded by the destination's
// capacity, always leaves a terminator and never splits a UTF-8 sequence or a surrogate pair.
#pragma once

#include "pluginterfaces/base/ftypes.h"

namespace Steinberg {

// Number of UTF-16 units before the terminator, looking at no more than maxUnits units.
int32 utf16Length(const char16* text, int32 maxUnits = kMaxInt32);

// UTF-8 (ASCII included) to UTF-16. Writes at most capacity - 1 units and a terminator; a
// malformed sequence becomes U+FFFD. Returns the units written before the terminator, or -1
// (nothing written) when dst is null or capacity is below 1. A null src gives "".
int32 utf8ToUtf16(const char8* src, char16* dst, int32 capacity);

// UTF-16 to UTF-8. Writes at most capacity - 1 bytes and a terminator; an unpaired surrogate
// becomes U+FFFD. Same results as utf8ToUtf16.
int32 utf16ToUtf8(const char16* src, char8* dst, int32 capacity);

// UTF-16 to 7-bit ASCII for the framework's single-byte texts: every unit above 0x7F (and
// each surrogate pair as a whole) becomes '?'. Same results as utf8ToUtf16.
int32 utf16ToAscii(const char16* src, char8* dst, int32 capacity);

// Compares two UTF-16 texts unit by unit; null counts as "".
bool utf16Equal(const char16* a, const char16* b);

// Fixed-field forms for the common String128 case (and any other char16 array).
template <int32 N> int32 utf8ToUtf16(const char8* src, char16 (&dst)[N]) {
  return utf8ToUtf16(src, dst, N);
}
template <int32 N> int32 utf16ToUtf8(const char16* src, char8 (&dst)[N]) {
  return utf16ToUtf8(src, dst, N);
}
template <int32 N> int32 utf16ToAscii(const char16* src, char8 (&dst)[N]) {
  return utf16ToAscii(src, dst, N);
}

} // namespace Steinberg
