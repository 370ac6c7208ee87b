// The sample loops of the filter stages, apart from the stage's settings and tables. Private to
// the stage (CFilter befriends CFilterKernels): CFilter.cpp, CFilterKernels.cpp and
// CFilterMonoPipeline.cpp include it.
//
// Every loop computes exactly what CFilter::Process computes stage by stage, sample by sample:
// the same direct-form-I arithmetic in the same order, the refreshes after the same samples, the
// same checks at refreshes and block ends. They differ only in how much work the processor can
// overlap: a stereo pair runs its two channels in the two lanes of an SSE2 register, a mono chain
// runs several stages in one loop, or pipelines its sections through both lanes.
#pragma once

#include "Projects/eq/CFilter.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <tuple>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

struct CFilterKernels {
  // Two values side by side: two channels, or two sections of one channel. Its arithmetic is lane
  // by lane IEEE double arithmetic (packed SSE2 on x86-64), so each lane computes exactly what a
  // scalar double would.
  typedef double Pair __attribute__((vector_size(16)));
  typedef long long PairMask __attribute__((vector_size(16)));
  using Field = double CFilter::*;

  // Most stages of a mono chain, and most stereo pairs of a stereo chain, that run fused in one
  // loop (a stereo pair holds twice the state in its registers).
  static constexpr int32_t kMaxFused = 3;
  static constexpr int32_t kMaxFusedPairs = 2;

  static bool HasSections(const CFilter& f) { return f.mOrder >= 2 && f.mOrder <= 4; }

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

  // The end-of-run checks, lane by lane: all histories finite, and an input sample that
  // reached the denormal range set to 0 (as CFilter's own checks do on its fields).
  static bool AllFinite(double v) { return std::isfinite(v); }
  static bool AllFinite(Pair v) { return std::isfinite(v[0]) && std::isfinite(v[1]); }
  // {c[I], c[J]} of the four values c = {a[0], a[1], b[0], b[1]}.
  template <int I, int J> static Pair Shuffle(Pair a, Pair b) {
#if defined(__clang__)
    return __builtin_shufflevector(a, b, I, J);
#else
    return __builtin_shuffle(a, b, PairMask{I, J});
#endif
  }
  static double SnapDenormal(double v) {
    return std::fabs(v) < DBL_MIN ? 0.0 : v;
  }
  static Pair SnapDenormal(Pair v) {
#if defined(__SSE2__)
    // In SSE2 instructions: GCC lowers the mask form below to a scalar select per lane.
    const __m128d magnitude = _mm_andnot_pd(_mm_set1_pd(-0.0), v);
    const __m128d tiny = _mm_cmplt_pd(magnitude, _mm_set1_pd(DBL_MIN));
    return _mm_andnot_pd(tiny, v);
#else
    const Pair low = {DBL_MIN, DBL_MIN};
    const PairMask tiny = (v < low) & (v > -low);
    return (Pair)((PairMask)v & ~tiny);
#endif
  }

  // Reads and writes one stage's values as doubles, or a stereo pair's as Pairs.
  struct Mono {
    CFilter& f;
    double Coeff(int i) const { return f.mCoeffs[i]; }
    double Get(Field m) const { return f.*m; }
    void Set(Field m, double v) const { f.*m = v; }
    CFilter& Lead() const { return f; }
    template <class F> void ForEach(F&& each) const { each(f); }
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
    CFilter& Lead() const { return a; }
    template <class F> void ForEach(F&& each) const {
      each(a);
      each(b);
    }
  };

  // The stage kernels. Each copies the coefficients and histories of one stage (double) or of a
  // stereo pair (Pair) into locals, so that the loop body is nothing but the sections.
  // HistorySum adds the stage's history fields in the order CFilter's non-finite check adds
  // them, reading the ones the kernel holds from its locals.
  template <class T, class Lanes> struct Order2 {
    Biquad<T> s1;
    explicit Order2(const Lanes& l) { Load(l); }
    void Load(const Lanes& l) {
      LoadCoefficients(l);
      s1.x1 = l.Get(&CFilter::mS1x1);
      s1.x2 = l.Get(&CFilter::mS1x2);
      s1.y1 = l.Get(&CFilter::mS1y1);
      s1.y2 = l.Get(&CFilter::mS1y2);
    }
    void LoadCoefficients(const Lanes& l) {
      s1.b0 = l.Coeff(0);
      s1.b1 = l.Coeff(1);
      s1.b2 = l.Coeff(2);
      s1.a1 = l.Coeff(7);
      s1.a2 = l.Coeff(8);
    }
    void Store(const Lanes& l) const { StoreSection1(l, s1); }
    T HistorySum(const Lanes& l) const {
      return s1.x1 + s1.x1 + s1.x2 + l.Get(&CFilter::mS2x0) + l.Get(&CFilter::mS2x1) +
             l.Get(&CFilter::mS2x2) + s1.y1 + s1.y2 + l.Get(&CFilter::mS2y1) +
             l.Get(&CFilter::mS2y2);
    }
    void SnapInputs() { SnapSection1Inputs(s1); }
    T Step(T x) { return s1.Step(x); }
  };

