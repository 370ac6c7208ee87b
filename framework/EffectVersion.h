#pragma once

#include <cstdint>

// Effect versions are 0xMMmmbb: major in bits 16 and up, minor in bits 8-15, patch in 0-7.
constexpr int kVersionStrSize = 24; // room for "v%d.%d.%d" of any int32

void GetVersionParts(int version, int* major, int* minor, int* patch);
int GetDecimalVersion(int version);
// Writes "v%d.%d.%d"; out holds kVersionStrSize bytes.
void GetVersionStr(int version, char* out);
