#pragma once

#include "framework/IFxBase.h"

// The equaliser's 13 and the compressor's 9 parameters, declared as the plug-ins declare
// them, so that the parameter model is tested on the tables it really serves.
void DeclareEqParams(IFxBase& base);
void DeclareCompressorParams(IFxBase& base);

constexpr int kEqParams = 13;
constexpr int kCompressorParams = 9;
