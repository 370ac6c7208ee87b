// std::string / std::u16string conversions in the form plug-in code usually writes them, on
// top of the bounded UTF-16 helpers of base/source/fstring.h.
#pragma once

#include "pluginterfaces/vst/vsttypes.h"

#include <string>

namespace Steinberg {
namespace Vst {
namespace StringConvert {

std::u16string convert(const std::string& utf8Str);
std::string convert(const std::u16string& str);

// Into a fixed UTF-16 field of maxCharacters units (terminator included). The result is
// always terminated; false when the text had to be cut or the arguments are unusable.
bool convert(const std::string& utf8Str, TChar* str, uint32 maxCharacters);
inline bool convert(const std::string& utf8Str, String128 str) {
  return convert(utf8Str, str, 128);
}

// From a terminated UTF-16 text (null gives ""), reading at most max units.
std::string convert(const TChar* str);
std::string convert(const TChar* str, uint32 max);

} // namespace StringConvert
} // namespace Vst
} // namespace Steinberg
