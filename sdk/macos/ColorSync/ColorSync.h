// Stand-in for the ColorSync profile calls the drawing emulation makes. The system display
// profile is an sRGB profile.
#pragma once

#include "CoreFoundation/CoreFoundation.h"

typedef struct OpaqueCMProfileRef* CMProfileRef;
typedef SInt32 CMError;

CMError CMGetSystemProfile(CMProfileRef* profile);
CMError CMCloseProfile(CMProfileRef profile);
