// OrvaneEQ's VST 2.4 entry: VSTPluginMain reaches this through the module, and it hands the
// bundle's own factory, the processor class ID and the unique ID ovEQ to the framework's
// VST 2.4 face.
#include "Projects/eq/OrvaneEQModule.h"

#include "vst2/Vst2WrapperExt.h"

extern "C" Steinberg::IPluginFactory* GetPluginFactory();

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  Steinberg::TUID processorClass{};
  GetProcessorUID(processorClass);
  return Vst2WrapperExt::create(GetPluginFactory(), processorClass, GetUniqueID(), audioMaster);
}
