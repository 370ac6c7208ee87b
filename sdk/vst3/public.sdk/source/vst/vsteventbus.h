// EventBus: an event (MIDI) bus with its channel count.
#pragma once

#include "public.sdk/source/vst/vstbusbase.h"

namespace Steinberg {
namespace Vst {

class EventBus : public Bus {
public:
  EventBus(const TChar* name, BusType busType, int32 flags, int32 channelCount);

  int32 getChannelCount() const { return channelCount; }

  bool getInfo(BusInfo& info) override;

  OBJ_METHODS(EventBus, Bus)

protected:
  int32 channelCount;
};

} // namespace Vst
} // namespace Steinberg
