#include "public.sdk/source/vst/vstaudiobus.h"

#include "pluginterfaces/vst/vstspeaker.h"

namespace Steinberg {
namespace Vst {

AudioBus::AudioBus(const TChar* name, BusType busType, int32 flags, SpeakerArrangement arr)
    : Bus(name, busType, flags), speakerArr(arr) {}

bool AudioBus::getInfo(BusInfo& info) {
  info.channelCount = SpeakerArr::getChannelCount(speakerArr);
  return Bus::getInfo(info);
}

} // namespace Vst
} // namespace Steinberg
