// The stage's processing entries and the loops behind them: one stage, a stereo pair, a mono
// chain (fused or pipelined) and a stereo chain.
#include "Projects/eq/CFilterKernels.h"

#include <tuple>
#include <utility>

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

namespace {

// Flushes denormals to zero (FTZ and DAZ) while a stage processes: decaying histories and
// smoothed coefficients would otherwise sink into the denormal range and multiply the cost.
// Reading and writing the control register costs as much as several samples of a small block,
// so each entry does it once, and writes it only when the flush bits are not set already.
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
  bool RoundsToNearest() const {
    return (mSaved & kRoundingBits) == 0;
  }

private:
  static constexpr unsigned kRoundingBits = 0x6000;
  static constexpr unsigned kFlushBits = 0x8040; // FTZ | DAZ
  bool Changes() const {
    return (mSaved & kFlushBits) != kFlushBits;
  }
  unsigned mSaved;
#else
  bool RoundsToNearest() const {
    return false;
  }
#endif
};

// A mono chain is taken this many stages at a time (the equaliser has six).
constexpr int32_t kChainPiece = 16;

} // namespace

int32_t CFilter::Process(double* block, int32_t frames) {
  if (mBypass || block == nullptr || frames <= 0) {
    return 0;
  }
  DenormalGuard guard;
  CFilterKernels::ProcessMono(*this, block, frames);
  return 0;
}

void CFilter::ProcessPair(CFilter& a, double* blockA, CFilter& b, double* blockB, int32_t frames) {
  DenormalGuard guard;
  CFilterKernels::ProcessPair(a, blockA, b, blockB, frames);
}

// Engaged stages run in chain order, pipelined when the chain has a pipeline, else fused a few
// at a time. Bypassed stages are skipped; stages without sections touch no sample, so they only
// keep their refresh schedule.
void CFilter::ProcessChain(CFilter* const* stages, int32_t count, double* block, int32_t frames) {
  if (block == nullptr || frames <= 0) {
    return;
  }
  DenormalGuard guard;
  for (int32_t from = 0; from < count; from += kChainPiece) {
    CFilter* engaged[kChainPiece];
    int32_t engagedCount = 0;
    for (int32_t s = from; s < count && s < from + kChainPiece; ++s) {
      CFilter& stage = *stages[s];
      if (stage.mBypass) {
        continue;
      }
      stage.PrepareProcess();
      if (!CFilterKernels::HasSections(stage)) {
        CFilterKernels::RunUntouched(stage, frames);
        continue;
      }
      engaged[engagedCount++] = &stage;
    }
    if (!CFilterKernels::RunPipelined(engaged, engagedCount, block, frames,
                                      guard.RoundsToNearest())) {
      CFilterKernels::RunFused(engaged, engagedCount, block, frames);
    }
  }
}

// Pairs that run in step, with sections, are gathered into groups that run fused; any other pair
// runs through ProcessPair, after the group before it has filtered the block. (ProcessPair
// prepares the pair again, which changes nothing: a prepared stage has no restart pending.)
void CFilter::ProcessChainPair(CFilter* const* stagesA, double* blockA, CFilter* const* stagesB,
                               double* blockB, int32_t count, int32_t frames) {
  if (frames <= 0) {
    return;
  }
  DenormalGuard guard;
  CFilter* groupA[CFilterKernels::kMaxFusedPairs];
  CFilter* groupB[CFilterKernels::kMaxFusedPairs];
  int32_t grouped = 0;
  auto runGroup = [&] {
    CFilterKernels::RunFusedPairs(groupA, groupB, grouped, blockA, blockB, frames);
    grouped = 0;
  };
  for (int32_t s = 0; s < count; ++s) {
    CFilter& a = *stagesA[s];
    CFilter& b = *stagesB[s];
    if (CFilterKernels::CanRunInStep(a, blockA, b, blockB, frames)) {
      a.PrepareProcess();
      b.PrepareProcess();
      if (CFilterKernels::RefreshInStep(a, b) && CFilterKernels::HasSections(a)) {
        groupA[grouped] = &a;
        groupB[grouped] = &b;
        if (++grouped == CFilterKernels::kMaxFusedPairs) {
          runGroup();
        }
        continue;
      }
    }
    runGroup();
    CFilterKernels::ProcessPair(a, blockA, b, blockB, frames);
  }
  runGroup();
}

void CFilterKernels::ProcessMono(CFilter& f, double* block, int32_t frames) {
  if (f.mBypass || block == nullptr || frames <= 0) {
    return;
  }
  f.PrepareProcess();
  RunMonoByOrder(f, block, frames);
}

bool CFilterKernels::CanRunInStep(const CFilter& a, const double* xa, const CFilter& b,
                                  const double* xb, int32_t frames) {
  return &a != &b && xa != xb && xa != nullptr && xb != nullptr && !a.mBypass && !b.mBypass &&
         a.mOrder == b.mOrder && frames > 0;
}

