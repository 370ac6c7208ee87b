// EventList: the note, data and other events of one block. The capacity is fixed when the
// list is made (or resized off the audio thread), so adding and clearing never allocate; a
// full list refuses further events.
#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivstevents.h"

#include <vector>

namespace Steinberg {
namespace Vst {

class EventList : public FObject, public IEventList {
public:
  static constexpr int32 kDefaultMaxSize = 50;

  explicit EventList(int32 maxSize = kDefaultMaxSize);

  // Resizes the storage (allocates) and empties the list.
  void setMaxSize(int32 maxSize);
  int32 getMaxSize() const { return static_cast<int32>(events.size()); }
  void clear() { count = 0; }
  // The event at index, or null outside 0 .. count - 1.
  Event* getEventByIndex(int32 index);

  int32 PLUGIN_API getEventCount() override { return count; }
  // kResultFalse for an index outside 0 .. count - 1 (the event is left alone).
  tresult PLUGIN_API getEvent(int32 index, Event& e) override;
  // kResultFalse when the list is full. A data event's bytes are not copied: they must stay
  // valid as long as the list holds the event.
  tresult PLUGIN_API addEvent(Event& e) override;

  OBJ_METHODS(EventList, FObject)
  FUNKNOWN_METHODS(IEventList, FObject)

private:
  std::vector<Event> events; // fixed size: the capacity
  int32 count = 0;
};

} // namespace Vst
} // namespace Steinberg
