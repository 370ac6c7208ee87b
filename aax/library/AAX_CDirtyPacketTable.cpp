#include "aax/library/AAX_CDirtyPacketTable.h"

#include "aax/library/AAX_VController.h"

namespace {
// Posted packets always carry 8 bytes.
constexpr uint32_t kPostedPayloadSize = 8;
} // namespace

AAX_CDirtyPacketTable::~AAX_CDirtyPacketTable() {
  mRegistrations.clear();
  mPackets.clear();
}

void AAX_CDirtyPacketTable::Initialize(AAX_VController* controller,
                                       AAX_IEffectParameters* effectParameters) {
  mController = controller;
  mEffectParameters = effectParameters;
}

void AAX_CDirtyPacketTable::AddPacket(const std::string& parameterID, uint32_t portID,
                                      std::unique_ptr<AAX_IPacketHandler> handler) {
  if (!handler)
    return;
  AAX_StLock_Guard guard(mLock);
  std::unique_ptr<AAX_CPacket>& packet = mPackets[portID];
  if (!packet) {
    packet = std::make_unique<AAX_CPacket>();
    packet->portID = portID;
  }
  mRegistrations.emplace(parameterID, Registration{packet.get(), std::move(handler)});
}

AAX_Result AAX_CDirtyPacketTable::SetDirty(const std::string& parameterID, bool dirty) {
  AAX_StLock_Guard guard(mLock);
  auto [first, last] = mRegistrations.equal_range(parameterID);
  for (auto it = first; it != last; ++it)
    it->second.packet->dirty = dirty;
  return AAX_SUCCESS;
}

AAX_Result AAX_CDirtyPacketTable::Dispatch() {
  AAX_StLock_Guard guard(mLock);
  AAX_Result result = AAX_SUCCESS;
  for (auto& [parameterID, registration] : mRegistrations) {
    AAX_CPacket& packet = *registration.packet;
    if (!packet.dirty)
      continue;
    if (registration.handler->Call(parameterID, packet) == AAX_SUCCESS) {
      packet.payloadSize = kPostedPayloadSize;
      packet.payload.resize(kPostedPayloadSize);
      result = mController ? mController->PostPacket(AAX_CFieldIndex(packet.portID),
                                                     packet.payload.data(), packet.payloadSize)
                           : AAX_ERROR_NULL_OBJECT;
    }
    packet.dirty = false;
  }
  return result;
}
