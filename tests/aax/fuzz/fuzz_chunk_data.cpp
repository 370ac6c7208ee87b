// A chunk data block as a host hands it back, read by the chunk-data parser. The record is
// allocated to exactly the header and the block, so any read beyond the block is caught.
// What loads must write back and load again to the same elements.
#include "aax/library/AAX_CChunkDataParser.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {
std::unique_ptr<uint8_t[]> MakeRecord(const uint8_t* data, size_t size) {
  auto record = std::make_unique<uint8_t[]>(AAX_kChunkDataOffset + size);
  std::memset(record.get(), 0, AAX_kChunkDataOffset);
  if (size)
    std::memcpy(record.get() + AAX_kChunkDataOffset, data, size);
  reinterpret_cast<AAX_SPlugInChunk*>(record.get())->fSize = int32_t(size);
  return record;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 20)
    return 0;
  auto record = MakeRecord(data, size);
  AAX_CChunkDataParser parser;
  if (parser.LoadChunk(reinterpret_cast<AAX_SPlugInChunk*>(record.get())) != AAX_SUCCESS) {
    if (!parser.Values().empty())
      std::abort(); // a refused block leaves nothing behind
    return 0;
  }

  const int32_t written = parser.GetChunkDataSize();
  auto copy = std::make_unique<uint8_t[]>(AAX_kChunkDataOffset + size_t(written));
  auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(copy.get());
  if (parser.GetChunkData(chunk) != AAX_SUCCESS || chunk->fSize != written)
    std::abort();
  AAX_CChunkDataParser again;
  if (again.LoadChunk(chunk) != AAX_SUCCESS || again.Values().size() != parser.Values().size())
    std::abort();
  for (size_t i = 0; i < parser.Values().size(); ++i) {
    const auto& a = parser.Values()[i];
    const auto& b = again.Values()[i];
    if (a.mDataType != b.mDataType || !(a.mDataName == b.mDataName) ||
        !(a.mStringValue == b.mStringValue))
      std::abort();
    // int16 values travel as their low 16 bits, all others bit for bit.
    const bool sameNumber = a.mDataType == AAX_CChunkDataParser::kShortType
                                ? int16_t(a.mNumber.mInt32) == int16_t(b.mNumber.mInt32)
                                : std::memcmp(&a.mNumber, &b.mNumber, sizeof a.mNumber) == 0;
    if (!sameNumber)
      std::abort();
  }
  return 0;
}
