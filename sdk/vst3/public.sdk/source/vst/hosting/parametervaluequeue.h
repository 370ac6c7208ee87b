// ParameterValueQueue: the points (sample offset, normalised value) of one parameter within
// one block. The storage is fixed when the queue is made, so filling it on the audio thread
// never allocates; a full queue refuses further points.
#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <vector>

namespace Steinberg {
namespace Vst {

class ParameterValueQueue : public FObject, public IParamValueQueue {
public:
  static constexpr int32 kDefaultMaxPoints = 64;

  explicit ParameterValueQueue(ParamID paramID = kNoParamId, int32 maxPoints = kDefaultMaxPoints);

  ParamID PLUGIN_API getParameterId() override { return paramID; }
  int32 PLUGIN_API getPointCount() override { return count; }
  // kResultFalse for an index outside 0 .. count - 1 (the outputs are left alone).
  tresult PLUGIN_API getPoint(int32 index, int32& sampleOffset, ParamValue& value) override;
  // Keeps the points ordered by sample offset; a second point at an offset already present
  // replaces that point's value. A negative offset or a value outside 0..1 (NaN included) is
  // refused with kInvalidArgument, a point beyond the capacity with kResultFalse.
  tresult PLUGIN_API addPoint(int32 sampleOffset, ParamValue value, int32& index) override;

  // Reuses the queue for another parameter (or the next block): no points, same storage.
  void setParamID(ParamID id) { paramID = id; }
  void clear() { count = 0; }
  int32 getMaxPoints() const { return static_cast<int32>(points.size()); }

  OBJ_METHODS(ParameterValueQueue, FObject)
  FUNKNOWN_METHODS(IParamValueQueue, FObject)

private:
  struct Point {
    int32 sampleOffset;
    ParamValue value;
  };

  ParamID paramID;
  std::vector<Point> points; // fixed size: the capacity
  int32 count = 0;
};

} // namespace Vst
} // namespace Steinberg
