// The bare test plug-in as a VST 2.4 effect: the framework's VST 2.4 face on its factory.
#include "tests/bareplugin/BarePluginIDs.h"

#include "vst2/Vst2WrapperExt.h"

extern "C" Steinberg::IPluginFactory* GetPluginFactory();

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  return Vst2WrapperExt::create(GetPluginFactory(), bare::kProcessorUID.toTUID(), bare::kUniqueID,
                                audioMaster);
}
