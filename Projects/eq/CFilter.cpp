#include "Projects/eq/CFilter.h"

#include "Projects/eq/EqCoefficientTables.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <tuple>
#include <utility>

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace {

// Below this distance a glide lands on its target, so that a glide toward 0 (where the
// relative test never fires) ends instead of reconfiguring the stage forever.
constexpr double kGlideFloor = 1e-3;

// Flushes denormals to zero (FTZ and DAZ) while a stage processes: decaying histories and
// smoothed coefficients would otherwise sink into the denormal range and multiply the cost.
// Writing the control register costs as much as several samples of a small block, so it is
// written only when the flush bits are not set already (by the caller or by an outer guard).
class DenormalGuard {
public:
#if defined(__SSE2__)
  DenormalGuard() : mSaved(_mm_getcsr()) {
    if (Changes()) {
      _mm_setcsr(mSaved | kFlushBits);
    }
  }
  ~DenormalGuard() {
    if (Changes()) {
      _mm_setcsr(mSaved);
    }
  }

private:
  static constexpr unsigned kFlushBits = 0x8040; // FTZ | DAZ
  bool Changes() const {
    return (mSaved & kFlushBits) != kFlushBits;
  }
  unsigned mSaved;
#endif
};

double Lerp(double a, double b, double u) {
  return a * (1.0 - u) + b * u;
}

double SnapDenormal(double v) {
  return std::fabs(v) < DBL_MIN ? 0.0 : v;
}

// Two channels' samples side by side. Its arithmetic is lane by lane IEEE double arithmetic
// (packed SSE2 on x86-64), so each lane computes exactly what a scalar double would.
typedef double Pair __attribute__((vector_size(16)));

// Direct form I, y = b0 x + b1 x1 + b2 x2 - a1 y1 - a2 y2, evaluated left to right.
template <class T> struct Biquad {
  T b0, b1, b2, a1, a2;
  T x1, x2, y1, y2;

  T Step(T x) {
    const T y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
};

// z = b0 y + b1 y1 - a1 z1.
template <class T> struct FirstOrder {
  T b0, b1, a1;
  T x1, y1;

  T Step(T x) {
    const T z = b0 * x + b1 * x1 - a1 * y1;
    x1 = x;
    y1 = z;
    return z;
  }
};

} // namespace

// The per-order sample loops. A kernel copies the coefficients and histories of one stage
// (double) or of a stereo pair of stages (Pair) into locals for one run of samples between
// refreshes, so the loop body is nothing but the sections.
struct CFilterKernels {
  using Field = double CFilter::*;

  // Most stages of a mono chain that run fused in one loop.
  static constexpr int32_t kMaxFused = 3;

  static bool HasSections(const CFilter& f) { return f.mOrder >= 2 && f.mOrder <= 4; }

  // Reads and writes one stage's values as doubles, or a pair's as Pairs.
  struct Mono {
    CFilter& f;
    double Coeff(int i) const { return f.mCoeffs[i]; }
    double Get(Field m) const { return f.*m; }
    void Set(Field m, double v) const { f.*m = v; }
  };
  struct Stereo {
    CFilter& a;
    CFilter& b;
    Pair Coeff(int i) const { return Pair{a.mCoeffs[i], b.mCoeffs[i]}; }
    Pair Get(Field m) const { return Pair{a.*m, b.*m}; }
    void Set(Field m, Pair v) const {
      a.*m = v[0];
      b.*m = v[1];
    }
  };

  template <class T, class Lanes> static Biquad<T> Section1(const Lanes& l) {
    return {l.Coeff(0),
            l.Coeff(1),
            l.Coeff(2),
            l.Coeff(7),
            l.Coeff(8),
            l.Get(&CFilter::mS1x1),
            l.Get(&CFilter::mS1x2),
            l.Get(&CFilter::mS1y1),
            l.Get(&CFilter::mS1y2)};
  }
  template <class T, class Lanes> static void StoreSection1(const Lanes& l, const Biquad<T>& s) {
    l.Set(&CFilter::mS1x0, s.x1);
    l.Set(&CFilter::mS1x1, s.x1);
    l.Set(&CFilter::mS1x2, s.x2);
    l.Set(&CFilter::mS1y1, s.y1);
    l.Set(&CFilter::mS1y2, s.y2);
  }

  template <class T, class Lanes> struct Order2 {
    Biquad<T> s1;
    explicit Order2(const Lanes& l) : s1(Section1<T>(l)) {}
    void Store(const Lanes& l) const { StoreSection1(l, s1); }
    T Step(T x) { return s1.Step(x); }
  };

  template <class T, class Lanes> struct Order3 {
    Biquad<T> s1;
    FirstOrder<T> s2;
    explicit Order3(const Lanes& l)
        : s1(Section1<T>(l)), s2{l.Coeff(3), l.Coeff(4), l.Coeff(10), l.Get(&CFilter::mS2x1),
                                 l.Get(&CFilter::mS2y1)} {}
    void Store(const Lanes& l) const {
      StoreSection1(l, s1);
      l.Set(&CFilter::mS2x0, s2.x1);
      l.Set(&CFilter::mS2x1, s2.x1);
      l.Set(&CFilter::mS2y1, s2.y1);
    }
    T Step(T x) { return s2.Step(s1.Step(x)); }
  };

  template <class T, class Lanes> struct Order4 {
    Biquad<T> s1;
    Biquad<T> s2;
    T k;
    explicit Order4(const Lanes& l)
        : s1(Section1<T>(l)), s2{l.Coeff(3),
                                 l.Coeff(4),
                                 l.Coeff(5),
                                 l.Coeff(10),
                                 l.Coeff(11),
                                 l.Get(&CFilter::mS2x1),
                                 l.Get(&CFilter::mS2x2),
                                 l.Get(&CFilter::mS2y1),
                                 l.Get(&CFilter::mS2y2)},
          k(l.Get(&CFilter::mK)) {}
    void Store(const Lanes& l) const {
      StoreSection1(l, s1);
      l.Set(&CFilter::mS2x0, s2.x1);
      l.Set(&CFilter::mS2x1, s2.x1);
      l.Set(&CFilter::mS2x2, s2.x2);
      l.Set(&CFilter::mS2y1, s2.y1);
      l.Set(&CFilter::mS2y2, s2.y2);
    }
    T Step(T x) { return x + k * s2.Step(s1.Step(x)); }
  };

  template <template <class, class> class Kernel>
  static void RunMono(CFilter& f, double* x, int32_t frames) {
    const Mono lanes{f};
    while (frames > 0) {
      const int32_t run = std::min(frames, f.SamplesUntilRefresh());
      Kernel<double, Mono> kernel(lanes);
      for (int32_t i = 0; i < run; ++i) {
        x[i] = kernel.Step(x[i]);
      }
      kernel.Store(lanes);
      x += run;
      frames -= run;
      f.AdvanceRefresh(run);
    }
    f.SanitizeHistories();
  }

  // Both channels' recursions in one loop, one per lane: the pair costs about what one channel
  // costs, and each channel's arithmetic is exactly that of RunMono.
  template <template <class, class> class Kernel>
  static void RunPair(CFilter& a, double* xa, CFilter& b, double* xb, int32_t frames) {
    const Stereo lanes{a, b};
    while (frames > 0) {
      const int32_t run = std::min(frames, a.SamplesUntilRefresh());
      Kernel<Pair, Stereo> kernel(lanes);
      for (int32_t i = 0; i < run; ++i) {
        const Pair y = kernel.Step(Pair{xa[i], xb[i]});
        xa[i] = y[0];
        xb[i] = y[1];
      }
      kernel.Store(lanes);
      xa += run;
      xb += run;
      frames -= run;
      a.AdvanceRefresh(run);
      b.AdvanceRefresh(run);
    }
    a.SanitizeHistories();
    b.SanitizeHistories();
  }

  // Adjacent stages of a mono chain in one loop: each sample runs through every stage of the
  // group before the next sample enters. Each stage's recursion depends only on its own past,
  // so the processor overlaps the recursions of the group, where one stage after the other
  // over the block waits on one recursion at a time. A run ends at the first refresh of any
  // stage of the group; each stage refreshes after exactly the samples it would alone, so the
  // results are bit-identical to running the stages one after the other.
  template <template <class, class> class... Kernel, size_t... I>
  static void RunFused(CFilter* const* stages, double* x, int32_t frames,
                       std::index_sequence<I...>) {
    while (frames > 0) {
      int32_t run = frames;
      ((run = std::min(run, stages[I]->SamplesUntilRefresh())), ...);
      std::tuple<Kernel<double, Mono>...> kernels{Kernel<double, Mono>(Mono{*stages[I]})...};
      for (int32_t i = 0; i < run; ++i) {
        double v = x[i];
        ((v = std::get<I>(kernels).Step(v)), ...);
        x[i] = v;
      }
      (std::get<I>(kernels).Store(Mono{*stages[I]}), ...);
      x += run;
      frames -= run;
      (stages[I]->AdvanceRefresh(run), ...);
    }
    (stages[I]->SanitizeHistories(), ...);
  }

  // Picks the kernel of each stage of a group of `count` stages (orders 2 to 4 only), one
  // stage at a time, and runs the group fused.
  template <template <class, class> class... Kernel>
  static void RunFusedByOrder(CFilter* const* stages, int32_t count, double* x, int32_t frames) {
    constexpr int32_t chosen = sizeof...(Kernel);
    if constexpr (chosen > 0) {
      if (chosen == count) {
        RunFused<Kernel...>(stages, x, frames, std::make_index_sequence<chosen>{});
        return;
      }
    }
    if constexpr (chosen < kMaxFused) {
      switch (stages[chosen]->mOrder) {
      case 2:
        RunFusedByOrder<Kernel..., Order2>(stages, count, x, frames);
        break;
      case 3:
        RunFusedByOrder<Kernel..., Order3>(stages, count, x, frames);
        break;
      default: // 4: only stages with sections are grouped
        RunFusedByOrder<Kernel..., Order4>(stages, count, x, frames);
        break;
      }
    }
  }

  // Stages of an order without sections keep their refresh schedule and leave the block alone.
  static void RunUntouched(CFilter& f, int32_t frames) {
    while (frames > 0) {
      const int32_t run = std::min(frames, f.SamplesUntilRefresh());
      frames -= run;
      f.AdvanceRefresh(run);
    }
  }

  static void RunMonoByOrder(CFilter& f, double* x, int32_t frames) {
    switch (f.mOrder) {
    case 2:
      RunMono<Order2>(f, x, frames);
      break;
    case 3:
      RunMono<Order3>(f, x, frames);
      break;
    case 4:
      RunMono<Order4>(f, x, frames);
      break;
    default:
      RunUntouched(f, frames);
      break;
    }
  }

  // One stage, or a stereo pair of stages, inside a flushing guard.
  static void ProcessMono(CFilter& f, double* block, int32_t frames);
  static void ProcessPair(CFilter& a, double* blockA, CFilter& b, double* blockB, int32_t frames);

  static void RunPairByOrder(CFilter& a, double* xa, CFilter& b, double* xb, int32_t frames) {
    switch (a.mOrder) {
    case 2:
      RunPair<Order2>(a, xa, b, xb, frames);
      break;
    case 3:
      RunPair<Order3>(a, xa, b, xb, frames);
      break;
    case 4:
      RunPair<Order4>(a, xa, b, xb, frames);
      break;
    default:
      RunUntouched(a, frames);
      RunUntouched(b, frames);
      break;
    }
  }
};

CFilter::CFilter() = default;

CFilter::~CFilter() = default;

int32_t CFilter::Process(double* block, int32_t frames) {
  if (mBypass || block == nullptr || frames <= 0) {
    return 0;
  }
  DenormalGuard guard;
  CFilterKernels::ProcessMono(*this, block, frames);
  return 0;
}

void CFilter::ProcessChain(CFilter* const* stages, int32_t count, double* block, int32_t frames) {
  if (block == nullptr || frames <= 0) {
    return;
  }
  DenormalGuard guard;
  CFilter* group[CFilterKernels::kMaxFused];
  int32_t grouped = 0;
  auto runGroup = [&] {
    if (grouped > 0) {
      CFilterKernels::RunFusedByOrder<>(group, grouped, block, frames);
      grouped = 0;
    }
  };
  for (int32_t s = 0; s < count; ++s) {
    CFilter& stage = *stages[s];
    if (stage.mBypass) {
      continue;
    }
    stage.PrepareProcess();
    if (!CFilterKernels::HasSections(stage)) {
      CFilterKernels::RunUntouched(stage, frames); // touches no sample: order does not matter
      continue;
    }
    group[grouped++] = &stage;
    if (grouped == CFilterKernels::kMaxFused) {
      runGroup();
    }
  }
  runGroup();
}

void CFilter::ProcessChainPair(CFilter* const* stagesA, double* blockA, CFilter* const* stagesB,
                               double* blockB, int32_t count, int32_t frames) {
  if (frames <= 0) {
    return;
  }
  DenormalGuard guard;
  for (int32_t s = 0; s < count; ++s) {
    CFilterKernels::ProcessPair(*stagesA[s], blockA, *stagesB[s], blockB, frames);
  }
}

void CFilter::ProcessPair(CFilter& a, double* blockA, CFilter& b, double* blockB, int32_t frames) {
  DenormalGuard guard;
  CFilterKernels::ProcessPair(a, blockA, b, blockB, frames);
}

// Within a flushing guard (reading the control register costs more than a small block's
// bookkeeping, so a chain reads it once).
void CFilterKernels::ProcessPair(CFilter& a, double* blockA, CFilter& b, double* blockB,
                                 int32_t frames) {
  const bool inStep = &a != &b && blockA != blockB && blockA != nullptr && blockB != nullptr &&
                      !a.mBypass && !b.mBypass && a.mOrder == b.mOrder && frames > 0;
  if (!inStep) {
    ProcessMono(a, blockA, frames);
    ProcessMono(b, blockB, frames);
    return;
  }
  a.PrepareProcess();
  b.PrepareProcess();
  if (a.mRefreshCounter != b.mRefreshCounter || a.mRefreshInterval != b.mRefreshInterval) {
    RunMonoByOrder(a, blockA, frames);
    RunMonoByOrder(b, blockB, frames);
    return;
  }
  RunPairByOrder(a, blockA, b, blockB, frames);
}

void CFilterKernels::ProcessMono(CFilter& f, double* block, int32_t frames) {
  if (f.mBypass || block == nullptr || frames <= 0) {
    return;
  }
  f.PrepareProcess();
  RunMonoByOrder(f, block, frames);
}

// The refresh test follows each sample: when the counter equals the interval the coefficients
// are refreshed and the counter restarts, else it counts up. So a refresh falls on every
// (interval + 1)th sample, and this many samples run before the next one.
int32_t CFilter::SamplesUntilRefresh() const {
  return mRefreshCounter >= mRefreshInterval ? 1 : mRefreshInterval - mRefreshCounter + 1;
}

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
