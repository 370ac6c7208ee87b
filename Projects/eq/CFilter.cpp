#include "Projects/eq/CFilter.h"

#include "Projects/eq/CFilterKernels.h"
#include "Projects/eq/EqCoefficientTables.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <iterator>

namespace {

// Below this distance a glide lands on its target, so that a glide toward 0 (where the
// relative test never fires) ends instead of reconfiguring the stage forever.
constexpr double kGlideFloor = 1e-3;

double Lerp(double a, double b, double u) {
  return a * (1.0 - u) + b * u;
}

double SnapDenormal(double v) {
  return std::fabs(v) < DBL_MIN ? 0.0 : v;
}

} // namespace

CFilter::CFilter() = default;

CFilter::~CFilter() = default;

void CFilter::AdvanceRefresh(int32_t samples) {
  if (samples >= SamplesUntilRefresh()) {
    ClearNonFiniteHistories();
    UpdateCoefficients();
    mRefreshCounter = 0;
  } else {
    mRefreshCounter += samples;
  }
}

bool CFilter::RefreshCoefficients() {
  mRefreshCounter = 0;
  if (mSettled && mGain == mGainTarget && mFreq == mFreqTarget) {
    return false;
  }
  UpdateCoefficients();
  return true;
}

void CFilter::PrepareProcess() {
  if (mOrder == 4) {
    mRefreshInterval = 16;
  }
  if (mRestartPending) {
    Restart();
  }
}

// A stage that starts, leaves bypass or changes rate runs at once on its settings: gain and
// frequency land on their glide targets and the running coefficients on the interpolated
// targets, with cleared histories (stale ones would click, and the initial coefficients would
// mute an order-3 stage until its first refresh).
void CFilter::Restart() {
  mRestartPending = false;
  mSettled = false;
  mGain = mGainTarget;
  mFreq = mFreqTarget;
  Reconfigure();
  if (mCoeffCount > 0) {
    const int32_t count = mOrder == 4 ? mCoeffCount + 1 : mCoeffCount;
    for (int32_t i = 0; i < count; ++i) {
      if (mSlots[i] != nullptr) {
        *mSlots[i] = mTargets[i];
      }
    }
  }
  ClearHistories();
}

void CFilter::ClearHistories() {
  mS1x0 = mS1x1 = mS1x2 = 0.0;
  mS2x0 = mS2x1 = mS2x2 = 0.0;
  mS1y1 = mS1y2 = 0.0;
  mS2y1 = mS2y2 = 0.0;
}

// A non-finite input (or any overflow) would otherwise keep the channel at NaN for good: such a
// state is cleared. Checked at every refresh, so a channel recovers within the block.
void CFilter::ClearNonFiniteHistories() {
  // A NaN or infinity anywhere makes the sum non-finite.
  const double sum = mS1x0 + mS1x1 + mS1x2 + mS2x0 + mS2x1 + mS2x2 + mS1y1 + mS1y2 + mS2y1 + mS2y2;
  if (!std::isfinite(sum)) {
    ClearHistories();
  }
}

// At the end of a block: also sets values that reached the denormal range to 0 (where the
// processor does not flush them itself).
void CFilter::SanitizeHistories() {
  ClearNonFiniteHistories();
#if defined(__SSE2__)
  // Denormals are flushed while a stage processes, so only the stored input samples, which no
  // arithmetic touched, can be denormal.
  double* const histories[] = {&mS1x0, &mS1x1, &mS1x2};
#else
  double* const histories[] = {&mS1x0, &mS1x1, &mS1x2, &mS2x0, &mS2x1,
                               &mS2x2, &mS1y1, &mS1y2, &mS2y1, &mS2y2};
#endif
  for (double* h : histories) {
    *h = SnapDenormal(*h);
  }
}

void CFilter::SetSampleRate(double hz) {
  if (hz != mSampleRate) {
    mRestartPending = true;
  }
  mSampleRate = hz;
  Reconfigure();
}

void CFilter::SetGain(double dB) {
  if (!std::isfinite(dB) || dB == mGain) {
    return;
  }
  mGainTarget = dB;
  mGain = Glide(mGain, mGainTarget);
  Reconfigure();
}

void CFilter::SetFreq(double hz) {
  if (!std::isfinite(hz) || hz == mFreq) {
    return;
  }
  mFreqTarget = hz;
  mFreq = Glide(mFreq, mFreqTarget);
  Reconfigure();
}

void CFilter::SetQ(double q) {
  if (!std::isfinite(q) || q == mQ) {
    return;
  }
  mQ = q;
  Reconfigure();
}

void CFilter::SetBypass(bool bypass) {
  if (mBypass && !bypass) {
    mRestartPending = true;
  }
  mBypass = bypass;
}

void CFilter::SetGainFreqQ(bool force, double dB, double hz, double q) {
  if (!std::isfinite(dB) || !std::isfinite(hz) || !std::isfinite(q)) {
    return;
  }
  if (force || DiffersFrom(dB, hz, q)) {
    mGain = dB;
    mFreq = hz;
    mQ = q;
    Reconfigure();
  }
}

