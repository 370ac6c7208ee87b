#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

struct CCompKernels;

// The compressor's signal engine: a stereo feed-forward compressor whose timing and curve
// model an analogue RC detector. Attack and release time constants come from pot positions
// and fixed resistor and capacitor values, the static curve is a fit in the log domain, and
// an optional two-state automatic release follows the programme. Around the detector sit an
// input gain, a make-up gain and a dry/wet blend, each slewed frame by frame, and two meters
// (output level and gain reduction) for the editor.
//
// The processor owns one engine, calls the setters from its parameter changes and runs
// Process once per block. Everything but the two meter getters runs on the audio thread;
// nothing here allocates, locks or throws.
//
// The class is final, so the virtual operations cost no dispatch when the engine calls them
// on itself (the per-frame meter update, the coefficient update from the setters).
class CComp final {
public:
  // The coefficient block, in the order GetCoefficients copies it out.
  struct Coefficients {
    double gain = 0.0;              // G: scales the attack output into the log2 gain
    double attackInput = 0.0;       // 1 - cA: weight of the curve value in the attack one-pole
    double attackPoleNeg = 0.0;     // -cA: the attack pole, negated
    double release = 0.0;           // cR: manual release factor per frame
    double slowWeight = 0.0;        // wS: auto-release weight of the slow state
    double fastFactor = 0.0;        // wF: auto-release decay of the fast state
    double ratioCompensation = 0.0; // K: level compensation of the ratio
    double drive = 0.0;             // D: detector drive set by the threshold
  };
  static constexpr int kNumCoefficients = 8;

  // Frames per meter window.
  static constexpr int32_t kMeterWindow = 512;

  CComp();
  ~CComp() {}
  CComp(const CComp&) = delete;
  CComp& operator=(const CComp&) = delete;

  // Processes count frames of the two channels inputs[0], inputs[1] into outputs[0],
  // outputs[1]. An output channel may be its input channel (in place) or a buffer of its
  // own, but must not overlap it otherwise. sidechain, when not null, feeds the detector
  // instead of the channels (taken as it is, without the input gain). Bypassed, the outputs
  // receive the inputs unchanged.
  virtual void Process(const double* const* inputs, double* const* outputs, const double* sidechain,
                       size_t count);
  // Processes in place.
  void Process(double* const* channels, const double* sidechain, size_t count) {
    Process(channels, channels, sidechain, count);
  }
  // Processes count frames of one channel, input into output (the same buffer, or one that does
  // not overlap it): what Process does with a silent right channel, whose output is not wanted.
  // The silence feeds neither the detector nor the meters, so the meters read the positive
  // half-waves of the one channel, floored at 0.
  void ProcessMono(const double* input, double* output, const double* sidechain, size_t count);

  // Stores the rate (a non-positive or non-finite rate counts as none) and recomputes the
  // coefficients.
  virtual void SetSampleRate(double sampleRate);
  // The lowest linear gain since the last call; resets it to 1 and clears HasProcessed.
  virtual double TakeGainReductionPeak();
  virtual bool HasProcessed() const { return mHasProcessed; }

  // Detector settings: each recomputes the coefficients when the value changes. Non-finite
  // values are ignored (the setting keeps its value).
  virtual void SetThreshold(double dB);
  virtual void SetRatio(double ratio);
  virtual void SetAttack(double position);
  virtual void SetRelease(double seconds);
  virtual void SetMakeUp(double dB);
  virtual void SetAutoRelease(bool on);
  // Plain stores; input gain and blend reach the signal through their slews. Non-finite
  // gains and blends are ignored.
  virtual void SetBypass(bool on) { mBypass = on; }
  virtual void SetSpareFlag(bool on) { mSpareFlag = on; }
  virtual void SetInputGain(double dB);
  virtual void SetBlend(double wet);
  virtual void SetIOMetering(bool output) { mIOMetering = output; }

  virtual double GetThreshold() const { return mThreshold; }
  virtual double GetRatio() const { return mRatio; }
  virtual double GetAttack() const { return mAttack; }
  virtual double GetRelease() const { return mRelease; }
  virtual double GetMakeUp() const { return mMakeUpTarget; }
  virtual bool GetAutoRelease() const { return mAutoRelease; }
  virtual bool GetSpareFlag() const { return mSpareFlag; }
  virtual bool IsBypassed() const { return mBypass; }

