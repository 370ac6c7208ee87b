// A processor state stream as a host hands it to setState: the length-prefixed chunk read
// from the stream, then checked whole against the compressor's parameters. Whatever the bytes,
// the reader either refuses them or yields one finite in-range value per parameter.
#include "framework/ProcessorState.h"
#include "framework/StateStream.h"
#include "support/PluginParamTables.h"
#include "support/TestHalf.h"

#include "public.sdk/source/common/memorystream.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto* stream =
      new Steinberg::MemoryStream(static_cast<const void*>(data), Steinberg::TSize(size));
  KIT_HeapBuf chunk;
  const bool read = StateStream::ReadChunk(stream, chunk);
  stream->release();
  if (!read)
    return 0;
  TestHalf half(kCompressorParams);
  DeclareCompressorParams(half);
  ProcessorState state;
  if (!state.Read(half, chunk))
    return 0;
  if (state.values.size() != size_t(half.NParams()))
    std::abort();
  for (int i = 0; i < half.NParams(); ++i) {
    const IParam* p = half.GetParam(i);
    const double v = state.values[size_t(i)];
    if (!(std::isfinite(v) && v >= p->Min() && v <= p->Max()))
      std::abort();
  }
  return 0;
}
