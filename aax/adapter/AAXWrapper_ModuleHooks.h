// What the AAX side calls of the bundle it is linked into: the VST 3 factory and the module
// hooks beside it. The bundle provides them; the AAX side links none of the plug-in's classes.
#pragma once

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/base/ipluginbase.h"

extern "C" Steinberg::IPluginFactory* PLUGIN_API GetPluginFactory();
// Writes the processor's class ID into out and returns out.
Steinberg::FUID& GetProcessorUID(Steinberg::FUID& out);
// The plug-in's unique four-character ID; the AAX chunk carries it as its ID.
Steinberg::int32 GetUniqueID();
bool InitModule();
bool DeinitModule();
