#include "tests/hosts/vst3/MemoryStream.h"

#include <algorithm>
#include <cstring>

namespace orvane::testhost {

using namespace Steinberg;

tresult PLUGIN_API MemoryStream::read(void* buffer, int32 numBytes, int32* numBytesRead) {
  if (numBytesRead)
    *numBytesRead = 0;
  if (numBytes < 0 || (numBytes > 0 && !buffer))
    return kInvalidArgument;
  const auto size = static_cast<std::int64_t>(bytes.size());
  const std::int64_t available = std::max<std::int64_t>(0, size - cursor);
  const auto count = static_cast<int32>(std::min<std::int64_t>(numBytes, available));
  if (count > 0)
    std::memcpy(buffer, bytes.data() + cursor, static_cast<size_t>(count));
  cursor += count;
  if (numBytesRead)
    *numBytesRead = count;
  return kResultOk;
}

tresult PLUGIN_API MemoryStream::write(void* buffer, int32 numBytes, int32* numBytesWritten) {
  if (numBytesWritten)
    *numBytesWritten = 0;
  if (numBytes < 0 || (numBytes > 0 && !buffer))
    return kInvalidArgument;
  const auto end = static_cast<size_t>(cursor) + static_cast<size_t>(numBytes);
  if (end > bytes.size())
    bytes.resize(end, 0);
  if (numBytes > 0)
    std::memcpy(bytes.data() + cursor, buffer, static_cast<size_t>(numBytes));
  cursor += numBytes;
  if (numBytesWritten)
    *numBytesWritten = numBytes;
  return kResultOk;
}

tresult PLUGIN_API MemoryStream::seek(int64 pos, int32 mode, int64* result) {
  std::int64_t target = 0;
  switch (mode) {
  case kIBSeekSet:
    target = pos;
    break;
  case kIBSeekCur:
    target = cursor + pos;
    break;
  case kIBSeekEnd:
    target = static_cast<std::int64_t>(bytes.size()) + pos;
    break;
  default:
    return kInvalidArgument;
  }
  if (target < 0)
    return kInvalidArgument;
  cursor = target;
  if (result)
    *result = cursor;
  return kResultOk;
}

tresult PLUGIN_API MemoryStream::tell(int64* pos) {
  if (!pos)
    return kInvalidArgument;
  *pos = cursor;
  return kResultOk;
}

} // namespace orvane::testhost
