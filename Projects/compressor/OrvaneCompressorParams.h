#pragma once

#include "Projects/compressor/OrvaneCompressorParamIDs.h"
#include "framework/IFxBase.h"

// Declares the compressor's nine parameters on a half made with kNumOrvaneCompressorParams
// parameters. The processor and the controller both call it, so their two copies of the
// parameter list cannot drift apart.
void DeclareOrvaneCompressorParams(IFxBase& half);
