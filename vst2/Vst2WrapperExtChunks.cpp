// Program and bank chunks in the framework's formats.
#include "vst2/Vst2WrapperExt.h"

#include "framework/ChunkIO.h"
#include "framework/IFxController.h"

#include "public.sdk/source/common/memorystream.h"

#include <cmath>
#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr int32_t kHeaderSize = 8;

bool hasHeader(const uint8_t* data, VstInt32 size) {
  int32_t magic = 0;
  if (size < kHeaderSize)
    return false;
  std::memcpy(&magic, data, 4);
  return magic == IFxBase::kChunkMagic;
}

// A processor chunk (version word, then one float64 per stored parameter) whose values are
// all finite. A NaN or an infinity is no setting a user made: the chunk is refused whole,
// as the VST 3 state is.
bool processorChunkFinite(const uint8_t* chunk, int nStoredParams) {
  for (int i = 0; i < nStoredParams; ++i) {
    double value = 0.0;
    std::memcpy(&value, chunk + 4 + 8 * size_t(i), 8);
    if (!std::isfinite(value))
      return false;
  }
  return true;
}

} // namespace

// ---- writing ----

VstInt32 Vst2WrapperExt::getChunk(void** data, bool isPreset) {
  if (!mFxController)
    return Vst2Wrapper::getChunk(data, isPreset);
  // The controller learns the host's values on the transfer timer; a chunk must hold the
  // latest ones, however recently they were set.
  transferHostChangesToController();
  const VstInt32 size = isPreset ? buildProgramChunk() : buildBankChunk();
  if (size <= 0)
    return 0;
  *data = isPreset ? mProgramChunk.Get() : mBankChunk.Get();
  return size;
}

VstInt32 Vst2WrapperExt::buildProgramChunk() {
  if (!IFxBase::InitChunkWithFxVer(mProgramChunk))
    return 0;
  if (!mFxController->IFxBase::SerializeState(mProgramChunk) ||
      !mFxController->SerializeState(mProgramChunk))
    return 0;
  return mProgramChunk.GetSize();
}

VstInt32 Vst2WrapperExt::buildBankChunk() {
  if (!IFxBase::InitChunkWithFxVer(mBankChunk))
    return 0;
  mFxController->ModifyCurrentPreset();
  if (!mFxController->SerializePresets(mBankChunk))
    return 0;
  return mBankChunk.GetSize();
}

// ---- reading ----

VstInt32 Vst2WrapperExt::setChunk(void* data, VstInt32 byteSize, bool isPreset) {
  if (!mComponent)
    return 0;
  if (!mFxController)
    return Vst2Wrapper::setChunk(data, byteSize, isPreset);
  if (!data || byteSize <= 0)
    return 0;
  const auto* bytes = static_cast<const uint8_t*>(data);
  // The whole chunk is checked before anything changes: a bad one changes nothing.
  if (isPreset ? !isProgramChunk(bytes, byteSize) : !isBankChunk(bytes, byteSize))
    return 0;
  // Values the host set before the chunk must not arrive after it.
  transferHostChangesToController();

  KIT_HeapBuf& chunk = isPreset ? mProgramChunk : mBankChunk;
  if (isPreset) {
    if (!copyProgramChunk(bytes, byteSize))
      return 0;
  } else {
    chunk.Resize(byteSize);
    if (chunk.GetSize() != byteSize)
      return 0;
    std::memcpy(chunk.Bytes(), bytes, size_t(byteSize));
  }
  int pos = 0;
  IFxBase::GetFxVerFromChunk(chunk, &pos);
  const bool loaded = isPreset ? loadProgramChunk(pos) : loadBankChunk(pos);
  if (!loaded)
    return 0;
  mFxController->SetAllGUIParamsFromPlug();
  mFxController->OnStateRestored();
  syncHostValuesFromController();
  return 1;
}

