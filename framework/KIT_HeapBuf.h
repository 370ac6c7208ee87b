#pragma once

#include <cstdint>

// A growable byte buffer with an allocation policy. Every chunk, list and string of the
// framework lives in one, so its growth policy decides the allocation sizes the whole
// system sees: small buffers grow by half their size (at least the granularity), large
// ones in whole 4 KiB pages less the allocator's overhead, with at most 4 MiB headroom.
class KIT_HeapBuf {
public:
  explicit KIT_HeapBuf(int granularity = 4096) : granularity(granularity) {}
  ~KIT_HeapBuf();

  KIT_HeapBuf(const KIT_HeapBuf&) = delete;
  KIT_HeapBuf& operator=(const KIT_HeapBuf&) = delete;
  KIT_HeapBuf(KIT_HeapBuf&& other) noexcept;
  KIT_HeapBuf& operator=(KIT_HeapBuf&& other) noexcept;

  // Sets the size in use to newSize bytes, reallocating by the growth policy. Returns the
  // buffer (null for size 0). When no memory can be had the old buffer and size stay, so
  // a caller detects failure by GetSize() differing from what it asked for.
  void* Resize(int newSize, bool resizeDown = false);

  // Appends n bytes (a null src appends zeros); false, with nothing changed, when the
  // buffer cannot grow.
  bool Append(const void* src, int n);
  // Replaces the contents with a copy of other's bytes; false, nothing changed, on failure.
  bool CopyFrom(const KIT_HeapBuf& other);
  void Swap(KIT_HeapBuf& other) noexcept;

  void* Get() { return buf; }
  const void* Get() const { return buf; }
  uint8_t* Bytes() { return static_cast<uint8_t*>(buf); }
  const uint8_t* Bytes() const { return static_cast<const uint8_t*>(buf); }
  int GetSize() const { return size; }
  int GetAlloc() const { return alloc; }
  int GetGranularity() const { return granularity; }
  void SetGranularity(int g) { granularity = g; }

  // The allocation the policy chooses for newSize bytes (0 for 0); never below newSize.
  static int64_t AllocationFor(int newSize, int granularity);

private:
  void* buf = nullptr;
  int32_t alloc = 0;
  int32_t size = 0;
  int32_t granularity;
};
