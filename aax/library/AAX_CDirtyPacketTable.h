// Data packets that belong to parameter identifiers: a confirmed value change marks the
// packets of its identifier dirty, and a dispatch offers every dirty packet to its handler and
// posts the ones it agrees to through the host controller's packet port.
#pragma once

#include "AAX.h"
#include "aax/library/AAX_COwnerThreadLock.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class AAX_VController;
class AAX_IEffectParameters;

struct AAX_CPacket {
  uint32_t portID = 0;
  bool dirty = false;
  uint32_t payloadSize = 0;
  std::vector<uint8_t> payload;
};

// Decides whether a dirty packet is to be posted: 0 posts it.
class AAX_IPacketHandler {
public:
  virtual ~AAX_IPacketHandler() = default;
  virtual AAX_Result Call(const std::string& parameterID, AAX_CPacket& packet) = 0;
};

class AAX_CDirtyPacketTable {
public:
  struct Registration {
    AAX_CPacket* packet;
    std::unique_ptr<AAX_IPacketHandler> handler;
  };

  AAX_CDirtyPacketTable() = default;
  ~AAX_CDirtyPacketTable();
  AAX_CDirtyPacketTable(const AAX_CDirtyPacketTable&) = delete;
  AAX_CDirtyPacketTable& operator=(const AAX_CDirtyPacketTable&) = delete;

  void Initialize(AAX_VController* controller, AAX_IEffectParameters* effectParameters);
  // Registers a packet for the port under a parameter identifier; the table owns the handler.
  void AddPacket(const std::string& parameterID, uint32_t portID,
                 std::unique_ptr<AAX_IPacketHandler> handler);
  AAX_Result SetDirty(const std::string& parameterID, bool dirty);
  AAX_Result Dispatch();

private:
  std::map<uint32_t, std::unique_ptr<AAX_CPacket>> mPackets;
  std::multimap<std::string, Registration> mRegistrations;
  AAX_VController* mController = nullptr;
  AAX_IEffectParameters* mEffectParameters = nullptr;
  AAX_COwnerThreadLock mLock;
};
