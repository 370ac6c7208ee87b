// A mono chain's sections pipelined through the two lanes of an SSE2 register.
//
// A stereo pair fills both lanes with one stage's two channels. A mono chain has one channel, so
// it fills them with two adjacent sections instead: each step of the pipeline holds a section in
// its low lane and the section after it in its high lane, one sample behind, and the next step
// takes the high lane's output as the input of its own low lane. Step p thus runs its low lane
// p samples and its high lane p + 1 samples behind the chain's input; a last section without a
// partner runs alone in the high lane of a last step, as far behind as the high lane before it.
// Every lane computes exactly what its section computes alone: a first-order section runs in a
// biquad's lane with its second history held at +0 and the coefficients of those terms at -0
// and +0, which adds and subtracts exact zeros.
//
// The loop runs the steady state, where every lane has a sample. Where some lanes have none (the
// first and last samples of a block) and where a stage with both sections in one step refreshes
// (its first section must take the new coefficients one sample before its second), one pipeline
// iteration at a time is computed section by section on the stages' own fields, in an order that
// puts every refresh between the same two samples as stage by stage processing.
#include "Projects/eq/CFilterKernels.h"

#include <cstring>
#include <initializer_list>
#include <tuple>

namespace {

bool HasWideRegisters() {
#if defined(__x86_64__)
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl");
#else
  return false;
#endif
}

enum class SectionKind : int8_t {
  kNone,
  kBiquad,     // the first section of a stage
  kShelf,      // the second section of an order-4 stage; the stage's output is x + k z
  kFirstOrder, // the second section of an order-3 stage
};

struct LaneRole {
  int8_t stage = -1; // index in the pipelined chain
  SectionKind kind = SectionKind::kNone;
  bool last = false; // the stage's last section: the stage's refresh follows it
  int8_t lag = 0;    // samples behind the chain's input
  constexpr bool Used() const { return kind != SectionKind::kNone; }
};

// One pipeline step: a section in each lane, or a last section alone in the high lane.
struct StepRole {
  LaneRole lo;
  LaneRole hi;
};

constexpr int kMaxStages = 8;

struct Schedule {
  int stageCount = 0;
  int stepCount = 0;
  StepRole steps[kMaxStages] = {};
  // Both sections of the stage in one step: the second runs a sample behind the first.
  bool split[kMaxStages] = {};
  // The steps holding a section of the stage.
  unsigned stepsOf[kMaxStages] = {};
  // How many samples the chain's output lags its input in the loop.
  int lag = 0;
};

constexpr Schedule MakeSchedule(std::initializer_list<int> orders) {
  Schedule s;
  LaneRole sections[2 * kMaxStages] = {};
  int count = 0;
  for (int order : orders) {
    const int8_t stage = static_cast<int8_t>(s.stageCount++);
    sections[count++] = {stage, SectionKind::kBiquad, order == 2, 0};
    if (order == 3) {
      sections[count++] = {stage, SectionKind::kFirstOrder, true, 0};
    } else if (order == 4) {
      sections[count++] = {stage, SectionKind::kShelf, true, 0};
    }
  }
  // Adjacent sections pair up, except that a shelf section runs alone: its stage output needs
  // the dry input, which the step before it then still holds in the same iteration, and the
  // output flows on to the next step rather than back into its own step's other lane.
  for (int i = 0; i < count;) {
    const int p = s.stepCount++;
    StepRole& step = s.steps[p];
    const bool pairs = i + 1 < count;
    if (pairs) {
      step.lo = sections[i++];
      step.lo.lag = static_cast<int8_t>(s.lag);
      s.split[step.lo.stage] = sections[i].stage == step.lo.stage;
      s.stepsOf[step.lo.stage] |= 1u << p;
      ++s.lag;
    }
    step.hi = sections[i++];
    step.hi.lag = static_cast<int8_t>(s.lag);
    s.stepsOf[step.hi.stage] |= 1u << p;
  }
  return s;
}

} // namespace

