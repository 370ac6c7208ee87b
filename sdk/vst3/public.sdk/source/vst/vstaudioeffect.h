// AudioEffect: the processor half's IAudioProcessor defaults on top of Component: bus
// arrangements, sample sizes, the stored process setup.
#pragma once

#include "public.sdk/source/vst/vstcomponent.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"

namespace Steinberg {
namespace Vst {

class AudioEffect : public Component, public IAudioProcessor {
public:
  AudioEffect();
  ~AudioEffect() override;

  // The bus at index of the list, or null.
  AudioBus* getAudioInput(int32 index);
  AudioBus* getAudioOutput(int32 index);
  EventBus* getEventInput(int32 index);
  EventBus* getEventOutput(int32 index);

  // IAudioProcessor
  // Sets the arrangement of the first numIns inputs and numOuts outputs. kInvalidArgument for
  // negative counts or null arrays with a count; kResultFalse (nothing changed) for more
  // arrangements than buses.
  tresult PLUGIN_API setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                        SpeakerArrangement* outputs, int32 numOuts) override;
  // kInvalidArgument for an unknown direction or index.
  tresult PLUGIN_API getBusArrangement(BusDirection dir, int32 index,
                                       SpeakerArrangement& arr) override;
  // 32-bit only by default.
  tresult PLUGIN_API canProcessSampleSize(int32 symbolicSampleSize) override;
  uint32 PLUGIN_API getLatencySamples() override { return 0; }
  // Stores the setup; a sample size canProcessSampleSize refuses gives kResultFalse.
  tresult PLUGIN_API setupProcessing(ProcessSetup& setup) override;
  tresult PLUGIN_API setProcessing(TBool state) override;
  tresult PLUGIN_API process(ProcessData& data) override;
  uint32 PLUGIN_API getTailSamples() override { return 0; }

  OBJ_METHODS(AudioEffect, Component)
  DEFINE_INTERFACES
  DEF_INTERFACE(IAudioProcessor)
  END_DEFINE_INTERFACES(Component)
  REFCOUNT_METHODS(Component)

protected:
  ProcessSetup processSetup;
};

} // namespace Vst
} // namespace Steinberg