bool CFilter::DiffersFrom(double dB, double hz, double q) const {
  return (mUsesGain && dB != mGain) || (mUsesFreq && hz != mFreq) || (mUsesQ && q != mQ);
}

void CFilter::Reconfigure() {
  BindTables();
  WireCoefficients();
  InterpolateCoefficients();
}

void CFilter::UpdateCoefficients() {
  if (mSettled && mGain == mGainTarget && mFreq == mFreqTarget) {
    return; // nothing glides and every running value sits on its target
  }
  bool gainMoved = false;
  if (!(mGain == mGainTarget)) {
    mGain = Glide(mGain, mGainTarget);
    gainMoved = true;
  }
  if (!(mFreq == mFreqTarget)) {
    mFreq = Glide(mFreq, mFreqTarget);
    Reconfigure();
  } else if (gainMoved) {
    Reconfigure();
  }
  MixTowardTargets();
}

void CFilter::MixTowardTargets() {
  if (mCoeffCount == 0) {
    return; // nothing bound yet: the slots drive no targets
  }
  const bool shelf = mOrder == 4;
  const double f = shelf ? mSmoothing / 16.0 : mSmoothing;
  const int32_t count = shelf ? mCoeffCount + 1 : mCoeffCount;
  bool settled = true;
  for (int32_t i = 0; i < count; ++i) {
    // A settled value is left alone: the mix of a value with itself may move it by a bit.
    if (mSlots[i] != nullptr && *mSlots[i] != mTargets[i]) {
      *mSlots[i] = SnapDenormal(*mSlots[i] * (1.0 - f) + mTargets[i] * f);
      settled = settled && *mSlots[i] == mTargets[i];
    }
  }
  mSettled = settled;
}

double CFilter::Glide(double current, double target) const {
  const double distance = std::fabs(current - target);
  if (std::fabs(target) / 50.0 > distance || distance < kGlideFloor) {
    return target;
  }
  return current + 0.1 * (target - current);
}

double CFilter::GetMinGain() const {
  return mGainGrid ? -mGainGrid[mGainGridSize - 1] : 0.0;
}

double CFilter::GetMaxGain() const {
  return mGainGrid ? mGainGrid[mGainGridSize - 1] : 0.0;
}

double CFilter::GetMinFreq() const {
  return mFreqGrid ? mFreqGrid[0] : 0.0;
}

double CFilter::GetMaxFreq() const {
  return mFreqGrid ? mFreqGrid[mFreqGridSize - 1] : 0.0;
}

double CFilter::GetMinQ() const {
  return mQGrid ? mQGrid[0] : 0.0;
}

double CFilter::GetMaxQ() const {
  return mQGrid ? mQGrid[mQGridSize - 1] : 0.0;
}

void CFilter::GetCoefficients(double numerator[7], double denominator[6]) const {
  for (int32_t i = 0; i < 6; ++i) {
    numerator[i] = mCoeffs[i];
    denominator[i] = mCoeffs[6 + i];
  }
  numerator[6] = mK;
}

void CFilter::WireCoefficients() {
  mSettled = false;
  std::fill(std::begin(mSlots), std::end(mSlots), nullptr);
  if (mOrder < 2 || mOrder > 4) {
    return;
  }
  // Section 1 (all orders): b0, b1, b2, a1, a2.
  mSlots[0] = &mCoeffs[0];
  mSlots[1] = &mCoeffs[1];
  mSlots[2] = &mCoeffs[2];
  mSlots[3] = &mCoeffs[7];
  mSlots[4] = &mCoeffs[8];
  mCoeffs[6] = 1.0;
  if (mOrder == 3) {
    mSlots[5] = &mCoeffs[3];
    mSlots[6] = &mCoeffs[4];
    mSlots[7] = &mCoeffs[10];
    mCoeffs[9] = 1.0;
  } else if (mOrder == 4) {
    mSlots[5] = &mCoeffs[3];
    mSlots[6] = &mCoeffs[4];
    mSlots[7] = &mCoeffs[5];
    mSlots[8] = &mCoeffs[10];
    mSlots[9] = &mCoeffs[11];
    mSlots[10] = &mK;
    mCoeffs[9] = 1.0;
  }
}

double CFilter::InterpolateTable(const double* table, int32_t iQ, double uQ, int32_t iG, double uG,
                                 int32_t iF, double uF) const {
  if (mUsesQ) {
    auto entry = [&](int32_t q, int32_t g, int32_t f) {
      return table[(q * mGainGridSize + g) * mFreqGridSize + f];
    };
    auto alongQ = [&](int32_t g, int32_t f) {
      return Lerp(entry(iQ, g, f), entry(iQ + 1, g, f), uQ);
    };
    const double low = Lerp(alongQ(iG, iF), alongQ(iG + 1, iF), uG);
    const double high = Lerp(alongQ(iG, iF + 1), alongQ(iG + 1, iF + 1), uG);
    return Lerp(low, high, uF);
  }
  if (mUsesGain) {
    auto entry = [&](int32_t g, int32_t f) { return table[g * mFreqGridSize + f]; };
    const double low = Lerp(entry(iG, iF), entry(iG + 1, iF), uG);
    const double high = Lerp(entry(iG, iF + 1), entry(iG + 1, iF + 1), uG);
    return Lerp(low, high, uF);
  }
  if (mUsesFreq) {
    return Lerp(table[iF], table[iF + 1], uF);
  }
  return 1.0;
}

