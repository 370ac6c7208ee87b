#include "Projects/compressor/CComp.h"

#include "Projects/compressor/CCompKernels.h"
#include "Projects/compressor/CFlushDenormals.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

// Ratio breakpoints of the ratio pot, and over the same segments the gain factor and the
// level compensation (dB) of the detector.
constexpr double kRatioPoints[6] = {1.5, 2.0, 3.0, 5.0, 10.0, 50.0};
constexpr double kGainPoints[6] = {0.9, 1.24, 1.42, 1.51, 1.59, 1.63};
constexpr double kCompensationDb[5] = {0.0, 1.0, 1.5, 1.55, 2.0};

// The timing network: ratio resistance in parallel with 1.505 kOhm plus the 470 kOhm attack
// pot, over 0.15 uF; the release pot of 470 kOhm in series with 22 kOhm over 4.7 uF.
constexpr float kAttackParallelOhms = 1505.0f;
constexpr float kAttackPotOhms = 470000.0f;
constexpr float kAttackFarads = 1.5e-7f;
constexpr double kReleasePotOhms = 470000.0;
constexpr double kReleaseSeriesOhms = 22000.0;
constexpr double kReleaseFarads = 4.7e-6;
constexpr double kReleaseMinSeconds = 0.1;
constexpr double kReleaseSpanSeconds = 3.9;

// Auto-release: a 30 ms fast state draining into a 0.74 s slow state, which takes this share
// of a new reduction.
constexpr double kFastSeconds = 0.03;
constexpr double kSlowSeconds = 0.74;
constexpr double kSlowShare = 0.789;

// Slew rates: 180 dB per second for the input and make-up gains, snapping within 0.1 dB;
// 5 per second for the blend, snapping within 0.001.
constexpr double kGainSlewDbPerSecond = 180.0;
constexpr double kGainSnapDb = 0.1;
constexpr double kBlendSlewPerSecond = 5.0;
constexpr double kBlendSnap = 0.001;

// Meter ballistics: the held level falls by this share of its distance to the window peak
// per window, down to kMeterFloor (-80 dB). The gain-reduction meter reads the same floor, so
// that neither meter's logarithm meets a zero.
constexpr double kHeldDecay = 0.075;
constexpr double kMeterFloor = 1e-4;
constexpr double kLevelMeterDbSpan = 60.0;
constexpr double kGainReductionMeterDbSpan = 20.0;

// Detector states closer to zero than this are inaudible (the gain is exactly 1 well before)
// and are set to zero at the end of each block, so that long silence never leaves them
// decaying through the denormal range.
constexpr double kStateSnap = 1e-30;

// The capped static curve c(v) of a detector value v >= 0, floored at kCurveFloor.
inline double DetectorCurve(double v) {
  if (v < CCompCurve::kKnee)
    return 0.0;
  const double c = std::min(0.0, CCompCurve::Fit(v));
  return c < CCompCurve::kFloor ? CCompCurve::kFloor : c;
}

// |x| for the detector; a non-finite sample carries no level and reads as silence.
inline double DetectorLevel(double x) {
  const double level = std::fabs(x);
  return level <= DBL_MAX ? level : 0.0;
}

// One frame of a slew: snaps to the target within snap (or within one step, so that a large
// step never overshoots), otherwise moves one step toward it. True when the value moved.
inline bool Slew(double& current, double target, double snap, double step) {
  if (current == target)
    return false;
  const double distance = std::fabs(current - target);
  if (distance < snap || distance <= step)
    current = target;
  else
    current += current < target ? step : -step;
  return true;
}

inline double DbToFactor(double dB) {
  return std::pow(10.0, dB / 20.0);
}

// The level meter's tap: the larger of the two samples taken as signed values, so that the
// meter reads positive half-waves, and the window peak.
inline void MeterTap(double l, double r, double& sample, double& windowPeak) {
  sample = l < r ? r : l;
  if (sample > windowPeak)
    windowPeak = sample;
}

// Segment index of r over the ratio breakpoints: the smallest of 1..last with
// r <= kRatioPoints[index], else last + 1.
int RatioSegment(double r, int last) {
  for (int i = 1; i <= last; ++i) {
    if (r <= kRatioPoints[i])
      return i;
  }
  return last + 1;
}

double SegmentFraction(double r, int segment) {
  return (r - kRatioPoints[segment - 1]) / (kRatioPoints[segment] - kRatioPoints[segment - 1]);
}