// A program chunk of a version with fewer or more parameters (checked by isProgramChunk) is
// put into this version's layout: the values it has in parameter order, defaults for the
// parameters it does not reach, none past the last stored parameter.
bool Vst2WrapperExt::copyProgramChunk(const uint8_t* data, VstInt32 byteSize) {
  const int32_t controllerSize = controllerChunkSize();
  const int64_t nValues = (int64_t(byteSize) - kHeaderSize - 4 - controllerSize) / 8;
  mProgramChunk.Resize(0);
  bool ok = mProgramChunk.Append(data, kHeaderSize + 4);
  int64_t k = 0;
  for (int i = 0; ok && i < mFxController->NParams(); ++i) {
    const IParam* param = mFxController->GetParam(i);
    if (param->ReadOnly())
      continue;
    double value = param->Default();
    if (k < nValues)
      std::memcpy(&value, data + kHeaderSize + 4 + 8 * size_t(k), 8);
    ++k;
    ok = ChunkPutDouble(mProgramChunk, value);
  }
  return ok && mProgramChunk.Append(data + byteSize - controllerSize, controllerSize);
}

bool Vst2WrapperExt::loadProgramChunk(int pos) {
  pos = mFxController->IFxBase::UnserializeState(mProgramChunk, pos);
  pos = mFxController->UnserializeState(mProgramChunk, pos);
  if (pos < 0)
    return false;
  mFxController->ModifyCurrentPreset();
  // To the host and, through the edits, to the processor's next block.
  mFxController->PushParamsToHost();
  return true;
}

bool Vst2WrapperExt::loadBankChunk(int pos) {
  pos = mFxController->UnserializePresets(mBankChunk, pos);
  if (pos < 0)
    return false;
  loadProcessorFromController();
  return true;
}

// The processor takes the controller's current parameters as its own state, through its
// setState, which hands them to the audio thread when it is processing.
void Vst2WrapperExt::loadProcessorFromController() {
  mBankChunk.Resize(0);
  if (!mFxProcessor)
    return;
  KIT_HeapBuf state{4096};
  if (!IFxBase::InitChunkWithFxVer(state) || !mFxProcessor->SerializeBypass(state) ||
      !mFxController->IFxBase::SerializeState(state))
    return;
  MemoryStream stream;
  const int32 length = state.GetSize();
  int32 written = 0;
  stream.write(const_cast<int32*>(&length), 4, &written);
  stream.write(state.Get(), length, &written);
  stream.seek(0, IBStream::kIBSeekSet, nullptr);
  mComponent->setState(&stream);
}

// ---- layout checks ----

int32_t Vst2WrapperExt::controllerChunkSize() {
  // A controller chunk has the length the controller writes; plug-in controllers append
  // fixed data only.
  KIT_HeapBuf chunk{64};
  return mFxController->SerializeState(chunk) ? chunk.GetSize() : -1;
}

bool Vst2WrapperExt::isProgramChunk(const uint8_t* data, VstInt32 byteSize) {
  const int32_t controllerSize = controllerChunkSize();
  if (controllerSize < 0 || !hasHeader(data, byteSize))
    return false;
  // The controller chunk has its fixed size at the end; what lies between the version word
  // and it is the parameter block of the version that wrote the chunk, whole values only.
  const int64_t block = int64_t(byteSize) - kHeaderSize - 4 - controllerSize;
  return block >= 0 && block % 8 == 0 && processorChunkFinite(data + kHeaderSize, int(block / 8));
}

bool Vst2WrapperExt::isBankChunk(const uint8_t* data, VstInt32 byteSize) {
  const int32_t controllerSize = controllerChunkSize();
  if (controllerSize < 0 || !hasHeader(data, byteSize))
    return false;
  const int nStored = mFxController->NStoredParams();
  const int64_t presetSize = 4 + 8 * int64_t(nStored) + controllerSize;
  int64_t pos = kHeaderSize;
  // Each slot: int32 name length, the name, one initialised byte, then both chunks if set.
  for (int i = 0; i < mFxController->NPresets(); ++i) {
    int32_t nameLength = 0;
    if (byteSize - pos < 4)
      return false;
    std::memcpy(&nameLength, data + pos, 4);
    pos += 4;
    if (nameLength < 0 || byteSize - pos < int64_t(nameLength) + 1)
      return false;
    pos += nameLength;
    const uint8_t initialized = data[pos++];
    if (initialized > 1)
      return false;
    if (initialized) {
      if (byteSize - pos < presetSize || !processorChunkFinite(data + pos, nStored))
        return false;
      pos += presetSize;
    }
  }
  return pos == byteSize;
}
