// ParameterChanges: the parameter changes of one block, one queue per parameter. The queues
// come from a pool sized beforehand (setMaxParameters), so the audio thread can fill and clear
// the container without allocating; when the pool is used up, further parameters are refused.
#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "public.sdk/source/vst/hosting/parametervaluequeue.h"

#include <vector>

namespace Steinberg {
namespace Vst {

class ParameterChanges : public FObject, public IParameterChanges {
public:
  explicit ParameterChanges(int32 maxParameters = 0,
                            int32 maxPointsPerQueue = ParameterValueQueue::kDefaultMaxPoints);
  ~ParameterChanges() override;

  // Resizes the pool (allocates: not on the audio thread). Empties the container.
  void setMaxParameters(int32 maxParameters);
  int32 getMaxParameters() const { return static_cast<int32>(queues.size()); }
  // Empties every queue in use; the pool stays.
  void clearQueue();

  int32 PLUGIN_API getParameterCount() override { return usedQueueCount; }
  // Null for an index outside 0 .. count - 1.
  IParamValueQueue* PLUGIN_API getParameterData(int32 index) override;
  // The queue of `id`, made from the pool when the parameter has none yet; null (index -1)
  // when the pool is used up.
  IParamValueQueue* PLUGIN_API addParameterData(const ParamID& id, int32& index) override;

  OBJ_METHODS(ParameterChanges, FObject)
  FUNKNOWN_METHODS(IParameterChanges, FObject)

private:
  void releaseQueues();

  std::vector<ParameterValueQueue*> queues; // the pool, one reference each
  int32 usedQueueCount = 0;
  int32 maxPointsPerQueue;
};

} // namespace Vst
} // namespace Steinberg

// The transfer queue is usually wanted together with the containers.
#include "public.sdk/source/vst/hosting/parameterchangetransfer.h"
