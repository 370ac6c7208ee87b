// The pass-through test plug-in as a VST 2.4 effect: the SDK wrapper around its own factory.
#include "tests/passthrough/plugin/PassthroughIDs.h"

#include "public.sdk/source/vst/vst2wrapper/vst2wrapper.h"

extern "C" Steinberg::IPluginFactory* GetPluginFactory();

// 'ovPT'
static constexpr VstInt32 kPassthroughVst2ID = 0x6F765054;

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  Steinberg::IPluginFactory* factory = GetPluginFactory();
  if (!factory)
    return nullptr;
  AudioEffect* effect = Steinberg::Vst::Vst2Wrapper::create(
      factory, orvane::passthrough::kProcessorUID.toTUID(), kPassthroughVst2ID, audioMaster);
  factory->release();
  return effect;
}