// The attack pot's taper, in single precision like the rest of the attack network.
float AttackTaper(float position) {
  if (position < 0.5f)
    return 0.2f * position;
  if (position < 0.75f)
    return 1.6f * position - 0.7f;
  return 2.0f * position - 1.0f;
}

bool DiffersDouble(double stored, double value) {
  return !(stored == value);
}

inline void SnapState(double& state) {
  if (!std::isfinite(state) || std::fabs(state) < kStateSnap)
    state = 0.0;
}

} // namespace

CComp::CComp() : mKernels(&CCompFastKernels()) {
  RecalcCoefficients();
}

void CComp::SetSampleRate(double sampleRate) {
  mSampleRate = (sampleRate > 0.0 && std::isfinite(sampleRate)) ? sampleRate : 0.0;
  RecalcCoefficients();
}

double CComp::TakeGainReductionPeak() {
  const double peak = mGainReductionPeak;
  mGainReductionPeak = 1.0;
  mHasProcessed = false;
  return peak;
}

void CComp::SetThreshold(double dB) {
  if (std::isfinite(dB) && DiffersDouble(mThreshold, dB)) {
    mThreshold = dB;
    RecalcCoefficients();
  }
}

void CComp::SetRatio(double ratio) {
  if (std::isfinite(ratio) && DiffersDouble(mRatio, ratio)) {
    mRatio = ratio;
    RecalcCoefficients();
  }
}

void CComp::SetAttack(double position) {
  if (std::isfinite(position) && DiffersDouble(mAttack, position)) {
    mAttack = position;
    RecalcCoefficients();
  }
}

void CComp::SetRelease(double seconds) {
  if (std::isfinite(seconds) && DiffersDouble(mRelease, seconds)) {
    mRelease = seconds;
    RecalcCoefficients();
  }
}

void CComp::SetMakeUp(double dB) {
  if (std::isfinite(dB) && DiffersDouble(mMakeUpTarget, dB)) {
    mMakeUpTarget = dB;
    RecalcCoefficients();
  }
}

void CComp::SetAutoRelease(bool on) {
  if (mAutoRelease != on) {
    mAutoRelease = on;
    RecalcCoefficients();
  }
}

void CComp::SetInputGain(double dB) {
  if (std::isfinite(dB))
    mInputGainTarget = dB;
}

void CComp::SetBlend(double wet) {
  if (std::isfinite(wet))
    mBlendTarget = wet;
}

bool CComp::DiffersFrom(bool autoRelease, double threshold, double ratio, double attack,
                        double release, double makeUp) const {
  return autoRelease != mAutoRelease || DiffersDouble(mThreshold, threshold) ||
         DiffersDouble(mRatio, ratio) || DiffersDouble(mAttack, attack) ||
         DiffersDouble(mRelease, release) || DiffersDouble(mMakeUpTarget, makeUp);
}

void CComp::SetAll(bool autoRelease, bool force, double threshold, double ratio, double attack,
                   double release, double makeUp) {
  if (!force && !DiffersFrom(autoRelease, threshold, ratio, attack, release, makeUp))
    return;
  auto storeFinite = [](double& field, double value) {
    if (std::isfinite(value))
      field = value;
  };
  storeFinite(mThreshold, threshold);
  storeFinite(mRatio, ratio);
  storeFinite(mAttack, attack);
  storeFinite(mRelease, release);
  storeFinite(mMakeUpTarget, makeUp);
  mAutoRelease = autoRelease;
  RecalcCoefficients();
}

double CComp::GetStaticCurveDb(double level) const {
  const double v = mCoefficients.drive * mCoefficients.ratioCompensation * DetectorLevel(level);
  const double exponent =
      DetectorCurve(v) * mCoefficients.gain * CCompCurve::kScale + CCompCurve::kGainOffset;
  return 20.0 * std::log10(std::exp2(std::min(0.0, exponent)));
}

