#pragma once

#include "pluginterfaces/base/funknown.h"

// The module interface beside GetPluginFactory. The VST 2.4 face adds createEffectInstance,
// which hands GetPluginFactory, the processor class ID and GetUniqueID to its wrapper.
// GetProcessorUID writes the processor class ID.
void GetProcessorUID(Steinberg::TUID uid);
// The unique ID 'ovEQ' as a 32-bit four-character code.
int GetUniqueID();
