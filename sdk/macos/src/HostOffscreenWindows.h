// The off-screen back end of windows the host process asked for (AppKit/HostOffscreenWindows.h).
#pragma once

#include <memory>

#include "AppKit/NSWindowBackend.h"

// Whether the process publishes off-screen windows for this binary.
bool HostWantsOffscreenWindows();
// An off-screen back end announced to the host, or null when the host publishes none.
std::unique_ptr<NSWindowBackend> MakeHostOffscreenBackend();
