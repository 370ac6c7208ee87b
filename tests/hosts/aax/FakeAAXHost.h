// A recording AAX host for tests: the host interface a plug-in is handed at start-up,
// registration and instance initialisation. It answers the component factory (collections,
// descriptors, property maps, host services), the instance objects (controller, automation,
// transport) and, once an instance is attached, that instance's effect-parameters interface
// (what an editor object asks for). Every call the plug-in makes on a host object lands in
// one log; every interface can be withheld or broken per test.
#pragma once

#include "AAX_IACFEffectParameters.h"
#include "AAX.h"
#include "FakeDescriptionObjects.h"
#include "FakeHostObject.h"
#include "FakeInstanceObjects.h"
#include "sdk/macos/runloop/RunLoop.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace aaxhost {

class FakeAAXHost final : public HostObject<IACFUnknown> {
public:
  FakeAAXHost();
  ~FakeAAXHost() override;

  CallLog log;
  FakeComponentFactory factory{log};
  FakeController controller{log};
  FakeAutomationDelegate automation{log};
  FakeTransport transport{log};
  FakeViewContainer viewContainer{log};

  // The effect-parameters object of the instance this host context belongs to; the host
  // holds one reference while attached.
  void AttachEffect(IACFUnknown* effect);
  void DetachEffect();
  AAX_IACFEffectParameters* Effect() const { return mEffect; }

  // Sum of the references the plug-in still holds on host objects.
  int32_t OutstandingReferences() const;

  // The host's main thread between its other calls: runs the run loop the plug-in's timers
  // are on (the transfer timer, the processor's meter timer) for ms milliseconds of the
  // host's clock, a millisecond at a time. The host owns that loop's clock while it lives.
  // A bundle loaded from disk has its own copy of the loop, out of any host's reach; plug-in
  // classes linked into the test share this one.
  void RunMainLoop(uint32_t ms);

protected:
  void* Answer(const acfIID& iid) override;

private:
  AAX_IACFEffectParameters* mEffect = nullptr;
  orvane::ManualClock mMainClock{1000000};
};

// A chunk record as the host allocates it: the 56-byte header and room for the data.
class FakeChunkRecord {
public:
  explicit FakeChunkRecord(uint32_t dataCapacity);
  // A record holding exactly these data bytes (size field = their count).
  static FakeChunkRecord WithData(const std::vector<uint8_t>& data, AAX_CTypeID chunkID);

  AAX_SPlugInChunk* Get() { return reinterpret_cast<AAX_SPlugInChunk*>(mStorage.data()); }
  const AAX_SPlugInChunk* Get() const {
    return reinterpret_cast<const AAX_SPlugInChunk*>(mStorage.data());
  }
  uint32_t DataCapacity() const { return mCapacity; }
  // The data bytes the size field covers (at most the capacity).
  std::vector<uint8_t> Data() const;

private:
  uint32_t mCapacity;
  std::vector<uint64_t> mStorage; // 8-byte aligned
};

} // namespace aaxhost
