// The editor interface a plug-in implements.
#pragma once

#include "AAX_IACFEffectGUI.h"

class AAX_IEffectGUI : public AAX_IACFEffectGUI {
public:
  virtual ~AAX_IEffectGUI() = default;
};
