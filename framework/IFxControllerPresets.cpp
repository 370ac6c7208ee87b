// The preset road of the controller: the bank's operations, the state it captures and loads
// through, and the program list the host reads.
#include "framework/IFxController.h"

#include "base/source/fstring.h"

#include <cstdarg>

using namespace Steinberg;
using namespace Steinberg::Vst;

int IFxController::MakeDefaultPreset(const char* name, int count) {
  return mPresets.MakeDefaultPreset(name, count, *this);
}

bool IFxController::MakePresetFromBlob(const char* name, const char* base64, int bufSize,
                                       int procChunkSize) {
  return mPresets.MakePresetFromBlob(name, base64, bufSize, procChunkSize);
}

bool IFxController::MakePresetFromChunk(const char* name, int procChunkSize,
                                        const KIT_HeapBuf& buffer) {
  return mPresets.MakePresetFromChunk(name, procChunkSize, buffer.Bytes(), buffer.GetSize());
}

bool IFxController::MakePreset(const char* name, ...) {
  va_list args;
  va_start(args, name);
  const bool ok = mPresets.MakePresetV(*this, *this, name, args);
  va_end(args);
  return ok;
}

bool IFxController::MakePresetFromNamedParams(const char* name, int n, ...) {
  va_list args;
  va_start(args, n);
  const bool ok = mPresets.MakePresetFromNamedParamsV(*this, *this, name, n, args);
  va_end(args);
  return ok;
}

bool IFxController::RestorePreset(int idx) {
  return mPresets.RestorePreset(idx, *this);
}

bool IFxController::RestorePresetByName(const char* name) {
  return mPresets.RestorePresetByName(name, *this);
}

bool IFxController::ModifyCurrentPreset(const char* newName) {
  return mPresets.ModifyCurrentPreset(newName, *this);
}

int IFxController::UnserializePresets(const KIT_HeapBuf& chunk, int pos) {
  return mPresets.UnserializePresets(chunk, pos, *this);
}

bool IFxController::CaptureProcessorChunk(KIT_HeapBuf& chunk) {
  return IFxBase::SerializeState(chunk);
}

bool IFxController::CaptureControllerChunk(KIT_HeapBuf& chunk) {
  return SerializeState(chunk);
}

int IFxController::LoadProcessorChunk(const KIT_HeapBuf& chunk, int pos) {
  return IFxBase::UnserializeState(chunk, pos);
}

int IFxController::LoadControllerChunk(const KIT_HeapBuf& chunk, int pos) {
  return UnserializeState(chunk, pos);
}

void IFxController::OnPresetRestored() {
  PushParamsToHost();
  OnStateRestored();
  SetAllGUIParamsFromPlug();
  SetAllGUIControlsDirty();
}

tresult PLUGIN_API IFxController::getProgramName(ProgramListID listId, int32 index,
                                                 String128 name) {
  if (!name)
    return kInvalidArgument;
  if (NPresets() < 1 || listId != ProgramListID(kFxPresetParamID))
    return kResultFalse;
  utf8ToUtf16(GetPresetName(index), name, 128);
  return kResultOk;
}
