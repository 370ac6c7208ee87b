#include "framework/StateStream.h"

#include <algorithm>
#include <cstdint>

using namespace Steinberg;

namespace {

// Streams may hand out fewer bytes per call than asked; read until done or dry.
bool ReadExactly(IBStream* stream, void* out, int32 n) {
  auto* bytes = static_cast<uint8_t*>(out);
  while (n > 0) {
    int32 got = 0;
    if (stream->read(bytes, n, &got) != kResultOk || got <= 0 || got > n)
      return false;
    bytes += got;
    n -= got;
  }
  return true;
}

bool WriteExactly(IBStream* stream, const void* data, int32 n) {
  auto* bytes = static_cast<uint8_t*>(const_cast<void*>(data));
  while (n > 0) {
    int32 put = 0;
    if (stream->write(bytes, n, &put) != kResultOk || put <= 0 || put > n)
      return false;
    bytes += put;
    n -= put;
  }
  return true;
}

} // namespace

namespace StateStream {

bool ReadChunk(IBStream* stream, KIT_HeapBuf& chunk) {
  chunk.Resize(0);
  int32_t length = 0;
  if (!stream || !ReadExactly(stream, &length, 4))
    return false;
  if (length < 0 || length > kMaxChunkBytes)
    return false;
  constexpr int kPiece = 64 * 1024;
  for (int done = 0; done < length;) {
    const int n = std::min(kPiece, length - done);
    chunk.Resize(done + n);
    if (chunk.GetSize() != done + n || !ReadExactly(stream, chunk.Bytes() + done, n))
      return false;
    done += n;
  }
  return true;
}

bool WriteChunk(IBStream* stream, const KIT_HeapBuf& chunk) {
  const int32_t length = chunk.GetSize();
  return stream && WriteExactly(stream, &length, 4) && WriteExactly(stream, chunk.Get(), length);
}

} // namespace StateStream