  template <class T, class Lanes> struct Order3 {
    Biquad<T> s1;
    FirstOrder<T> s2;
    explicit Order3(const Lanes& l) { Load(l); }
    void Load(const Lanes& l) {
      LoadCoefficients(l);
      s1.x1 = l.Get(&CFilter::mS1x1);
      s1.x2 = l.Get(&CFilter::mS1x2);
      s1.y1 = l.Get(&CFilter::mS1y1);
      s1.y2 = l.Get(&CFilter::mS1y2);
      s2.x1 = l.Get(&CFilter::mS2x1);
      s2.y1 = l.Get(&CFilter::mS2y1);
    }
    void LoadCoefficients(const Lanes& l) {
      s1.b0 = l.Coeff(0);
      s1.b1 = l.Coeff(1);
      s1.b2 = l.Coeff(2);
      s1.a1 = l.Coeff(7);
      s1.a2 = l.Coeff(8);
      s2.b0 = l.Coeff(3);
      s2.b1 = l.Coeff(4);
      s2.a1 = l.Coeff(10);
    }
    void Store(const Lanes& l) const {
      StoreSection1(l, s1);
      l.Set(&CFilter::mS2x0, s2.x1);
      l.Set(&CFilter::mS2x1, s2.x1);
      l.Set(&CFilter::mS2y1, s2.y1);
    }
    T HistorySum(const Lanes& l) const {
      return s1.x1 + s1.x1 + s1.x2 + s2.x1 + s2.x1 + l.Get(&CFilter::mS2x2) + s1.y1 + s1.y2 +
             s2.y1 + l.Get(&CFilter::mS2y2);
    }
    void SnapInputs() { SnapSection1Inputs(s1); }
    T Step(T x) { return s2.Step(s1.Step(x)); }
  };

  template <class T, class Lanes> struct Order4 {
    Biquad<T> s1;
    Biquad<T> s2;
    T k;
    explicit Order4(const Lanes& l) { Load(l); }
    void Load(const Lanes& l) {
      LoadCoefficients(l);
      s1.x1 = l.Get(&CFilter::mS1x1);
      s1.x2 = l.Get(&CFilter::mS1x2);
      s1.y1 = l.Get(&CFilter::mS1y1);
      s1.y2 = l.Get(&CFilter::mS1y2);
      s2.x1 = l.Get(&CFilter::mS2x1);
      s2.x2 = l.Get(&CFilter::mS2x2);
      s2.y1 = l.Get(&CFilter::mS2y1);
      s2.y2 = l.Get(&CFilter::mS2y2);
    }
    void LoadCoefficients(const Lanes& l) {
      s1.b0 = l.Coeff(0);
      s1.b1 = l.Coeff(1);
      s1.b2 = l.Coeff(2);
      s1.a1 = l.Coeff(7);
      s1.a2 = l.Coeff(8);
      s2.b0 = l.Coeff(3);
      s2.b1 = l.Coeff(4);
      s2.b2 = l.Coeff(5);
      s2.a1 = l.Coeff(10);
      s2.a2 = l.Coeff(11);
      k = l.Get(&CFilter::mK);
    }
    void Store(const Lanes& l) const {
      StoreSection1(l, s1);
      l.Set(&CFilter::mS2x0, s2.x1);
      l.Set(&CFilter::mS2x1, s2.x1);
      l.Set(&CFilter::mS2x2, s2.x2);
      l.Set(&CFilter::mS2y1, s2.y1);
      l.Set(&CFilter::mS2y2, s2.y2);
    }
    T HistorySum(const Lanes& l) const {
      (void)l;
      return s1.x1 + s1.x1 + s1.x2 + s2.x1 + s2.x1 + s2.x2 + s1.y1 + s1.y2 + s2.y1 + s2.y2;
    }
    void SnapInputs() { SnapSection1Inputs(s1); }
    T Step(T x) { return x + k * s2.Step(s1.Step(x)); }
  };

  template <class T, class Lanes> static void StoreSection1(const Lanes& l, const Biquad<T>& s) {
    l.Set(&CFilter::mS1x0, s.x1);
    l.Set(&CFilter::mS1x1, s.x1);
    l.Set(&CFilter::mS1x2, s.x2);
    l.Set(&CFilter::mS1y1, s.y1);
    l.Set(&CFilter::mS1y2, s.y2);
  }

