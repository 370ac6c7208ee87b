// Proxy of the host's transport.
#pragma once

#include "AAX_IACFTransport.h"
#include "aax/library/AAX_HostRef.h"
#include "aax/library/AAX_ITransport.h"

class AAX_VTransport : public AAX_ITransport {
public:
  explicit AAX_VTransport(IACFUnknown* host);

  AAX_Result GetCurrentTempo(double* bpm) const override;
  AAX_Result GetCurrentMeter(int32_t* numerator, int32_t* denominator) const override;
  AAX_Result IsTransportPlaying(bool* playing) const override;
  AAX_Result GetCurrentTickPosition(int64_t* ticks) const override;
  AAX_Result GetCurrentLoopPosition(bool* looping, int64_t* startTicks,
                                    int64_t* endTicks) const override;
  // Second-version operation: -20009 on a host without it.
  AAX_Result GetCurrentSampleLocation(int64_t* samples) const override;

private:
  AAX_HostRef<AAX_IACFTransport> mTransport;
  AAX_HostRef<AAX_IACFTransport_V2> mTransportV2;
};
