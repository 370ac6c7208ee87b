#include "Projects/eq/CFilter.h"

#include "Projects/eq/CFilterKernels.h"
#include "Projects/eq/EqCoefficientTables.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <type_traits>
#include <typeinfo>
#include <utility>

namespace {

// Below this distance a glide lands on its target, so that a glide toward 0 (where the
// relative test never fires) ends instead of reconfiguring the stage forever.
constexpr double kGlideFloor = 1e-3;

// A cell of a stage's grids: the offsets of its corner entries in a table and the weights of
// the linear interpolation between them, the same for every table of the stage.
struct GridCell {
  int dimensions = 0; // 3: Q, gain, frequency; 2: gain, frequency; 1: frequency; 0: none
  int32_t corner[8] = {};
  double u[3] = {};    // the fraction along each dimension, in interpolation order
  double rest[3] = {}; // 1 - u

  static GridCell Line(int32_t iF, double uF) {
    GridCell c;
    c.dimensions = 1;
    c.corner[0] = iF;
    c.corner[1] = iF + 1;
    c.SetWeights({uF});
    return c;
  }
  static GridCell Square(int32_t iG, double uG, int32_t iF, double uF, int32_t freqs) {
    GridCell c;
    c.dimensions = 2;
    const int32_t at[] = {iG * freqs + iF, (iG + 1) * freqs + iF, iG * freqs + iF + 1,
                          (iG + 1) * freqs + iF + 1};
    std::copy(std::begin(at), std::end(at), c.corner);
    c.SetWeights({uG, uF});
    return c;
  }
  static GridCell Cube(int32_t iQ, double uQ, int32_t iG, double uG, int32_t iF, double uF,
                       int32_t gains, int32_t freqs) {
    GridCell c;
    c.dimensions = 3;
    auto entry = [&](int32_t q, int32_t g, int32_t f) { return (q * gains + g) * freqs + f; };
    const int32_t at[] = {entry(iQ, iG, iF),         entry(iQ + 1, iG, iF),
                          entry(iQ, iG + 1, iF),     entry(iQ + 1, iG + 1, iF),
                          entry(iQ, iG, iF + 1),     entry(iQ + 1, iG, iF + 1),
                          entry(iQ, iG + 1, iF + 1), entry(iQ + 1, iG + 1, iF + 1)};
    std::copy(std::begin(at), std::end(at), c.corner);
    c.SetWeights({uQ, uG, uF});
    return c;
  }

  double Lerp(double a, double b, int d) const { return a * rest[d] + b * u[d]; }

  double Interpolate(const double* table) const {
    const int32_t* k = corner;
    switch (dimensions) {
    case 3: {
      const double low =
          Lerp(Lerp(table[k[0]], table[k[1]], 0), Lerp(table[k[2]], table[k[3]], 0), 1);
      const double high =
          Lerp(Lerp(table[k[4]], table[k[5]], 0), Lerp(table[k[6]], table[k[7]], 0), 1);
      return Lerp(low, high, 2);
    }
    case 2:
      return Lerp(Lerp(table[k[0]], table[k[1]], 0), Lerp(table[k[2]], table[k[3]], 0), 1);
    case 1:
      return Lerp(table[k[0]], table[k[1]], 0);
    default:
      return 1.0;
    }
  }

private:
  void SetWeights(std::initializer_list<double> fractions) {
    int d = 0;
    for (double f : fractions) {
      u[d] = f;
      rest[d] = 1.0 - f;
      ++d;
    }
  }
};

// The running value behind a slot; an unwired slot stands for a value on its target, which the
// mix keeps, and takes no store.
double ValueAt(const double* slot, double target) {
  return slot != nullptr ? *slot : target;
}
void StoreAt(double* slot, double v) {
  if (slot != nullptr) {
    *slot = v;
  }
}

// One refresh's mix of the running values behind `slots` toward their targets, by the fraction
// f; answers whether every value now sits on its target. A settled value is left alone: the mix
// of a value with itself may move it by a bit. (The mix is computed either way, so that the loop
// does not branch on the values.) Two values at a time in the lanes of a Pair, each lane the
// scalar arithmetic of one value, loaded and stored lane by lane straight from the slots; an odd
// count's last value fills both lanes (and, stored twice, keeps its value). Count is a
// compile-time constant where the caller knows it; kWired says every slot up to it is wired.
template <bool kWired, class Count>
bool MixRun(Count count, double* const* slots, const double* target, double f) {
  using Pair = CFilterKernels::Pair;
  using Mask = CFilterKernels::PairMask;
  const double keep = 1.0 - f;
  const Pair keeps = {keep, keep};
  const Pair fractions = {f, f};
  Mask landed = {-1, -1};
  for (int32_t i = 0; i < count; i += 2) {
    const int32_t j = i + 1 < count ? i + 1 : i;
    const Pair t = {target[i], target[j]};
    const Pair v = kWired ? Pair{*slots[i], *slots[j]}
                          : Pair{ValueAt(slots[i], t[0]), ValueAt(slots[j], t[1])};
    const Pair mixed = CFilterKernels::SnapDenormal(v * keeps + t * fractions);
    const Mask moving = v != t;
    const Pair next = (Pair)(((Mask)mixed & moving) | ((Mask)v & ~moving));
    landed &= next == t;
    if constexpr (kWired) {
      *slots[i] = next[0];
      *slots[j] = next[1];
    } else {
      StoreAt(slots[i], next[0]);
      if (j != i) {
        StoreAt(slots[j], next[1]);
      }
    }
  }
  return landed[0] != 0 && landed[1] != 0;
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
    *h = CFilterKernels::SnapDenormal(*h);
  }
}

