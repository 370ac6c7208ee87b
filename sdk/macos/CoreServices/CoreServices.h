// Stand-in for the CoreServices call the emulation makes: Gestalt, for the system version.
#pragma once

#include "CoreFoundation/CoreFoundation.h"

typedef int16_t OSErr;
typedef uint32_t OSType;
enum : OSType { gestaltSystemVersion = 0x73797376 }; // 'sysv'
enum : OSErr { noErr = 0, gestaltUndefSelectorErr = -5551 };

// The system version as 0xMMmb digits (0x10A0 for 10.10), the newest the stand-in answers to.
OSErr Gestalt(OSType selector, SInt32* response);
