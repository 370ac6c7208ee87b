// OrvaneEQ's VST 2.4 entry: the factory, the processor class ID and the unique ID ovEQ handed
// to the framework's VST 2.4 face. (The product bundle takes this same glue; here it builds a
// test copy of the EQ that also exports VSTPluginMain.)
#include "Projects/eq/OrvaneEQModule.h"

#include "vst2/Vst2WrapperExt.h"

extern "C" Steinberg::IPluginFactory* GetPluginFactory();

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  Steinberg::TUID processorClass{};
  GetProcessorUID(processorClass);
  return Vst2WrapperExt::create(GetPluginFactory(), processorClass, GetUniqueID(), audioMaster);
}