namespace {

template <class T> bool SameBits(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}
// Arrays compared and copied sixteen bytes at a time (and a last eight), without a branch or a
// library call: the compiler turns each step into one vector move or compare.
using Block = CFilterKernels::PairMask;
template <class T, size_t N> bool SameBits(const T (&a)[N], const T (&b)[N]) {
  static_assert(sizeof(a) % sizeof(uint64_t) == 0, "arrays of whole words");
  const char* x = reinterpret_cast<const char*>(a);
  const char* y = reinterpret_cast<const char*>(b);
  Block differ = {0, 0};
  size_t i = 0;
  for (; i + sizeof(Block) <= sizeof(a); i += sizeof(Block)) {
    Block u, v;
    std::memcpy(&u, x + i, sizeof(u));
    std::memcpy(&v, y + i, sizeof(v));
    differ |= u ^ v;
  }
  uint64_t rest = 0;
  if (i < sizeof(a)) {
    uint64_t u, v;
    std::memcpy(&u, x + i, sizeof(u));
    std::memcpy(&v, y + i, sizeof(v));
    rest = u ^ v;
  }
  return (static_cast<uint64_t>(differ[0]) | static_cast<uint64_t>(differ[1]) | rest) == 0;
}
template <class T, size_t N> void CopyArray(T (&to)[N], const T (&from)[N]) {
  static_assert(sizeof(to) % sizeof(uint64_t) == 0, "arrays of whole words");
  char* x = reinterpret_cast<char*>(to);
  const char* y = reinterpret_cast<const char*>(from);
  size_t i = 0;
  for (; i + sizeof(Block) <= sizeof(to); i += sizeof(Block)) {
    std::memcpy(x + i, y + i, sizeof(Block));
  }
  if (i < sizeof(to)) {
    std::memcpy(x + i, y + i, sizeof(uint64_t));
  }
}

} // namespace

bool CFilter::Mirrors(const CFilter& o) const {
  // Bound tables imply wired slots: the twin's own slots then drive the values it takes.
  return typeid(*this) == typeid(o) && mCoeffCount > 0 && SameBits(mCoeffCount, o.mCoeffCount) &&
         SameBits(mTables, o.mTables) && SameBits(mOrder, o.mOrder) &&
         SameBits(mSampleRate, o.mSampleRate) && SameBits(mBypass, o.mBypass) &&
         SameBits(mRestartPending, o.mRestartPending) && SameBits(mSettled, o.mSettled) &&
         SameBits(mRefreshInterval, o.mRefreshInterval) && SameBits(mGain, o.mGain) &&
         SameBits(mFreq, o.mFreq) && SameBits(mQ, o.mQ) && SameBits(mGainTarget, o.mGainTarget) &&
         SameBits(mFreqTarget, o.mFreqTarget) && SameBits(mK, o.mK) &&
         SameBits(mSmoothing, o.mSmoothing) && SameBits(mTargetsStale, o.mTargetsStale) &&
         SameBits(mCoeffs, o.mCoeffs) && SameBits(mTargets, o.mTargets);
}

void CFilter::TakeSettingsFrom(const CFilter& o) {
  if (&o == this) {
    return;
  }
  mBypass = o.mBypass;
  CopyArray(mTargets, o.mTargets);
  CopyArray(mTables, o.mTables);
  mSampleRate = o.mSampleRate;
  mCoeffCount = o.mCoeffCount;
  mRefreshInterval = o.mRefreshInterval;
  mGain = o.mGain;
  mFreq = o.mFreq;
  mQ = o.mQ;
  mGainTarget = o.mGainTarget;
  mFreqTarget = o.mFreqTarget;
  mK = o.mK;
  CopyArray(mCoeffs, o.mCoeffs);
  mSmoothing = o.mSmoothing;
  mRestartPending = o.mRestartPending;
  mSettled = o.mSettled;
  mTargetsStale = o.mTargetsStale;
  mWired = o.mWired;
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
  DeferReconfigure();
}

