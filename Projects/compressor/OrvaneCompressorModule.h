#pragma once

#include "pluginterfaces/base/funknown.h"

// The module hooks beside GetPluginFactory. The AAX face reaches the compressor only through
// them and the factory: it learns the processor class and the unique ID here.

// Writes the processor's class ID into out and returns out.
Steinberg::FUID& GetProcessorUID(Steinberg::FUID& out);
// The unique plug-in ID 'ovCP' as a 32-bit four-character code.
Steinberg::int32 GetUniqueID();

// InitModule and DeinitModule (declared with the entry points in moduleentry.h) run on every
// bundle entry and exit; the compressor keeps no module-wide state, so both only succeed.
