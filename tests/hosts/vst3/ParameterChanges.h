// The host's sample-accurate parameter changes for one block.
#pragma once

#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "tests/hosts/vst3/HostObject.h"

#include <utility>
#include <vector>

namespace orvane::testhost {

class ParamValueQueue : public HostObject<Steinberg::Vst::IParamValueQueue> {
public:
  using Point = std::pair<Steinberg::int32, Steinberg::Vst::ParamValue>;

  explicit ParamValueQueue(Steinberg::Vst::ParamID id) : id(id) {}

  Steinberg::Vst::ParamID PLUGIN_API getParameterId() override { return id; }
  Steinberg::int32 PLUGIN_API getPointCount() override;
  Steinberg::tresult PLUGIN_API getPoint(Steinberg::int32 index, Steinberg::int32& sampleOffset,
                                         Steinberg::Vst::ParamValue& value) override;
  // Keeps the points in offset order; a point at an offset already present replaces it.
  Steinberg::tresult PLUGIN_API addPoint(Steinberg::int32 sampleOffset,
                                         Steinberg::Vst::ParamValue value,
                                         Steinberg::int32& index) override;

  Steinberg::Vst::ParamID parameterId() const { return id; }
  const std::vector<Point>& points() const { return list; }

private:
  Steinberg::Vst::ParamID id;
  std::vector<Point> list;
};

class ParameterChanges : public HostObject<Steinberg::Vst::IParameterChanges> {
public:
  ~ParameterChanges() override;

  Steinberg::int32 PLUGIN_API getParameterCount() override;
  Steinberg::Vst::IParamValueQueue* PLUGIN_API getParameterData(Steinberg::int32 index) override;
  Steinberg::Vst::IParamValueQueue* PLUGIN_API addParameterData(const Steinberg::Vst::ParamID& id,
                                                                Steinberg::int32& index) override;

  // Host side: one point for parameter id (queue made on first use).
  void add(Steinberg::Vst::ParamID id, Steinberg::int32 sampleOffset,
           Steinberg::Vst::ParamValue value);
  // The queue of id, or null.
  const ParamValueQueue* queue(Steinberg::Vst::ParamID id) const;
  const std::vector<ParamValueQueue*>& queues() const { return list; }
  void clear();
  bool empty() const { return list.empty(); }

private:
  std::vector<ParamValueQueue*> list;
};

} // namespace orvane::testhost
