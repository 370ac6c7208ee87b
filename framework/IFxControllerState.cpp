// The state road of the controller: its own state, and the processor's state it reads to
// follow the processor's parameters.
#include "framework/IFxController.h"

#include "framework/ChunkIO.h"
#include "framework/ProcessorState.h"
#include "framework/StateStream.h"

#include <vector>

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
  // The processor answers at once when the preset edits have reached its blocks; a host that
  // passes messages later leaves the edits counted as queued, and the values are sent again.
  if (mPresetEditsSent)
    sendMessageID("PresetEditsTaken?");
  std::vector<double> before;
  if (mPresetEditsSent) {
    before.resize(size_t(NParams()));
    for (int i = 0; i < NParams(); ++i)
      before[size_t(i)] = GetParam(i)->GetNormalized();
  }
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
  if (mPresetEditsSent)
    PushLoadedValuesAfterPresetEdits(before.data());
  SetAllGUIParamsFromPlug();
  return kResultOk;
}

// Ardour, loading a session, selects the session's last preset through the preset parameter
// before it hands over the saved states; the edits of that restore reach the processor in its
// first block, after the saved processor state, and would bring the preset's values back over
// the saved ones. Every parameter the state changed is therefore sent again, so that the last
// value the host queues is the loaded one. Parameters the state left alone are not sent, and
// nothing is sent once the processor has said that the preset edits reached its blocks.
void IFxController::PushLoadedValuesAfterPresetEdits(const double* before) {
  mPresetEditsSent = false;
  bool grouped = false;
  for (int i = 0; i < NParams(); ++i) {
    const IParam* param = GetParam(i);
    const double normalized = param->GetNormalized();
    if (param->ReadOnly() || normalized == before[i])
      continue;
    if (!grouped) {
      startGroupEdit();
      grouped = true;
    }
    beginEdit(ParamID(i));
    performEdit(ParamID(i), normalized);
    endEdit(ParamID(i));
  }
  if (grouped)
    finishGroupEdit();
}
