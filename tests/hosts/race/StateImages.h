// Reading and making the state images the race tests hand back and forth: a run of float64
// parameter values at a known offset, with the bytes around it kept as they are.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace race {

using Bytes = std::vector<uint8_t>;

// Where the values begin: a VST 3 processor state stream (int32 length, header, bypass word,
// version word) and a VST 2.4 program chunk (header, version word).
constexpr size_t kVst3StateValues = 4 + 8 + 4 + 4;
constexpr size_t kVst2ProgramValues = 8 + 4;
constexpr size_t kVst3StateBypassWord = 4 + 8;

// layout with the values from offset `at` on replaced (as many as given).
inline Bytes WithValues(const Bytes& layout, size_t at, const std::vector<double>& values) {
  Bytes bytes = layout;
  if (at + 8 * values.size() <= bytes.size())
    std::memcpy(bytes.data() + at, values.data(), 8 * values.size());
  return bytes;
}

// The bytes from `at` on: the values and whatever a half writes after them.
inline Bytes ValuesOf(const Bytes& bytes, size_t at) {
  return at <= bytes.size() ? Bytes(bytes.begin() + long(at), bytes.end()) : Bytes{};
}

inline int32_t BypassWordOf(const Bytes& state) {
  int32_t word = -1;
  if (state.size() >= kVst3StateBypassWord + 4)
    std::memcpy(&word, state.data() + kVst3StateBypassWord, 4);
  return word;
}

// Whether bytes has the size of the candidates and all of one candidate's bytes from `at` on.
inline bool IsOneOf(const Bytes& bytes, size_t at, std::initializer_list<const Bytes*> candidates) {
  for (const Bytes* candidate : candidates) {
    if (bytes.size() == candidate->size() && ValuesOf(bytes, at) == ValuesOf(*candidate, at))
      return true;
  }
  return false;
}

inline std::string Describe(const Bytes& bytes) {
  std::string text = std::to_string(bytes.size()) + " bytes:";
  char hex[4];
  for (uint8_t b : bytes) {
    std::snprintf(hex, sizeof hex, " %02x", b);
    text += hex;
  }
  return text;
}

} // namespace race
