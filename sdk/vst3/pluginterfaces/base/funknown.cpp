#include "pluginterfaces/base/funknown.h"

#include <cstdio>

namespace Steinberg {

namespace {

int hexDigit(char8 c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

} // namespace

void FUID::toString(char8* string) const {
  if (!string)
    return;
  std::snprintf(string, kStringSize, "%08X%08X%08X%08X", getLong1(), getLong2(), getLong3(),
                getLong4());
}

bool FUID::fromString(const char8* string) {
  if (!string)
    return false;
  TUID parsed;
  for (int i = 0; i < 16; ++i) {
    const int high = hexDigit(string[2 * i]);
    if (high < 0)
      return false;
    const int low = hexDigit(string[2 * i + 1]);
    if (low < 0)
      return false;
    parsed[i] = static_cast<int8>(high * 16 + low);
  }
  std::memcpy(data, parsed, sizeof(TUID));
  return true;
}

void FUID::toRegistryString(char8* string) const {
  if (!string)
    return;
  const uint32 l2 = getLong2();
  const uint32 l3 = getLong3();
  std::snprintf(string, kRegistryStringSize, "{%08X-%04X-%04X-%04X-%04X%08X}", getLong1(), l2 >> 16,
                l2 & 0xFFFF, l3 >> 16, l3 & 0xFFFF, getLong4());
}

void FUID::print(char8* string, int32 size) const {
  if (!string || size <= 0)
    return;
  std::snprintf(string, static_cast<size_t>(size), "0x%08X, 0x%08X, 0x%08X, 0x%08X", getLong1(),
                getLong2(), getLong3(), getLong4());
}

DEF_CLASS_IID(FUnknown)

} // namespace Steinberg