void CComp::RecalcCoefficients() {
  const double r = mRatio;
  const int segment = RatioSegment(r, 4);
  const double f = SegmentFraction(r, segment);

  // Attack: the ratio resistance and the attack pot charge the timing capacitor.
  const float resistance = static_cast<float>(segment + f) * 1000.0f;
  const float taper = AttackTaper(static_cast<float>(mAttack));
  const float tauA = (resistance * kAttackParallelOhms / (resistance + kAttackParallelOhms) +
                      taper * kAttackPotOhms) *
                     kAttackFarads;
  const float cA =
      HasSampleRate() ? std::exp((-1.0f / tauA) / static_cast<float>(mSampleRate)) : 0.0f;
  mCoefficients.attackInput = static_cast<double>(1.0f - cA);
  mCoefficients.attackPoleNeg = -static_cast<double>(cA);

  mCoefficients.gain = (1.0 - f) * kGainPoints[segment - 1] + f * kGainPoints[segment];

  const double compensated = std::min(r, 10.0);
  const int compSegment = RatioSegment(compensated, 3);
  const double fc = SegmentFraction(compensated, compSegment);
  const double compensationDb =
      (1.0 - fc) * kCompensationDb[compSegment - 1] + fc * kCompensationDb[compSegment];
  mCoefficients.ratioCompensation = DbToFactor(-compensationDb);
  mCoefficients.drive = DbToFactor(-(mThreshold + 50.0));

  if (HasSampleRate()) {
    const double fs = mSampleRate;
    const double releaseOhms =
        ((mRelease - kReleaseMinSeconds) / kReleaseSpanSeconds) * kReleasePotOhms +
        kReleaseSeriesOhms;
    mCoefficients.release = std::exp(-1.0 / (releaseOhms * kReleaseFarads * fs));
    mCoefficients.fastFactor = std::exp(-1.0 / (kFastSeconds * fs));
    mCoefficients.slowWeight = 1.0 - std::exp(-1.0 / (kSlowSeconds * fs));
  } else {
    // Without a rate the time constants are zero frames long.
    mCoefficients.release = 0.0;
    mCoefficients.fastFactor = 0.0;
    mCoefficients.slowWeight = 1.0;
  }
}

void CComp::GetCoefficients(double out[]) const {
  const Coefficients& c = mCoefficients;
  const double block[kNumCoefficients] = {
      c.gain,       c.attackInput, c.attackPoleNeg,     c.release,
      c.slowWeight, c.fastFactor,  c.ratioCompensation, c.drive};
  std::memcpy(out, block, sizeof block);
}

void CComp::UpdateMeters() {
  mMeterWindowPeak = std::min(mMeterWindowPeak, 1.0);
  mHeldLevel = std::min(mHeldLevel, 1.0);
  if (++mMeterFrameCount >= kMeterWindow)
    CloseMeterWindow();
}

void CComp::CloseMeterWindow() {
  if (mMeterWindowPeak > mHeldLevel)
    mHeldLevel = mMeterWindowPeak;
  else
    mHeldLevel = std::max(kMeterFloor, mHeldLevel - kHeldDecay * (mHeldLevel - mMeterWindowPeak));
  const double held = std::max(mHeldLevel, kMeterFloor);
  const double reduction = std::max(TakeGainReductionPeak(), kMeterFloor);
  mLevelMeter.store(20.0 * std::log10(held) / kLevelMeterDbSpan + 1.0, std::memory_order_relaxed);
  mGainReductionMeter.store(20.0 * std::log10(reduction) / kGainReductionMeterDbSpan + 1.0,
                            std::memory_order_relaxed);
  mMeterWindowPeak = 0.0;
  mMeterFrameCount = 0;
}

void CComp::Process(const double* const* inputs, double* const* outputs, const double* sidechain,
                    size_t count) {
  mHasProcessed = true;
  if (count == 0 || !inputs || !outputs || !inputs[0] || !inputs[1] || !outputs[0] || !outputs[1])
    return;
  if (mBypass) {
    for (int c = 0; c < 2; ++c) {
      if (outputs[c] != inputs[c])
        std::memmove(outputs[c], inputs[c], count * sizeof(double));
    }
    return;
  }
  ProcessRuns<true>(inputs[0], inputs[1], outputs[0], outputs[1], sidechain, count);
}

void CComp::ProcessMono(const double* input, double* output, const double* sidechain,
                        size_t count) {
  mHasProcessed = true;
  if (count == 0 || !input || !output)
    return;
  if (mBypass) {
    if (output != input)
      std::memmove(output, input, count * sizeof(double));
    return;
  }
  ProcessRuns<false>(input, nullptr, output, nullptr, sidechain, count);
}