void CFilter::InterpolateCoefficients() {
  int32_t iQ = 0, iG = 0, iF = 0;
  double uQ = 0.0, uG = 0.0, uF = 0.0;
  const bool cut = mGain < 0.0;
  if (mUsesQ) {
    FindGridSegment(mQ, mQGrid.get(), mQGridSize, uQ, iQ);
  }
  if (mUsesFreq) {
    FindGridSegment(mFreq, mFreqGrid.get(), mFreqGridSize, uF, iF);
  }
  if (mUsesGain) {
    FindGridSegment(std::fabs(mGain), mGainGrid.get(), mGainGridSize, uG, iG);
    if (mOrder == 4 && cut) {
      iF += 48; // the cut half of the shelf tables follows the 48 boost entries
    }
  }

  double t[kMaxTargets] = {};
  for (int32_t i = 0; i < mCoeffCount; ++i) {
    t[i] = mTables[i] != nullptr ? InterpolateTable(mTables[i], iQ, uQ, iG, uG, iF, uF) : 1.0;
  }
  if (mOrder == 4) {
    t[10] = std::pow(10.0, mGain / 20.0) - 1.0;
  } else if (mOrder == 2 && cut && mCoeffCount == 5 && t[0] != 0.0) {
    // A cut is the exact inverse of the boost of the same |gain|: numerator and denominator
    // exchange, normalised by the boost's b0. Targets are [b0, b1, b2, a1, a2].
    const double b0 = t[0], b1 = t[1], b2 = t[2], a1 = t[3], a2 = t[4];
    t[0] = 1.0 / b0;
    t[1] = a1 / b0;
    t[2] = a2 / b0;
    t[3] = b1 / b0;
    t[4] = b2 / b0;
  }
  const int32_t count = mOrder == 4 ? kMaxTargets : mCoeffCount;
  std::copy(t, t + count, mTargets);
  mSettled = false;
}

void CFilter::SetGainGrid(const double* points, int32_t count) {
  mGainGrid.reset(new double[count]);
  std::copy(points, points + count, mGainGrid.get());
  mGainGridSize = count;
}

void CFilter::SetFreqGrid(const double* points, int32_t count) {
  mFreqGrid.reset(new double[count]);
  std::copy(points, points + count, mFreqGrid.get());
  mFreqGridSize = count;
}

void CFilter::SetQGrid(const double* points, int32_t count) {
  mQGrid.reset(new double[count]);
  std::copy(points, points + count, mQGrid.get());
  mQGridSize = count;
}

void CFilter::NormalizeCoefficients() {
  const double d = mCoeffs[0];
  if (d == 0.0) {
    return;
  }
  mSettled = false;
  double* c = mCoeffs;
  for (int32_t i = 0; i < 3; ++i) {
    const double b = c[i];
    c[i] = c[6 + i] / d;
    c[6 + i] = b / d;
  }
  for (int32_t i = 3; i < 5; ++i) {
    const double b = c[i];
    c[i] = c[6 + i] / d;
    c[6 + i] = b / d;
  }
}

void CFilter::Clamp(double low, double high, double& value) const {
  if (value < low) {
    value = low;
  }
  if (value > high) {
    value = high;
  }
}

void CFilter::FindGridSegment(double value, const double* grid, int32_t size, double& fraction,
                              int32_t& index) const {
  if (grid == nullptr || size < 2) {
    fraction = 0.0;
    index = 0;
    return;
  }
  Clamp(grid[0], grid[size - 1], value);
  int32_t i = 0;
  while (i + 1 < size && value >= grid[i + 1]) {
    ++i;
  }
  i = std::min(i, size - 2);
  index = i;
  fraction = (value - grid[i]) / (grid[i + 1] - grid[i]);
}

void CFilter::SetUses(bool gain, bool freq, bool q) {
  mUsesGain = gain;
  mUsesFreq = freq;
  mUsesQ = q;
}

void CFilter::BindTableBlock(const double* block, int32_t coefficientCount,
                             int32_t entriesPerTable) {
  const int32_t set = eqtables::RateSetIndex(mSampleRate);
  const double* base =
      block + static_cast<std::ptrdiff_t>(set) * coefficientCount * entriesPerTable;
  std::fill(std::begin(mTables), std::end(mTables), nullptr);
  for (int32_t c = 0; c < coefficientCount && c < kMaxTables; ++c) {
    mTables[c] = base + static_cast<std::ptrdiff_t>(c) * entriesPerTable;
  }
  mCoeffCount = coefficientCount;
}