  // True when the flag differs or any value is not equal to the stored one (a NaN on either
  // side counts as different).
  virtual bool DiffersFrom(bool autoRelease, double threshold, double ratio, double attack,
                           double release, double makeUp) const;
  // Stores all detector settings and recomputes the coefficients once, when they differ or
  // when forced. Non-finite values are ignored, as with the single setters.
  virtual void SetAll(bool autoRelease, bool force, double threshold, double ratio, double attack,
                      double release, double makeUp);

  // The steady-state gain in dB for a detector level, without attack and release.
  virtual double GetStaticCurveDb(double level) const;
  virtual void RecalcCoefficients();
  // Copies the coefficient block as kNumCoefficients doubles, in declaration order.
  virtual void GetCoefficients(double out[]) const;

  // The ranges of the settings. The engine clamps none of its inputs to them.
  virtual double GetMinThreshold() const { return -50.0; }
  virtual double GetMaxThreshold() const { return -10.0; }
  virtual double GetMinRatio() const { return 1.5; }
  virtual double GetMaxRatio() const { return 50.0; }
  virtual double GetMinAttack() const { return 0.0; }
  virtual double GetMaxAttack() const { return 1.0; }
  virtual double GetMinRelease() const { return 0.1; }
  virtual double GetMaxRelease() const { return 4.0; }
  virtual double GetMinMakeUp() const { return 0.0; }
  virtual double GetMaxMakeUp() const { return 20.0; }

  // The meter ballistics of one frame: clamps the window peak and the held level, counts the
  // frame and, at the end of each meter window, publishes both meters.
  virtual void UpdateMeters();

  // Meter readings for the editor, safe to read from any thread. Level: 1.0 at full scale
  // on a 60 dB scale. Gain reduction: 1.0 at none, on a 20 dB scale. Both always finite.
  double GetLevelMeter() const { return mLevelMeter.load(std::memory_order_relaxed); }
  double GetGainReductionMeter() const {
    return mGainReductionMeter.load(std::memory_order_relaxed);
  }

private:
  friend struct CCompInspector; // white-box checks of the detector states in the tests

  template <bool kStereo>
  void ProcessRuns(const double* inL, const double* inR, double* outL, double* outR,
                   const double* sidechain, size_t count);
  template <bool kStereo>
  void ProcessRun(const double* inL, const double* inR, double* outL, double* outR,
                  const double* sidechain, size_t count);
  template <bool kMoving, bool kStereo>
  void InputGainRun(const double* inL, const double* inR, size_t count);
  void ReleaseAndAttackRun(size_t count);
  template <bool kMoving, bool kStereo>
  void OutputRun(const double* inL, const double* inR, double* outL, double* outR, size_t count);
  void TapMeterRun(const double* l, const double* r, size_t count);
  void CloseMeterWindow();
  void SanitizeDetectorStates();
  bool HasSampleRate() const { return mSampleRate > 0.0; }

  bool mBypass = false;
  double mSampleRate = 0.0;
  double mThreshold = -10.0;
  double mRatio = 1.5;
  double mAttack = 0.0;
  double mRelease = 0.1;
  double mMakeUpTarget = 0.0;
  bool mAutoRelease = false;
  bool mSpareFlag = false;
  bool mIOMetering = true; // true: the meters tap the output; false: after the input gain
  double mGainReductionPeak = 1.0;
  bool mHasProcessed = true;
  double mInputGainTarget = 0.0;
  double mInputGainCurrent = 0.0;
  double mBlendTarget = 0.5;
  double mBlendCurrent = 0.5;
  double mMakeUpCurrent = 0.0;
  double mMeterWindowPeak = 0.0;
  double mMeterSample = 0.0;
  double mHeldLevel = 0.0;
  int32_t mMeterFrameCount = 0;
  double mFastReleaseState = 0.0;   // auto-release s0
  double mSlowReleaseState = 0.0;   // auto-release s1
  double mManualReleaseState = 0.0; // held curve value h of the manual release
  double mAttackState = 0.0;        // output a of the attack one-pole
  Coefficients mCoefficients;
  // The curve and gain kernels, the widest set the processor runs.
  const CCompKernels* mKernels;
  std::atomic<double> mLevelMeter{0.0};
  std::atomic<double> mGainReductionMeter{1.0};
  static_assert(std::atomic<double>::is_always_lock_free, "the meters must not lock");

  // Linear factors of the two slewed gains, recomputed only when their slews move.
  double mInputGainFactor = 1.0;
  double mMakeUpFactor = 1.0;

  // Working buffers of one run (at most one meter window): the input-gained channels, and
  // the detector's value of each frame as it passes from curve to attack output to gain.
  double mGainedL[kMeterWindow];
  double mGainedR[kMeterWindow];
  double mStage[kMeterWindow];
};
