#pragma once

#include "framework/KIT_HeapBuf.h"

#include <climits>
#include <cstdint>
#include <type_traits>

// A growable array of trivially copyable T kept in a KIT_HeapBuf; element count is
// size / sizeof(T).
template <class T> class KIT_TypedBuf {
  static_assert(std::is_trivially_copyable_v<T>, "KIT_TypedBuf moves its elements as bytes");

public:
  explicit KIT_TypedBuf(int granularity = 4096) : mBuf(granularity) {}

  T* Get() { return static_cast<T*>(mBuf.Get()); }
  const T* Get() const { return static_cast<const T*>(mBuf.Get()); }
  int GetSize() const { return mBuf.GetSize() / int(sizeof(T)); }

  // Resizes to count elements; returns the array (null for 0). A count whose byte size
  // exceeds an int fails like a failed allocation: the size stays.
  T* Resize(int count, bool resizeDown = false) {
    if (int64_t(count) * int64_t(sizeof(T)) > INT_MAX)
      return GetSize() ? Get() : nullptr;
    return static_cast<T*>(mBuf.Resize(count * int(sizeof(T)), resizeDown));
  }
  // Appends one element; false, nothing changed, when the buffer cannot grow.
  bool Add(const T& item) { return mBuf.Append(&item, int(sizeof(T))); }

  KIT_HeapBuf& Raw() { return mBuf; }

private:
  KIT_HeapBuf mBuf;
};
