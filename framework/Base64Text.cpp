#include "framework/Base64Text.h"

#include "framework/Base64Alphabet.h"

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

std::string EncodeBase64(const uint8_t* data, size_t n) {
  std::string text;
  text.reserve((n + 2) / 3 * 4);
  for (size_t i = 0; i < n; i += 3) {
    const size_t k = n - i < 3 ? n - i : 3;
    uint32_t group = uint32_t(data[i]) << 16;
    if (k > 1)
      group |= uint32_t(data[i + 1]) << 8;
    if (k > 2)
      group |= data[i + 2];
    text += kBase64Alphabet[(group >> 18) & 63];
    text += kBase64Alphabet[(group >> 12) & 63];
    text += k > 1 ? kBase64Alphabet[(group >> 6) & 63] : '=';
    text += k > 2 ? kBase64Alphabet[group & 63] : '=';
  }
  return text;
}

bool DecodeBase64Text(std::string_view text, std::vector<uint8_t>& out) {
  out.clear();
  out.reserve(text.size() / 4 * 3);
  uint32_t group = 0;
  int inGroup = 0; // characters of the current group of four
  int fill = 0;    // "=" characters seen; only more of them may follow
  size_t i = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsSpace(c))
      continue;
    int sextet = 0;
    if (c == '=') {
      // Fill may stand only in the last two places of a group.
      if (inGroup < 2)
        return false;
      ++fill;
    } else {
      sextet = Base64SextetOf(c);
      if (sextet < 0 || fill > 0)
        return false;
    }
    group = group << 6 | uint32_t(sextet);
    if (++inGroup < 4)
      continue;
    out.push_back(uint8_t(group >> 16));
    if (fill < 2)
      out.push_back(uint8_t(group >> 8));
    if (fill < 1)
      out.push_back(uint8_t(group));
    inGroup = 0;
    group = 0;
    if (fill > 0)
      break;
  }
  if (inGroup != 0)
    return false;
  // Nothing but whitespace may follow a group that ended in fill.
  for (i = i < text.size() ? i + 1 : i; i < text.size(); ++i)
    if (!IsSpace(text[i]))
      return false;
  return true;
}
