#pragma once

#include "Projects/compressor/CComp.h"
#include "framework/IFxProcessor.h"

// The audio half of the compressor: declares the nine parameters, owns the engine, forwards
// parameter changes to it, runs it once per block and sends the two meter readings to the
// controller on every timer tick.
//
// The engine reads the framework's input slots and writes the output slots; the host's input
// buffers are never written (a host may feed one buffer to several plug-ins, or pass the same
// buffer as input and output).
class OrvaneCompressorProcessor : public IFxProcessor<double> {
public:
  OrvaneCompressorProcessor();
  ~OrvaneCompressorProcessor() override;

  // The factory's create function: a new processor as its component interface, or null when
  // it cannot be made (no exception reaches the host).
  static Steinberg::FUnknown* createInstance(void* context);

  // Audio thread (and, after a state load, the loading thread): one parameter to the engine.
  void OnParamChange(int paramIdx, int sampleOffset) override;
  // After a new sample rate: the engine's time constants follow it.
  void Reset() override;
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override;
  // Timer (UI thread): the meter message "GAIN" to the controller.
  void OnIdle() override;

  // The engine, for tests in process (read it on the thread that processes).
  const CComp& Engine() const { return mComp; }

private:
  CComp mComp;
};
