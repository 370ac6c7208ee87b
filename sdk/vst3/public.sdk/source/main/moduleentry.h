// The load and unload entry points of a Linux VST 3 module, and the two hooks the plug-in
// supplies for them.
//
// Linux hosts call ModuleEntry when they load the module and ModuleExit before unloading it;
// bundleEntry and bundleExit do the same for hosts that use the bundle names. Each pair keeps
// one shared count of entries and the module's bundle path, and calls the plug-in's hooks on
// every call.
#pragma once

#include "pluginterfaces/base/fplatform.h"

#include <string>

// Supplied by the plug-in.
bool InitModule();
bool DeinitModule();

extern "C" {
// sharedLibraryHandle: the host's dlopen handle of this module.
SMTG_EXPORT_SYMBOL bool ModuleEntry(void* sharedLibraryHandle);
// False for an exit without a matching entry (the hook is then not called).
SMTG_EXPORT_SYMBOL bool ModuleExit();
// bundleRef: the host's reference to the bundle (not used on Linux: the path comes from the
// loaded code itself).
SMTG_EXPORT_SYMBOL bool bundleEntry(void* bundleRef);
SMTG_EXPORT_SYMBOL bool bundleExit();
}

namespace Steinberg {

// Entries not yet matched by an exit.
int moduleEntryCount();
// The dlopen handle given to ModuleEntry while entered, or null.
void* moduleHandle();
// The folder of the bundle holding this code: "<...>/Name.vst3" when the module sits at
// Name.vst3/Contents/<arch>/Name.so, else the module file's folder. Empty before an entry.
std::string moduleBundlePath();

} // namespace Steinberg
