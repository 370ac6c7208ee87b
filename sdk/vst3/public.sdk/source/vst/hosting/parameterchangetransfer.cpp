#include "public.sdk/source/vst/hosting/parameterchangetransfer.h"

#include "public.sdk/source/vst/hosting/parameterchanges.h"

namespace Steinberg {
namespace Vst {

ParameterChangeTransfer::ParameterChangeTransfer(int32 maxParameters) {
  setMaxParameters(maxParameters);
}

void ParameterChangeTransfer::setMaxParameters(int32 maxParameters) {
  capacity = maxParameters > 0 ? maxParameters : 0;
  changes =
      capacity > 0 ? std::make_unique<ParameterChange[]>(static_cast<size_t>(capacity)) : nullptr;
  writeIndex.store(0, std::memory_order_relaxed);
  readIndex.store(0, std::memory_order_relaxed);
  discardBefore.store(0, std::memory_order_release);
}

bool ParameterChangeTransfer::addChange(ParamID id, ParamValue value, int32 sampleOffset) {
  const uint64 write = writeIndex.load(std::memory_order_relaxed);
  const uint64 read = readIndex.load(std::memory_order_acquire);
  if (capacity == 0 || write - read >= static_cast<uint64>(capacity))
    return false;
  changes[write % static_cast<uint64>(capacity)] = {id, value, sampleOffset};
  writeIndex.store(write + 1, std::memory_order_release);
  return true;
}

void ParameterChangeTransfer::transferChangesFrom(ParameterChanges& source) {
  const int32 queueCount = source.getParameterCount();
  for (int32 q = 0; q < queueCount; ++q) {
    IParamValueQueue* queue = source.getParameterData(q);
    if (!queue)
      continue;
    const ParamID id = queue->getParameterId();
    const int32 points = queue->getPointCount();
    for (int32 p = 0; p < points; ++p) {
      int32 offset = 0;
      ParamValue value = 0.0;
      if (queue->getPoint(p, offset, value) == kResultTrue)
        addChange(id, value, offset);
    }
  }
}

void ParameterChangeTransfer::removeChanges() {
  discardBefore.store(writeIndex.load(std::memory_order_relaxed), std::memory_order_release);
}

bool ParameterChangeTransfer::getNextChange(ParamID& id, ParamValue& value, int32& sampleOffset) {
  uint64 read = readIndex.load(std::memory_order_relaxed);
  const uint64 discard = discardBefore.load(std::memory_order_acquire);
  if (read < discard) {
    read = discard;
    readIndex.store(read, std::memory_order_release);
  }
  const uint64 write = writeIndex.load(std::memory_order_acquire);
  if (read == write)
    return false;
  const ParameterChange& change = changes[read % static_cast<uint64>(capacity)];
  id = change.id;
  value = change.value;
  sampleOffset = change.sampleOffset;
  readIndex.store(read + 1, std::memory_order_release);
  return true;
}

void ParameterChangeTransfer::transferChangesTo(ParameterChanges& dest) {
  ParamID id = 0;
  ParamValue value = 0.0;
  int32 offset = 0;
  while (getNextChange(id, value, offset)) {
    int32 index = 0;
    if (IParamValueQueue* queue = dest.addParameterData(id, index))
      queue->addPoint(offset, value, index);
  }
}

} // namespace Vst
} // namespace Steinberg
