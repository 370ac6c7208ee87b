// The module hooks of the equaliser's bundle. The load and unload entry points (and, in the
// VST 2.4 face, VSTPluginMain before createEffectInstance) call InitModule and DeinitModule
// on every call; the plug-in keeps no module-wide state of its own.
#include "Projects/eq/OrvaneEQModule.h"

#include "Projects/eq/OrvaneEQCids.h"

#include "public.sdk/source/main/moduleentry.h"

bool InitModule() {
  return true;
}

bool DeinitModule() {
  return true;
}

void GetProcessorUID(Steinberg::TUID uid) {
  OrvaneEQ::kProcessorUID.toTUID(uid);
}

int GetUniqueID() {
  return OrvaneEQ::kUniqueID;
}
