#include "framework/PresetSourceDump.h"

#include "framework/Base64Text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

// "%.6f" in the C locale whatever locale the host has set.
std::string FixedSix(double v) {
  char text[400];
  const auto result = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 6);
  return std::string(text, result.ptr);
}

std::string IntText(double v) {
  constexpr double lo = std::numeric_limits<int>::min();
  constexpr double hi = std::numeric_limits<int>::max();
  const int n = std::isnan(v) ? 0 : int(v < lo ? lo : v > hi ? hi : v);
  return std::to_string(n);
}

std::string ValueText(const PresetSourceValue& value) {
  switch (value.kind) {
  case PresetSourceValue::kInt:
    return IntText(value.value);
  case PresetSourceValue::kBool:
    return value.value >= 0.5 ? "true" : "false";
  case PresetSourceValue::kDouble:
    break;
  }
  return FixedSix(value.value);
}

void AppendCStringLiteral(std::string& out, const char* text) {
  out += '"';
  for (const char* p = text ? text : ""; *p; ++p) {
    const uint8_t c = uint8_t(*p);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
    } else if (c < 0x20 || c == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\%03o", c);
      out += escaped;
    } else {
      out += char(c);
    }
  }
  out += '"';
}

} // namespace

std::string NamedParamsPresetSource(const std::vector<PresetSourceValue>& values) {
  std::string out = "MakePresetFromNamedParams(\"name\", " + std::to_string(values.size());
  for (const PresetSourceValue& value : values)
    out += ",\n  " + value.constantName + ", " + ValueText(value);
  out += ");\n";
  return out;
}

std::string BlobPresetSource(const char* name, const uint8_t* procChunk, size_t procSize,
                             const uint8_t* ctrlChunk, size_t ctrlSize) {
  std::vector<uint8_t> blob(procChunk, procChunk + procSize);
  blob.insert(blob.end(), ctrlChunk, ctrlChunk + ctrlSize);
  std::string out = "MakePresetFromBlob(";
  AppendCStringLiteral(out, name);
  out += ", \"" + EncodeBase64(blob.data(), blob.size()) + "\", ";
  out += std::to_string(blob.size()) + ", " + std::to_string(procSize) + ");\n";
  return out;
}
