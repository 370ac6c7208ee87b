#include "aax/adapter/AAXWrapper_TransferQueue.h"

#include <algorithm>

void AAXWrapper_TransferQueue::Resize(const std::vector<ParamID>& ids) {
  mIDs = ids;
  std::sort(mIDs.begin(), mIDs.end());
  mIDs.erase(std::unique(mIDs.begin(), mIDs.end()), mIDs.end());
  mRing.setMaxParameters(Steinberg::int32(ids.size()));
  mSlots = mIDs.empty() ? nullptr : std::make_unique<Slot[]>(mIDs.size());
  mPendingSlots.store(0);
  mScanFrom = 0;
}

int32_t AAXWrapper_TransferQueue::SlotOf(ParamID id) const {
  const auto found = std::lower_bound(mIDs.begin(), mIDs.end(), id);
  return found != mIDs.end() && *found == id ? int32_t(found - mIDs.begin()) : -1;
}

bool AAXWrapper_TransferQueue::Add(ParamID id, ParamValue value) {
  const int32_t slot = SlotOf(id);
  // A parameter whose newest value already waits in its slot keeps using the slot, so that
  // an older value in the ring can never follow a newer one.
  const bool waiting = slot >= 0 && mSlots[size_t(slot)].pending.load(std::memory_order_acquire);
  if (!waiting && mRing.addChange(id, value, 0))
    return true;
  if (slot < 0)
    return false;
  Slot& s = mSlots[size_t(slot)];
  s.value.store(value, std::memory_order_release);
  if (!s.pending.exchange(true, std::memory_order_acq_rel))
    mPendingSlots.fetch_add(1, std::memory_order_release);
  return true;
}

void AAXWrapper_TransferQueue::Clear() {
  mRing.removeChanges();
  for (size_t i = 0; i < mIDs.size(); ++i) {
    if (mSlots[i].pending.exchange(false, std::memory_order_acq_rel))
      mPendingSlots.fetch_sub(1, std::memory_order_release);
  }
}

bool AAXWrapper_TransferQueue::TakeOverflow(ParamID& id, ParamValue& value) {
  if (mPendingSlots.load(std::memory_order_acquire) <= 0)
    return false;
  for (size_t n = 0; n < mIDs.size(); ++n) {
    const size_t i = (mScanFrom + n) % mIDs.size();
    Slot& s = mSlots[i];
    if (!s.pending.exchange(false, std::memory_order_acq_rel))
      continue;
    mPendingSlots.fetch_sub(1, std::memory_order_release);
    id = mIDs[i];
    value = s.value.load(std::memory_order_acquire);
    mScanFrom = i + 1;
    return true;
  }
  return false;
}

bool AAXWrapper_TransferQueue::Next(ParamID& id, ParamValue& value) {
  Steinberg::int32 offset = 0;
  if (mRing.getNextChange(id, value, offset))
    return true;
  return TakeOverflow(id, value);
}

void AAXWrapper_TransferQueue::MoveTo(Steinberg::Vst::ParameterChanges& dest) {
  ParamID id = 0;
  ParamValue value = 0.0;
  while (Next(id, value)) {
    Steinberg::int32 index = 0;
    if (Steinberg::Vst::IParamValueQueue* queue = dest.addParameterData(id, index))
      queue->addPoint(0, value, index);
  }
}
