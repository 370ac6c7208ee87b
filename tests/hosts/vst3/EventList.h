// The host's event list for one block.
#pragma once

#include "pluginterfaces/vst/ivstevents.h"
#include "tests/hosts/vst3/HostObject.h"

#include <vector>

namespace orvane::testhost {

class EventList : public HostObject<Steinberg::Vst::IEventList> {
public:
  Steinberg::int32 PLUGIN_API getEventCount() override;
  Steinberg::tresult PLUGIN_API getEvent(Steinberg::int32 index, Steinberg::Vst::Event& e) override;
  Steinberg::tresult PLUGIN_API addEvent(Steinberg::Vst::Event& e) override;

  // Host side.
  void add(const Steinberg::Vst::Event& e) { list.push_back(e); }
  const std::vector<Steinberg::Vst::Event>& events() const { return list; }
  void clear() { list.clear(); }

private:
  std::vector<Steinberg::Vst::Event> list;
};

} // namespace orvane::testhost
