#include "public.sdk/source/vst/hosting/parametervaluequeue.h"

namespace Steinberg {
namespace Vst {

ParameterValueQueue::ParameterValueQueue(ParamID paramID_, int32 maxPoints)
    : paramID(paramID_), points(static_cast<size_t>(maxPoints > 0 ? maxPoints : 1)) {}

tresult PLUGIN_API ParameterValueQueue::getPoint(int32 index, int32& sampleOffset,
                                                 ParamValue& value) {
  if (index < 0 || index >= count)
    return kResultFalse;
  sampleOffset = points[static_cast<size_t>(index)].sampleOffset;
  value = points[static_cast<size_t>(index)].value;
  return kResultTrue;
}

tresult PLUGIN_API ParameterValueQueue::addPoint(int32 sampleOffset, ParamValue value,
                                                 int32& index) {
  if (sampleOffset < 0 || !(value >= 0.0 && value <= 1.0))
    return kInvalidArgument;
  // Points usually arrive in order, so look from the end for the place of the new one.
  int32 at = count;
  while (at > 0 && points[static_cast<size_t>(at - 1)].sampleOffset > sampleOffset)
    --at;
  if (at > 0 && points[static_cast<size_t>(at - 1)].sampleOffset == sampleOffset) {
    points[static_cast<size_t>(at - 1)].value = value;
    index = at - 1;
    return kResultTrue;
  }
  if (count >= static_cast<int32>(points.size()))
    return kResultFalse;
  for (int32 i = count; i > at; --i)
    points[static_cast<size_t>(i)] = points[static_cast<size_t>(i - 1)];
  points[static_cast<size_t>(at)] = {sampleOffset, value};
  ++count;
  index = at;
  return kResultTrue;
}

} // namespace Vst
} // namespace Steinberg
