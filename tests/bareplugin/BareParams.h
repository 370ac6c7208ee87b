#pragma once

#include "framework/IFxBase.h"

namespace bare {

// Both halves declare the same parameters.
void InitParams(IFxBase& plug);

} // namespace bare
