// A second test bundle that checks what orvane_add_vst3_bundle and the entry points give a
// bundle: an extra export, copied resources, and the bundle path the module finds for itself.
#include "public.sdk/source/main/moduleentry.h"
#include "public.sdk/source/main/pluginfactory.h"

#include <string>

using namespace Steinberg;

bool InitModule() {
  return true;
}
bool DeinitModule() {
  return true;
}

extern "C" SMTG_EXPORT_SYMBOL IPluginFactory* GetPluginFactory() {
  if (gPluginFactory) {
    gPluginFactory->addRef();
    return gPluginFactory;
  }
  gPluginFactory = new CPluginFactory(PFactoryInfo("Quenmark", "", "", PFactoryInfo::kUnicode));
  return gPluginFactory;
}

// The bundle folder this module found while entered.
extern "C" SMTG_EXPORT_SYMBOL const char* OrvaneProbeBundlePath() {
  static std::string path;
  path = moduleBundlePath();
  return path.c_str();
}
