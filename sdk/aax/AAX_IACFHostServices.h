// The host's services for a plug-in bundle: here, its trace log.
#pragma once

#include "AAX.h"
#include "acfunknown.h"

class AAX_IACFHostServices : public IACFUnknown {
public:
  virtual AAX_Result Trace(int32_t priority, const char* message) = 0;

protected:
  ~AAX_IACFHostServices() = default;
};
