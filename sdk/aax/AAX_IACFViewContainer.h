// The host's container of an open editor window.
#pragma once

#include "AAX.h"
#include "acfunknown.h"

enum AAX_EViewContainerType : int32_t {
  AAX_eViewContainer_Type_NULL = 0,
  AAX_eViewContainer_Type_NSView = 1,
};

// Modifier bits of GetModifiers and HandleParameterMouseDown.
enum AAX_EModifiers : uint32_t {
  AAX_eModifiers_Shift = 1u << 0,
  AAX_eModifiers_Control = 1u << 1,
  AAX_eModifiers_Option = 1u << 2,
  AAX_eModifiers_Command = 1u << 3,
  AAX_eModifiers_SecondaryButton = 1u << 4,
};

class AAX_IACFViewContainer : public IACFUnknown {
public:
  virtual int32_t GetType() = 0;
  virtual void* GetNativeView() = 0;
  virtual AAX_Result GetModifiers(uint32_t* modifiers) = 0;
  virtual AAX_Result SetViewSize(AAX_Point& size) = 0;
  // 0 means the host took the click.
  virtual AAX_Result HandleParameterMouseDown(AAX_CParamID id, uint32_t modifiers) = 0;

protected:
  ~AAX_IACFViewContainer() = default;
};
