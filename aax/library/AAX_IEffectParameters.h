// The effect-parameters interface a plug-in implements: the host's second-version interface.
#pragma once

#include "AAX_IACFEffectParameters.h"

class AAX_IEffectParameters : public AAX_IACFEffectParameters_V2 {
public:
  virtual ~AAX_IEffectParameters() = default;
};
