// Proxy of the host's controller of one effect instance.
#pragma once

#include "AAX_IACFController.h"
#include "aax/library/AAX_HostRef.h"

class AAX_VController {
public:
  explicit AAX_VController(IACFUnknown* host);

  AAX_Result GetSampleRate(float* sampleRate) const;
  AAX_Result GetInputStemFormat(uint32_t* stemFormat) const;
  AAX_Result GetOutputStemFormat(uint32_t* stemFormat) const;
  AAX_Result SetSignalLatency(int32_t samples);
  AAX_Result PostPacket(AAX_CFieldIndex port, const void* payload, uint32_t size);
  // Second-version operation: -20009 on a host without it.
  AAX_Result SendNotification(AAX_CTypeID type, const void* data, uint32_t size);

private:
  AAX_HostRef<AAX_IACFController> mController;
  AAX_HostRef<AAX_IACFController_V2> mControllerV2;
};
