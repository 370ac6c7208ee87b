#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Appends text escaped for XML: "&", "<" and ">" always, and '"' as well where the text
// stands inside a double-quoted attribute. Shared by the property-list and VST 3 preset
// writers.
inline void AppendXmlEscaped(std::string& out, std::string_view text, bool inAttribute) {
  for (char c : text) {
    switch (c) {
    case '&':
      out += "&amp;";
      break;
    case '<':
      out += "&lt;";
      break;
    case '>':
      out += "&gt;";
      break;
    case '"':
      if (inAttribute)
        out += "&quot;";
      else
        out += c;
      break;
    default:
      // XML 1.0 has no place for other control characters, not even escaped.
      out += (uint8_t(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') ? '?' : c;
    }
  }
}
