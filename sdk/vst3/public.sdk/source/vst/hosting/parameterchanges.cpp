#include "public.sdk/source/vst/hosting/parameterchanges.h"

namespace Steinberg {
namespace Vst {

ParameterChanges::ParameterChanges(int32 maxParameters, int32 maxPointsPerQueue_)
    : maxPointsPerQueue(maxPointsPerQueue_) {
  setMaxParameters(maxParameters);
}

ParameterChanges::~ParameterChanges() {
  releaseQueues();
}

void ParameterChanges::releaseQueues() {
  for (ParameterValueQueue* queue : queues)
    queue->release();
  queues.clear();
  usedQueueCount = 0;
}

void ParameterChanges::setMaxParameters(int32 maxParameters) {
  releaseQueues();
  if (maxParameters <= 0)
    return;
  queues.reserve(static_cast<size_t>(maxParameters));
  for (int32 i = 0; i < maxParameters; ++i)
    queues.push_back(new ParameterValueQueue(kNoParamId, maxPointsPerQueue));
}

void ParameterChanges::clearQueue() {
  for (int32 i = 0; i < usedQueueCount; ++i)
    queues[static_cast<size_t>(i)]->clear();
  usedQueueCount = 0;
}

IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData(int32 index) {
  if (index < 0 || index >= usedQueueCount)
    return nullptr;
  return queues[static_cast<size_t>(index)];
}

IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData(const ParamID& id, int32& index) {
  for (int32 i = 0; i < usedQueueCount; ++i) {
    if (queues[static_cast<size_t>(i)]->getParameterId() == id) {
      index = i;
      return queues[static_cast<size_t>(i)];
    }
  }
  if (usedQueueCount >= static_cast<int32>(queues.size())) {
    index = -1;
    return nullptr;
  }
  ParameterValueQueue* queue = queues[static_cast<size_t>(usedQueueCount)];
  queue->setParamID(id);
  queue->clear();
  index = usedQueueCount++;
  return queue;
}

} // namespace Vst
} // namespace Steinberg
