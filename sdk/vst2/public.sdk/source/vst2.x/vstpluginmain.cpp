// VSTPluginMain, the entry point VST 2.4 hosts look up in a plug-in library.
#include "public.sdk/source/main/moduleentry.h"
#include "public.sdk/source/vst2.x/audioeffect.h"

#include "pluginterfaces/base/fplatform.h"

extern "C" SMTG_EXPORT_SYMBOL AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
  // Nothing may escape into a host that knows only C.
  try {
    if (!audioMaster)
      return nullptr;
    // A host that does not answer the version query is not a VST 2 host.
    if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.f) == 0)
      return nullptr;
    if (!InitModule())
      return nullptr;
    AudioEffect* effect = createEffectInstance(audioMaster);
    return effect ? effect->getAeffect() : nullptr;
  } catch (...) {
    return nullptr;
  }
}
