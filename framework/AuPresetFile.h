#pragma once

#include "framework/FileBytes.h"

#include <cstdint>
#include <string>

// The Audio Unit preset (.aupreset): an XML property list whose top dictionary holds, in
// this order, "Controller State" and "Processor State" (data: int32 length + state, in
// Base64), "data" (empty), "element-name", "manufacturer", "name", "subtype", "type" and
// "version". Base64 is written in lines of 68 characters, each indented by a tab.
struct AuPresetFile {
  static constexpr int64_t kTypeInstrument = 1635085685; // 'aumu'
  static constexpr int64_t kTypeEffect = 1635083896;     // 'aufx'
  static constexpr size_t kBase64LineLength = 68;

  FileBytes controllerState;
  FileBytes processorState;
  int64_t manufacturer = 0;
  std::string name;
  int64_t subtype = 0;
  int64_t type = kTypeEffect;
  int64_t version = 0;
};

std::string WriteAuPreset(const AuPresetFile& preset);
// Parses the property list and takes both states, "manufacturer" and "subtype" (required)
// and "name", "type" and "version" (when present). False when the list does not parse,
// a required entry is missing or of another kind, the Base64 does not decode, or a state's
// length disagrees with its data.
bool ReadAuPreset(const char* text, size_t size, AuPresetFile& preset);

// Whether a property-list integer names this 32-bit code, written as a signed or an
// unsigned 32-bit value.
bool AuCodeMatches(int64_t value, int32_t code);
