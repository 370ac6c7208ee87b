// MemoryStream: an IBStream over memory. Either it owns a buffer that grows as it is written,
// or it is a window on memory that someone else owns (writable within its size, or read-only).
#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/base/ibstream.h"

namespace Steinberg {

class MemoryStream : public FObject, public IBStream {
public:
  // An empty stream that owns its growing buffer.
  MemoryStream();
  // A window on foreign memory: reads and writes stay within memorySize bytes; it never grows.
  MemoryStream(void* memory, TSize memorySize);
  // A read-only window on foreign memory: every write fails.
  MemoryStream(const void* memory, TSize memorySize);
  ~MemoryStream() override;

  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;

  // Reads what is left up to numBytes: a short read succeeds with the bytes it got; at the end
  // a read of more than 0 bytes gives kResultFalse and 0 bytes.
  tresult PLUGIN_API read(void* buffer, int32 numBytes, int32* numBytesRead = nullptr) override;
  // Writes at the cursor; a gap left by a seek past the end reads as zeros. Fails without
  // changing anything when the bytes do not fit (foreign memory) or cannot be allocated.
  tresult PLUGIN_API write(void* buffer, int32 numBytes, int32* numBytesWritten = nullptr) override;
  // Any position from 0 up is accepted; a negative result is refused and moves nothing.
  tresult PLUGIN_API seek(int64 pos, int32 mode, int64* result = nullptr) override;
  tresult PLUGIN_API tell(int64* pos) override;

  // The bytes written so far (the whole window for foreign memory).
  char8* getData() const { return memory; }
  TSize getSize() const { return size; }
  // Grows (zero-filled) or shrinks the content; false for foreign memory beyond its window or
  // when the memory cannot be had. The cursor is kept, even past the new end.
  bool setSize(TSize newSize);

  OBJ_METHODS(MemoryStream, FObject)
  FUNKNOWN_METHODS(IBStream, FObject)

private:
  bool reserve(TSize needed);

  char8* memory = nullptr;
  TSize allocated = 0; // bytes of memory that may be used
  TSize size = 0;      // bytes of content
  TSize cursor = 0;
  bool ownsMemory = true;
  bool readOnly = false;
};

} // namespace Steinberg
