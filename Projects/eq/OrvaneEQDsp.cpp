#include "Projects/eq/OrvaneEQDsp.h"

#include "Projects/eq/OrvaneEQParamIDs.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

namespace {

double DbToFactor(double dB) {
  return std::pow(10.0, dB / 20.0);
}

// Each change goes to the channel-0 stage, then to the channel-1 stage, and each stage works it
// out for itself. The setters that automation calls on every block only note the new setting and
// take one glide step (the tables are read at the next refresh): finding out first whether the
// two are twins would cost more than it saves.
template <class Stage, class Change> void ApplyToPair(Stage (&pair)[2], Change change) {
  change(pair[0]);
  change(pair[1]);
}

} // namespace

OrvaneEQDsp::OrvaneEQDsp() = default;

void OrvaneEQDsp::SetSampleRate(double hz) {
  // A rate of zero, a negative or a non-finite rate would turn the gain slew into infinities;
  // such a setup is ignored and the stages keep the rate they run at.
  if (!(hz > 0.0) || !std::isfinite(hz)) {
    return;
  }
  mSampleRate = hz;
  auto setRate = [hz](CFilter& f) { f.SetSampleRate(hz); };
  ApplyToPair(mLowMid, setRate);
  ApplyToPair(mHighMid, setRate);
  ApplyToPair(mLowPass, setRate);
  ApplyToPair(mHighPass, setRate);
  ApplyToPair(mLowShelf, setRate);
  ApplyToPair(mHighShelf, setRate);
}

void OrvaneEQDsp::ApplyParam(int index, double v) {
  auto setFreq = [v](CFilter& f) { f.SetFreq(v); };
  auto setGain = [v](CFilter& f) { f.SetGain(v); };
  auto setQ = [v](CFilter& f) { f.SetQ(v); };
  switch (index) {
  case kHiPassFreq:
    ApplyToPair(mHighPass, [v](CFilter& f) {
      f.SetFreq(v);
      f.SetBypass(v <= kHighPassOffHz);
    });
    break;
  case kLowShelfFreq:
    ApplyToPair(mLowShelf, setFreq);
    break;
  case kLowShelfGain:
    ApplyToPair(mLowShelf, setGain);
    break;
  case kLowMidFreq:
    ApplyToPair(mLowMid, setFreq);
    break;
  case kLowMidGain:
    ApplyToPair(mLowMid, setGain);
    break;
  case kLowMidQ:
    ApplyToPair(mLowMid, setQ);
    break;
  case kHiMidFreq:
    ApplyToPair(mHighMid, setFreq);
    break;
  case kHiMidGain:
    ApplyToPair(mHighMid, setGain);
    break;
  case kHiMidQ:
    ApplyToPair(mHighMid, setQ);
    break;
  case kHiShelfFreq:
    ApplyToPair(mHighShelf, setFreq);
    break;
  case kHiShelfGain:
    ApplyToPair(mHighShelf, setGain);
    break;
  case kLowPassFreq:
    ApplyToPair(mLowPass, [v](CFilter& f) {
      f.SetFreq(v);
      f.SetBypass(v >= kLowPassOffHz);
    });
    break;
  case kOutputGain:
    mOutputGainTarget = v;
    break;
  default:
    break;
  }
}

void OrvaneEQDsp::Process(const double* const* inputs, double* const* outputs, int nChannels,
                          int32_t nFrames) {
  nChannels = std::clamp(nChannels, 0, kMaxChannels);
  if (nFrames <= 0) {
    return;
  }
  // The host's inputs stay untouched: the outputs are the working buffers. memmove, because a
  // host may hand the same buffer (or an overlapping one) for both.
  for (int ch = 0; ch < nChannels; ++ch) {
    if (outputs[ch] != inputs[ch]) {
      std::memmove(outputs[ch], inputs[ch], sizeof(double) * static_cast<size_t>(nFrames));
    }
  }
  FilterChain(outputs, nChannels, nFrames);
  // Each channel starts the slew from the stored gain, so both get the same gain curve.
  double reached = mOutputGainCurrent;
  for (int ch = 0; ch < nChannels; ++ch) {
    reached = ApplyGainAndMeter(outputs[ch], nFrames, mOutputGainCurrent);
  }
  mOutputGainCurrent = reached;
}