// The pipeline of one chain shape, its schedule worked out at compile time so that the loop
// body is nothing but the steps' arithmetic.
template <int... Orders> struct CFilterKernels::Pipeline {
  static constexpr Schedule kS = MakeSchedule({Orders...});
  static constexpr int kSteps = kS.stepCount;
  static constexpr int kStages = kS.stageCount;

  // A step's coefficients and direct-form-I histories, each lane those of its section. The
  // histories double as the step's output: y1 after a sample is what it hands on.
  template <int P> struct Step {
    static constexpr StepRole kRole = kS.steps[P];
    Pair b0, b1, b2, a1, a2;
    Pair x1, x2, y1, y2;
    Pair k;      // a shelf lane's amount
    Pair dryLow; // a shelf in the low lane: its stage output x + k z, for the high lane

    Pair Run(Pair in) {
      if constexpr (!kRole.lo.Used() && kRole.hi.kind == SectionKind::kFirstOrder) {
        const Pair z = b0 * in + b1 * x1 - a1 * y1;
        x1 = in;
        y1 = z;
        return z;
      } else {
        const Pair y = b0 * in + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = in;
        y2 = y1;
        y1 = y;
        if constexpr (kRole.lo.Used() && (kRole.lo.kind == SectionKind::kFirstOrder ||
                                          kRole.hi.kind == SectionKind::kFirstOrder)) {
          // A first-order lane keeps its second history at +0.
          constexpr long long lo = kRole.lo.kind == SectionKind::kFirstOrder ? 0 : -1;
          constexpr long long hi = kRole.hi.kind == SectionKind::kFirstOrder ? 0 : -1;
          constexpr PairMask keep = {lo, hi};
          x2 = (Pair)((PairMask)x2 & keep);
          y2 = (Pair)((PairMask)y2 & keep);
        }
        return y;
      }
    }

    // One lane's values as its section holds them in the stage's fields.
    struct LaneValues {
      double b0 = 0.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0, k = 0.0;
      double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
    };
    static LaneValues Coefficients(const LaneRole& role, const CFilter& f) {
      const double* c = f.mCoeffs;
      switch (role.kind) {
      case SectionKind::kBiquad:
        return {c[0], c[1], c[2], c[7], c[8], 0.0};
      case SectionKind::kShelf:
        return {c[3], c[4], c[5], c[10], c[11], f.mK};
      case SectionKind::kFirstOrder:
        return {c[3], c[4], -0.0, c[10], 0.0, 0.0};
      case SectionKind::kNone:
        break;
      }
      return {};
    }
    static LaneValues Values(const LaneRole& role, const CFilter& f) {
      LaneValues v = Coefficients(role, f);
      switch (role.kind) {
      case SectionKind::kBiquad:
        v.x1 = f.mS1x1, v.x2 = f.mS1x2, v.y1 = f.mS1y1, v.y2 = f.mS1y2;
        break;
      case SectionKind::kShelf:
        v.x1 = f.mS2x1, v.x2 = f.mS2x2, v.y1 = f.mS2y1, v.y2 = f.mS2y2;
        break;
      case SectionKind::kFirstOrder:
        v.x1 = f.mS2x1, v.y1 = f.mS2y1;
        break;
      case SectionKind::kNone:
        break;
      }
      return v;
    }
    // Lane L's coefficients anew, its histories kept.
    template <int L> void LoadCoefficientsLane(const LaneRole& role, const CFilter& f) {
      const LaneValues v = Coefficients(role, f);
      SetLane<L>(b0, v.b0);
      SetLane<L>(b1, v.b1);
      SetLane<L>(b2, v.b2);
      SetLane<L>(a1, v.a1);
      SetLane<L>(a2, v.a2);
      SetLane<L>(k, v.k);
    }
    template <int L> void StoreLane(const LaneRole& role, CFilter& f) const {
      const double vx1 = x1[L], vx2 = x2[L], vy1 = y1[L], vy2 = y2[L];
      switch (role.kind) {
      case SectionKind::kBiquad:
        f.mS1x0 = f.mS1x1 = vx1;
        f.mS1x2 = vx2;
        f.mS1y1 = vy1;
        f.mS1y2 = vy2;
        break;
      case SectionKind::kShelf:
        f.mS2x0 = f.mS2x1 = vx1;
        f.mS2x2 = vx2;
        f.mS2y1 = vy1;
        f.mS2y2 = vy2;
        break;
      case SectionKind::kFirstOrder:
        f.mS2x0 = f.mS2x1 = vx1;
        f.mS2y1 = vy1;
        break;
      case SectionKind::kNone:
        break;
      }
    }
    // Puts lane L back as it was in `before`: the lane had no sample.
    template <int L> void KeepLane(const Step& before) {
      SetLane<L>(x1, before.x1[L]);
      SetLane<L>(x2, before.x2[L]);
      SetLane<L>(y1, before.y1[L]);
      SetLane<L>(y2, before.y2[L]);
      SetLane<L>(dryLow, before.dryLow[L]);
    }
    // handoff[P] is what the low lane last handed to the high lane.
    void Load(CFilter* const* stages, const double* handoff) {
      LaneValues lo;
      if constexpr (kRole.lo.Used()) {
        lo = Values(kRole.lo, *stages[kRole.lo.stage]);
      }
      const LaneValues hi = Values(kRole.hi, *stages[kRole.hi.stage]);
      b0 = Pair{lo.b0, hi.b0};
      b1 = Pair{lo.b1, hi.b1};
      b2 = Pair{lo.b2, hi.b2};
      a1 = Pair{lo.a1, hi.a1};
      a2 = Pair{lo.a2, hi.a2};
      k = Pair{lo.k, hi.k};
      x1 = Pair{lo.x1, hi.x1};
      x2 = Pair{lo.x2, hi.x2};
      y1 = Pair{lo.y1, hi.y1};
      y2 = Pair{lo.y2, hi.y2};
      dryLow = Pair{kRole.lo.Used() ? handoff[P] : 0.0, 0.0};
    }
    void Store(CFilter* const* stages, double* handoff) const {
      if constexpr (kRole.lo.Used()) {
        StoreLane<0>(kRole.lo, *stages[kRole.lo.stage]);
        handoff[P] = kRole.lo.kind == SectionKind::kShelf ? dryLow[0] : y1[0];
      }
      StoreLane<1>(kRole.hi, *stages[kRole.hi.stage]);
    }

  private:
    // A new value for lane L, built in registers (writing one half of a vector in memory and
    // reading the whole back stalls the load).
    template <int L> static void SetLane(Pair& v, double d) {
      if constexpr (L == 0) {
        v = Pair{d, v[1]};
      } else {
        v = Pair{v[0], d};
      }
    }
  };

  template <size_t... P> static std::tuple<Step<P>...> StepsOf(std::index_sequence<P...>);
  using Steps = decltype(StepsOf(std::make_index_sequence<kSteps>{}));
  static constexpr auto kEach = std::make_index_sequence<kSteps>{};

  // What one step hands the next within an iteration, each in the high lane: the sample for
  // the next step's low lane, and the input this step's high lane took (the dry input of a
  // shelf whose first section ran there).
  struct Flow {
    Pair out;
    Pair in;
  };

  template <int P> static void Iterate(Step<P>& step, double sample, Flow& flow) {
    constexpr StepRole role = kS.steps[P];
    Pair in;
    if constexpr (!role.lo.Used()) {
      in = flow.out;
    } else {
      // The high lane takes what the low lane gave one sample ago.
      const Pair& own = role.lo.kind == SectionKind::kShelf ? step.dryLow : step.y1;
      if constexpr (P == 0) {
        in = Pair{sample, own[0]};
      } else {
        in = Shuffle<1, 2>(flow.out, own);
      }
    }
    const Pair y = step.Run(in);
    Pair out = y;
    if constexpr (role.lo.kind == SectionKind::kShelf) {
      // Its first section ran in the previous step's high lane, on the dry input.
      step.dryLow = Shuffle<1, 1>(flow.in, flow.in) + step.k * y;
    }
    if constexpr (role.hi.kind == SectionKind::kShelf) {
      if constexpr (role.lo.Used()) {
        // Its first section ran in this step's low lane one sample ago, on the dry input.
        out = Shuffle<0, 0>(step.x2, step.x2) + step.k * y;
      } else {
        out = flow.in + step.k * y;
      }
    }
    flow = {out, in};
  }

  template <size_t... P>
  static void RunSteady(Steps& steps, double* __restrict x, int32_t from, int32_t to,
                        std::index_sequence<P...>) {
    for (int32_t t = from; t < to; ++t) {
      Flow flow{};
      (Iterate<P>(std::get<P>(steps), x[t], flow), ...);
      x[t - kS.lag] = flow.out[1];
    }
  }
#if defined(__x86_64__)
  // The same loop in AVX-512VL encodings: the arithmetic is the same 128-bit IEEE double
  // arithmetic, but 32 vector registers hold every step, where 16 make the loop spill.
  template <size_t... P>
  __attribute__((target("avx512f,avx512vl"), flatten)) static void
  RunSteadyWide(Steps& steps, double* __restrict x, int32_t from, int32_t to,
                std::index_sequence<P...>) {
    for (int32_t t = from; t < to; ++t) {
      Flow flow{};
      (Iterate<P>(std::get<P>(steps), x[t], flow), ...);
      x[t - kS.lag] = flow.out[1];
    }
  }
#endif

  // The first and last iterations of a block, where some lanes have no sample, packed all the
  // same: a step whose lanes both have none is left out (so are the steps it would feed), and a
  // lane without a sample is put back as it was.
  static bool Has(const LaneRole& lane, int32_t t, int32_t frames) {
    return lane.Used() && t - lane.lag >= 0 && t - lane.lag < frames;
  }
  template <int P>
  static void RampIterate(Step<P>& step, double sample, Flow& flow, int32_t t, int32_t frames) {
    constexpr StepRole role = kS.steps[P];
    const bool high = Has(role.hi, t, frames);
    const bool low = Has(role.lo, t, frames);
    if (!high && !low) {
      return;
    }
    if (high == low || !role.lo.Used()) {
      Iterate<P>(step, sample, flow);
      return;
    }
    const Step<P> before = step;
    Iterate<P>(step, sample, flow);
    if (high) {
      step.template KeepLane<0>(before);
    } else {
      step.template KeepLane<1>(before);
    }
  }
  template <size_t... P>
  static void RunRamp(Steps& steps, double* __restrict x, int32_t from, int32_t to, int32_t frames,
                      std::index_sequence<P...>) {
    for (int32_t t = from; t < to; ++t) {
      Flow flow{};
      const double sample = t < frames ? x[t] : 0.0;
      (RampIterate<P>(std::get<P>(steps), sample, flow, t, frames), ...);
      if (t - kS.lag >= 0 && t - kS.lag < frames) {
        x[t - kS.lag] = flow.out[1];
      }
    }
  }
#if defined(__x86_64__)
  template <size_t... P>
  __attribute__((target("avx512f,avx512vl"), flatten)) static void
  RunRampWide(Steps& steps, double* __restrict x, int32_t from, int32_t to, int32_t frames,
              std::index_sequence<P...>) {
    for (int32_t t = from; t < to; ++t) {
      Flow flow{};
      const double sample = t < frames ? x[t] : 0.0;
      (RampIterate<P>(std::get<P>(steps), sample, flow, t, frames), ...);
      if (t - kS.lag >= 0 && t - kS.lag < frames) {
        x[t - kS.lag] = flow.out[1];
      }
    }
  }
#endif
  static void Ramp(Steps& steps, double* x, int32_t from, int32_t to, int32_t frames) {
#if defined(__x86_64__)
    if (sPipelineWide) {
      RunRampWide(steps, x, from, to, frames, kEach);
      return;
    }
#endif
    RunRamp(steps, x, from, to, frames, kEach);
  }
  static void Steady(Steps& steps, double* x, int32_t from, int32_t to) {
#if defined(__x86_64__)
    if (sPipelineWide) {
      RunSteadyWide(steps, x, from, to, kEach);
      return;
    }
#endif
    RunSteady(steps, x, from, to, kEach);
  }

  // The lag of stage J's last section, whose samples its refresh counts.
  static constexpr int LastLag(int stage) {
    for (int p = 0; p < kSteps; ++p) {
      const StepRole& role = kS.steps[p];
      if (role.hi.stage == stage && role.hi.last) {
        return role.hi.lag;
      }
      if (role.lo.Used() && role.lo.stage == stage && role.lo.last) {
        return role.lo.lag;
      }
    }
    return 0;
  }
  // How many samples a lane of that lag takes in iterations [from, to).
  static int32_t SamplesIn(int lag, int32_t from, int32_t to, int32_t frames) {
    return std::max(0, std::min(to, lag + frames) - std::max(from, lag));
  }
  // Whether iterations [from, to) reach no stage's refresh (nor, for a stage with both sections
  // in one step, the sample before it), so that they can run packed.
  static bool RampIsClear(CFilter* const* stages, int32_t from, int32_t to, int32_t frames) {
    for (int j = 0; j < kStages; ++j) {
      if (SamplesIn(LastLag(j), from, to, frames) + 1 >= stages[j]->SamplesUntilRefresh()) {
        return false;
      }
    }
    return true;
  }
  static void CountRamp(CFilter* const* stages, int32_t from, int32_t to, int32_t frames) {
    for (int j = 0; j < kStages; ++j) {
      stages[j]->mRefreshCounter += SamplesIn(LastLag(j), from, to, frames);
    }
  }

  template <size_t... P>
  static void LoadSteps(Steps& steps, CFilter* const* stages, const double* handoff, unsigned which,
                        std::index_sequence<P...>) {
    ((which & (1u << P) ? std::get<P>(steps).Load(stages, handoff) : void()), ...);
  }
  template <size_t... P>
  static void StoreSteps(const Steps& steps, CFilter* const* stages, double* handoff,
                         unsigned which, std::index_sequence<P...>) {
    ((which & (1u << P) ? std::get<P>(steps).Store(stages, handoff) : void()), ...);
  }
  static constexpr unsigned kAllSteps = (1u << kSteps) - 1;

  // Where a stage's first or second section runs.
  struct LaneAt {
    int step = -1;
    int lane = 0;
    SectionKind kind = SectionKind::kNone;
  };
  static constexpr LaneAt SectionOf(int stage, bool second) {
    for (int p = 0; p < kSteps; ++p) {
      const StepRole& role = kS.steps[p];
      if (role.lo.Used() && role.lo.stage == stage &&
          (role.lo.kind != SectionKind::kBiquad) == second) {
        return {p, 0, role.lo.kind};
      }
      if (role.hi.stage == stage && (role.hi.kind != SectionKind::kBiquad) == second) {
        return {p, 1, role.hi.kind};
      }
    }
    return {};
  }

  // Stage J's history fields added in the order of its non-finite check, those the pipeline
  // holds read from their lanes.
  template <int J> static double HistorySum(const Steps& steps, const CFilter& f) {
    constexpr LaneAt first = SectionOf(J, false);
    constexpr LaneAt second = SectionOf(J, true);
    const auto& a = std::get<first.step>(steps);
    const double s1x1 = a.x1[first.lane], s1x2 = a.x2[first.lane];
    const double s1y1 = a.y1[first.lane], s1y2 = a.y2[first.lane];
    double s2x0 = f.mS2x0, s2x1 = f.mS2x1, s2x2 = f.mS2x2, s2y1 = f.mS2y1, s2y2 = f.mS2y2;
    if constexpr (second.step >= 0) {
      const auto& b = std::get<second.step>(steps);
      s2x0 = s2x1 = b.x1[second.lane];
      s2y1 = b.y1[second.lane];
      if constexpr (second.kind == SectionKind::kShelf) {
        s2x2 = b.x2[second.lane];
        s2y2 = b.y2[second.lane];
      }
    }
    return s1x1 + s1x1 + s1x2 + s2x0 + s2x1 + s2x2 + s1y1 + s1y2 + s2y1 + s2y2;
  }

  template <LaneAt at> static void LoadCoefficientsOf(Steps& steps, const CFilter& f) {
    if constexpr (at.step >= 0) {
      auto& step = std::get<at.step>(steps);
      step.template LoadCoefficientsLane<at.lane>(at.lane == 0 ? step.kRole.lo : step.kRole.hi, f);
    }
  }

  // The refresh of a stage with finite histories whose sections run at one lag, at the end of a
  // run: the coefficient update, reloading only its lanes' coefficients.
  template <int J> static void RefreshStage(Steps& steps, CFilter& f) {
    if (f.RefreshCoefficients()) {
      LoadCoefficientsOf<SectionOf(J, false)>(steps, f);
      LoadCoefficientsOf<SectionOf(J, true)>(steps, f);
    }
  }

  // The end of a run: the stages that reach a refresh take it, the others count the run. The
  // non-finite check reads the lanes; when it fails, the pipeline goes back to the fields and
  // every stage takes its own path, which clears those histories. Answers whether it did.
  template <size_t... J>
  static bool AfterRun(Steps& steps, CFilter* const* stages, double* handoff, const int32_t* until,
                       int32_t run, std::index_sequence<J...>) {
    const bool finite =
        ((run != until[J] || std::isfinite(HistorySum<J>(steps, *stages[J]))) && ...);
    if (!finite) {
      StoreSteps(steps, stages, handoff, kAllSteps, kEach);
      (stages[J]->AdvanceRefresh(run), ...);
      return true;
    }
    ((run == until[J] ? RefreshStage<J>(steps, *stages[J])
                      : (void)(stages[J]->mRefreshCounter += run)),
     ...);
    return false;
  }

  // A low lane hands on its last output, which is also its section's output history, unless a
  // refresh has just cleared that history: then the next sample must be computed on the fields.
  static bool HandoffsAgree(CFilter* const* stages, const double* handoff) {
    for (int p = 0; p < kSteps; ++p) {
      const LaneRole& lo = kS.steps[p].lo;
      if (lo.kind == SectionKind::kBiquad || lo.kind == SectionKind::kFirstOrder) {
        const CFilter& f = *stages[lo.stage];
        const double history = lo.kind == SectionKind::kBiquad ? f.mS1y1 : f.mS2y1;
        if (std::memcmp(&history, &handoff[p], sizeof history) != 0) {
          return false;
        }
      }
    }
    return true;
  }

  // From the fields into the loop: iterations on the fields until every lane has a sample and
  // every handoff agrees with its lane, then the steps loaded. Answers the next iteration.
  static int32_t Enter(Steps& steps, CFilter* const* stages, double* handoff, double* x, int32_t t,
                       int32_t frames) {
    while (t < frames && (t < kS.lag || !HandoffsAgree(stages, handoff))) {
      Emulate(stages, handoff, x, t++, frames);
    }
    LoadSteps(steps, stages, handoff, kAllSteps, kEach);
    return t;
  }

  // One section on the stage's own fields, exactly as the stage's kernels compute it.
  template <SectionKind kKind> static double RunSection(CFilter& f, double in) {
    const double* c = f.mCoeffs;
    if constexpr (kKind == SectionKind::kBiquad) {
      Biquad<double> s{c[0], c[1], c[2], c[7], c[8], f.mS1x1, f.mS1x2, f.mS1y1, f.mS1y2};
      const double y = s.Step(in);
      f.mS1x0 = f.mS1x1 = s.x1;
      f.mS1x2 = s.x2;
      f.mS1y1 = s.y1;
      f.mS1y2 = s.y2;
      return y;
    } else if constexpr (kKind == SectionKind::kShelf) {
      Biquad<double> s{c[3], c[4], c[5], c[10], c[11], f.mS2x1, f.mS2x2, f.mS2y1, f.mS2y2};
      // The first section has just taken this sample, or (when it runs a sample ahead in the
      // same step) has not yet taken the next: either way its last input is the dry input.
      const double out = f.mS1x1 + f.mK * s.Step(in);
      f.mS2x0 = f.mS2x1 = s.x1;
      f.mS2x2 = s.x2;
      f.mS2y1 = s.y1;
      f.mS2y2 = s.y2;
      return out;
    } else {
      FirstOrder<double> s{c[3], c[4], c[10], f.mS2x1, f.mS2y1};
      const double z = s.Step(in);
      f.mS2x0 = f.mS2x1 = s.x1;
      f.mS2y1 = s.y1;
      return z;
    }
  }

  // A lane's section for one sample on the fields, then, after a stage's last section, the
  // stage's refresh schedule.
  template <LaneRole kLane> static double RunLane(CFilter* const* stages, double in) {
    CFilter& f = *stages[kLane.stage];
    const double out = RunSection<kLane.kind>(f, in);
    if constexpr (kLane.last) {
      if (f.mRefreshCounter >= f.mRefreshInterval) {
        f.AdvanceRefresh(1);
      } else {
        ++f.mRefreshCounter;
      }
    }
    return out;
  }

  // Step P of iteration t on the fields. The high lane goes first: when a stage has both
  // sections in the step, its refresh then falls after the second section's sample and before
  // the first section's next one, where it falls stage by stage.
  template <int P>
  static void EmulateStep(CFilter* const* stages, double* handoff, int32_t t, int32_t frames,
                          double& value) {
    constexpr StepRole role = kS.steps[P];
    double high = 0.0;
    if (Has(role.hi, t, frames)) {
      high = RunLane<role.hi>(stages, role.lo.Used() ? handoff[P] : value);
    }
    if constexpr (role.lo.Used()) {
      if (Has(role.lo, t, frames)) {
        handoff[P] = RunLane<role.lo>(stages, value);
      }
    }
    value = high;
  }

  // Iteration t section by section on the fields, for the lanes that have a sample.
  template <size_t... P>
  static void Emulate(CFilter* const* stages, double* handoff, double* x, int32_t t, int32_t frames,
                      std::index_sequence<P...>) {
    double value = t < frames ? x[t] : 0.0;
    (EmulateStep<P>(stages, handoff, t, frames, value), ...);
    if (t - kS.lag >= 0 && t - kS.lag < frames) {
      x[t - kS.lag] = value;
    }
  }
  static void Emulate(CFilter* const* stages, double* handoff, double* x, int32_t t,
                      int32_t frames) {
    Emulate(stages, handoff, x, t, frames, kEach);
  }

  static void Run(CFilter* const* stages, double* x, int32_t frames) {
    const int32_t lag = kS.lag;
    double handoff[kSteps] = {};
    Steps steps;
    int32_t t = 0;
    if (RampIsClear(stages, 0, lag, frames)) {
      LoadSteps(steps, stages, handoff, kAllSteps, kEach);
      Ramp(steps, x, 0, lag, frames);
      CountRamp(stages, 0, lag, frames);
      t = lag;
    } else {
      t = Enter(steps, stages, handoff, x, 0, frames);
    }
    while (t < frames) {
      // Runs end where a stage refreshes; one with both sections in one step stops a sample
      // earlier and refreshes in an iteration of its own.
      int32_t until[kStages];
      int32_t run = frames - t;
      for (int j = 0; j < kStages; ++j) {
        until[j] = stages[j]->SamplesUntilRefresh();
        run = std::min(run, until[j] - (kS.split[j] ? 1 : 0));
      }
      if (run <= 0) {
        StoreSteps(steps, stages, handoff, kAllSteps, kEach);
        Emulate(stages, handoff, x, t, frames);
        t = Enter(steps, stages, handoff, x, t + 1, frames);
        continue;
      }
      Steady(steps, x, t, t + run);
      t += run;
      if (AfterRun(steps, stages, handoff, until, run, std::make_index_sequence<kStages>{})) {
        t = Enter(steps, stages, handoff, x, t, frames);
      }
    }
    if (RampIsClear(stages, frames, frames + lag, frames)) {
      Ramp(steps, x, frames, frames + lag, frames);
      StoreSteps(steps, stages, handoff, kAllSteps, kEach);
      CountRamp(stages, frames, frames + lag, frames);
    } else {
      StoreSteps(steps, stages, handoff, kAllSteps, kEach);
      for (; t < frames + lag; ++t) {
        Emulate(stages, handoff, x, t, frames);
      }
    }
    for (int j = 0; j < kStages; ++j) {
      stages[j]->SanitizeHistories();
    }
  }
};

