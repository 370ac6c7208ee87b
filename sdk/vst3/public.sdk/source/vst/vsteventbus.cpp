#include "public.sdk/source/vst/vsteventbus.h"

namespace Steinberg {
namespace Vst {

EventBus::EventBus(const TChar* name, BusType busType, int32 flags, int32 channelCount_)
    : Bus(name, busType, flags), channelCount(channelCount_ > 0 ? channelCount_ : 0) {}

bool EventBus::getInfo(BusInfo& info) {
  info.channelCount = channelCount;
  return Bus::getInfo(info);
}

} // namespace Vst
} // namespace Steinberg