  // Denormals are flushed while a stage processes, so only the stored input samples, which no
  // arithmetic touched, can be denormal (CFilter::SanitizeHistories).
  template <class T> static void SnapSection1Inputs(Biquad<T>& s) {
    s.x1 = SnapDenormal(s.x1);
    s.x2 = SnapDenormal(s.x2);
  }

  // The refresh that ends a run, on a kernel whose lanes refresh together: the non-finite check
  // on the kernel's own values, then the coefficient update; the kernel reloads only what moved.
  // A lane with non-finite histories takes the stage's own path (its histories are cleared).
  template <class K, class Lanes> static void Refresh(K& kernel, const Lanes& lanes) {
    if (!AllFinite(kernel.HistorySum(lanes))) {
      kernel.Store(lanes);
      lanes.ForEach([](CFilter& f) { f.AdvanceRefresh(f.SamplesUntilRefresh()); });
      kernel.Load(lanes);
      return;
    }
    if (RefreshCoefficients(lanes)) {
      kernel.LoadCoefficients(lanes);
    }
  }
  static bool RefreshCoefficients(const Mono& l) {
    return l.f.RefreshCoefficients();
  }
  // A stereo pair whose stages are twins refreshes once: the second takes the first's result.
  static bool RefreshCoefficients(const Stereo& l) {
    if (l.a.NeedsUpdate() && l.a.Mirrors(l.b)) {
      l.a.RefreshCoefficients();
      l.b.TakeSettingsFrom(l.a);
      l.b.mRefreshCounter = 0;
      return true;
    }
    const bool movedA = l.a.RefreshCoefficients();
    const bool movedB = l.b.RefreshCoefficients();
    return movedA || movedB;
  }

  // The end of a block: the checks of CFilter::SanitizeHistories, then the histories back into
  // the stages.
  template <class K, class Lanes> static void Finish(K& kernel, const Lanes& lanes) {
#if defined(__SSE2__)
    if (AllFinite(kernel.HistorySum(lanes))) {
      kernel.SnapInputs();
      kernel.Store(lanes);
      return;
    }
#endif
    kernel.Store(lanes);
    lanes.ForEach([](CFilter& f) { f.SanitizeHistories(); });
  }

  // One kernel over a block, in runs that end at the refreshes. `samples` reads and writes the
  // block as T.
  template <class T, template <class, class> class Kernel, class Lanes, class Samples>
  static void Run(const Lanes& lanes, Samples samples, int32_t frames) {
    Kernel<T, Lanes> kernel(lanes);
    CFilter& lead = lanes.Lead();
    for (int32_t done = 0; done < frames;) {
      const int32_t until = lead.SamplesUntilRefresh();
      const int32_t end = done + std::min(frames - done, until);
      for (int32_t i = done; i < end; ++i) {
        samples.Put(i, kernel.Step(samples.Get(i)));
      }
      if (end - done == until) {
        Refresh(kernel, lanes);
      } else {
        lanes.ForEach([&](CFilter& f) { f.mRefreshCounter += end - done; });
      }
      done = end;
    }
    Finish(kernel, lanes);
  }

  struct MonoSamples {
    double* x;
    double Get(int32_t i) const { return x[i]; }
    void Put(int32_t i, double v) const { x[i] = v; }
  };
  struct StereoSamples {
    double* a;
    double* b;
    Pair Get(int32_t i) const { return Pair{a[i], b[i]}; }
    void Put(int32_t i, Pair v) const {
      a[i] = v[0];
      b[i] = v[1];
    }
  };

  template <template <class, class> class Kernel>
  static void RunMono(CFilter& f, double* x, int32_t frames) {
    Run<double, Kernel>(Mono{f}, MonoSamples{x}, frames);
  }

  // Both channels' recursions in one loop, one per lane: the pair costs about what one channel
  // costs, and each channel's arithmetic is exactly that of RunMono.
  template <template <class, class> class Kernel>
  static void RunPair(CFilter& a, double* xa, CFilter& b, double* xb, int32_t frames) {
    Run<Pair, Kernel>(Stereo{a, b}, StereoSamples{xa, xb}, frames);
  }

  // Stages of an order without sections keep their refresh schedule and leave the block alone.
  static void RunUntouched(CFilter& f, int32_t frames) {
    while (frames > 0) {
      const int32_t run = std::min(frames, f.SamplesUntilRefresh());
      frames -= run;
      f.AdvanceRefresh(run);
    }
  }

