// Arbitrary bytes through the UTF-8 / UTF-16 conversions: every result stays inside its
// buffer and is terminated, and text that came out of a conversion converts back unchanged.
#include "base/source/fstring.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace Steinberg;

namespace {
void check(bool condition) {
  if (!condition)
    std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0)
    return 0;
  // The first byte chooses a destination capacity, the rest is the text.
  const int32 capacity = 1 + data[0] % 160;
  std::vector<char8> utf8(data + 1, data + size);
  utf8.push_back(0);

  std::vector<char16> wide(static_cast<size_t>(capacity) + 8, char16(0xBEEF));
  const int32 units = utf8ToUtf16(utf8.data(), wide.data(), capacity);
  check(units >= 0 && units < capacity);
  check(wide[static_cast<size_t>(units)] == 0);
  for (size_t i = static_cast<size_t>(capacity); i < wide.size(); ++i)
    check(wide[i] == char16(0xBEEF)); // nothing written past the capacity
  check(utf16Length(wide.data()) == units);

  // What came out is well-formed UTF-16: to UTF-8 and back gives it again.
  std::vector<char8> back(static_cast<size_t>(units) * 3 + 1);
  const int32 bytes = utf16ToUtf8(wide.data(), back.data(), static_cast<int32>(back.size()));
  check(bytes >= 0 && back[static_cast<size_t>(bytes)] == 0);
  std::vector<char16> again(static_cast<size_t>(units) + 1);
  check(utf8ToUtf16(back.data(), again.data(), static_cast<int32>(again.size())) == units);
  check(std::memcmp(again.data(), wide.data(), static_cast<size_t>(units) * sizeof(char16)) == 0);

  // The raw bytes read as UTF-16 units (unpaired surrogates included) stay bounded too.
  std::vector<char16> units16((size - 1) / 2 + 1, 0);
  std::memcpy(units16.data(), data + 1, (size - 1) / 2 * 2);
  std::vector<char8> narrow(static_cast<size_t>(capacity) + 4, char8(0x5A));
  const int32 n = utf16ToUtf8(units16.data(), narrow.data(), capacity);
  check(n >= 0 && n < capacity && narrow[static_cast<size_t>(n)] == 0);
  for (size_t i = static_cast<size_t>(capacity); i < narrow.size(); ++i)
    check(narrow[i] == char8(0x5A));
  const int32 a = utf16ToAscii(units16.data(), narrow.data(), capacity);
  check(a >= 0 && a < capacity && narrow[static_cast<size_t>(a)] == 0);
  return 0;
}
