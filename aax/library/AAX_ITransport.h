// What the plug-in reads of the host's transport for one block. Positions in ticks count
// 960000 ticks per quarter note.
#pragma once

#include "AAX.h"

class AAX_ITransport {
public:
  virtual ~AAX_ITransport() = default;
  virtual AAX_Result GetCurrentTempo(double* bpm) const = 0;
  virtual AAX_Result GetCurrentMeter(int32_t* numerator, int32_t* denominator) const = 0;
  virtual AAX_Result IsTransportPlaying(bool* playing) const = 0;
  virtual AAX_Result GetCurrentTickPosition(int64_t* ticks) const = 0;
  virtual AAX_Result GetCurrentLoopPosition(bool* looping, int64_t* startTicks,
                                            int64_t* endTicks) const = 0;
  virtual AAX_Result GetCurrentSampleLocation(int64_t* samples) const = 0;
};
