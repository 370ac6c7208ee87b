#include "framework/EffectVersion.h"

#include <cstdio>

void GetVersionParts(int version, int* major, int* minor, int* patch) {
  if (major)
    *major = version >> 16;
  if (minor)
    *minor = (version >> 8) & 0xFF;
  if (patch)
    *patch = version & 0xFF;
}

int GetDecimalVersion(int version) {
  int major, minor, patch;
  GetVersionParts(version, &major, &minor, &patch);
  return major * 10000 + minor * 100 + patch;
}

void GetVersionStr(int version, char* out) {
  int major, minor, patch;
  GetVersionParts(version, &major, &minor, &patch);
  std::snprintf(out, kVersionStrSize, "v%d.%d.%d", major, minor, patch);
}
