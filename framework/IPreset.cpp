#include "framework/IPreset.h"

#include <algorithm>
#include <cstring>

void IPreset::SetName(const char* newName) {
  SetName(newName, newName ? int(strnlen(newName, kMaxNameLen - 1)) : 0);
}

void IPreset::SetName(const char* bytes, int n) {
  n = bytes ? std::clamp(n, 0, kMaxNameLen - 1) : 0;
  if (n)
    std::memcpy(name, bytes, size_t(n));
  name[n] = 0;
}
