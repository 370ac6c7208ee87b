#include "framework/KIT_HeapBuf.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {
constexpr int64_t kPage = 4096;
constexpr int64_t kAllocatorOverhead = 96;
constexpr int64_t kMaxHeadroom = 0x400000;
} // namespace

KIT_HeapBuf::~KIT_HeapBuf() {
  std::free(buf);
}

KIT_HeapBuf::KIT_HeapBuf(KIT_HeapBuf&& other) noexcept
    : buf(std::exchange(other.buf, nullptr)), alloc(std::exchange(other.alloc, 0)),
      size(std::exchange(other.size, 0)), granularity(other.granularity) {}

KIT_HeapBuf& KIT_HeapBuf::operator=(KIT_HeapBuf&& other) noexcept {
  if (this != &other) {
    std::free(buf);
    buf = std::exchange(other.buf, nullptr);
    alloc = std::exchange(other.alloc, 0);
    size = std::exchange(other.size, 0);
    granularity = other.granularity;
  }
  return *this;
}

// Computed in 64 bits: near INT_MAX the policy's headroom would overflow an int. The result
// is capped at INT_MAX, which still holds newSize.
int64_t KIT_HeapBuf::AllocationFor(int newSize, int granularity) {
  if (newSize <= 0)
    return 0;
  const int64_t n = newSize;
  int64_t result;
  if (granularity < kPage) {
    result = n + std::max<int64_t>(n / 2, granularity);
  } else {
    int64_t g = std::max<int64_t>(n / 2, granularity) / kPage * kPage;
    g = std::clamp(g, kPage, kMaxHeadroom);
    result = (n + g + kAllocatorOverhead) / kPage * kPage - kAllocatorOverhead;
  }
  return std::min<int64_t>(result, INT_MAX);
}

void* KIT_HeapBuf::Resize(int newSize, bool resizeDown) {
  newSize = std::max(newSize, 0);
  if (newSize == size)
    return buf;

  int64_t low = 0;
  if (newSize < size && resizeDown) {
    const int64_t a = alloc;
    low = std::max<int64_t>(1, std::min<int64_t>(a - 4 * int64_t(granularity), a / 2));
  }

  if (newSize > alloc || newSize < low) {
    const int64_t newAlloc = AllocationFor(newSize, granularity);
    if (newAlloc == 0) {
      std::free(buf);
      buf = nullptr;
      alloc = 0;
      size = 0;
      return nullptr;
    }
    void* grown = std::realloc(buf, size_t(newAlloc));
    if (!grown) {
      grown = std::malloc(size_t(newAlloc));
      if (!grown)
        return size ? buf : nullptr;
      if (buf)
        std::memcpy(grown, buf, size_t(std::min(newSize, size)));
      std::free(buf);
    }
    buf = grown;
    alloc = int32_t(newAlloc);
  }
  size = newSize;
  return buf;
}

bool KIT_HeapBuf::Append(const void* src, int n) {
  if (n < 0 || int64_t(size) + n > INT_MAX)
    return false;
  if (n == 0)
    return true;
  const int oldSize = size;
  Resize(oldSize + n);
  if (size != oldSize + n)
    return false;
  if (src)
    std::memcpy(Bytes() + oldSize, src, size_t(n));
  else
    std::memset(Bytes() + oldSize, 0, size_t(n));
  return true;
}

bool KIT_HeapBuf::CopyFrom(const KIT_HeapBuf& other) {
  if (&other == this)
    return true;
  KIT_HeapBuf copy(granularity);
  if (!copy.Append(other.Get(), other.GetSize()))
    return false;
  Swap(copy);
  return true;
}

void KIT_HeapBuf::Swap(KIT_HeapBuf& other) noexcept {
  std::swap(buf, other.buf);
  std::swap(alloc, other.alloc);
  std::swap(size, other.size);
  std::swap(granularity, other.granularity);
}
