#include "framework/AuPresetFile.h"

#include "framework/Base64Text.h"
#include "framework/PlistXml.h"

namespace {

const char kControllerStateKey[] = "Controller State";
const char kProcessorStateKey[] = "Processor State";

void AppendKey(std::string& out, const char* indent, const char* key) {
  out += indent;
  out += "<key>";
  AppendPlistEscaped(out, key);
  out += "</key>\n";
}

void AppendInteger(std::string& out, const char* key, int64_t value) {
  AppendKey(out, "\t", key);
  out += "\t<integer>" + std::to_string(value) + "</integer>\n";
}

// A data element of the top dictionary: the state as int32 length + bytes, in Base64 lines.
void AppendStateData(std::string& out, const char* key, const FileBytes& state) {
  FileBytes prefixed;
  PutLengthPrefixed(prefixed, state.data(), state.size());
  const std::string text = EncodeBase64(prefixed.data(), prefixed.size());
  AppendKey(out, "\t", key);
  out += "\t<data>\n";
  for (size_t i = 0; i < text.size(); i += AuPresetFile::kBase64LineLength) {
    out += '\t';
    out.append(text, i, AuPresetFile::kBase64LineLength);
    out += '\n';
  }
  out += "\t</data>\n";
}

void AppendElementName(std::string& out) {
  AppendKey(out, "\t", "element-name");
  out += "\t<dict>\n";
  AppendKey(out, "\t\t", "2");
  out += "\t\t<dict>\n";
  AppendKey(out, "\t\t\t", "0");
  out += "\t\t\t<string>Output 1</string>\n";
  out += "\t\t</dict>\n";
  out += "\t</dict>\n";
}

bool GetState(const PlistValue& top, const char* key, FileBytes& state) {
  const PlistValue* data = top.Find(key);
  FileBytes prefixed;
  return data && data->kind == PlistValue::kData && DecodeBase64Text(data->text, prefixed) &&
         GetLengthPrefixed(prefixed.data(), prefixed.size(), state);
}

bool GetInteger(const PlistValue& top, const char* key, int64_t& value) {
  const PlistValue* entry = top.Find(key);
  if (!entry || entry->kind != PlistValue::kInteger)
    return false;
  value = entry->integer;
  return true;
}

} // namespace

bool AuCodeMatches(int64_t value, int32_t code) {
  return value == int64_t(code) || value == int64_t(uint32_t(code));
}

std::string WriteAuPreset(const AuPresetFile& preset) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                    "<plist version=\"1.0\">\n"
                    "<dict>\n";
  AppendStateData(out, kControllerStateKey, preset.controllerState);
  AppendStateData(out, kProcessorStateKey, preset.processorState);
  AppendKey(out, "\t", "data");
  out += "\t<data>\n\t</data>\n";
  AppendElementName(out);
  AppendInteger(out, "manufacturer", preset.manufacturer);
  AppendKey(out, "\t", "name");
  out += "\t<string>";
  AppendPlistEscaped(out, preset.name);
  out += "</string>\n";
  AppendInteger(out, "subtype", preset.subtype);
  AppendInteger(out, "type", preset.type);
  AppendInteger(out, "version", preset.version);
  out += "</dict>\n</plist>\n";
  return out;
}

bool ReadAuPreset(const char* text, size_t size, AuPresetFile& preset) {
  PlistValue top;
  if (!text || !ParsePlistXml(std::string_view(text, size), top) || top.kind != PlistValue::kDict)
    return false;
  AuPresetFile read;
  if (!GetState(top, kControllerStateKey, read.controllerState) ||
      !GetState(top, kProcessorStateKey, read.processorState) ||
      !GetInteger(top, "manufacturer", read.manufacturer) ||
      !GetInteger(top, "subtype", read.subtype))
    return false;
  if (const PlistValue* name = top.Find("name"); name && name->kind == PlistValue::kString)
    read.name = name->text;
  GetInteger(top, "type", read.type);
  GetInteger(top, "version", read.version);
  preset = std::move(read);
  return true;
}
