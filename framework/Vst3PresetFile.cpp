#include "framework/Vst3PresetFile.h"

#include "framework/XmlEscape.h"

#include <optional>

namespace {

const char kFileMagic[] = "VST3";
const char kListMagic[] = "List";
const char kProcessorChunkID[] = "Comp";
const char kControllerChunkID[] = "Cont";
const char kInfoChunkID[] = "Info";
constexpr size_t kListEntrySize = 4 + 8 + 8;
// The class ID is its 16 bytes in hexadecimal digits.
bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

void AppendStringAttr(std::string& out, const char* id, const char* value, const char* flags) {
  out += "\t<Attr id=\"";
  out += id;
  out += "\" value=\"";
  AppendXmlEscaped(out, value ? value : "", true);
  out += "\" type=\"string\"";
  if (flags) {
    out += " flags=\"";
    out += flags;
    out += "\"";
  }
  out += "/>\n";
}

struct ListEntry {
  char id[4];
  uint64_t offset;
  uint64_t size;
};

void PutListEntry(FileBytes& out, const char* id, uint64_t offset, uint64_t size) {
  PutFourCC(out, id);
  PutLE64(out, offset);
  PutLE64(out, size);
}

// An entry whose bytes lie inside the image, between the header and the list.
bool EntryFits(const ListEntry& entry, uint64_t listOffset) {
  return entry.offset >= Vst3PresetFile::kHeaderSize && entry.offset <= listOffset &&
         entry.size <= listOffset - entry.offset;
}

} // namespace

std::string Vst3PresetInfoXml(const char* productName, const char* subCategory) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<MetaInfo>\n";
  AppendStringAttr(xml, "MediaType", "VstPreset", "writeProtected");
  AppendStringAttr(xml, "plugname", productName, nullptr);
  AppendStringAttr(xml, "plugtype", subCategory, nullptr);
  xml += "</MetaInfo>\n";
  return xml;
}

bool WriteVst3Preset(const Vst3PresetFile& preset, FileBytes& out) {
  if (preset.classID.size() != Vst3PresetFile::kClassIDSize)
    return false;
  const uint64_t compOffset = Vst3PresetFile::kHeaderSize;
  const uint64_t compSize = 4 + preset.processorState.size();
  const uint64_t contOffset = compOffset + compSize;
  const uint64_t contSize = 4 + preset.controllerState.size();
  const uint64_t infoOffset = contOffset + contSize;
  const uint64_t infoSize = preset.info.size();
  const uint64_t listOffset = infoOffset + infoSize;

  out.clear();
  out.reserve(size_t(listOffset) + 8 + 3 * kListEntrySize);
  PutFourCC(out, kFileMagic);
  PutLE32(out, Vst3PresetFile::kFormatVersion);
  PutBytes(out, preset.classID.data(), Vst3PresetFile::kClassIDSize);
  PutLE64(out, listOffset);
  PutLengthPrefixed(out, preset.processorState.data(), preset.processorState.size());
  PutLengthPrefixed(out, preset.controllerState.data(), preset.controllerState.size());
  PutBytes(out, preset.info.data(), preset.info.size());
  PutFourCC(out, kListMagic);
  PutLE32(out, 3);
  PutListEntry(out, kProcessorChunkID, compOffset, compSize);
  PutListEntry(out, kControllerChunkID, contOffset, contSize);
  PutListEntry(out, kInfoChunkID, infoOffset, infoSize);
  return true;
}

bool ReadVst3Preset(const uint8_t* data, size_t size, Vst3PresetFile& preset) {
  ByteCursor in(data, size);
  uint32_t version = 0;
  char classID[Vst3PresetFile::kClassIDSize];
  uint64_t listOffset = 0;
  in.FourCC(kFileMagic);
  in.LE32(&version);
  in.Bytes(classID, sizeof classID);
  in.LE64(&listOffset);
  if (!in.ok() || listOffset < Vst3PresetFile::kHeaderSize)
    return false;
  for (char c : classID)
    if (!IsHexDigit(c))
      return false;

  uint32_t count = 0;
  in.Seek(listOffset);
  in.FourCC(kListMagic);
  in.LE32(&count);
  if (!in.ok() || count > in.left() / kListEntrySize)
    return false;
  std::optional<ListEntry> comp, cont, info;
  for (uint32_t i = 0; i < count; ++i) {
    ListEntry entry;
    in.Bytes(entry.id, 4);
    in.LE64(&entry.offset);
    in.LE64(&entry.size);
    if (!in.ok() || !EntryFits(entry, listOffset))
      return false;
    if (!comp && std::memcmp(entry.id, kProcessorChunkID, 4) == 0)
      comp = entry;
    else if (!cont && std::memcmp(entry.id, kControllerChunkID, 4) == 0)
      cont = entry;
    else if (!info && std::memcmp(entry.id, kInfoChunkID, 4) == 0)
      info = entry;
  }
  if (!comp || !cont)
    return false;

  Vst3PresetFile read;
  read.classID.assign(classID, sizeof classID);
  if (!GetLengthPrefixed(data + comp->offset, size_t(comp->size), read.processorState) ||
      !GetLengthPrefixed(data + cont->offset, size_t(cont->size), read.controllerState))
    return false;
  if (info)
    read.info.assign(reinterpret_cast<const char*>(data + info->offset), size_t(info->size));
  preset = std::move(read);
  return true;
}