template <bool kStereo>
void CComp::ProcessRuns(const double* inL, const double* inR, double* outL, double* outR,
                        const double* sidechain, size_t count) {
  CFlushDenormals flushDenormals;
  // Runs end at meter-window boundaries, so that the frame loop never has to count frames.
  size_t done = 0;
  while (done < count) {
    const size_t run = std::min(count - done, static_cast<size_t>(kMeterWindow - mMeterFrameCount));
    ProcessRun<kStereo>(inL + done, kStereo ? inR + done : nullptr, outL + done,
                        kStereo ? outR + done : nullptr, sidechain ? sidechain + done : nullptr,
                        run);
    // The meter ballistics of run frames at once: the clamps commute with the window maximum.
    mMeterFrameCount += static_cast<int32_t>(run) - 1;
    UpdateMeters();
    done += run;
  }
  SanitizeDetectorStates();
}

// A run is processed in stages, each a plain loop over the run's frames. The logarithms of the
// curve and the exp2 of the gains sit in loops of their own that carry nothing across frames,
// which the kernels work out several frames at a time; the recurrences and the meter peaks stay
// in registers, and while the slews rest their loops make no call at all. Without kStereo the
// right channel is silence: it feeds neither the detector nor the meters, and is not written.
template <bool kStereo>
void CComp::ProcessRun(const double* inL, const double* inR, double* outL, double* outR,
                       const double* sidechain, size_t count) {
  if (mInputGainCurrent == mInputGainTarget)
    InputGainRun<false, kStereo>(inL, inR, count);
  else
    InputGainRun<true, kStereo>(inL, inR, count);
  const double detectorScale = mCoefficients.drive * mCoefficients.ratioCompensation;
  if (sidechain)
    mKernels->curve(sidechain, nullptr, mStage, count, detectorScale);
  else
    mKernels->curve(mGainedL, kStereo ? mGainedR : nullptr, mStage, count, detectorScale);
  ReleaseAndAttackRun(count);
  mGainReductionPeak = mKernels->gain(mStage, count, mCoefficients.gain, mGainReductionPeak);
  if (mMakeUpCurrent == mMakeUpTarget && mBlendCurrent == mBlendTarget)
    OutputRun<false, kStereo>(inL, inR, outL, outR, count);
  else
    OutputRun<true, kStereo>(inL, inR, outL, outR, count);
}

// The input gain (slewing when kMoving) into the gained channels, and the input meter tap.
template <bool kMoving, bool kStereo>
void CComp::InputGainRun(const double* inL, const double* inR, size_t count) {
  const double gainStep = HasSampleRate() ? kGainSlewDbPerSecond / mSampleRate : HUGE_VAL;
  const double target = mInputGainTarget;
  const bool meterInput = !mIOMetering;
  double current = mInputGainCurrent, factor = mInputGainFactor;
  double windowPeak = mMeterWindowPeak, meterSample = mMeterSample;
  if constexpr (!kMoving) {
    // A resting gain: the products alone, a loop the compiler runs several frames at a time,
    // then the meter over them.
    for (size_t i = 0; i < count; ++i) {
      mGainedL[i] = inL[i] * factor;
      if constexpr (kStereo)
        mGainedR[i] = inR[i] * factor;
    }
    if (meterInput)
      TapMeterRun(mGainedL, kStereo ? mGainedR : nullptr, count);
    return;
  }
  for (size_t i = 0; i < count; ++i) {
    if constexpr (kMoving) {
      if (Slew(current, target, kGainSnapDb, gainStep))
        factor = DbToFactor(current);
    }
    const double l = inL[i] * factor;
    mGainedL[i] = l;
    if constexpr (kStereo) {
      const double r = inR[i] * factor;
      mGainedR[i] = r;
      if (meterInput)
        MeterTap(l, r, meterSample, windowPeak);
    } else if (meterInput) {
      MeterTap(l, 0.0, meterSample, windowPeak);
    }
  }
  mInputGainCurrent = current;
  mInputGainFactor = factor;
  mMeterWindowPeak = windowPeak;
  mMeterSample = meterSample;
}

