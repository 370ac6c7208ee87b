#include "FakeAAXHost.h"

#include <algorithm>
#include <cstring>

namespace aaxhost {

FakeAAXHost::FakeAAXHost() : HostObject(log) {
  orvane::RunLoop::instance().setClock(mMainClock.clock());
}

FakeAAXHost::~FakeAAXHost() {
  DetachEffect();
  orvane::RunLoop::instance().setClock({});
}

void FakeAAXHost::RunMainLoop(uint32_t ms) {
  for (uint32_t i = 0; i < ms; ++i) {
    mMainClock.advance(1);
    orvane::RunLoop::instance().pump();
  }
}

void FakeAAXHost::AttachEffect(IACFUnknown* effect) {
  DetachEffect();
  void* parameters = nullptr;
  if (effect && effect->QueryInterface(IID_EffectParameters, &parameters) == ACF_OK)
    mEffect = static_cast<AAX_IACFEffectParameters*>(parameters);
}

void FakeAAXHost::DetachEffect() {
  if (mEffect)
    std::exchange(mEffect, nullptr)->Release();
}

void* FakeAAXHost::Answer(const acfIID& iid) {
  if (iid == IID_ACFComponentFactory)
    return static_cast<IACFComponentFactory*>(&factory);
  if (iid == IID_Controller)
    return static_cast<AAX_IACFController*>(&controller);
  if (iid == IID_Controller_V2)
    return static_cast<AAX_IACFController_V2*>(&controller);
  if (iid == IID_AutomationDelegate)
    return static_cast<AAX_IACFAutomationDelegate*>(&automation);
  if (iid == IID_Transport)
    return static_cast<AAX_IACFTransport*>(&transport);
  if (iid == IID_Transport_V2)
    return static_cast<AAX_IACFTransport_V2*>(&transport);
  if (iid == IID_EffectParameters && mEffect)
    return mEffect;
  return nullptr;
}

int32_t FakeAAXHost::OutstandingReferences() const {
  int32_t total = References() + factory.References() + controller.References() +
                  automation.References() + transport.References() + viewContainer.References();
  for (const HostObjectBase* product : factory.Products())
    total += product->References();
  return total;
}

FakeChunkRecord::FakeChunkRecord(uint32_t dataCapacity)
    : mCapacity(dataCapacity),
      mStorage((AAX_kChunkDataOffset + dataCapacity + sizeof(uint64_t) - 1) / sizeof(uint64_t), 0) {
}

FakeChunkRecord FakeChunkRecord::WithData(const std::vector<uint8_t>& data, AAX_CTypeID chunkID) {
  FakeChunkRecord record(uint32_t(data.size()));
  record.Get()->fSize = int32_t(data.size());
  record.Get()->fChunkID = chunkID;
  if (!data.empty())
    std::memcpy(AAX_ChunkData(record.Get()), data.data(), data.size());
  return record;
}

std::vector<uint8_t> FakeChunkRecord::Data() const {
  const int32_t size = std::clamp<int32_t>(Get()->fSize, 0, int32_t(mCapacity));
  const uint8_t* data = AAX_ChunkData(Get());
  return std::vector<uint8_t>(data, data + size);
}

} // namespace aaxhost
