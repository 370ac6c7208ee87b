#include "public.sdk/source/vst/hosting/eventlist.h"

namespace Steinberg {
namespace Vst {

EventList::EventList(int32 maxSize) {
  setMaxSize(maxSize);
}

void EventList::setMaxSize(int32 maxSize) {
  events.assign(static_cast<size_t>(maxSize > 0 ? maxSize : 0), Event{});
  count = 0;
}

Event* EventList::getEventByIndex(int32 index) {
  if (index < 0 || index >= count)
    return nullptr;
  return &events[static_cast<size_t>(index)];
}

tresult PLUGIN_API EventList::getEvent(int32 index, Event& e) {
  const Event* stored = getEventByIndex(index);
  if (!stored)
    return kResultFalse;
  e = *stored;
  return kResultTrue;
}

tresult PLUGIN_API EventList::addEvent(Event& e) {
  if (count >= static_cast<int32>(events.size()))
    return kResultFalse;
  events[static_cast<size_t>(count++)] = e;
  return kResultTrue;
}

} // namespace Vst
} // namespace Steinberg
