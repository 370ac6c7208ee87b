#include "framework/FxpFile.h"

namespace {

const char kChunkMagic[] = "CcnK";
const char kProgramChunkMagic[] = "FPCh";
const char kBankChunkMagic[] = "FBCh";
// The byte size field counts what follows it.
constexpr size_t kBytesBeforeSizeEnd = 8;

// The byte size and chunk size fields must describe exactly the image there is.
bool SizesFit(uint32_t byteSize, uint32_t chunkSize, size_t headerSize, size_t imageSize) {
  return byteSize == imageSize - kBytesBeforeSizeEnd && chunkSize == imageSize - headerSize;
}

} // namespace

FileBytes WriteFxpProgram(const FxpProgramFile& program) {
  FileBytes out;
  out.reserve(FxpProgramFile::kHeaderSize + program.chunk.size());
  PutFourCC(out, kChunkMagic);
  PutBE32(out, uint32_t(FxpProgramFile::kHeaderSize - kBytesBeforeSizeEnd + program.chunk.size()));
  PutFourCC(out, kProgramChunkMagic);
  PutBE32(out, FxpProgramFile::kFormatVersion);
  PutBE32(out, uint32_t(program.uniqueID));
  PutBE32(out, uint32_t(program.effectVersion));
  PutBE32(out, uint32_t(program.numParams));
  PutNameField(out, program.name.c_str(), FxpProgramFile::kNameSize);
  PutBE32(out, uint32_t(program.chunk.size()));
  PutBytes(out, program.chunk.data(), program.chunk.size());
  return out;
}

bool ReadFxpProgram(const uint8_t* data, size_t size, FxpProgramFile& program) {
  ByteCursor in(data, size);
  uint32_t byteSize = 0, version = 0, uniqueID = 0, effectVersion = 0, numParams = 0;
  uint32_t chunkSize = 0;
  uint8_t name[FxpProgramFile::kNameSize];
  in.FourCC(kChunkMagic);
  in.BE32(&byteSize);
  in.FourCC(kProgramChunkMagic);
  in.BE32(&version);
  in.BE32(&uniqueID);
  in.BE32(&effectVersion);
  in.BE32(&numParams);
  in.Bytes(name, sizeof name);
  in.BE32(&chunkSize);
  if (!in.ok() || version != uint32_t(FxpProgramFile::kFormatVersion) ||
      !SizesFit(byteSize, chunkSize, FxpProgramFile::kHeaderSize, size))
    return false;
  program.uniqueID = int32_t(uniqueID);
  program.effectVersion = int32_t(effectVersion);
  program.numParams = int32_t(numParams);
  program.name = GetNameField(name, sizeof name);
  program.chunk.assign(in.here(), in.here() + in.left());
  return true;
}

FileBytes WriteFxbBank(const FxbBankFile& bank) {
  FileBytes out;
  out.reserve(FxbBankFile::kHeaderSize + bank.chunk.size());
  PutFourCC(out, kChunkMagic);
  PutBE32(out, uint32_t(FxbBankFile::kHeaderSize - kBytesBeforeSizeEnd + bank.chunk.size()));
  PutFourCC(out, kBankChunkMagic);
  PutBE32(out, FxbBankFile::kFormatVersion);
  PutBE32(out, uint32_t(bank.uniqueID));
  PutBE32(out, uint32_t(bank.effectVersion));
  PutBE32(out, uint32_t(bank.numPrograms));
  PutBE32(out, uint32_t(bank.currentProgram));
  PutZeros(out, FxbBankFile::kReservedSize);
  PutBE32(out, uint32_t(bank.chunk.size()));
  PutBytes(out, bank.chunk.data(), bank.chunk.size());
  return out;
}

// The format version is not checked: version 1 banks place the chunk at the same offset.
bool ReadFxbBank(const uint8_t* data, size_t size, FxbBankFile& bank) {
  ByteCursor in(data, size);
  uint32_t byteSize = 0, version = 0, uniqueID = 0, effectVersion = 0, numPrograms = 0;
  uint32_t currentProgram = 0, chunkSize = 0;
  in.FourCC(kChunkMagic);
  in.BE32(&byteSize);
  in.FourCC(kBankChunkMagic);
  in.BE32(&version);
  in.BE32(&uniqueID);
  in.BE32(&effectVersion);
  in.BE32(&numPrograms);
  in.BE32(&currentProgram);
  in.Skip(FxbBankFile::kReservedSize);
  in.BE32(&chunkSize);
  if (!in.ok() || !SizesFit(byteSize, chunkSize, FxbBankFile::kHeaderSize, size))
    return false;
  bank.uniqueID = int32_t(uniqueID);
  bank.effectVersion = int32_t(effectVersion);
  bank.numPrograms = int32_t(numPrograms);
  bank.currentProgram = int32_t(currentProgram);
  bank.chunk.assign(in.here(), in.here() + in.left());
  return true;
}
