// The state chunk of AAXWrapper_Parameters: one chunk, ID = the plug-in's unique ID, holding
// both halves' VST 3 state streams as they write them:
//   int64 Np, int64 Nc (little-endian), Np processor bytes, Nc controller bytes.
// A record is untrusted input: sizes are checked against the record before anything is read,
// and a chunk either of the halves refuses is refused as a whole, with nothing changed.
#include "aax/adapter/AAXWrapper_Parameters.h"

#include "aax/library/AAX_CatchAll.h"

#include "public.sdk/source/common/memorystream.h"

#include <cstring>
#include <limits>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int64_t kHeaderSize = 16;
constexpr int64_t kProcessorMagicOffset = kHeaderSize + 4; // after the state's int32 length
constexpr uint32_t kFrameworkMagic = 0x70666674;           // 'pfft'

void PutInt64LE(uint8_t* out, int64_t value) {
  for (int i = 0; i < 8; ++i)
    out[i] = uint8_t(uint64_t(value) >> (8 * i));
}

int64_t GetInt64LE(const uint8_t* in) {
  uint64_t value = 0;
  for (int i = 0; i < 8; ++i)
    value |= uint64_t(in[i]) << (8 * i);
  return int64_t(value);
}

uint32_t GetUInt32LE(const uint8_t* in) {
  return uint32_t(in[0]) | uint32_t(in[1]) << 8 | uint32_t(in[2]) << 16 | uint32_t(in[3]) << 24;
}

// The data a record's size field covers; a negative size covers nothing.
int64_t DataSize(const AAX_SPlugInChunk* chunk) {
  return chunk->fSize > 0 ? chunk->fSize : 0;
}

} // namespace

bool AAXWrapper_Parameters::SerializeState(MemoryStream& out) const {
  MemoryStream processorState;
  MemoryStream controllerState;
  const bool haveProcessor = mComponent && mComponent->getState(&processorState) == kResultOk;
  const bool haveController = mController && mController->getState(&controllerState) == kResultOk;
  const int64_t np = haveProcessor ? int64_t(processorState.getSize()) : 0;
  const int64_t nc = haveController ? int64_t(controllerState.getSize()) : 0;
  uint8_t header[kHeaderSize];
  PutInt64LE(header, np);
  PutInt64LE(header + 8, nc);
  int32 written = 0;
  if (out.write(header, int32(kHeaderSize), &written) != kResultOk || written != kHeaderSize)
    return false;
  if (np > 0 && out.write(processorState.getData(), int32(np), &written) != kResultOk)
    return false;
  if (nc > 0 && out.write(controllerState.getData(), int32(nc), &written) != kResultOk)
    return false;
  return true;
}

AAX_Result AAXWrapper_Parameters::GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const {
  if (!chunkID)
    return AAX_ERROR_NULL_OBJECT;
  if (index != 0) {
    *chunkID = 0;
    return AAX_ERROR_CHUNK_INDEX;
  }
  *chunkID = mChunkID;
  return AAX_SUCCESS;
}

AAX_Result AAXWrapper_Parameters::GetChunkSize(AAX_CTypeID chunkID, int32_t* size) const {
  return AAX_CatchAll([&]() -> AAX_Result {
    if (!size)
      return AAX_ERROR_NULL_OBJECT;
    *size = 0;
    if (chunkID != mChunkID)
      return AAX_ERROR_CHUNK_ID;
    MemoryStream state;
    if (!SerializeState(state) || state.getSize() <= 0 ||
        state.getSize() > std::numeric_limits<int32_t>::max())
      return AAX_ERROR_CHUNK_SIZE;
    *size = int32_t(state.getSize());
    mReportedChunkSize = *size;
    return AAX_SUCCESS;
  });
}

// The host made the record for the size GetChunkSize reported: a state that has grown since
// does not fit and is not written.
AAX_Result AAXWrapper_Parameters::GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) const {
  return AAX_CatchAll([&]() -> AAX_Result {
    if (chunkID != mChunkID)
      return AAX_ERROR_CHUNK_ID;
    if (!chunk)
      return AAX_ERROR_NULL_OBJECT;
    MemoryStream state;
    if (!SerializeState(state) || state.getSize() <= 0 || mReportedChunkSize < 0 ||
        state.getSize() > mReportedChunkSize)
      return AAX_ERROR_CHUNK_SIZE;
    chunk->fSize = int32_t(state.getSize());
    std::memcpy(AAX_ChunkData(chunk), state.getData(), size_t(state.getSize()));
    return AAX_SUCCESS;
  });
}

