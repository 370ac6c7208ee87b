// An in-memory IBStream, as hosts use for state.
#pragma once

#include "pluginterfaces/base/ibstream.h"
#include "tests/hosts/vst3/HostObject.h"

#include <cstdint>
#include <vector>

namespace orvane::testhost {

class MemoryStream : public HostObject<Steinberg::IBStream> {
public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<std::uint8_t> bytes) : bytes(std::move(bytes)) {}

  // Reads stop at the end (a short read is not an error); a negative count is refused.
  Steinberg::tresult PLUGIN_API read(void* buffer, Steinberg::int32 numBytes,
                                     Steinberg::int32* numBytesRead) override;
  // Writes at the position, growing the stream (with zeros when the position is past the end).
  Steinberg::tresult PLUGIN_API write(void* buffer, Steinberg::int32 numBytes,
                                      Steinberg::int32* numBytesWritten) override;
  // A position before the start is refused and leaves the position as it was.
  Steinberg::tresult PLUGIN_API seek(Steinberg::int64 pos, Steinberg::int32 mode,
                                     Steinberg::int64* result) override;
  Steinberg::tresult PLUGIN_API tell(Steinberg::int64* pos) override;

  const std::vector<std::uint8_t>& data() const { return bytes; }
  std::int64_t position() const { return cursor; }
  void rewind() { cursor = 0; }

private:
  std::vector<std::uint8_t> bytes;
  std::int64_t cursor = 0;
};

} // namespace orvane::testhost
