// The state road of the controller: its own state, and the processor's state it reads to
// follow the processor's parameters.
#include "framework/IFxController.h"

#include "framework/ChunkIO.h"
#include "framework/ProcessorState.h"
#include "framework/StateStream.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

bool IFxController::SerializeState(KIT_HeapBuf& chunk) {
  return ChunkPutInt32(chunk, GetEffectVersion(false));
}

int IFxController::UnserializeState(const KIT_HeapBuf& chunk, int pos) {
  int32_t versionWord = 0;
  return ChunkGetInt32(chunk, pos, &versionWord);
}

tresult PLUGIN_API IFxController::getState(IBStream* stream) {
  if (!stream)
    return kInvalidArgument;
  KIT_HeapBuf chunk(4096);
  if (!InitChunkWithFxVer(chunk) || !SerializeState(chunk) ||
      !StateStream::WriteChunk(stream, chunk))
    return kResultFalse;
  return kResultOk;
}

// A controller state without the framework header, or whose controller chunk does not read,
// is refused.
tresult PLUGIN_API IFxController::setState(IBStream* stream) {
  KIT_HeapBuf chunk(4096);
  if (!StateStream::ReadChunk(stream, chunk))
    return kResultFalse;
  int pos = 0;
  if (GetFxVerFromChunk(chunk, &pos) != kChunkVersion || pos < 0)
    return kResultFalse;
  return UnserializeState(chunk, pos) < 0 ? kResultFalse : kResultOk;
}

// The processor state is checked whole before any parameter follows it.
tresult PLUGIN_API IFxController::setComponentState(IBStream* stream) {
  KIT_HeapBuf chunk(4096);
  ProcessorState state;
  if (!StateStream::ReadChunk(stream, chunk) || !state.Read(*this, chunk))
    return kResultFalse;
  mBypassed = state.bypassed;
  if (Parameter* bypass = getParameterObject(kFxBypassParamID))
    bypass->setNormalized(state.bypassed ? 1.0 : 0.0);
  for (int i = 0; i < NParams(); ++i) {
    if (!GetParam(i)->ReadOnly())
      GetParam(i)->Set(state.values[size_t(i)]);
    SyncHostParameter(i);
  }
  for (int i = 0; i < NParams(); ++i)
    OnParamChange(i, 0);
  SetAllGUIParamsFromPlug();
  return kResultOk;
}
