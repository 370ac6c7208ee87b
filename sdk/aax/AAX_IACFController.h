// The host's controller of one effect instance: its sample rate and stem formats, the latency
// it reports, and the port that carries data packets to the instance's process procedure.
#pragma once

#include "AAX.h"
#include "acfunknown.h"

class AAX_IACFController : public IACFUnknown {
public:
  virtual AAX_Result GetSampleRate(float* sampleRate) const = 0;
  virtual AAX_Result GetInputStemFormat(uint32_t* stemFormat) const = 0;
  virtual AAX_Result GetOutputStemFormat(uint32_t* stemFormat) const = 0;
  virtual AAX_Result SetSignalLatency(int32_t samples) = 0;
  virtual AAX_Result PostPacket(AAX_CFieldIndex port, const void* payload, uint32_t size) = 0;

protected:
  ~AAX_IACFController() = default;
};

// Second version: notifications from the plug-in to the host.
class AAX_IACFController_V2 : public AAX_IACFController {
public:
  virtual AAX_Result SendNotification(AAX_CTypeID type, const void* data, uint32_t size) = 0;

protected:
  ~AAX_IACFController_V2() = default;
};
