#include "framework/PlistXml.h"

#include "framework/XmlEscape.h"

#include <charconv>
#include <cstring>

const PlistValue* PlistValue::Find(std::string_view key) const {
  for (size_t i = 0; i < keys.size(); ++i)
    if (keys[i] == key)
      return &values[i];
  return nullptr;
}

void AppendPlistEscaped(std::string& out, std::string_view text) {
  AppendXmlEscaped(out, text, false);
}

namespace {

// A tag as the parser met it: <name ...>, <name .../> or </name>.
struct Tag {
  std::string_view name;
  bool closing = false;
  bool empty = false; // self-closing
};

class PlistParser {
public:
  explicit PlistParser(std::string_view xml) : mXml(xml) {}

  bool Document(PlistValue& root);

private:
  bool AtEnd() const { return mPos >= mXml.size(); }
  bool StartsWith(std::string_view s) const { return mXml.substr(mPos, s.size()) == s; }
  void SkipSpace();
  bool SkipPast(std::string_view end);
  // Skips whitespace, comments and processing instructions between elements.
  bool SkipMisc();
  bool ReadTag(Tag& tag);
  bool ExpectClose(std::string_view name);
  // Character data up to the next '<', with entities decoded.
  bool Text(std::string& out);
  bool Value(PlistValue& value, int depth);
  bool ValueOfTag(const Tag& tag, PlistValue& value, int depth);
  bool Dict(PlistValue& value, int depth);
  bool Array(PlistValue& value, int depth);
  bool TextElement(const Tag& tag, std::string& text);

  std::string_view mXml;
  size_t mPos = 0;
};

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_' || c == ':' || c == '.';
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xF0 | (cp >> 18));
    out += char(0x80 | ((cp >> 12) & 0x3F));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

// Decodes one entity (the text between '&' and ';').
bool DecodeEntity(std::string_view entity, std::string& out) {
  if (entity == "amp")
    out += '&';
  else if (entity == "lt")
    out += '<';
  else if (entity == "gt")
    out += '>';
  else if (entity == "quot")
    out += '"';
  else if (entity == "apos")
    out += '\'';
  else if (entity.size() > 1 && entity[0] == '#') {
    const bool hex = entity[1] == 'x';
    std::string_view digits = entity.substr(hex ? 2 : 1);
    uint32_t cp = 0;
    const auto [end, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), cp, hex ? 16 : 10);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || cp == 0 ||
        cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    AppendUtf8(out, cp);
  } else {
    return false;
  }
  return true;
}

