#pragma once

#include <cstdint>

// A system-exclusive block with its sample offset; the data is not owned.
struct ISysEx {
  int32_t offset = 0;
  int32_t size = 0;
  const uint8_t* data = nullptr;

  void Clear() { *this = ISysEx(); }

  // Writes the first min(maxLen / 3, size) bytes as "%02X" pairs separated by blanks into
  // out, which holds maxLen bytes; the text always ends inside it (nothing is written when
  // maxLen is below 1).
  static void SysExStr(char* out, int maxLen, const uint8_t* data, int size);
};
