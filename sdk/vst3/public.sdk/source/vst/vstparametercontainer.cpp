#include "public.sdk/source/vst/vstparametercontainer.h"

namespace Steinberg {
namespace Vst {

ParameterContainer::ParameterContainer() = default;

ParameterContainer::~ParameterContainer() {
  removeAll();
}

void ParameterContainer::init(int32 initialSize, int32 /*resizeDelta*/) {
  if (initialSize > 0) {
    params.reserve(static_cast<size_t>(initialSize));
    indexById.reserve(static_cast<size_t>(initialSize));
  }
}

Parameter* ParameterContainer::addParameter(Parameter* p) {
  if (!p)
    return nullptr;
  const ParamID id = p->getInfo().id;
  if (indexById.count(id) != 0) {
    p->release();
    return nullptr;
  }
  indexById.emplace(id, static_cast<int32>(params.size()));
  params.push_back(p);
  return p;
}

Parameter* ParameterContainer::addParameter(const ParameterInfo& info) {
  return addParameter(new Parameter(info));
}

Parameter* ParameterContainer::addParameter(const TChar* title, const TChar* units, int32 stepCount,
                                            ParamValue defaultValueNormalized, int32 flags,
                                            int32 tag, UnitID unitID, const TChar* shortTitle) {
  // Without a tag the parameter gets the next index as its ID.
  const ParamID id = tag >= 0 ? static_cast<ParamID>(tag) : static_cast<ParamID>(params.size());
  return addParameter(new Parameter(title, id, units, defaultValueNormalized, stepCount, flags,
                                    unitID, shortTitle));
}

Parameter* ParameterContainer::getParameterByIndex(int32 index) const {
  if (index < 0 || index >= static_cast<int32>(params.size()))
    return nullptr;
  return params[static_cast<size_t>(index)];
}

Parameter* ParameterContainer::getParameter(ParamID tag) const {
  const auto it = indexById.find(tag);
  return it == indexById.end() ? nullptr : params[static_cast<size_t>(it->second)];
}

bool ParameterContainer::removeParameter(ParamID tag) {
  const auto it = indexById.find(tag);
  if (it == indexById.end())
    return false;
  const int32 index = it->second;
  params[static_cast<size_t>(index)]->release();
  params.erase(params.begin() + index);
  indexById.erase(it);
  for (auto& entry : indexById)
    if (entry.second > index)
      --entry.second;
  return true;
}

void ParameterContainer::removeAll() {
  for (Parameter* p : params)
    p->release();
  params.clear();
  indexById.clear();
}

} // namespace Vst
} // namespace Steinberg