AAX_Result AAXWrapper_Parameters::SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) {
  return AAX_CatchAll([&]() -> AAX_Result {
    if (chunkID != mChunkID)
      return AAX_ERROR_CHUNK_ID;
    if (!chunk)
      return AAX_ERROR_NULL_OBJECT;
    const int64_t size = DataSize(chunk);
    if (size < kHeaderSize)
      return AAX_ERROR_CHUNK_SIZE;
    const uint8_t* data = AAX_ChunkData(chunk);
    const int64_t np = GetInt64LE(data);
    const int64_t nc = GetInt64LE(data + 8);
    if (np <= 0 || nc < 0 || np > size - kHeaderSize || nc > size - kHeaderSize - np)
      return AAX_ERROR_CHUNK_SIZE;
    const AAX_Result applied = ApplyChunk(data, np, nc);
    if (applied != AAX_SUCCESS)
      return applied;
    ShowControllerValues();
    IncrementUpdateCounter();
    return AAX_SUCCESS;
  });
}

// Both halves take the chunk, or neither keeps it: a half that refuses its part brings both
// back to the state they had.
AAX_Result AAXWrapper_Parameters::ApplyChunk(const uint8_t* data, int64_t np, int64_t nc) {
  if (!mComponent || !mController)
    return AAX_ERROR_NULL_OBJECT;
  MemoryStream before;
  int64_t beforeNp = 0;
  int64_t beforeNc = 0;
  const bool haveBefore = SerializeState(before);
  if (haveBefore) {
    beforeNp = GetInt64LE(reinterpret_cast<const uint8_t*>(before.getData()));
    beforeNc = GetInt64LE(reinterpret_cast<const uint8_t*>(before.getData()) + 8);
  }

  // Host changes still queued are older than the state; dropped before it is handed over, so
  // that none can follow it into the processor.
  mHostToProcessor.Clear();
  MemoryStream processorPart(data + kHeaderSize, np);
  if (mComponent->setState(&processorPart) != kResultOk) {
    RequeueHostValues(); // refused whole by the processor, which kept its state
    return AAX_ERROR_CHUNK_SIZE;
  }
  MemoryStream componentPart(data + kHeaderSize, np);
  bool accepted = mController->setComponentState(&componentPart) == kResultOk;
  MemoryStream controllerPart(data + kHeaderSize + np, nc);
  // A chunk without controller part leaves the controller's own state as it is.
  accepted = accepted && (mController->setState(&controllerPart) == kResultOk || nc == 0);
  if (accepted)
    return AAX_SUCCESS;

  if (haveBefore && beforeNp > 0) {
    const uint8_t* old = reinterpret_cast<const uint8_t*>(before.getData());
    MemoryStream oldProcessor(old + kHeaderSize, beforeNp);
    mComponent->setState(&oldProcessor);
    MemoryStream oldComponent(old + kHeaderSize, beforeNp);
    mController->setComponentState(&oldComponent);
    if (beforeNc > 0) {
      MemoryStream oldController(old + kHeaderSize + beforeNp, beforeNc);
      mController->setState(&oldController);
    }
  }
  RequeueHostValues();
  return AAX_ERROR_CHUNK_SIZE;
}

// After a refused chunk: the host's values, some of which may have been among the dropped
// changes, go to the processor again.
void AAXWrapper_Parameters::RequeueHostValues() {
  for (const auto& [paramID, aaxID] : mParamIDToAAXID) {
    if (const AAX_IParameter* parameter = Parameters().GetParameterByID(aaxID.c_str()))
      mHostToProcessor.Add(paramID, parameter->GetNormalizedValue());
  }
}

// Every AAX parameter takes the controller's value; the host's automation hears of it.
void AAXWrapper_Parameters::ShowControllerValues() {
  const int32 count = mController->getParameterCount();
  for (int32 i = 0; i < count; ++i) {
    ParameterInfo info{};
    if (mController->getParameterInfo(i, info) != kResultOk)
      continue;
    const auto found = mParamIDToAAXID.find(info.id);
    if (found == mParamIDToAAXID.end() || !Parameters().GetParameterByID(found->second.c_str()))
      continue;
    SetParameterNormalizedValue(found->second.c_str(), mController->getParamNormalized(info.id));
  }
}

AAX_Result AAXWrapper_Parameters::CompareActiveChunk(const AAX_SPlugInChunk* chunk,
                                                     AAX_CBoolean* equal) const {
  return AAX_CatchAll([&]() -> AAX_Result {
    if (!chunk || !equal)
      return AAX_ERROR_NULL_OBJECT;
    // Another chunk is not this plug-in's to judge: it counts as equal.
    *equal = true;
    if (chunk->fChunkID != mChunkID)
      return AAX_SUCCESS;
    // A record of this ID that does not carry the framework's state (too short, or without
    // its header) cannot be the active state: it differs.
    *equal = false;
    const int64_t size = DataSize(chunk);
    const uint8_t* data = AAX_ChunkData(chunk);
    if (size < kProcessorMagicOffset + 4 ||
        GetUInt32LE(data + kProcessorMagicOffset) != kFrameworkMagic)
      return AAX_SUCCESS;
    MemoryStream state;
    if (!SerializeState(state))
      return AAX_SUCCESS;
    *equal = state.getSize() == size && std::memcmp(state.getData(), data, size_t(size)) == 0;
    return AAX_SUCCESS;
  });
}
