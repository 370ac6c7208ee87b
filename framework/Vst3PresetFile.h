#pragma once

#include "framework/FileBytes.h"

#include <string>

// The VST 3 preset file (.vstpreset), integers little-endian:
//   header (48 bytes): "VST3", int32 version 1, the processor class ID as 32 hexadecimal
//   characters, int64 offset of the chunk list;
//   chunk data: "Comp" (int32 length + processor state), "Cont" (int32 length + controller
//   state), "Info" (XML meta information);
//   chunk list: "List", int32 count, per entry the four-character ID, int64 offset and
//   int64 size.
struct Vst3PresetFile {
  static constexpr size_t kHeaderSize = 48;
  static constexpr size_t kClassIDSize = 32;
  static constexpr int32_t kFormatVersion = 1;

  std::string classID; // 32 hexadecimal characters
  FileBytes processorState;
  FileBytes controllerState;
  std::string info;
};

// The meta information of a preset: its media type (write-protected), the product name and
// the VST 3 subcategory. The names are escaped as XML attribute values.
std::string Vst3PresetInfoXml(const char* productName, const char* subCategory);

// The file image; false when the class ID is not 32 characters long.
bool WriteVst3Preset(const Vst3PresetFile& preset, FileBytes& out);
// Reads the header and walks the chunk list for "Comp" and "Cont" (the first of each); an
// "Info" chunk is optional. False when the header or the list does not read, when an
// entry lies outside the image, when a state's length disagrees with its entry, or when
// either state is missing.
bool ReadVst3Preset(const uint8_t* data, size_t size, Vst3PresetFile& preset);
