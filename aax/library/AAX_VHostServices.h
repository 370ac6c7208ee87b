// Proxy of the host's services (its trace log), made by the host's component factory.
#pragma once

#include "AAX_IACFHostServices.h"
#include "aax/library/AAX_HostRef.h"

class AAX_VHostServices {
public:
  explicit AAX_VHostServices(IACFUnknown* host);

  AAX_Result Trace(int32_t priority, const char* message);

private:
  AAX_HostRef<AAX_IACFHostServices> mServices;
};

// The process-wide host services: created from the host's interface at start-up, deleted at
// shut-down (a null pointer); every other combination changes nothing.
void AAX_HostServices_SetSingleton(IACFUnknown* host);
AAX_VHostServices* AAX_HostServices_GetSingleton();

// Formats printf-style into 512 characters (longer text is cut) and sends it to the host's
// trace log; 0 and nothing sent before start-up.
AAX_Result AAX_Trace(int32_t priority, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
