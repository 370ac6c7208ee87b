// Reading and writing the pass-through's state blobs through a host stream.
#pragma once

#include "pluginterfaces/base/ibstream.h"

#include <cstdint>
#include <cstring>

namespace orvane::passthrough {

// Reads exactly `size` bytes; false on a short stream.
inline bool readExactly(Steinberg::IBStream* stream, void* into, Steinberg::int32 size) {
  Steinberg::int32 got = 0;
  return stream && stream->read(into, size, &got) == Steinberg::kResultOk && got == size;
}

inline bool writeExactly(Steinberg::IBStream* stream, const void* from, Steinberg::int32 size) {
  Steinberg::int32 put = 0;
  return stream && stream->write(const_cast<void*>(from), size, &put) == Steinberg::kResultOk &&
         put == size;
}

// Little-endian on every host this builds for (x86-64); kept explicit so the layout is fixed.
inline void putF64(std::uint8_t* at, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, 8);
  for (int i = 0; i < 8; ++i)
    at[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}
inline double getF64(const std::uint8_t* at) {
  std::uint64_t bits = 0;
  for (int i = 0; i < 8; ++i)
    bits |= static_cast<std::uint64_t>(at[i]) << (8 * i);
  double value;
  std::memcpy(&value, &bits, 8);
  return value;
}
inline void putI32(std::uint8_t* at, std::int32_t value) {
  for (int i = 0; i < 4; ++i)
    at[i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
}
inline std::int32_t getI32(const std::uint8_t* at) {
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i)
    bits |= static_cast<std::uint32_t>(at[i]) << (8 * i);
  return static_cast<std::int32_t>(bits);
}

} // namespace orvane::passthrough