// The stages in processing order. A stereo block runs each stage's two channels in the two lanes,
// two stages fused at a time; a mono block runs its stages pipelined (or fused); both are
// bit-identical to one stage after the other on each channel.
void OrvaneEQDsp::FilterChain(double* const* x, int nChannels, int32_t nFrames) {
  CFilter* left[] = {&mHighPass[0],  &mLowMid[0],   &mHighMid[0],
                     &mHighShelf[0], &mLowShelf[0], &mLowPass[0]};
  constexpr int32_t kStages = static_cast<int32_t>(std::size(left));
  if (nChannels == 2) {
    CFilter* right[] = {&mHighPass[1],  &mLowMid[1],   &mHighMid[1],
                        &mHighShelf[1], &mLowShelf[1], &mLowPass[1]};
    CFilter::ProcessChainPair(left, x[0], right, x[1], kStages, nFrames);
  } else if (nChannels == 1) {
    CFilter::ProcessChain(left, kStages, x[0], nFrames);
  }
}

// 10^(dB/20), remembered for the last gain asked: a settled gain costs no pow per block.
double OrvaneEQDsp::FactorOf(double gainDb) {
  if (!(gainDb == mFactorDb)) {
    mFactorDb = gainDb;
    mFactor = DbToFactor(gainDb);
  }
  return mFactor;
}

double OrvaneEQDsp::SlewStep(double gainDb) const {
  const double target = mOutputGainTarget;
  if (std::fabs(gainDb - target) < kGainSnapDb) {
    return target;
  }
  const double step = kGainSlewDbPerSecond / mSampleRate;
  if (target > gainDb) {
    return gainDb + step;
  }
  if (gainDb > target) {
    return gainDb - step;
  }
  return gainDb;
}

// Runs window by window: within a window the meter needs only the largest sample, and the
// gain factor changes only while the gain slews, so the settled part is a plain scaling loop.
double OrvaneEQDsp::ApplyGainAndMeter(double* x, int32_t nFrames, double gainDb) {
  double factor = FactorOf(gainDb);
  int32_t i = 0;
  while (i < nFrames) {
    const int32_t end = i + std::min(nFrames - i, kMeterWindow - mMeterCounter);
    const int32_t counted = end - i;
    double peak = mPeak;
    for (; i < end && gainDb != mOutputGainTarget; ++i) {
      gainDb = SlewStep(gainDb);
      factor = FactorOf(gainDb);
      const double y = x[i] * factor;
      x[i] = y;
      peak = y > peak ? y : peak;
    }
    for (; i < end; ++i) {
      const double y = x[i] * factor;
      x[i] = y;
      peak = y > peak ? y : peak;
    }
    mPeak = std::min(peak, 1.0);
    mHeldPeak = std::min(mHeldPeak, 1.0);
    mMeterCounter += counted;
    if (mMeterCounter >= kMeterWindow) {
      CloseMeterWindow();
    }
  }
  return gainDb;
}

void OrvaneEQDsp::UpdateMeter(double sample) {
  mPeak = sample > mPeak ? sample : mPeak;
  mPeak = std::min(mPeak, 1.0);
  mHeldPeak = std::min(mHeldPeak, 1.0);
  if (++mMeterCounter >= kMeterWindow) {
    CloseMeterWindow();
  }
}

void OrvaneEQDsp::CloseMeterWindow() {
  if (mPeak > mHeldPeak) {
    mHeldPeak = mPeak;
  } else {
    mHeldPeak = mHeldPeak - kMeterDecay * (mHeldPeak - mPeak);
    mHeldPeak = std::max(mHeldPeak, kMeterFloor);
  }
  mMeterValue.store(20.0 * std::log10(mHeldPeak) / kMeterRangeDb + 1.0, std::memory_order_relaxed);
  mMeterCounter = 0;
  mPeak = 0.0;
}
