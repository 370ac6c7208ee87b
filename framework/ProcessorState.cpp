#include "framework/ProcessorState.h"

#include <algorithm>
#include <cmath>

#include "framework/ChunkIO.h"

bool ProcessorState::Read(const IFxBase& layout, const KIT_HeapBuf& chunk) {
  int pos = 0;
  int32_t magic = 0, frameworkVersion = 0, bypassWord = 0, effectVersion = 0;
  pos = ChunkGetInt32(chunk, pos, &magic);
  pos = ChunkGetInt32(chunk, pos, &frameworkVersion);
  if (pos < 0 || magic != IFxBase::kChunkMagic || frameworkVersion != IFxBase::kChunkVersion)
    return false;
  pos = ChunkGetInt32(chunk, pos, &bypassWord);
  pos = ChunkGetInt32(chunk, pos, &effectVersion);
  if (pos < 0)
    return false;
  bypassed = bypassWord != 0;

  values.resize(size_t(layout.NParams()));
  for (int i = 0; i < layout.NParams(); ++i) {
    const IParam& param = *layout.GetParam(i);
    double v = param.Default();
    if (!param.ReadOnly()) {
      pos = ChunkGetDouble(chunk, pos, &v);
      if (pos < 0 || !std::isfinite(v))
        return false;
      v = std::clamp(v, param.Min(), std::max(param.Min(), param.Max()));
    }
    values[size_t(i)] = v;
  }
  return pos == chunk.GetSize();
}