void CFilterKernels::ProcessPair(CFilter& a, double* blockA, CFilter& b, double* blockB,
                                 int32_t frames) {
  if (!CanRunInStep(a, blockA, b, blockB, frames)) {
    ProcessMono(a, blockA, frames);
    ProcessMono(b, blockB, frames);
    return;
  }
  a.PrepareProcess();
  b.PrepareProcess();
  if (!RefreshInStep(a, b)) {
    RunMonoByOrder(a, blockA, frames);
    RunMonoByOrder(b, blockB, frames);
    return;
  }
  RunPairByOrder(a, blockA, b, blockB, frames);
}

void CFilterKernels::RunMonoByOrder(CFilter& f, double* x, int32_t frames) {
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

void CFilterKernels::RunPairByOrder(CFilter& a, double* xa, CFilter& b, double* xb,
                                    int32_t frames) {
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

// Adjacent stages of a mono chain in one loop (RunFusedKernels).
template <template <class, class> class... Kernel, size_t... I>
void CFilterKernels::RunFusedGroup(CFilter* const* stages, double* x, int32_t frames,
                                   std::index_sequence<I...> order) {
  const Mono lanes[] = {Mono{*stages[I]}...};
  RunFusedKernels<Kernel<double, Mono>...>(lanes, MonoSamples{x}, frames, order);
}

// Picks the kernel of each stage of a group of `count` stages (orders 2 to 4 only), one stage at
// a time, and runs the group fused.
template <template <class, class> class... Kernel>
void CFilterKernels::RunFusedByOrder(CFilter* const* stages, int32_t count, double* x,
                                     int32_t frames) {
  constexpr int32_t chosen = sizeof...(Kernel);
  if constexpr (chosen > 0) {
    if (chosen == count) {
      RunFusedGroup<Kernel...>(stages, x, frames, std::make_index_sequence<chosen>{});
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

void CFilterKernels::RunFused(CFilter* const* stages, int32_t count, double* x, int32_t frames) {
  for (int32_t from = 0; from < count; from += kMaxFused) {
    RunFusedByOrder<>(stages + from, std::min(kMaxFused, count - from), x, frames);
  }
}

// Adjacent stereo pairs in one loop, both channels in the two lanes: the mono chain's fusion
// over Pairs.
template <template <class, class> class... Kernel, size_t... I>
void CFilterKernels::RunFusedPairGroup(CFilter* const* a, CFilter* const* b, double* xa, double* xb,
                                       int32_t frames, std::index_sequence<I...> order) {
#if defined(__x86_64__)
  if (sPipelineLanes == 8) {
    RunFusedPairGroupWide<Kernel...>(a, b, xa, xb, frames, order);
    return;
  }
#endif
  const Stereo lanes[] = {Stereo{*a[I], *b[I]}...};
  RunFusedKernels<Kernel<Pair, Stereo>...>(lanes, StereoSamples{xa, xb}, frames, order);
}

#if defined(__x86_64__)
// The same loop in AVX-512VL encodings: the same 128-bit arithmetic, but 32 registers hold the
// fused pairs' coefficients and histories, which spill from the baseline's 16.
template <template <class, class> class... Kernel, size_t... I>
__attribute__((target("avx512f,avx512vl"), flatten)) void
CFilterKernels::RunFusedPairGroupWide(CFilter* const* a, CFilter* const* b, double* xa, double* xb,
                                      int32_t frames, std::index_sequence<I...> order) {
  const Stereo lanes[] = {Stereo{*a[I], *b[I]}...};
  RunFusedKernels<Kernel<Pair, Stereo>...>(lanes, StereoSamples{xa, xb}, frames, order);
}
#endif

template <template <class, class> class... Kernel>
void CFilterKernels::RunFusedPairsByOrder(CFilter* const* a, CFilter* const* b, int32_t count,
                                          double* xa, double* xb, int32_t frames) {
  constexpr int32_t chosen = sizeof...(Kernel);
  if constexpr (chosen > 0) {
    if (chosen == count) {
      RunFusedPairGroup<Kernel...>(a, b, xa, xb, frames, std::make_index_sequence<chosen>{});
      return;
    }
  }
  if constexpr (chosen < kMaxFusedPairs) {
    switch (a[chosen]->mOrder) {
    case 2:
      RunFusedPairsByOrder<Kernel..., Order2>(a, b, count, xa, xb, frames);
      break;
    case 3:
      RunFusedPairsByOrder<Kernel..., Order3>(a, b, count, xa, xb, frames);
      break;
    default: // 4: only pairs with sections are grouped
      RunFusedPairsByOrder<Kernel..., Order4>(a, b, count, xa, xb, frames);
      break;
    }
  }
}

void CFilterKernels::RunFusedPairs(CFilter* const* a, CFilter* const* b, int32_t count, double* xa,
                                   double* xb, int32_t frames) {
  if (count == 1) {
    RunPairByOrder(*a[0], xa, *b[0], xb, frames);
  } else if (count > 1) {
    RunFusedPairsByOrder<>(a, b, count, xa, xb, frames);
  }
}
