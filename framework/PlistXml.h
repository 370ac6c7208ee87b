#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A small reader of XML property lists, enough for preset files: dictionaries, arrays,
// strings, integers, data (Base64 text kept as written), reals, dates and booleans. It is
// strict: anything it does not understand makes the whole list unreadable.
struct PlistValue {
  enum Kind { kDict, kArray, kString, kInteger, kReal, kDate, kData, kTrue, kFalse };

  Kind kind = kString;
  std::string text; // string, real and date text; data's Base64 text
  int64_t integer = 0;
  // A dictionary's keys and their values, in file order (kept apart: a vector may hold the
  // type being defined, a pair may not).
  std::vector<std::string> keys;
  std::vector<PlistValue> values;
  std::vector<PlistValue> items; // array

  // The dictionary entry of that key, or null.
  const PlistValue* Find(std::string_view key) const;
};

// Parses an XML property list document. False for anything that is not a well-formed list
// of the kinds above, for a dictionary that holds a key twice, for an integer outside
// int64, and for nesting deeper than kMaxDepth.
bool ParsePlistXml(std::string_view xml, PlistValue& root);

constexpr int kPlistMaxDepth = 64;

// Writing side: text escaped for XML character data.
void AppendPlistEscaped(std::string& out, std::string_view text);
