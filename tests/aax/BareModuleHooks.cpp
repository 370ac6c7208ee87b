// The module hooks the AAX side asks of the bundle it is linked into, for the bare test
// plug-in (its factory, BareFactory.cpp, brings GetPluginFactory, InitModule and DeinitModule):
// the wrapper then hosts a processor with MIDI event buses.
#include "aax/adapter/AAXWrapper_ModuleHooks.h"
#include "tests/bareplugin/BarePluginIDs.h"

Steinberg::FUID& GetProcessorUID(Steinberg::FUID& out) {
  out = bare::kProcessorUID;
  return out;
}

Steinberg::int32 GetUniqueID() {
  return bare::kUniqueID;
}
