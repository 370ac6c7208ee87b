// The host's transport: tempo, metre, play state, positions and loop of the current block.
// Positions in ticks count 960000 ticks per quarter note.
#pragma once

#include "AAX.h"
#include "acfunknown.h"

class AAX_IACFTransport : public IACFUnknown {
public:
  virtual AAX_Result GetCurrentTempo(double* bpm) const = 0;
  virtual AAX_Result GetCurrentMeter(int32_t* numerator, int32_t* denominator) const = 0;
  virtual AAX_Result IsTransportPlaying(bool* playing) const = 0;
  virtual AAX_Result GetCurrentTickPosition(int64_t* ticks) const = 0;
  virtual AAX_Result GetCurrentLoopPosition(bool* looping, int64_t* startTicks,
                                            int64_t* endTicks) const = 0;

protected:
  ~AAX_IACFTransport() = default;
};

// Second version: the position of the block in samples.
class AAX_IACFTransport_V2 : public AAX_IACFTransport {
public:
  virtual AAX_Result GetCurrentSampleLocation(int64_t* samples) const = 0;

protected:
  ~AAX_IACFTransport_V2() = default;
};
