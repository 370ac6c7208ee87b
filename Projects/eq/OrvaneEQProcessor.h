#pragma once

#include "Projects/eq/OrvaneEQDsp.h"
#include "framework/IFxProcessor.h"

// The audio half of the equaliser. The framework's processor base brings the VST 3 component,
// the host's parameter changes, 32-bit conversion, bypass and state; this class applies the
// 13 parameters to the sound (OrvaneEQDsp: the twelve filter stages, output gain and meter,
// owned in place) and sends the meter reading to the controller on every timer tick as the
// message "GAIN".
class OrvaneEQProcessor : public IFxProcessor<double> {
public:
  OrvaneEQProcessor();
  ~OrvaneEQProcessor() override;

  // The factory's create function: a new processor with one reference, or null when it cannot
  // be made (no exception reaches the host).
  static Steinberg::FUnknown* createInstance(void* context);

  void Reset() override;
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override;
  void OnIdle() override;
  // The parameter's current plain value to the stages; also the framework's change hook (state
  // restore comes this way).
  void OnParamChange(int paramIdx, int sampleOffset) override;

  const OrvaneEQDsp& Dsp() const { return mDsp; }

private:
  // Channels the block carries: channel 1 only when its output is connected (a mono bus
  // arrangement leaves it out).
  int ActiveChannels() const;

  OrvaneEQDsp mDsp;
};
