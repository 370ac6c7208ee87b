#include "public.sdk/source/common/memorystream.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace Steinberg {

MemoryStream::MemoryStream() = default;

MemoryStream::MemoryStream(void* memory_, TSize memorySize)
    : memory(static_cast<char8*>(memory_)), ownsMemory(false) {
  allocated = size = (memory && memorySize > 0) ? memorySize : 0;
}

MemoryStream::MemoryStream(const void* memory_, TSize memorySize)
    : MemoryStream(const_cast<void*>(memory_), memorySize) {
  readOnly = true;
}

MemoryStream::~MemoryStream() {
  if (ownsMemory)
    std::free(memory);
}

bool MemoryStream::reserve(TSize needed) {
  if (needed <= allocated)
    return true;
  if (!ownsMemory)
    return false;
  // Grow geometrically so that many small writes stay cheap.
  TSize newAllocated = std::max<TSize>(needed, allocated < 4096 ? 4096 : allocated + allocated / 2);
  void* grown = std::realloc(memory, static_cast<size_t>(newAllocated));
  if (!grown) {
    newAllocated = needed;
    grown = std::realloc(memory, static_cast<size_t>(newAllocated));
    if (!grown)
      return false;
  }
  memory = static_cast<char8*>(grown);
  allocated = newAllocated;
  return true;
}

tresult PLUGIN_API MemoryStream::read(void* buffer, int32 numBytes, int32* numBytesRead) {
  if (numBytesRead)
    *numBytesRead = 0;
  if (numBytes < 0 || (!buffer && numBytes > 0))
    return kInvalidArgument;
  const TSize available = cursor < size ? size - cursor : 0;
  const int32 n = static_cast<int32>(std::min<TSize>(numBytes, available));
  if (n == 0)
    return numBytes == 0 ? kResultTrue : kResultFalse;
  std::memcpy(buffer, memory + cursor, static_cast<size_t>(n));
  cursor += n;
  if (numBytesRead)
    *numBytesRead = n;
  return kResultTrue;
}

tresult PLUGIN_API MemoryStream::write(void* buffer, int32 numBytes, int32* numBytesWritten) {
  if (numBytesWritten)
    *numBytesWritten = 0;
  if (numBytes < 0 || (!buffer && numBytes > 0))
    return kInvalidArgument;
  if (readOnly)
    return kResultFalse;
  if (numBytes == 0)
    return kResultTrue;
  if (cursor > kMaxInt64 - numBytes)
    return kInvalidArgument;
  const TSize end = cursor + numBytes;
  if (!reserve(end))
    return ownsMemory ? kOutOfMemory : kResultFalse;
  if (cursor > size) // a seek went past the end: the gap reads as zeros
    std::memset(memory + size, 0, static_cast<size_t>(cursor - size));
  std::memcpy(memory + cursor, buffer, static_cast<size_t>(numBytes));
  cursor = end;
  size = std::max(size, end);
  if (numBytesWritten)
    *numBytesWritten = numBytes;
  return kResultTrue;
}

tresult PLUGIN_API MemoryStream::seek(int64 pos, int32 mode, int64* result) {
  TSize base = 0;
  switch (mode) {
  case kIBSeekSet:
    base = 0;
    break;
  case kIBSeekCur:
    base = cursor;
    break;
  case kIBSeekEnd:
    base = size;
    break;
  default:
    return kInvalidArgument;
  }
  if ((pos > 0 && base > kMaxInt64 - pos) || base + pos < 0)
    return kInvalidArgument;
  cursor = base + pos;
  if (result)
    *result = cursor;
  return kResultTrue;
}

tresult PLUGIN_API MemoryStream::tell(int64* pos) {
  if (!pos)
    return kInvalidArgument;
  *pos = cursor;
  return kResultTrue;
}

bool MemoryStream::setSize(TSize newSize) {
  if (newSize < 0 || readOnly || !reserve(newSize))
    return false;
  if (newSize > size)
    std::memset(memory + size, 0, static_cast<size_t>(newSize - size));
  size = newSize;
  return true;
}

} // namespace Steinberg
