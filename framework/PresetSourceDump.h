#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Factory-preset source lines for plug-in authors: a preset captured while the plug-in runs,
// printed as the constructor call that rebuilds it.

struct PresetSourceValue {
  enum Kind { kInt, kBool, kDouble }; // int and enum parameters print as kInt

  std::string constantName; // the parameter's constant in the plug-in's source
  Kind kind = kDouble;
  double value = 0.0;
};

// One MakePresetFromNamedParams call with a placeholder name and one indented line per
// parameter: the constant, then the value (int "%d", bool true from 0.5 up, double "%.6f",
// always with a decimal point).
std::string NamedParamsPresetSource(const std::vector<PresetSourceValue>& values);

// One MakePresetFromBlob line: the name, the Base64 of the processor chunk followed by the
// controller chunk, the total size and the processor chunk's size. The name is escaped as
// a C string literal.
std::string BlobPresetSource(const char* name, const uint8_t* procChunk, size_t procSize,
                             const uint8_t* ctrlChunk, size_t ctrlSize);