void CFilter::SetFreq(double hz) {
  if (!std::isfinite(hz) || hz == mFreq) {
    return;
  }
  mFreqTarget = hz;
  mFreq = Glide(mFreq, mFreqTarget);
  DeferReconfigure();
}

void CFilter::SetQ(double q) {
  if (!std::isfinite(q) || q == mQ) {
    return;
  }
  mQ = q;
  DeferReconfigure();
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
    DeferReconfigure();
  }
}

bool CFilter::DiffersFrom(double dB, double hz, double q) const {
  return (mUsesGain && dB != mGain) || (mUsesFreq && hz != mFreq) || (mUsesQ && q != mQ);
}

void CFilter::Reconfigure() {
  mTargetsStale = false;
  BindTables();
  WireCoefficients();
  mWired = true;
  InterpolateCoefficients();
}

// Binding and wiring depend only on the kind and the rate, which a refresh leaves alone: once
// done, a refresh whose settings moved only works out the targets anew.
void CFilter::RetargetForRefresh() {
  if (!mWired) {
    Reconfigure();
    return;
  }
  mTargetsStale = false;
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
    RetargetForRefresh();
  } else if (gainMoved || mTargetsStale) {
    RetargetForRefresh();
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
  // The loop is compiled for the count each order wires, where every slot up to it is wired.
  const int32_t wiredCount = mOrder == 2 ? 5 : mOrder == 3 ? 8 : mOrder == 4 ? kMaxTargets : 0;
  if (!mWired || count != wiredCount) {
    mSettled = MixRun<false>(count, mSlots, mTargets, f);
    return;
  }
  switch (count) {
  case 5:
    mSettled = MixRun<true>(std::integral_constant<int32_t, 5>{}, mSlots, mTargets, f);
    break;
  case 8:
    mSettled = MixRun<true>(std::integral_constant<int32_t, 8>{}, mSlots, mTargets, f);
    break;
  default:
    mSettled = MixRun<true>(std::integral_constant<int32_t, kMaxTargets>{}, mSlots, mTargets, f);
    break;
  }
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

void CFilter::InterpolateCoefficients() {
  int32_t iQ = 0, iG = 0, iF = 0;
  double uQ = 0.0, uG = 0.0, uF = 0.0;
  const bool cut = mGain < 0.0;
  if (mUsesQ) {
    CFilter::FindGridSegment(mQ, mQGrid.get(), mQGridSize, uQ, iQ);
  }
  if (mUsesFreq) {
    CFilter::FindGridSegment(mFreq, mFreqGrid.get(), mFreqGridSize, uF, iF);
  }
  if (mUsesGain) {
    CFilter::FindGridSegment(std::fabs(mGain), mGainGrid.get(), mGainGridSize, uG, iG);
    if (mOrder == 4 && cut) {
      iF += 48; // the cut half of the shelf tables follows the 48 boost entries
    }
  }

  // The cell's corners in every table (entry (q, g, f) at (q * gains + g) * freqs + f) and the
  // weights of each linear step, a * (1 - u) + b * u: Q first, then gain, then frequency.
  const GridCell cell = mUsesQ
                            ? GridCell::Cube(iQ, uQ, iG, uG, iF, uF, mGainGridSize, mFreqGridSize)
                        : mUsesGain ? GridCell::Square(iG, uG, iF, uF, mFreqGridSize)
                        : mUsesFreq ? GridCell::Line(iF, uF)
                                    : GridCell{};
  double t[kMaxTargets] = {};
  for (int32_t i = 0; i < mCoeffCount; ++i) {
    t[i] = mTables[i] != nullptr ? cell.Interpolate(mTables[i]) : 1.0;
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
  // Targets past the stage's count stay 0 as they start, so the whole array is copied.
  CopyArray(mTargets, t);
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
  mWired = false; // the wiring's unit a0 terms no longer hold
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

// The segment [grid[i], grid[i + 1]] holding the clamped value, and the value's fraction of
// the way along it. The index is the length of the run of points after the first that the value
// reaches, at most size - 2; on an ascending grid that is every point it reaches. The run is
// counted without a branch: a gliding value keeps crossing grid points, where a search that
// branches on its comparisons would mispredict.
void CFilter::FindGridSegment(double value, const double* grid, int32_t size, double& fraction,
                              int32_t& index) const {
  if (grid == nullptr || size < 2) {
    fraction = 0.0;
    index = 0;
    return;
  }
  CFilter::Clamp(grid[0], grid[size - 1], value);
  int32_t reached = 0;
  int32_t inRun = 1;
  for (int32_t k = 1; k < size; ++k) {
    inRun &= value >= grid[k] ? 1 : 0;
    reached += inRun;
  }
  const int32_t i = std::min(reached, size - 2);
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