// The release stage (automatic or manual) and the attack one-pole, curve value to attack
// output, in place in the stage buffer.
void CComp::ReleaseAndAttackRun(size_t count) {
  const Coefficients k = mCoefficients;
  double attack = mAttackState;
  if (mAutoRelease) {
    const double fastDrain = 1.0 - k.fastFactor;
    const double slowKeep = 1.0 - k.slowWeight;
    double fast = mFastReleaseState, slow = mSlowReleaseState;
    for (size_t i = 0; i < count; ++i) {
      double g = mStage[i];
      if (fast + slow > g) {
        // A deeper reduction: the slow state takes its share, the fast state the rest.
        slow = slow + k.slowWeight * (kSlowShare * g - slow);
        fast = g - slow;
      } else {
        // The fast state drains into the slow one, which decays on its own.
        const double nextSlow = fastDrain * fast + slowKeep * slow;
        fast = k.fastFactor * fast;
        slow = nextSlow;
        g = slow + fast;
      }
      attack = k.attackInput * g - k.attackPoleNeg * attack;
      mStage[i] = attack;
    }
    mFastReleaseState = fast;
    mSlowReleaseState = slow;
  } else {
    double held = mManualReleaseState;
    for (size_t i = 0; i < count; ++i) {
      double g = mStage[i];
      if (g > held)
        g = held * k.release;
      held = g;
      attack = k.attackInput * g - k.attackPoleNeg * attack;
      mStage[i] = attack;
    }
    mManualReleaseState = held;
  }
  mAttackState = attack;
}

// Make-up and blend (slewing when kMoving), the wet/dry mix into the outputs and the output
// meter tap. The outputs are written only after the frame's inputs have been read, so they
// may be the inputs.
template <bool kMoving, bool kStereo>
void CComp::OutputRun(const double* inL, const double* inR, double* outL, double* outR,
                      size_t count) {
  const bool hasRate = HasSampleRate();
  const double gainStep = hasRate ? kGainSlewDbPerSecond / mSampleRate : HUGE_VAL;
  const double blendStep = hasRate ? kBlendSlewPerSecond / mSampleRate : HUGE_VAL;
  const double makeUpTarget = mMakeUpTarget, blendTarget = mBlendTarget;
  const bool meterOutput = mIOMetering;
  double makeUp = mMakeUpCurrent, makeUpFactor = mMakeUpFactor, blend = mBlendCurrent;
  double windowPeak = mMeterWindowPeak, meterSample = mMeterSample;
  if (!kMoving && blend > 0.0 && blend <= 1.0) {
    // Resting make-up and blend, the common case: the mix alone, a loop the compiler runs
    // several frames at a time, then the meter over the outputs.
    const double dry = 1.0 - blend;
    for (size_t i = 0; i < count; ++i) {
      const double wet = mStage[i] * makeUpFactor * blend;
      const double yL = mGainedL[i] * wet + inL[i] * dry;
      if constexpr (kStereo)
        outR[i] = mGainedR[i] * wet + inR[i] * dry;
      outL[i] = yL;
    }
    if (meterOutput)
      TapMeterRun(outL, kStereo ? outR : nullptr, count);
    return;
  }
  for (size_t i = 0; i < count; ++i) {
    const double dryL = inL[i];
    const double dryR = kStereo ? inR[i] : 0.0;
    if constexpr (kMoving) {
      if (Slew(makeUp, makeUpTarget, kGainSnapDb, gainStep))
        makeUpFactor = DbToFactor(makeUp);
      Slew(blend, blendTarget, kBlendSnap, blendStep);
    }
    double yL, yR = 0.0;
    if (blend == 0.0) {
      // Fully dry: the untouched input, input gain bypassed as well.
      yL = dryL;
      yR = dryR;
    } else if (blend <= 1.0) {
      const double wet = mStage[i] * makeUpFactor * blend;
      const double dry = 1.0 - blend;
      yL = mGainedL[i] * wet + dryL * dry;
      if constexpr (kStereo)
        yR = mGainedR[i] * wet + dryR * dry;
    } else {
      yL = mGainedL[i];
      if constexpr (kStereo)
        yR = mGainedR[i];
    }
    outL[i] = yL;
    if constexpr (kStereo)
      outR[i] = yR;
    if (meterOutput)
      MeterTap(yL, yR, meterSample, windowPeak);
  }
  mMakeUpCurrent = makeUp;
  mMakeUpFactor = makeUpFactor;
  mBlendCurrent = blend;
  mMeterWindowPeak = windowPeak;
  mMeterSample = meterSample;
}

// The meter tap of count frames at once (r null: silence on the right).
void CComp::TapMeterRun(const double* l, const double* r, size_t count) {
  if (count == 0)
    return;
  mMeterWindowPeak = mKernels->meterPeak(l, r, count, mMeterWindowPeak);
  double windowPeak = mMeterWindowPeak;
  MeterTap(l[count - 1], r ? r[count - 1] : 0.0, mMeterSample, windowPeak);
}

void CComp::SanitizeDetectorStates() {
  SnapState(mFastReleaseState);
  SnapState(mSlowReleaseState);
  SnapState(mManualReleaseState);
  SnapState(mAttackState);
}
