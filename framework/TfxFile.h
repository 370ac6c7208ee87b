#pragma once

#include "framework/FileBytes.h"

#include <cstdint>
#include <string>

// The .tfx preset file: an 80-byte header of six 8-byte fields (a big-endian 32-bit value,
// then four zero bytes) - total file size, effect version, makerID, uniqueID, category,
// uniqueID again - and the name at 48, zero-filled to 80; then the sizes of the two blocks
// as int64 (little-endian) and the blocks themselves, each an int32 length + a state.
struct TfxFile {
  static constexpr size_t kHeaderSize = 80;
  static constexpr size_t kNameOffset = 48;
  static constexpr size_t kNameSize = kHeaderSize - kNameOffset; // 31 characters + terminator
  static constexpr size_t kBlockSizesSize = 16;

  int32_t effectVersion = 0;
  int32_t makerID = 0;
  int32_t uniqueID = 0;
  int32_t category = 0;
  int32_t uniqueID2 = 0; // the second copy of the ID, as read
  std::string name;
  FileBytes processorState;
  FileBytes controllerState;
};

// Writes uniqueID in both of its fields.
FileBytes WriteTfx(const TfxFile& preset);
// False when the image is shorter than its header, when its total size field or block
// sizes disagree with the image, or when a state's length disagrees with its block.
bool ReadTfx(const uint8_t* data, size_t size, TfxFile& preset);
