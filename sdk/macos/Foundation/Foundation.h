// Stand-in for the Foundation values the emulation reads.
#pragma once

#include "CoreFoundation/CoreFoundation.h"

// The Foundation release the stand-in behaves as (that of macOS 10.10).
extern const double NSFoundationVersionNumber;
