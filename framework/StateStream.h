#pragma once

#include "framework/KIT_HeapBuf.h"

#include "pluginterfaces/base/ibstream.h"

// The VST 3 state streams of both halves carry one chunk: its int32 length (little-endian)
// and its bytes. The length comes from outside and is not trusted: a reader takes the bytes
// in pieces, so a length larger than the stream costs no more memory than the stream holds.
namespace StateStream {

// No state of this framework comes near this; anything larger is refused unread.
constexpr int kMaxChunkBytes = 16 * 1024 * 1024;

// Reads one chunk into chunk (replacing its contents). False, with chunk unspecified, for a
// null stream, a missing or negative length, a length above kMaxChunkBytes, or a stream that
// ends before the length's bytes.
bool ReadChunk(Steinberg::IBStream* stream, KIT_HeapBuf& chunk);

// Writes the length and the bytes; false when the stream takes fewer bytes.
bool WriteChunk(Steinberg::IBStream* stream, const KIT_HeapBuf& chunk);

} // namespace StateStream
