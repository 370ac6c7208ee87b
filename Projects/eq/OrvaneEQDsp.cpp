#include "Projects/eq/OrvaneEQDsp.h"

#include "Projects/eq/OrvaneEQParamIDs.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

double DbToFactor(double dB) {
  return std::pow(10.0, dB / 20.0);
}

template <class Stage> void SetPairRate(Stage (&pair)[2], double hz) {
  pair[0].SetSampleRate(hz);
  pair[1].SetSampleRate(hz);
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
  SetPairRate(mLowMid, hz);
  SetPairRate(mHighMid, hz);
  SetPairRate(mLowPass, hz);
  SetPairRate(mHighPass, hz);
  SetPairRate(mLowShelf, hz);
  SetPairRate(mHighShelf, hz);
}

void OrvaneEQDsp::ApplyParam(int index, double v) {
  for (int ch = 0; ch < kMaxChannels; ++ch) {
    switch (index) {
    case kHiPassFreq:
      mHighPass[ch].SetFreq(v);
      mHighPass[ch].SetBypass(v <= kHighPassOffHz);
      break;
    case kLowShelfFreq:
      mLowShelf[ch].SetFreq(v);
      break;
    case kLowShelfGain:
      mLowShelf[ch].SetGain(v);
      break;
    case kLowMidFreq:
      mLowMid[ch].SetFreq(v);
      break;
    case kLowMidGain:
      mLowMid[ch].SetGain(v);
      break;
    case kLowMidQ:
      mLowMid[ch].SetQ(v);
      break;
    case kHiMidFreq:
      mHighMid[ch].SetFreq(v);
      break;
    case kHiMidGain:
      mHighMid[ch].SetGain(v);
      break;
    case kHiMidQ:
      mHighMid[ch].SetQ(v);
      break;
    case kHiShelfFreq:
      mHighShelf[ch].SetFreq(v);
      break;
    case kHiShelfGain:
      mHighShelf[ch].SetGain(v);
      break;
    case kLowPassFreq:
      mLowPass[ch].SetFreq(v);
      mLowPass[ch].SetBypass(v >= kLowPassOffHz);
      break;
    case kOutputGain:
      mOutputGainTarget = v;
      return;
    default:
      return;
    }
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

// A stereo pair runs its two independent recursions interleaved (bit-identical to one
// channel after the other); a mono block runs channel 0 alone.
template <class Stage>
void OrvaneEQDsp::Filter(Stage (&pair)[2], double* const* x, int nChannels, int32_t nFrames) {
  if (nChannels == 2) {
    CFilter::ProcessPair(pair[0], x[0], pair[1], x[1], nFrames);
  } else if (nChannels == 1) {
    pair[0].Process(x[0], nFrames);
  }
}

void OrvaneEQDsp::FilterChain(double* const* x, int nChannels, int32_t nFrames) {
  Filter(mHighPass, x, nChannels, nFrames);
  Filter(mLowMid, x, nChannels, nFrames);
  Filter(mHighMid, x, nChannels, nFrames);
  Filter(mHighShelf, x, nChannels, nFrames);
  Filter(mLowShelf, x, nChannels, nFrames);
  Filter(mLowPass, x, nChannels, nFrames);
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
  double factor = DbToFactor(gainDb);
  int32_t i = 0;
  while (i < nFrames) {
    const int32_t end = i + std::min(nFrames - i, kMeterWindow - mMeterCounter);
    const int32_t counted = end - i;
    double peak = mPeak;
    for (; i < end && gainDb != mOutputGainTarget; ++i) {
      gainDb = SlewStep(gainDb);
      factor = DbToFactor(gainDb);
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
