#pragma once

#include "Projects/eq/CHighShelf.h"
#include "Projects/eq/CHighpass.h"
#include "Projects/eq/CLowShelf.h"
#include "Projects/eq/CLowpass.h"
#include "Projects/eq/CParametric.h"

#include <atomic>
#include <cstdint>

// The equaliser's sound: twelve filter stages (six kinds, one per channel), the output gain
// with its slew and the peak meter. It knows nothing of any plug-in API; the processor feeds
// it the parameter values and the blocks.
//
// A block of one or two channels runs through the stages in a fixed order: high-pass,
// low-mid, high-mid, high shelf, low shelf, low-pass. The host's input buffers are only read:
// each channel is copied into its output buffer and filtered there, so a host may pass one
// buffer for both. The output gain glides toward its target at 180 dB/s and snaps to it
// within 0.1 dB; its factor is recomputed only while it moves. The meter holds the largest
// sample of each 1024 counted samples and falls by 7.5 % of the difference per window.
class OrvaneEQDsp {
public:
  static constexpr int kMaxChannels = 2;
  static constexpr double kHighPassOffHz = 20.0;   // high-pass bypassed at and below
  static constexpr double kLowPassOffHz = 22000.0; // low-pass bypassed at and above
  static constexpr double kGainSlewDbPerSecond = 180.0;
  static constexpr double kGainSnapDb = 0.1;
  static constexpr int32_t kMeterWindow = 1024;
  static constexpr double kMeterDecay = 0.075;
  static constexpr double kMeterFloor = 0.0001; // -80 dB
  static constexpr double kMeterRangeDb = 60.0; // meter value 0..1 for -60..0 dB

  OrvaneEQDsp();

  // Every stage to the new rate, in the order low-mid, high-mid, low-pass, high-pass, low
  // shelf, high shelf. A stage whose rate changes restarts at its next block: its settings jump
  // to their targets and its histories are cleared, since they were filtered at the old rate. The
  // same rate again keeps them. Output gain and meter are kept. Rates that are not positive and
  // finite are ignored.
  void SetSampleRate(double hz);
  // The plain value v of parameter `index` (EOrvaneEQParam) to both channels' stages;
  // indexes outside the parameters are ignored.
  void ApplyParam(int index, double v);
  // Filters inputs[ch] into outputs[ch] for ch below nChannels (at most two), then applies
  // the output gain and meters the result. Inputs are never written.
  void Process(const double* const* inputs, double* const* outputs, int nChannels, int32_t nFrames);
  // The meter step for one sample, as Process performs it.
  void UpdateMeter(double sample);

  // The last meter reading: 1 at 0 dB, 0 at -60 dB, -1/3 at the floor. Any thread.
  double MeterValue() const { return mMeterValue.load(std::memory_order_relaxed); }
  double OutputGainTarget() const { return mOutputGainTarget; }
  double OutputGainCurrent() const { return mOutputGainCurrent; }
  double Peak() const { return mPeak; }
  double HeldPeak() const { return mHeldPeak; }
  int32_t MeterCounter() const { return mMeterCounter; }

  const CParametric& LowMid(int ch) const { return mLowMid[ch]; }
  const CParametric& HighMid(int ch) const { return mHighMid[ch]; }
  const CLowpass& LowPass(int ch) const { return mLowPass[ch]; }
  const CHighpass& HighPass(int ch) const { return mHighPass[ch]; }
  const CHighShelf& HighShelf(int ch) const { return mHighShelf[ch]; }
  const CLowShelf& LowShelf(int ch) const { return mLowShelf[ch]; }

private:
  void FilterChain(double* const* x, int nChannels, int32_t nFrames);
  // Gain and meter over one channel's block, starting from gainDb; returns the gain reached.
  double ApplyGainAndMeter(double* x, int32_t nFrames, double gainDb);
  double FactorOf(double gainDb);
  double SlewStep(double gainDb) const;
  void CloseMeterWindow();

  CParametric mLowMid[2];
  CParametric mHighMid[2];
  CLowpass mLowPass[2];
  CHighpass mHighPass[2];
  CHighShelf mHighShelf[2];
  CLowShelf mLowShelf[2];
  double mOutputGainTarget = 0.0;  // dB
  double mOutputGainCurrent = 0.0; // dB, reached by the slew
  double mFactorDb = 0.0;          // the gain (dB) whose factor mFactor holds
  double mFactor = 1.0;            // 10^(mFactorDb/20)
  double mPeak = 0.0;              // largest sample since the last meter update (linear)
  double mHeldPeak = 0.0;          // meter ballistics state (linear)
  int32_t mMeterCounter = 0;       // samples counted since the last meter update
  std::atomic<double> mMeterValue{0.0};
  double mSampleRate = 44100.0;
};
