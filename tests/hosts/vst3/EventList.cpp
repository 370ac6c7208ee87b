#include "tests/hosts/vst3/EventList.h"

namespace orvane::testhost {

using namespace Steinberg;

int32 PLUGIN_API EventList::getEventCount() {
  return static_cast<int32>(list.size());
}

tresult PLUGIN_API EventList::getEvent(int32 index, Vst::Event& e) {
  if (index < 0 || static_cast<size_t>(index) >= list.size())
    return kInvalidArgument;
  e = list[static_cast<size_t>(index)];
  return kResultOk;
}

tresult PLUGIN_API EventList::addEvent(Vst::Event& e) {
  list.push_back(e);
  return kResultOk;
}

} // namespace orvane::testhost