// Found once, when the library loads, so that the audio thread never waits on it.
bool CFilterKernels::sPipelineWide = HasWideRegisters();

namespace {

template <int... Orders> bool IsShape(CFilter* const* stages, int32_t count) {
  constexpr int orders[] = {Orders...};
  if (count != static_cast<int32_t>(sizeof...(Orders))) {
    return false;
  }
  for (int32_t s = 0; s < count; ++s) {
    if (stages[s]->GetOrder() != orders[s]) {
      return false;
    }
  }
  return true;
}

} // namespace

// The equaliser's chain, with and without its pass filters: high-pass (order 3), the two mids
// and the high shelf (order 2), the low shelf (order 4), the low-pass (order 3).
bool CFilterKernels::RunPipelined(CFilter* const* stages, int32_t count, double* x, int32_t frames,
                                  bool roundsToNearest) {
  // The first-order lanes' exact zeros rely on rounding to nearest; blocks shorter than a few
  // pipeline lengths would spend most of their samples filling and draining it.
  if (!roundsToNearest || frames < 16) {
    return false;
  }
  if (IsShape<3, 2, 2, 2, 4, 3>(stages, count)) {
    Pipeline<3, 2, 2, 2, 4, 3>::Run(stages, x, frames);
  } else if (IsShape<2, 2, 2, 4, 3>(stages, count)) {
    Pipeline<2, 2, 2, 4, 3>::Run(stages, x, frames);
  } else if (IsShape<3, 2, 2, 2, 4>(stages, count)) {
    Pipeline<3, 2, 2, 2, 4>::Run(stages, x, frames);
  } else if (IsShape<2, 2, 2, 4>(stages, count)) {
    Pipeline<2, 2, 2, 4>::Run(stages, x, frames);
  } else {
    return false;
  }
  return true;
}
