#include "framework/ProcessorState.h"

#include <algorithm>
#include <cmath>

#include "framework/ChunkIO.h"

// Other versions of a plug-in store more or fewer parameters in the same layout: the block is
// read as far as it goes, parameters it does not reach keep their defaults and values past
// the last known parameter are ignored. What cannot be a state of any version is refused.
bool ProcessorState::Read(const IFxBase& layout, const KIT_HeapBuf& chunk) {
  int pos = 0;
  int32_t magic = 0, frameworkVersion = 0, bypassWord = 0, effectVersion = 0;
  pos = ChunkGetInt32(chunk, pos, &magic);
  pos = ChunkGetInt32(chunk, pos, &frameworkVersion);
  if (pos < 0 || magic != IFxBase::kChunkMagic || frameworkVersion != IFxBase::kChunkVersion)
    return false;
  pos = ChunkGetInt32(chunk, pos, &bypassWord);
  pos = ChunkGetInt32(chunk, pos, &effectVersion);
  if (pos < 0 || ChunkBytesLeft(chunk, pos) % 8 != 0)
    return false;
  bypassed = bypassWord != 0;

  values.resize(size_t(layout.NParams()));
  for (int i = 0; i < layout.NParams(); ++i) {
    const IParam& param = *layout.GetParam(i);
    double v = param.Default();
    if (!param.ReadOnly() && ChunkBytesLeft(chunk, pos) > 0) {
      pos = ChunkGetDouble(chunk, pos, &v);
      if (!std::isfinite(v))
        return false;
      v = std::clamp(v, param.Min(), std::max(param.Min(), param.Max()));
    }
    values[size_t(i)] = v;
  }
  return true;
}
