// AudioBus: an audio bus with its speaker arrangement (one bit per channel).
#pragma once

#include "public.sdk/source/vst/vstbusbase.h"

namespace Steinberg {
namespace Vst {

class AudioBus : public Bus {
public:
  AudioBus(const TChar* name, BusType busType, int32 flags, SpeakerArrangement arr);

  SpeakerArrangement getArrangement() const { return speakerArr; }
  void setArrangement(SpeakerArrangement arr) { speakerArr = arr; }

  // Adds the channel count of the arrangement.
  bool getInfo(BusInfo& info) override;

  OBJ_METHODS(AudioBus, Bus)

protected:
  SpeakerArrangement speakerArr;
};

} // namespace Vst
} // namespace Steinberg