  static void RunMonoByOrder(CFilter& f, double* x, int32_t frames);
  static void RunPairByOrder(CFilter& a, double* xa, CFilter& b, double* xb, int32_t frames);

  // Kernels of adjacent stages (or of stereo pairs that run in step, whose lead stage's counter
  // stands for both channels) in one loop: each sample runs through every kernel of the group
  // before the next sample enters. Each recursion depends only on its own past, so the processor
  // overlaps the recursions of the group, where one stage after the other over the block waits
  // on one recursion at a time. A run ends at the first refresh of any member; each refreshes
  // after exactly the samples it would alone.
  template <class... K, class Lanes, class Samples, size_t... I>
  static void RunFusedKernels(const Lanes* lanes, Samples samples, int32_t frames,
                              std::index_sequence<I...>) {
    std::tuple<K...> kernels{K(lanes[I])...};
    for (int32_t done = 0; done < frames;) {
      const int32_t until[] = {lanes[I].Lead().SamplesUntilRefresh()...};
      int32_t run = frames - done;
      for (int32_t u : until) {
        run = std::min(run, u);
      }
      for (int32_t i = done; i < done + run; ++i) {
        auto v = samples.Get(i);
        ((v = std::get<I>(kernels).Step(v)), ...);
        samples.Put(i, v);
      }
      ((run == until[I] ? Refresh(std::get<I>(kernels), lanes[I])
                        : lanes[I].ForEach([run](CFilter& f) { f.mRefreshCounter += run; })),
       ...);
      done += run;
    }
    (Finish(std::get<I>(kernels), lanes[I]), ...);
  }

  // Adjacent stages of a mono chain in one loop, a few at a time (see CFilterKernels.cpp).
  static void RunFused(CFilter* const* stages, int32_t count, double* x, int32_t frames);
  template <template <class, class> class... Kernel>
  static void RunFusedByOrder(CFilter* const* stages, int32_t count, double* x, int32_t frames);
  template <template <class, class> class... Kernel, size_t... I>
  static void RunFusedGroup(CFilter* const* stages, double* x, int32_t frames,
                            std::index_sequence<I...>);

  // Adjacent stereo pairs of a chain in one loop, as RunFused does for mono stages: pairs that
  // run in step (CFilterKernels.cpp), a few at a time.
  static void RunFusedPairs(CFilter* const* a, CFilter* const* b, int32_t count, double* xa,
                            double* xb, int32_t frames);
  template <template <class, class> class... Kernel>
  static void RunFusedPairsByOrder(CFilter* const* a, CFilter* const* b, int32_t count, double* xa,
                                   double* xb, int32_t frames);
  template <template <class, class> class... Kernel, size_t... I>
  static void RunFusedPairGroup(CFilter* const* a, CFilter* const* b, double* xa, double* xb,
                                int32_t frames, std::index_sequence<I...>);
  template <template <class, class> class... Kernel, size_t... I>
  static void RunFusedPairGroupWide(CFilter* const* a, CFilter* const* b, double* xa, double* xb,
                                    int32_t frames, std::index_sequence<I...>);
  // Whether a stereo pair can run in step over a block (ProcessPair's test before it prepares
  // the stages), and, once both are prepared, whether their refreshes fall together.
  static bool CanRunInStep(const CFilter& a, const double* xa, const CFilter& b, const double* xb,
                           int32_t frames);
  static bool RefreshInStep(const CFilter& a, const CFilter& b) {
    return a.mRefreshCounter == b.mRefreshCounter && a.mRefreshInterval == b.mRefreshInterval;
  }

  // The engaged stages of a mono chain with their sections pipelined through the lanes of a
  // vector register (see CFilterMonoPipeline.cpp). Answers false, touching nothing, for a chain it
  // has no pipeline for, a block too short to fill one, or a rounding mode other than to nearest.
  static bool RunPipelined(CFilter* const* stages, int32_t count, double* x, int32_t frames,
                           bool roundsToNearest);
  template <int Lanes, int... Orders> struct Pipeline;
  // How many lanes the pipeline's registers have: 8 (AVX-512), 4 (AVX2) or 2 (SSE2), the same
  // arithmetic lane by lane; with 8, a stereo chain's fused pairs also run in AVX-512VL
  // encodings. Set to the widest the processor has; tests set the narrower ones to pin them to
  // the same results.
  static int32_t sPipelineLanes;

  // One stage, or a stereo pair of stages, inside a flushing guard.
  static void ProcessMono(CFilter& f, double* block, int32_t frames);
  static void ProcessPair(CFilter& a, double* blockA, CFilter& b, double* blockB, int32_t frames);
};
