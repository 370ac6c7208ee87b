#include "FakeEffectInstance.h"

#include <utility>

namespace aaxhost {

namespace {
// The object a create procedure of the description makes, with one reference held by the
// caller; null when there is no such procedure.
IACFUnknown* Create(const FakeEffectDescriptor& effect, AAX_CProcPtrID id) {
  const auto found = effect.procs.find(id);
  if (found == effect.procs.end() || !found->second)
    return nullptr;
  IACFUnknown* object = reinterpret_cast<AAX_CCreateProc>(found->second)();
  if (object)
    object->AddRef();
  return object;
}
} // namespace

FakeEffectInstance::FakeEffectInstance(FakeAAXHost& host, const FakeEffectDescriptor& effect)
    : mHost(host), mEffect(effect) {
  IACFUnknown* object = Create(effect, kEffectParametersProc);
  void* parameters = nullptr;
  if (object && object->QueryInterface(IID_EffectParameters, &parameters) == ACF_OK)
    mParameters = static_cast<AAX_IACFEffectParameters*>(parameters);
  mHost.AttachEffect(object);
  if (object)
    object->Release();
  if (Parameters())
    mInitializeResult = Parameters()->Initialize(&mHost);
}

FakeEffectInstance::~FakeEffectInstance() {
  CloseEditor();
  if (Parameters())
    Parameters()->Uninitialize();
  if (mHost.Effect() == mParameters)
    mHost.DetachEffect();
  if (mParameters)
    std::exchange(mParameters, nullptr)->Release();
}

AAX_Result FakeEffectInstance::OpenEditor() {
  if (mEditor)
    return mEditor->SetViewContainer(&mHost.viewContainer);
  IACFUnknown* object = Create(mEffect, kEffectGUIProc);
  if (!object)
    return AAX_ERROR_NULL_OBJECT;
  void* editor = nullptr;
  const ACFRESULT found = object->QueryInterface(IID_EffectGUI, &editor);
  object->Release();
  if (found != ACF_OK || !editor)
    return AAX_ERROR_NULL_OBJECT;
  mEditor = static_cast<AAX_IACFEffectGUI*>(editor);
  const AAX_Result initialized = mEditor->Initialize(&mHost);
  if (initialized != AAX_SUCCESS)
    return initialized;
  return mEditor->SetViewContainer(&mHost.viewContainer);
}

void FakeEffectInstance::CloseEditor() {
  if (!mEditor)
    return;
  mEditor->SetViewContainer(nullptr);
  mEditor->Uninitialize();
  std::exchange(mEditor, nullptr)->Release();
}

std::vector<uint8_t> FakeEffectInstance::SaveChunk(AAX_CTypeID chunkID, AAX_Result* result) const {
  AAX_Result local = AAX_ERROR_NULL_OBJECT;
  AAX_Result& answer = result ? *result : local;
  int32_t size = 0;
  if (!Parameters())
    return {};
  answer = Parameters()->GetChunkSize(chunkID, &size);
  if (answer != AAX_SUCCESS || size < 0)
    return {};
  FakeChunkRecord record{uint32_t(size)};
  record.Get()->fChunkID = chunkID;
  answer = Parameters()->GetChunk(chunkID, record.Get());
  return answer == AAX_SUCCESS ? record.Data() : std::vector<uint8_t>();
}

AAX_Result FakeEffectInstance::RestoreChunk(AAX_CTypeID chunkID, const std::vector<uint8_t>& data) {
  if (!Parameters())
    return AAX_ERROR_NULL_OBJECT;
  FakeChunkRecord record = FakeChunkRecord::WithData(data, chunkID);
  return Parameters()->SetChunk(chunkID, record.Get());
}

AAX_Result FakeEffectInstance::CompareChunk(AAX_CTypeID chunkID, const std::vector<uint8_t>& data,
                                            bool* equal) const {
  if (!Parameters())
    return AAX_ERROR_NULL_OBJECT;
  FakeChunkRecord record = FakeChunkRecord::WithData(data, chunkID);
  AAX_CBoolean same = false;
  const AAX_Result result = Parameters()->CompareActiveChunk(record.Get(), &same);
  if (equal)
    *equal = same != 0;
  return result;
}

} // namespace aaxhost
