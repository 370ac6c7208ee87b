// A parameter-change transfer queue between two threads (one writer, one reader) that never
// loses a change. Changes travel through the VST 3 SDK's lock-free ring; when the ring is full
// (the reader has not run for a while: no blocks while the host's engine is stopped, or a
// late timer), the newest value of each parameter waits in a slot of its own instead of being
// dropped, and is delivered after the ring's contents. Only the latest value of a parameter
// matters to both readers here, so nothing a reader would act on is lost. No lock and no
// allocation after Resize.
#pragma once

#include "public.sdk/source/vst/hosting/parameterchanges.h"

#include <atomic>
#include <memory>
#include <vector>

class AAXWrapper_TransferQueue {
public:
  using ParamID = Steinberg::Vst::ParamID;
  using ParamValue = Steinberg::Vst::ParamValue;

  // Sizes the ring for one change per parameter and gives each parameter an overflow slot.
  // Allocates: call it while neither side runs. Pending changes are dropped.
  void Resize(const std::vector<ParamID>& ids);

  // Writer side. False only for a parameter this queue was not sized for while the ring is
  // full.
  bool Add(ParamID id, ParamValue value);
  // Drops everything written so far (writer side).
  void Clear();

  // Reader side: the next change, ring first, then the overflow slots. False when empty.
  bool Next(ParamID& id, ParamValue& value);
  // Moves every waiting change into dest at sample offset 0.
  void MoveTo(Steinberg::Vst::ParameterChanges& dest);

private:
  struct Slot {
    std::atomic<double> value{0.0};
    std::atomic<bool> pending{false};
  };

  // Slot of id by binary search of the sorted IDs; -1 when there is none.
  int32_t SlotOf(ParamID id) const;
  bool TakeOverflow(ParamID& id, ParamValue& value);

  Steinberg::Vst::ParameterChangeTransfer mRing;
  std::vector<ParamID> mIDs; // sorted
  std::unique_ptr<Slot[]> mSlots;
  std::atomic<int32_t> mPendingSlots{0};
  size_t mScanFrom = 0; // reader only
};
