#pragma once

#include "framework/KIT_HeapBuf.h"

#include <cstdint>
#include <cstring>

// The byte-level vocabulary of state chunks: values are appended in the machine's byte
// order (little-endian on the shipped platforms); readers take a read position and return
// the advanced one, or -1 when the bytes are missing. A negative position passes -1 on.

inline int64_t ChunkBytesLeft(const KIT_HeapBuf& chunk, int pos) {
  return pos < 0 ? -1 : int64_t(chunk.GetSize()) - pos;
}

inline int ChunkGetBytes(const KIT_HeapBuf& chunk, int pos, void* out, int n) {
  if (pos < 0 || n < 0 || ChunkBytesLeft(chunk, pos) < n)
    return -1;
  if (n)
    std::memcpy(out, chunk.Bytes() + pos, size_t(n));
  return pos + n;
}

inline int ChunkGetInt32(const KIT_HeapBuf& chunk, int pos, int32_t* out) {
  return ChunkGetBytes(chunk, pos, out, 4);
}

inline int ChunkGetDouble(const KIT_HeapBuf& chunk, int pos, double* out) {
  return ChunkGetBytes(chunk, pos, out, 8);
}

inline bool ChunkPutInt32(KIT_HeapBuf& chunk, int32_t v) {
  return chunk.Append(&v, 4);
}
inline bool ChunkPutDouble(KIT_HeapBuf& chunk, double v) {
  return chunk.Append(&v, 8);
}
