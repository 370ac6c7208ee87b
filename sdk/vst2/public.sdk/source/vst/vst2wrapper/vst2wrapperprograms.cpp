// Programs (the controller's program list, selected through its program-change parameter)
// and chunks (both halves' VST 3 state).
#include "public.sdk/source/vst/vst2wrapper/vst2wrapper.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/utility/stringconvert.h"

#include <cstring>

namespace Steinberg {
namespace Vst {

namespace {

// Chunk of this wrapper: 'O3ST', int32 size of the processor state, its bytes, int32 size of
// the controller state, its bytes (little-endian). Programs and banks share it.
constexpr uint32 kChunkMagic = 0x5453334F; // bytes 4F 33 53 54, "O3ST"
constexpr size_t kChunkHeader = 4;
constexpr size_t kSizeWord = 4;

void appendBytes(std::vector<uint8>& out, const void* bytes, size_t n) {
  const size_t at = out.size();
  out.resize(at + n);
  if (n)
    std::memcpy(out.data() + at, bytes, n);
}

void appendWord(std::vector<uint8>& out, uint32 word) {
  appendBytes(out, &word, sizeof(word));
}

bool readWord(const uint8* data, size_t size, size_t pos, uint32& word) {
  if (pos > size || size - pos < 4)
    return false;
  std::memcpy(&word, data + pos, 4);
  return true;
}

} // namespace

void Vst2Wrapper::setupPrograms() {
  mProgramListID = kNoProgramListId;
  int32 count = 0;
  if (mUnitInfo && mUnitInfo->getProgramListCount() > 0) {
    // The list of the program-change parameter's unit, else the first list.
    ParameterInfo info{};
    if (mProgramParameterIdx >= 0 &&
        mController->getParameterInfo(mProgramParameterIdx, info) == kResultOk)
      for (int32 u = 0, n = mUnitInfo->getUnitCount(); u < n; ++u) {
        UnitInfo unit{};
        if (mUnitInfo->getUnitInfo(u, unit) == kResultOk && unit.id == info.unitId)
          mProgramListID = unit.programListId;
      }
    for (int32 l = 0, n = mUnitInfo->getProgramListCount(); l < n; ++l) {
      ProgramListInfo list{};
      if (mUnitInfo->getProgramListInfo(l, list) != kResultOk)
        continue;
      if (mProgramListID == kNoProgramListId)
        mProgramListID = list.id;
      if (list.id == mProgramListID) {
        count = list.programCount;
        break;
      }
    }
  }
  setNumPrograms(count);
}

void Vst2Wrapper::setProgram(VstInt32 program) {
  curProgram = program;
  if (mProgramParameterID == kNoParamId || !mController || mProgramParameterStepCount <= 0)
    return;
  const ParamValue value = ParamValue(program) / mProgramParameterStepCount;
  if (value > 1.0)
    return;
  mController->setParamNormalized(mProgramParameterID, value);
  queueChangeToProcessor(mProgramParameterID, value);
  syncHostValuesFromController();
}

void Vst2Wrapper::setProgramName(char*) {
  // VST 3 program lists are read-only to the host.
}

void Vst2Wrapper::getProgramName(char* name) {
  *name = 0;
  if (curProgram >= 0 && curProgram < numPrograms)
    getProgramNameIndexed(0, curProgram, name);
}

bool Vst2Wrapper::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
  *text = 0;
  if (!mUnitInfo || mProgramListID == kNoProgramListId || index < 0 || index >= numPrograms)
    return false;
  String128 name{};
  if (mUnitInfo->getProgramName(mProgramListID, index, name) != kResultOk)
    return false;
  vstStringCopy(text, StringConvert::convert(name, 128).c_str(), kVstMaxProgNameLen);
  return true;
}

VstInt32 Vst2Wrapper::getChunk(void** data, bool) {
  // The controller must hold what the host set, however recently.
  transferHostChangesToController();
  MemoryStream processorState;
  MemoryStream controllerState;
  if (mComponent->getState(&processorState) != kResultOk)
    return 0;
  if (mController && !mControllerIsComponent)
    mController->getState(&controllerState);
  mChunk.clear();
  appendWord(mChunk, kChunkMagic);
  appendWord(mChunk, uint32(processorState.getSize()));
  appendBytes(mChunk, processorState.getData(), size_t(processorState.getSize()));
  appendWord(mChunk, uint32(controllerState.getSize()));
  appendBytes(mChunk, controllerState.getData(), size_t(controllerState.getSize()));
  *data = mChunk.data();
  return VstInt32(mChunk.size());
}

VstInt32 Vst2Wrapper::setChunk(void* data, VstInt32 byteSize, bool) {
  if (!mComponent || !data || byteSize <= 0)
    return 0;
  // Everything is checked before anything is applied: a bad chunk changes nothing.
  const auto* bytes = static_cast<const uint8*>(data);
  const size_t size = size_t(byteSize);
  uint32 magic = 0, processorSize = 0, controllerSize = 0;
  if (!readWord(bytes, size, 0, magic) || magic != kChunkMagic ||
      !readWord(bytes, size, kChunkHeader, processorSize))
    return 0;
  const size_t controllerWord = kChunkHeader + kSizeWord + size_t(processorSize);
  if (!readWord(bytes, size, controllerWord, controllerSize) ||
      controllerWord + kSizeWord + size_t(controllerSize) != size)
    return 0;

  const uint8* processorBytes = bytes + kChunkHeader + kSizeWord;
  const uint8* controllerBytes = bytes + controllerWord + kSizeWord;
  MemoryStream processorState(static_cast<const void*>(processorBytes), TSize(processorSize));
  if (mComponent->setState(&processorState) != kResultOk)
    return 0;
  if (mController) {
    MemoryStream forController(static_cast<const void*>(processorBytes), TSize(processorSize));
    mController->setComponentState(&forController);
    if (!mControllerIsComponent && controllerSize > 0) {
      MemoryStream controllerState(static_cast<const void*>(controllerBytes),
                                   TSize(controllerSize));
      mController->setState(&controllerState);
    }
  }
  syncHostValuesFromController();
  if (hostHoldsEffect())
    updateDisplay();
  return 1;
}

} // namespace Vst
} // namespace Steinberg
