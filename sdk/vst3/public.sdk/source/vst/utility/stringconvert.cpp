#include "public.sdk/source/vst/utility/stringconvert.h"

#include "base/source/fstring.h"

#include <vector>

namespace Steinberg {
namespace Vst {
namespace StringConvert {

std::u16string convert(const std::string& utf8Str) {
  // A UTF-8 text never needs more UTF-16 units than it has bytes.
  std::vector<char16> buffer(utf8Str.size() + 1);
  const int32 n = utf8ToUtf16(utf8Str.c_str(), buffer.data(), static_cast<int32>(buffer.size()));
  return std::u16string(buffer.data(), n > 0 ? static_cast<size_t>(n) : 0);
}

std::string convert(const std::u16string& str) {
  // Each UTF-16 unit becomes at most three UTF-8 bytes (a pair becomes four).
  std::vector<char8> buffer(str.size() * 3 + 1);
  const int32 n = utf16ToUtf8(str.c_str(), buffer.data(), static_cast<int32>(buffer.size()));
  return std::string(buffer.data(), n > 0 ? static_cast<size_t>(n) : 0);
}

bool convert(const std::string& utf8Str, TChar* str, uint32 maxCharacters) {
  if (!str || maxCharacters < 1 || maxCharacters > static_cast<uint32>(kMaxInt32))
    return false;
  const std::u16string whole = convert(utf8Str);
  const int32 n = utf8ToUtf16(utf8Str.c_str(), str, static_cast<int32>(maxCharacters));
  return n == static_cast<int32>(whole.size());
}

std::string convert(const TChar* str) {
  return convert(str, kMaxInt32u);
}

std::string convert(const TChar* str, uint32 max) {
  if (!str)
    return {};
  const int32 limit = max > static_cast<uint32>(kMaxInt32) ? kMaxInt32 : static_cast<int32>(max);
  return convert(std::u16string(str, static_cast<size_t>(utf16Length(str, limit))));
}

} // namespace StringConvert
} // namespace Vst
} // namespace Steinberg