bool ParseInteger(std::string_view text, int64_t& value) {
  while (!text.empty() && IsSpace(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back()))
    text.remove_suffix(1);
  if (!text.empty() && text.front() == '+')
    text.remove_prefix(1);
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

void PlistParser::SkipSpace() {
  while (!AtEnd() && IsSpace(mXml[mPos]))
    ++mPos;
}

bool PlistParser::SkipPast(std::string_view end) {
  const size_t at = mXml.find(end, mPos);
  if (at == std::string_view::npos)
    return false;
  mPos = at + end.size();
  return true;
}

bool PlistParser::SkipMisc() {
  for (;;) {
    SkipSpace();
    if (StartsWith("<!--")) {
      if (!SkipPast("-->"))
        return false;
    } else if (StartsWith("<?")) {
      if (!SkipPast("?>"))
        return false;
    } else {
      return true;
    }
  }
}

bool PlistParser::ReadTag(Tag& tag) {
  if (!SkipMisc() || !StartsWith("<"))
    return false;
  ++mPos;
  tag = Tag();
  if (StartsWith("/")) {
    tag.closing = true;
    ++mPos;
  }
  const size_t nameStart = mPos;
  while (!AtEnd() && IsNameChar(mXml[mPos]))
    ++mPos;
  tag.name = mXml.substr(nameStart, mPos - nameStart);
  if (tag.name.empty())
    return false;
  // Attributes are skipped (only <plist version="1.0"> carries any); quoted values may
  // hold '>'.
  while (!AtEnd() && mXml[mPos] != '>' && mXml[mPos] != '/') {
    const char c = mXml[mPos++];
    if (c == '"' || c == '\'') {
      const size_t close = mXml.find(c, mPos);
      if (close == std::string_view::npos)
        return false;
      mPos = close + 1;
    } else if (c == '<') {
      return false;
    }
  }
  if (StartsWith("/>")) {
    if (tag.closing)
      return false;
    tag.empty = true;
    mPos += 2;
    return true;
  }
  if (!StartsWith(">"))
    return false;
  ++mPos;
  return true;
}

bool PlistParser::ExpectClose(std::string_view name) {
  Tag tag;
  return ReadTag(tag) && tag.closing && tag.name == name;
}

bool PlistParser::Text(std::string& out) {
  out.clear();
  while (!AtEnd() && mXml[mPos] != '<') {
    const char c = mXml[mPos++];
    if (c != '&') {
      out += c;
      continue;
    }
    const size_t semi = mXml.find(';', mPos);
    if (semi == std::string_view::npos || semi - mPos > 10 ||
        !DecodeEntity(mXml.substr(mPos, semi - mPos), out))
      return false;
    mPos = semi + 1;
  }
  return !AtEnd();
}

bool PlistParser::TextElement(const Tag& tag, std::string& text) {
  if (tag.empty) {
    text.clear();
    return true;
  }
  // A comment inside character data is not part of these files; '<' must start the close.
  return Text(text) && !StartsWith("<!--") && ExpectClose(tag.name);
}

bool PlistParser::Dict(PlistValue& value, int depth) {
  value.kind = PlistValue::kDict;
  for (;;) {
    Tag tag;
    if (!ReadTag(tag))
      return false;
    if (tag.closing)
      return tag.name == "dict";
    std::string key;
    if (tag.name != "key" || !TextElement(tag, key) || value.Find(key))
      return false;
    PlistValue item;
    if (!Value(item, depth + 1))
      return false;
    value.keys.push_back(std::move(key));
    value.values.push_back(std::move(item));
  }
}

bool PlistParser::Array(PlistValue& value, int depth) {
  value.kind = PlistValue::kArray;
  for (;;) {
    Tag tag;
    if (!ReadTag(tag))
      return false;
    if (tag.closing)
      return tag.name == "array";
    PlistValue item;
    if (!ValueOfTag(tag, item, depth + 1))
      return false;
    value.items.push_back(std::move(item));
  }
}

bool PlistParser::Value(PlistValue& value, int depth) {
  Tag tag;
  return ReadTag(tag) && !tag.closing && ValueOfTag(tag, value, depth);
}

bool PlistParser::ValueOfTag(const Tag& tag, PlistValue& value, int depth) {
  if (tag.closing || depth > kPlistMaxDepth)
    return false;
  const std::string_view name = tag.name;
  if (name == "dict") {
    value.kind = PlistValue::kDict;
    return tag.empty || Dict(value, depth);
  }
  if (name == "array") {
    value.kind = PlistValue::kArray;
    return tag.empty || Array(value, depth);
  }
  if (name == "true" || name == "false") {
    value.kind = name == "true" ? PlistValue::kTrue : PlistValue::kFalse;
    return tag.empty || ExpectClose(name);
  }
  if (name == "integer") {
    value.kind = PlistValue::kInteger;
    return TextElement(tag, value.text) && ParseInteger(value.text, value.integer);
  }
  if (name == "string" || name == "real" || name == "date" || name == "data") {
    value.kind = name == "string" ? PlistValue::kString
                 : name == "real" ? PlistValue::kReal
                 : name == "date" ? PlistValue::kDate
                                  : PlistValue::kData;
    return TextElement(tag, value.text);
  }
  return false;
}

bool PlistParser::Document(PlistValue& root) {
  // An optional byte-order mark, the declaration, comments and the document type.
  if (StartsWith("\xEF\xBB\xBF"))
    mPos += 3;
  if (!SkipMisc())
    return false;
  if (StartsWith("<!DOCTYPE")) {
    // An internal subset could declare entities; these files never have one.
    const size_t close = mXml.find('>', mPos);
    if (close == std::string_view::npos ||
        mXml.substr(mPos, close - mPos).find('[') != std::string_view::npos)
      return false;
    mPos = close + 1;
  }
  Tag plist;
  if (!ReadTag(plist) || plist.closing || plist.empty || plist.name != "plist")
    return false;
  PlistValue value;
  if (!Value(value, 1) || !ExpectClose("plist") || !SkipMisc() || !AtEnd())
    return false;
  root = std::move(value);
  return true;
}

} // namespace

bool ParsePlistXml(std::string_view xml, PlistValue& root) {
  return PlistParser(xml).Document(root);
}
