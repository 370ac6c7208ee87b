#include "framework/TfxFile.h"

namespace {

void PutField(FileBytes& out, uint32_t v) {
  PutBE32(out, v);
  PutZeros(out, 4);
}

bool GetField(ByteCursor& in, uint32_t* v) {
  return in.BE32(v) && in.Skip(4);
}

} // namespace

FileBytes WriteTfx(const TfxFile& preset) {
  const size_t block1 = 4 + preset.processorState.size();
  const size_t block2 = 4 + preset.controllerState.size();
  const size_t total = TfxFile::kHeaderSize + TfxFile::kBlockSizesSize + block1 + block2;
  FileBytes out;
  out.reserve(total);
  PutField(out, uint32_t(total));
  PutField(out, uint32_t(preset.effectVersion));
  PutField(out, uint32_t(preset.makerID));
  PutField(out, uint32_t(preset.uniqueID));
  PutField(out, uint32_t(preset.category));
  PutField(out, uint32_t(preset.uniqueID));
  PutNameField(out, preset.name.c_str(), TfxFile::kNameSize);
  PutLE64(out, block1);
  PutLE64(out, block2);
  PutLengthPrefixed(out, preset.processorState.data(), preset.processorState.size());
  PutLengthPrefixed(out, preset.controllerState.data(), preset.controllerState.size());
  return out;
}

bool ReadTfx(const uint8_t* data, size_t size, TfxFile& preset) {
  ByteCursor in(data, size);
  uint32_t total = 0, version = 0, maker = 0, id = 0, category = 0, id2 = 0;
  uint8_t name[TfxFile::kNameSize];
  uint64_t block1 = 0, block2 = 0;
  GetField(in, &total);
  GetField(in, &version);
  GetField(in, &maker);
  GetField(in, &id);
  GetField(in, &category);
  GetField(in, &id2);
  in.Bytes(name, sizeof name);
  in.LE64(&block1);
  in.LE64(&block2);
  if (!in.ok() || total != size || block1 > in.left() || block2 != in.left() - block1)
    return false;
  TfxFile read;
  if (!GetLengthPrefixed(in.here(), size_t(block1), read.processorState) ||
      !GetLengthPrefixed(in.here() + block1, size_t(block2), read.controllerState))
    return false;
  read.effectVersion = int32_t(version);
  read.makerID = int32_t(maker);
  read.uniqueID = int32_t(id);
  read.category = int32_t(category);
  read.uniqueID2 = int32_t(id2);
  read.name = GetNameField(name, sizeof name);
  preset = std::move(read);
  return true;
}
