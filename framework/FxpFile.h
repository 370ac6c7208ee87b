#pragma once

#include "framework/FileBytes.h"

#include <cstdint>
#include <string>

// VST 2.4 program (.fxp) and bank (.fxb) files that carry an opaque chunk, all integers
// big-endian:
//   program: "CcnK", byte size (52 + chunk size), "FPCh", format version 1, uniqueID,
//            effect version, number of parameters, name (28 bytes, zero-filled), chunk
//            size at 56, chunk at 60;
//   bank:    "CcnK", byte size (152 + chunk size), "FBCh", format version 2, uniqueID,
//            effect version, number of programs, current program, 124 zero bytes, chunk
//            size at 156, chunk at 160.

struct FxpProgramFile {
  static constexpr size_t kHeaderSize = 60;
  static constexpr size_t kNameSize = 28; // 27 characters and the terminator
  static constexpr int32_t kFormatVersion = 1;

  int32_t uniqueID = 0;
  int32_t effectVersion = 0;
  int32_t numParams = 0;
  std::string name;
  FileBytes chunk;
};

struct FxbBankFile {
  static constexpr size_t kHeaderSize = 160;
  static constexpr size_t kReservedSize = 124;
  static constexpr int32_t kFormatVersion = 2;

  int32_t uniqueID = 0;
  int32_t effectVersion = 0;
  int32_t numPrograms = 0;
  int32_t currentProgram = 0;
  FileBytes chunk;
};

// The file image; the name is cut to 27 bytes.
FileBytes WriteFxpProgram(const FxpProgramFile& program);
// False when the image is not a chunk program of format version 1 or when its sizes
// disagree with each other or with the image (short, long or overflowing).
bool ReadFxpProgram(const uint8_t* data, size_t size, FxpProgramFile& program);

FileBytes WriteFxbBank(const FxbBankFile& bank);
// False when the image is not a chunk bank or when its sizes disagree with the image.
bool ReadFxbBank(const uint8_t* data, size_t size, FxbBankFile& bank);
