#pragma once

#include "pluginterfaces/base/funknown.h"

class IFxBase;

// Both halves learn the host from the context a VST 3 host passes to initialize: its
// IHostApplication name goes to IFxBase::SetHost, then the plug-in's OnHostIdentified runs.
// A context without a host application (or whose name cannot be read) changes nothing.
void IdentifyHostFromContext(IFxBase& plug, Steinberg::FUnknown* context);
