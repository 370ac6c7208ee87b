// ParameterContainer: an edit controller's parameters, in the order they were added (the
// host's parameter index) and found by ID. The container owns them.
#pragma once

#include "public.sdk/source/vst/vstparameter.h"

#include <unordered_map>
#include <vector>

namespace Steinberg {
namespace Vst {

class ParameterContainer {
public:
  ParameterContainer();
  ~ParameterContainer();

  ParameterContainer(const ParameterContainer&) = delete;
  ParameterContainer& operator=(const ParameterContainer&) = delete;

  // Reserves room for `initialSize` parameters (optional).
  void init(int32 initialSize = 10, int32 resizeDelta = 100);

  // Adopts the caller's reference. A null parameter, or one whose ID is already taken, is
  // refused: the result is null and a refused parameter is released.
  Parameter* addParameter(Parameter* p);
  // Makes a Parameter from the info (same refusal rule).
  Parameter* addParameter(const ParameterInfo& info);
  Parameter* addParameter(const TChar* title, const TChar* units = nullptr, int32 stepCount = 0,
                          ParamValue defaultValueNormalized = 0.0,
                          int32 flags = ParameterInfo::kCanAutomate, int32 tag = -1,
                          UnitID unitID = kRootUnitId, const TChar* shortTitle = nullptr);

  int32 getParameterCount() const { return static_cast<int32>(params.size()); }
  // Null outside 0 .. count - 1.
  Parameter* getParameterByIndex(int32 index) const;
  // Null for an unknown ID.
  Parameter* getParameter(ParamID tag) const;

  // Removes (and releases) one parameter; later indices move down by one.
  bool removeParameter(ParamID tag);
  void removeAll();

private:
  std::vector<Parameter*> params; // one reference each
  std::unordered_map<ParamID, int32> indexById;
};

} // namespace Vst
} // namespace Steinberg
