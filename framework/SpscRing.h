#pragma once

#include <atomic>
#include <cstdint>

// A fixed ring of N slots with one writer thread and one reader thread, for messages between
// the UI thread and the audio thread. One slot always stays free, so it holds N - 1 items; a
// write to a full ring drops the new item. The writer publishes a slot by storing the write
// index with release order after filling it, and the reader acquires it before reading the
// slot (and the same the other way round for the read index), so neither side ever sees a
// half-written item. Nothing allocates and nothing blocks.
template <class T, uint64_t N> class SpscRing {
  static_assert(N >= 2, "a ring needs one free slot besides its items");

public:
  // Writer side: false when the ring is full and the item was dropped.
  bool Write(const T& item) {
    const uint64_t write = mWrite.load(std::memory_order_relaxed);
    const uint64_t next = (write + 1) % N;
    if (next == mRead.load(std::memory_order_acquire))
      return false;
    mSlots[write] = item;
    mWrite.store(next, std::memory_order_release);
    return true;
  }

  // Writer side, for large items: the slot to fill in place, or null when the ring is full.
  // Publish() makes it visible.
  T* BeginWrite() {
    const uint64_t write = mWrite.load(std::memory_order_relaxed);
    if ((write + 1) % N == mRead.load(std::memory_order_acquire))
      return nullptr;
    return &mSlots[write];
  }
  void Publish() {
    const uint64_t write = mWrite.load(std::memory_order_relaxed);
    mWrite.store((write + 1) % N, std::memory_order_release);
  }

  // Reader side: false when nothing is waiting.
  bool Read(T& item) {
    const T* slot = Peek();
    if (!slot)
      return false;
    item = *slot;
    Pop();
    return true;
  }

  // Reader side, for large items: the oldest item in place, or null; Pop() frees it.
  const T* Peek() const {
    const uint64_t read = mRead.load(std::memory_order_relaxed);
    if (read == mWrite.load(std::memory_order_acquire))
      return nullptr;
    return &mSlots[read];
  }
  void Pop() {
    const uint64_t read = mRead.load(std::memory_order_relaxed);
    mRead.store((read + 1) % N, std::memory_order_release);
  }

  static constexpr uint64_t Capacity() { return N - 1; }

private:
  T mSlots[N] = {};
  alignas(64) std::atomic<uint64_t> mWrite{0};
  alignas(64) std::atomic<uint64_t> mRead{0};
};
