#include "framework/ISysEx.h"

#include <algorithm>

void ISysEx::SysExStr(char* out, int maxLen, const uint8_t* data, int size) {
  if (!out || maxLen < 1)
    return;
  const int n = data ? std::min(maxLen / 3, std::max(size, 0)) : 0;
  static const char kHex[] = "0123456789ABCDEF";
  // Each byte takes three characters; the blank after the last one becomes the
  // terminator, so n bytes need exactly 3n <= maxLen characters.
  for (int i = 0; i < n; ++i) {
    out[3 * i] = kHex[data[i] >> 4];
    out[3 * i + 1] = kHex[data[i] & 0x0F];
    out[3 * i + 2] = ' ';
  }
  out[n ? 3 * n - 1 : 0] = 0;
}
