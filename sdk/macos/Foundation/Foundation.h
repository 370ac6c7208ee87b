// Stand-in for the Foundation values the emulation reads.
#pragma once

#include "CoreFoundation/CoreFoundation.h"

// The Foundation release the stand-in behaves as (that of macOS 10.10).
extern const double NSFoundationVersionNumber;

// The root of the stand-in Cocoa classes. A selector a Cocoa object may or may not answer is a
// small interface here, and "answers it" is a dynamic_cast to that interface.
class NSObject {
public:
  virtual ~NSObject() = default;
};
