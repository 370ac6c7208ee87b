#include "tests/hosts/vst3/ParameterChanges.h"

#include <algorithm>

namespace orvane::testhost {

using namespace Steinberg;
using namespace Steinberg::Vst;

int32 PLUGIN_API ParamValueQueue::getPointCount() {
  return static_cast<int32>(list.size());
}

tresult PLUGIN_API ParamValueQueue::getPoint(int32 index, int32& sampleOffset, ParamValue& value) {
  if (index < 0 || static_cast<size_t>(index) >= list.size())
    return kResultFalse;
  sampleOffset = list[static_cast<size_t>(index)].first;
  value = list[static_cast<size_t>(index)].second;
  return kResultOk;
}

tresult PLUGIN_API ParamValueQueue::addPoint(int32 sampleOffset, ParamValue value, int32& index) {
  auto it = std::lower_bound(list.begin(), list.end(), sampleOffset,
                             [](const Point& p, int32 offset) { return p.first < offset; });
  if (it != list.end() && it->first == sampleOffset)
    it->second = value;
  else
    it = list.insert(it, Point{sampleOffset, value});
  index = static_cast<int32>(it - list.begin());
  return kResultOk;
}

ParameterChanges::~ParameterChanges() {
  clear();
}

int32 PLUGIN_API ParameterChanges::getParameterCount() {
  return static_cast<int32>(list.size());
}

IParamValueQueue* PLUGIN_API ParameterChanges::getParameterData(int32 index) {
  if (index < 0 || static_cast<size_t>(index) >= list.size())
    return nullptr;
  return list[static_cast<size_t>(index)];
}

IParamValueQueue* PLUGIN_API ParameterChanges::addParameterData(const ParamID& id, int32& index) {
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i]->getParameterId() == id) {
      index = static_cast<int32>(i);
      return list[i];
    }
  }
  list.push_back(new ParamValueQueue(id));
  index = static_cast<int32>(list.size() - 1);
  return list.back();
}

void ParameterChanges::add(ParamID id, int32 sampleOffset, ParamValue value) {
  int32 index = 0;
  addParameterData(id, index)->addPoint(sampleOffset, value, index);
}

const ParamValueQueue* ParameterChanges::queue(ParamID id) const {
  for (const ParamValueQueue* q : list)
    if (q->parameterId() == id)
      return q;
  return nullptr;
}

void ParameterChanges::clear() {
  for (ParamValueQueue* q : list)
    q->release();
  list.clear();
}

} // namespace orvane::testhost
