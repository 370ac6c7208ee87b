#include "aax/library/AAX_VTransport.h"

#include "AAX_UIDs.h"

AAX_VTransport::AAX_VTransport(IACFUnknown* host)
    : mTransport(AAX_QueryHostInterface<AAX_IACFTransport>(host, IID_Transport)),
      mTransportV2(AAX_QueryHostInterface<AAX_IACFTransport_V2>(host, IID_Transport_V2)) {}

AAX_Result AAX_VTransport::GetCurrentTempo(double* bpm) const {
  return mTransport ? mTransport->GetCurrentTempo(bpm) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::GetCurrentMeter(int32_t* numerator, int32_t* denominator) const {
  return mTransport ? mTransport->GetCurrentMeter(numerator, denominator) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::IsTransportPlaying(bool* playing) const {
  return mTransport ? mTransport->IsTransportPlaying(playing) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::GetCurrentTickPosition(int64_t* ticks) const {
  return mTransport ? mTransport->GetCurrentTickPosition(ticks) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::GetCurrentLoopPosition(bool* looping, int64_t* startTicks,
                                                  int64_t* endTicks) const {
  return mTransport ? mTransport->GetCurrentLoopPosition(looping, startTicks, endTicks)
                    : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VTransport::GetCurrentSampleLocation(int64_t* samples) const {
  return mTransportV2 ? mTransportV2->GetCurrentSampleLocation(samples) : AAX_ERROR_UNIMPLEMENTED;
}
