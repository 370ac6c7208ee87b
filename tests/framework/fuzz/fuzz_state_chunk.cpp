// Processor state as a host hands it back: header, bypass word, version word and the
// parameter block, read into the compressor's parameters.
#include "support/PluginParamTables.h"
#include "support/TestHalf.h"

#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  KIT_HeapBuf chunk;
  if (!chunk.Append(data, int(size)))
    return 0;
  TestHalf half(kCompressorParams);
  DeclareCompressorParams(half);
  int pos = 0;
  IFxBase::GetFxVerFromChunk(chunk, &pos);
  half.UnserializeBypass(chunk, &pos);
  pos = half.UnserializeState(chunk, pos);
  if (pos > chunk.GetSize() || pos < -1)
    std::abort();
  for (int i = 0; i < half.NParams(); ++i) {
    const IParam* p = half.GetParam(i);
    if (!(p->Value() >= p->Min() && p->Value() <= p->Max()))
      std::abort(); // a stored value is always inside its range, never NaN
  }
  return 0;
}
