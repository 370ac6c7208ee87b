#include "framework/StateSnapshot.h"

#include "framework/IFxBase.h"

StateSnapshot::StateSnapshot(int nValues)
    : mCount(nValues > 0 ? nValues : 0),
      mValues(std::make_unique<std::atomic<double>[]>(size_t(mCount))) {}

// Each value is stored with release order after the odd sequence: a reader that sees any
// new value therefore sees the sequence moved. Each is read with acquire order before the
// sequence is read again, which keeps the second look after the values.
void StateSnapshot::Publish(const IFxBase& source) {
  const uint64_t sequence = mSequence.load(std::memory_order_relaxed);
  mSequence.store(sequence + 1, std::memory_order_relaxed);
  mBypassed.store(source.GetBypassed(), std::memory_order_release);
  for (int i = 0; i < mCount; ++i)
    mValues[size_t(i)].store(source.GetParam(i)->Value(), std::memory_order_release);
  mSequence.store(sequence + 2, std::memory_order_release);
}

void StateSnapshot::Read(bool* bypassed, double* values) const {
  for (;;) {
    const uint64_t before = mSequence.load(std::memory_order_acquire);
    if (before & 1) {
      std::this_thread::yield();
      continue;
    }
    *bypassed = mBypassed.load(std::memory_order_acquire);
    for (int i = 0; i < mCount; ++i)
      values[i] = mValues[size_t(i)].load(std::memory_order_acquire);
    if (mSequence.load(std::memory_order_relaxed) == before)
      return;
  }
}
