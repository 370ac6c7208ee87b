// A mono chain's sections pipelined through the lanes of a vector register.
//
// A stereo pair fills two lanes with one stage's two channels. A mono chain has one channel, so
// it fills the lanes with its sections instead, each lane one sample behind the lane below it:
// every lane takes as its input what the lane below gave one sample ago, and the lowest lane of
// a step what the highest lane of the step before gave one sample ago. So every step of an
// iteration depends only on the iteration before, and the recursions of all steps overlap. A
// step holds as many sections as the register has lanes, in its highest lanes when it has
// fewer; a stage's sections share a step, except that a two-section stage may begin one step
// and end the next, and a shelf stage ends its step: its stage's output (the dry input plus k
// times the shelf section's output) flows only to the next step, off its own step's recursion.
//
// Eight lanes where the processor has AVX-512, so that the equaliser's nine sections take two
// steps an iteration; four with AVX2 (three steps); two (SSE2, five steps) everywhere else. Every
// lane computes exactly what its section computes alone: a first-order section runs in a biquad's
// lane with its second history held at +0 and the coefficients of those terms at -0 and +0, which
// adds and subtracts exact zeros.
//
// The loop runs the steady state, where every lane has a sample. Where some lanes have none (the
// first and last samples of a block) the same iterations run with those lanes put back as they
// were. A stage with two sections refreshes in an iteration of its own: its second section takes
// the last sample before the refresh while its first section takes the first one after, so the
// first section's lane is computed again from where it was, with the new coefficients. Where
// that cannot be done in the registers (a non-finite history, which the refresh clears), the
// iteration is computed section by section on the stages' own fields, the last section first,
// which puts every refresh between the same two samples as stage by stage processing.
#include "Projects/eq/CFilterKernels.h"

#include <array>
#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <tuple>
#include <utility>

namespace {

// The widest registers of doubles the processor has: eight lanes with AVX-512, four with AVX2,
// two (SSE2) everywhere else.
int32_t WidestLanes() {
#if defined(__x86_64__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl")) {
    return 8;
  }
  if (__builtin_cpu_supports("avx2")) {
    return 4;
  }
#endif
  return 2;
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

constexpr int kMaxLanes = 8;
constexpr int kMaxStages = 8;
constexpr int kMaxSteps = 2 * kMaxStages;

// One pipeline step: its sections in lanes first to the highest.
struct StepRole {
  int first = 0;
  LaneRole lane[kMaxLanes] = {};
};

struct Schedule {
  int stageCount = 0;
  int stepCount = 0;
  StepRole steps[kMaxSteps] = {};
  // The stage has two sections: the second runs a sample behind the first.
  bool twoSections[kMaxStages] = {};
  // How many samples the chain's output lags its input in the loop.
  int lag = 0;
};

constexpr Schedule MakeSchedule(int lanes, std::initializer_list<int> orders) {
  Schedule s;
  StepRole* step = nullptr;
  int used = lanes; // lanes taken in the current step
  int lag = 0;
  int stage = 0;
  auto place = [&](LaneRole role) {
    if (used == lanes) {
      step = &s.steps[s.stepCount++];
      used = 0;
    }
    role.lag = static_cast<int8_t>(lag++);
    step->lane[used++] = role;
  };
  for (int order : orders) {
    const int8_t j = static_cast<int8_t>(stage++);
    const bool twoSections = order == 3 || order == 4;
    // A shelf stage keeps both sections in one step and ends it.
    if (order == 4 && lanes - used < 2) {
      used = lanes;
    }
    place({j, SectionKind::kBiquad, !twoSections, 0});
    if (order == 3) {
      place({j, SectionKind::kFirstOrder, true, 0});
    } else if (order == 4) {
      place({j, SectionKind::kShelf, true, 0});
      used = lanes;
    }
    s.twoSections[j] = twoSections;
  }
  s.stageCount = stage;
  s.lag = lag - 1;
  // Each step's sections move up into its highest lanes.
  for (int p = 0; p < s.stepCount; ++p) {
    StepRole& st = s.steps[p];
    int n = 0;
    while (n < lanes && st.lane[n].Used()) {
      ++n;
    }
    st.first = lanes - n;
    for (int l = lanes - 1; l >= 0; --l) {
      st.lane[l] = l >= st.first ? st.lane[l - st.first] : LaneRole{};
    }
  }
  return s;
}

// A register of N doubles, and a mask of its lanes.
template <int N> struct LaneVector {
  typedef double V __attribute__((vector_size(8 * N)));
  typedef long long M __attribute__((vector_size(8 * N)));
};

} // namespace

// The pipeline of one chain shape in registers of `Lanes` doubles, its schedule worked out at
// compile time so that the loop body is nothing but the steps' arithmetic.
template <int Lanes, int... Orders> struct CFilterKernels::Pipeline {
  using V = typename LaneVector<Lanes>::V;
  using M = typename LaneVector<Lanes>::M;
  static constexpr int N = Lanes;
  static constexpr Schedule kS = MakeSchedule(N, {Orders...});
  static constexpr int kSteps = kS.stepCount;
  static constexpr int kStages = kS.stageCount;
  static constexpr auto kEachLane = std::make_index_sequence<N>{};
  static constexpr auto kEach = std::make_index_sequence<kSteps>{};
  // handoff[P][L]: what lane L of step P last handed on, while the pipeline works on the fields.
  using Handoff = double[kSteps][N];

  // Vectors go in and out of functions by reference: the wide ones travel through functions
  // compiled for the baseline, whose calling convention has no wide registers.

  // Lane by lane `when ? a : b`, for a mask of whole lanes.
  static void Select(const M& when, const V& a, const V& b, V& out) {
    out = (V)(((M)a & when) | ((M)b & ~when));
  }
  // The lanes `lane(L)` holds for.
  template <class Pred, size_t... L>
  static void MaskOf(Pred lane, M& out, std::index_sequence<L...>) {
    out = M{(lane(static_cast<int>(L)) ? -1LL : 0LL)...};
  }
  // {v[from[0]], v[from[1]], ...} of the lanes of `a` followed by those of `b`.
  template <class From, size_t... L>
  static void Permute(const V& a, const V& b, V& out, std::index_sequence<L...>) {
    constexpr From from;
#if defined(__clang__)
    out = __builtin_shufflevector(a, b, from(static_cast<int>(L))...);
#else
    out = __builtin_shuffle(a, b, M{from(static_cast<int>(L))...});
#endif
  }
  // `d` in every lane.
  template <size_t... L> static void Broadcast(double d, V& out, std::index_sequence<L...>) {
    struct Lowest {
      constexpr long long operator()(int) const { return 0; }
    };
    const V low = {d};
    Permute<Lowest>(low, low, out, kEachLane);
  }

  // A step's histories, kept while an iteration runs that may have to be undone in some lanes.
  struct Saved {
    V x1, x2, y1, y2, out;
  };

  // A step's coefficients and direct-form-I histories, each lane those of its section. The
  // output history y1 is also what each lane hands on, except a shelf's stage output, held in
  // `out`'s highest lane.
  template <int P> struct Step {
    static constexpr StepRole kRole = kS.steps[P];
    static constexpr int kFirst = kRole.first;
    static constexpr bool kShelf = kRole.lane[N - 1].kind == SectionKind::kShelf;
    static constexpr bool HasFirstOrder() {
      for (int l = kFirst; l < N; ++l) {
        if (kRole.lane[l].kind == SectionKind::kFirstOrder) {
          return true;
        }
      }
      return false;
    }
    V b0, b1, b2, a1, a2;
    V x1, x2, y1, y2;
    V k;   // a shelf lane's amount
    V out; // a shelf step: its stage's output in the highest lane

    // What the lanes above (and the next step) take from this step, or took from it as saved.
    template <class Histories> static const V& HandedOn(const Histories& h) {
      if constexpr (kShelf) {
        return h.out;
      } else {
        return h.y1;
      }
    }
    const V& HandedOn() const { return HandedOn(*this); }

    // Every lane's next sample: the lowest takes the highest lane of `below` (the step before)
    // or its lowest (the chain's input), the others the lane under them.
    struct InputLanes {
      constexpr long long operator()(int l) const {
        return l <= kFirst ? (P == 0 ? N : 2 * N - 1) : l - 1;
      }
    };
    void Run(const V& below) {
      V in;
      Permute<InputLanes>(y1, below, in, kEachLane);
      const V y = b0 * in + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
      x2 = x1;
      x1 = in;
      y2 = y1;
      y1 = y;
      if constexpr (HasFirstOrder()) {
        // A first-order lane keeps its second history at +0.
        M keep;
        MaskOf([](int l) { return kRole.lane[l].kind != SectionKind::kFirstOrder; }, keep,
               kEachLane);
        x2 = (V)((M)x2 & keep);
        y2 = (V)((M)y2 & keep);
      }
      if constexpr (kShelf) {
        // The shelf stage's first section, in the lane below, took this sample one iteration
        // ago: its input then is the dry input.
        struct DryLane {
          constexpr long long operator()(int) const { return N - 2; }
        };
        V dry;
        Permute<DryLane>(x2, x2, dry, kEachLane);
        out = dry + k * y;
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
    template <int L> void LoadCoefficientsLane(const CFilter& f) {
      const LaneValues v = Coefficients(kRole.lane[L], f);
      SetLane<L>(b0, v.b0);
      SetLane<L>(b1, v.b1);
      SetLane<L>(b2, v.b2);
      SetLane<L>(a1, v.a1);
      SetLane<L>(a2, v.a2);
      SetLane<L>(k, v.k);
    }
    static void StoreLane(const LaneRole& role, CFilter& f, double vx1, double vx2, double vy1,
                          double vy2) {
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
    void Save(Saved& to) const { to = {x1, x2, y1, y2, out}; }
    void Restore(const Saved& from) {
      x1 = from.x1, x2 = from.x2, y1 = from.y1, y2 = from.y2, out = from.out;
    }
    // Takes the histories of the lanes in `which` from `from`.
    template <class From> void TakeLanes(const From& from, const M& which) {
      Select(which, from.x1, x1, x1);
      Select(which, from.x2, x2, x2);
      Select(which, from.y1, y1, y1);
      Select(which, from.y2, y2, y2);
      Select(which, from.out, out, out);
    }
    void Load(CFilter* const* stages, const Handoff& handoff) {
      for (int l = 0; l < N; ++l) {
        const LaneValues v =
            l >= kFirst ? Values(kRole.lane[l], *stages[kRole.lane[l].stage]) : LaneValues{};
        b0[l] = v.b0, b1[l] = v.b1, b2[l] = v.b2, a1[l] = v.a1, a2[l] = v.a2, k[l] = v.k;
        x1[l] = v.x1, x2[l] = v.x2, y1[l] = v.y1, y2[l] = v.y2;
        out[l] = handoff[P][l];
      }
    }
    void Store(CFilter* const* stages, Handoff& handoff) const {
      for (int l = kFirst; l < N; ++l) {
        StoreLane(kRole.lane[l], *stages[kRole.lane[l].stage], x1[l], x2[l], y1[l], y2[l]);
        handoff[P][l] = kShelf && l == N - 1 ? out[l] : y1[l];
      }
    }

  private:
    // A new value for lane L, built in registers (writing one lane of a vector in memory and
    // reading the whole back stalls the load).
    template <int L> static void SetLane(V& v, double d) {
      V all;
      Broadcast(d, all, kEachLane);
      M lane;
      MaskOf([](int l) { return l == L; }, lane, kEachLane);
      Select(lane, all, v, v);
    }
  };

  template <size_t... P> static std::tuple<Step<P>...> StepsOf(std::index_sequence<P...>);
  using Steps = decltype(StepsOf(std::make_index_sequence<kSteps>{}));

  // Step P of an iteration whose chain input is `in`; the steps run from the last to the
  // first, so that each takes what the step before handed on in the previous iteration.
  template <int P> static void Iterate(Steps& steps, const V& in) {
    if constexpr (P == 0) {
      std::get<P>(steps).Run(in);
    } else {
      std::get<P>(steps).Run(std::get<P - 1>(steps).HandedOn());
    }
  }
  template <size_t... I>
  static void IterateAll(Steps& steps, const V& in, std::index_sequence<I...>) {
    (Iterate<kSteps - 1 - static_cast<int>(I)>(steps, in), ...);
  }
  static double Output(const Steps& steps) {
    return std::get<kSteps - 1>(steps).HandedOn()[N - 1];
  }

  static void RunSteady(Steps& steps, double* __restrict x, int32_t from, int32_t to) {
    for (int32_t t = from; t < to; ++t) {
      const V in = {x[t]};
      IterateAll(steps, in, kEach);
      x[t - kS.lag] = Output(steps);
    }
  }

  // The first and last iterations of a block, where some lanes have no sample, run all the
  // same, and the lanes without a sample are put back as they were.
  static bool Has(const LaneRole& lane, int32_t t, int32_t frames) {
    return lane.Used() && t - lane.lag >= 0 && t - lane.lag < frames;
  }
  template <int P> static void RampIterate(Steps& steps, const V& in, int32_t t, int32_t frames) {
    constexpr StepRole role = kS.steps[P];
    // A step's lanes run at consecutive lags, lowest to highest.
    constexpr int lowest = role.lane[role.first].lag;
    constexpr int highest = role.lane[N - 1].lag;
    if (t < lowest || t - highest >= frames) {
      return; // no lane has a sample
    }
    if (t >= highest && t - lowest < frames) {
      Iterate<P>(steps, in);
      return;
    }
    Saved before;
    std::get<P>(steps).Save(before);
    Iterate<P>(steps, in);
    // Lane L has a sample when its lag, lowest + L - first, lies in (t - frames, t]: the lanes
    // from `low` up to below `high`.
    const int32_t shift = role.first - lowest;
    M low, high;
    LanesFrom(shift + t - frames + 1, low);
    LanesFrom(shift + t + 1, high);
    const M has = low & ~high;
    std::get<P>(steps).TakeLanes(before, ~has);
  }
  // The mask of lanes `lane` and above, from a table of every such mask.
  static void LanesFrom(int32_t lane, M& mask) {
    static constexpr auto kMasks = [] {
      std::array<long long, (N + 1) * N> masks{};
      for (int from = 0; from <= N; ++from) {
        for (int l = 0; l < N; ++l) {
          masks[from * N + l] = l >= from ? -1 : 0;
        }
      }
      return masks;
    }();
    std::memcpy(&mask, &kMasks[std::clamp(lane, 0, N) * N], sizeof mask);
  }
  template <size_t... I>
  static void RunRamp(Steps& steps, double* __restrict x, int32_t from, int32_t to, int32_t frames,
                      std::index_sequence<I...>) {
    for (int32_t t = from; t < to; ++t) {
      const V in = {t < frames ? x[t] : 0.0};
      (RampIterate<kSteps - 1 - static_cast<int>(I)>(steps, in, t, frames), ...);
      if (t - kS.lag >= 0 && t - kS.lag < frames) {
        x[t - kS.lag] = Output(steps);
      }
    }
  }

  // The lag of stage J's last section, whose samples its refresh counts.
  static constexpr int LastLag(int stage) {
    for (int p = 0; p < kSteps; ++p) {
      for (int l = kS.steps[p].first; l < N; ++l) {
        const LaneRole& role = kS.steps[p].lane[l];
        if (role.stage == stage && role.last) {
          return role.lag;
        }
      }
    }
    return 0;
  }
  // How many samples a lane of that lag takes in iterations [from, to).
  static int32_t SamplesIn(int lag, int32_t from, int32_t to, int32_t frames) {
    return std::max(0, std::min(to, lag + frames) - std::max(from, lag));
  }
  // Whether iterations [from, to) reach no stage's refresh (nor the sample before it), so that
  // they can run in registers.
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
  static void LoadSteps(Steps& steps, CFilter* const* stages, const Handoff& handoff,
                        std::index_sequence<P...>) {
    (std::get<P>(steps).Load(stages, handoff), ...);
  }
  template <size_t... P>
  static void StoreSteps(const Steps& steps, CFilter* const* stages, Handoff& handoff,
                         std::index_sequence<P...>) {
    (std::get<P>(steps).Store(stages, handoff), ...);
  }

  // Where a stage's first or second section runs.
  struct LaneAt {
    int step = -1;
    int lane = 0;
    SectionKind kind = SectionKind::kNone;
  };
  static constexpr LaneAt SectionOf(int stage, bool second) {
    for (int p = 0; p < kSteps; ++p) {
      for (int l = kS.steps[p].first; l < N; ++l) {
        const LaneRole& role = kS.steps[p].lane[l];
        if (role.stage == stage && (role.kind != SectionKind::kBiquad) == second) {
          return {p, l, role.kind};
        }
      }
    }
    return {};
  }

  // A step's histories in the steps, or as saved.
  template <int P> static const Step<P>& HistoriesOf(const Steps& steps) {
    return std::get<P>(steps);
  }
  template <int P> static const Saved& HistoriesOf(const Saved (&saved)[kSteps]) {
    return saved[P];
  }
  // Stage J's history fields added in the order of its non-finite check, those the pipeline
  // holds read from their lanes: the first section's in `first`, the second's in `second`.
  template <int J, class First, class Second>
  static double HistorySum(const First& first, const Second& second, const CFilter& f) {
    constexpr LaneAt one = SectionOf(J, false);
    constexpr LaneAt two = SectionOf(J, true);
    const auto& a = HistoriesOf<one.step>(first);
    const double s1x1 = a.x1[one.lane], s1x2 = a.x2[one.lane];
    const double s1y1 = a.y1[one.lane], s1y2 = a.y2[one.lane];
    double s2x0 = f.mS2x0, s2x1 = f.mS2x1, s2x2 = f.mS2x2, s2y1 = f.mS2y1, s2y2 = f.mS2y2;
    if constexpr (two.step >= 0) {
      const auto& b = HistoriesOf<two.step>(second);
      s2x0 = s2x1 = b.x1[two.lane];
      s2y1 = b.y1[two.lane];
      if constexpr (two.kind == SectionKind::kShelf) {
        s2x2 = b.x2[two.lane];
        s2y2 = b.y2[two.lane];
      }
    }
    return s1x1 + s1x1 + s1x2 + s2x0 + s2x1 + s2x2 + s1y1 + s1y2 + s2y1 + s2y2;
  }

  template <LaneAt at> static void LoadCoefficientsOf(Steps& steps, const CFilter& f) {
    if constexpr (at.step >= 0) {
      std::get<at.step>(steps).template LoadCoefficientsLane<at.lane>(f);
    }
  }
  // The refresh of a stage whose histories are finite: the coefficient update, reloading only
  // its lanes' coefficients. Answers whether they may have moved.
  template <int J> static bool RefreshStage(Steps& steps, CFilter& f) {
    if (!f.RefreshCoefficients()) {
      return false;
    }
    LoadCoefficientsOf<SectionOf(J, false)>(steps, f);
    LoadCoefficientsOf<SectionOf(J, true)>(steps, f);
    return true;
  }

  // The end of a run of single-section refreshes: the stages that reach a refresh take it, the
  // others count the run. The non-finite check reads the lanes; when it fails, the pipeline
  // goes back to the fields and every stage takes its own path, which clears those histories.
  // Answers whether it did.
  template <size_t... J>
  static bool AfterRun(Steps& steps, CFilter* const* stages, Handoff& handoff, const int32_t* until,
                       int32_t run, std::index_sequence<J...>) {
    const bool finite =
        ((run != until[J] || std::isfinite(HistorySum<J>(steps, steps, *stages[J]))) && ...);
    if (!finite) {
      StoreSteps(steps, stages, handoff, kEach);
      (stages[J]->AdvanceRefresh(run), ...);
      return true;
    }
    ((run == until[J] ? (void)RefreshStage<J>(steps, *stages[J])
                      : (void)(stages[J]->mRefreshCounter += run)),
     ...);
    return false;
  }

  // Whether stage J, if it refreshes in this iteration, has finite histories at its refresh: a
  // two-section stage's first section as it was before this iteration's sample.
  template <int J>
  static bool FiniteAtRefresh(const Saved (&before)[kSteps], const Steps& after,
                              CFilter* const* stages, const int32_t* until) {
    if constexpr (kS.twoSections[J]) {
      return until[J] != 1 || std::isfinite(HistorySum<J>(before, after, *stages[J]));
    } else {
      return until[J] != 1 || std::isfinite(HistorySum<J>(after, after, *stages[J]));
    }
  }
  // Refreshes stage J after this iteration's sample; answers the lane of its first section
  // when that must be computed again (a two-section stage whose coefficients moved), else -1.
  template <int J> static int RefreshInIteration(Steps& steps, CFilter& f) {
    if (!RefreshStage<J>(steps, f) || !kS.twoSections[J]) {
      return -1;
    }
    return SectionOf(J, false).lane;
  }
  // Step P's lanes in `lanes` computed again from `before`, on the step's new coefficients.
  template <int P>
  static void Redo(Steps& steps, const Saved (&before)[kSteps], const V& in,
                   const unsigned* lanes) {
    if (lanes[P] == 0) {
      return;
    }
    Step<P> again = std::get<P>(steps);
    again.Restore(before[P]);
    if constexpr (P == 0) {
      again.Run(in);
    } else {
      again.Run(Step<P - 1>::HandedOn(before[P - 1]));
    }
    M which;
    MaskOf([&](int l) { return (lanes[P] >> l) & 1u; }, which, kEachLane);
    std::get<P>(steps).TakeLanes(again, which);
  }
  template <size_t... P>
  static void SaveAll(const Steps& steps, Saved (&to)[kSteps], std::index_sequence<P...>) {
    (std::get<P>(steps).Save(to[P]), ...);
  }
  template <size_t... P>
  static void RestoreAll(Steps& steps, const Saved (&from)[kSteps], std::index_sequence<P...>) {
    (std::get<P>(steps).Restore(from[P]), ...);
  }
  template <size_t... P>
  static void RedoAll(Steps& steps, const Saved (&before)[kSteps], const V& in,
                      const unsigned* lanes, std::index_sequence<P...>) {
    (Redo<P>(steps, before, in, lanes), ...);
  }
  // The iteration in which a two-section stage refreshes (and any other stage counts or
  // refreshes after its sample). It runs on the old coefficients; the refresh follows the
  // second section's sample, so each first section whose coefficients moved is computed again
  // from where it was, on the same input, with the new ones. Answers false, having done
  // nothing, when a refreshing stage's histories are not finite.
  template <size_t... J>
  static bool RefreshIteration(Steps& steps, CFilter* const* stages, const int32_t* until,
                               double* __restrict x, int32_t t, std::index_sequence<J...>) {
    Saved before[kSteps];
    SaveAll(steps, before, kEach);
    const V in = {x[t]};
    IterateAll(steps, in, kEach);
    if (!(FiniteAtRefresh<J>(before, steps, stages, until) && ...)) {
      RestoreAll(steps, before, kEach);
      return false;
    }
    unsigned redo[kSteps] = {};
    auto refresh = [&](auto stage) {
      constexpr int j = decltype(stage)::value;
      if (until[j] != 1) {
        ++stages[j]->mRefreshCounter;
      } else if (const int lane = RefreshInIteration<j>(steps, *stages[j]); lane >= 0) {
        redo[SectionOf(j, false).step] |= 1u << lane;
      }
    };
    (refresh(std::integral_constant<int, static_cast<int>(J)>{}), ...);
    RedoAll(steps, before, in, redo, kEach);
    x[t - kS.lag] = Output(steps);
    return true;
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
      // The first section, a lane below, took this sample in the iteration before and has not
      // yet taken the next: its last input is the dry input.
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

  // Lane L of step P in iteration t on the fields: it takes what the lane below (or the step
  // before's highest lane, or the chain's input) handed on in the iteration before.
  template <int P, int L>
  static void EmulateLane(CFilter* const* stages, Handoff& handoff, int32_t t, int32_t frames,
                          double sample) {
    constexpr StepRole role = kS.steps[P];
    if constexpr (L >= role.first) {
      if (Has(role.lane[L], t, frames)) {
        double in = sample;
        if constexpr (L > role.first) {
          in = handoff[P][L - 1];
        } else if constexpr (P > 0) {
          in = handoff[P - 1][N - 1];
        }
        handoff[P][L] = RunLane<role.lane[L]>(stages, in);
      }
    }
  }
  // Every section of iteration t on the fields, the last first: each then takes what the one
  // before handed on in the iteration before, and a stage's second section takes its sample
  // (and the refresh after it) before its first section takes the next.
  template <size_t... I>
  static void Emulate(CFilter* const* stages, Handoff& handoff, double* x, int32_t t,
                      int32_t frames, std::index_sequence<I...>) {
    const double sample = t < frames ? x[t] : 0.0;
    (EmulateLane<kSteps - 1 - static_cast<int>(I) / N, N - 1 - static_cast<int>(I) % N>(
         stages, handoff, t, frames, sample),
     ...);
    if (t - kS.lag >= 0 && t - kS.lag < frames) {
      x[t - kS.lag] = handoff[kSteps - 1][N - 1];
    }
  }
  static void Emulate(CFilter* const* stages, Handoff& handoff, double* x, int32_t t,
                      int32_t frames) {
    Emulate(stages, handoff, x, t, frames, std::make_index_sequence<kSteps * N>{});
  }

  // A lane hands on its output history, unless a refresh has just cleared that history: then
  // the next sample must be computed on the fields. (A shelf step hands on its own value.)
  static bool HandoffsAgree(CFilter* const* stages, const Handoff& handoff) {
    for (int p = 0; p < kSteps; ++p) {
      for (int l = kS.steps[p].first; l < N; ++l) {
        const LaneRole& role = kS.steps[p].lane[l];
        if (role.kind == SectionKind::kShelf) {
          continue;
        }
        const CFilter& f = *stages[role.stage];
        const double history = role.kind == SectionKind::kBiquad ? f.mS1y1 : f.mS2y1;
        if (std::memcmp(&history, &handoff[p][l], sizeof history) != 0) {
          return false;
        }
      }
    }
    return true;
  }

  // From the fields into the loop: iterations on the fields until every lane has a sample and
  // hands on its history (into the block's last iterations, if need be: they run in registers
  // too), then the steps loaded. Answers the next iteration.
  static int32_t Enter(Steps& steps, CFilter* const* stages, Handoff& handoff, double* x, int32_t t,
                       int32_t frames) {
    while (t < frames + kS.lag && (t < kS.lag || !HandoffsAgree(stages, handoff))) {
      Emulate(stages, handoff, x, t++, frames);
    }
    LoadSteps(steps, stages, handoff, kEach);
    return t;
  }

  static void Run(CFilter* const* stages, double* x, int32_t frames) {
    const int32_t lag = kS.lag;
    Handoff handoff = {};
    Steps steps;
    int32_t t = 0;
    if (RampIsClear(stages, 0, lag, frames)) {
      LoadSteps(steps, stages, handoff, kEach);
      RunRamp(steps, x, 0, lag, frames, kEach);
      CountRamp(stages, 0, lag, frames);
      t = lag;
    } else {
      t = Enter(steps, stages, handoff, x, 0, frames);
    }
    constexpr auto each = std::make_index_sequence<kStages>{};
    while (t < frames) {
      // Runs end where a stage refreshes; a two-section stage refreshes in an iteration of its
      // own.
      int32_t until[kStages];
      int32_t run = frames - t;
      for (int j = 0; j < kStages; ++j) {
        until[j] = stages[j]->SamplesUntilRefresh();
        run = std::min(run, until[j] - (kS.twoSections[j] ? 1 : 0));
      }
      if (run <= 0) {
        if (RefreshIteration(steps, stages, until, x, t, each)) {
          ++t;
          continue;
        }
        StoreSteps(steps, stages, handoff, kEach);
        Emulate(stages, handoff, x, t, frames);
        t = Enter(steps, stages, handoff, x, t + 1, frames);
        continue;
      }
      RunSteady(steps, x, t, t + run);
      t += run;
      if (AfterRun(steps, stages, handoff, until, run, each)) {
        t = Enter(steps, stages, handoff, x, t, frames);
      }
    }
    // The last iterations, from the block's end (or from where Enter left off).
    if (RampIsClear(stages, t, frames + lag, frames)) {
      RunRamp(steps, x, t, frames + lag, frames, kEach);
      StoreSteps(steps, stages, handoff, kEach);
      CountRamp(stages, t, frames + lag, frames);
    } else {
      StoreSteps(steps, stages, handoff, kEach);
      for (; t < frames + lag; ++t) {
        Emulate(stages, handoff, x, t, frames);
      }
    }
    for (int j = 0; j < kStages; ++j) {
      stages[j]->SanitizeHistories();
    }
  }
#if defined(__x86_64__)
  // The whole pipeline compiled for AVX-512 or AVX2 (the same IEEE double arithmetic lane by
  // lane), every call inlined, so that no wide vector crosses into code compiled for the
  // baseline.
  __attribute__((target("avx512f,avx512vl"), flatten)) static void
  RunAvx512(CFilter* const* stages, double* x, int32_t frames) {
    Run(stages, x, frames);
  }
  __attribute__((target("avx2"), flatten)) static void RunAvx2(CFilter* const* stages, double* x,
                                                               int32_t frames) {
    Run(stages, x, frames);
  }
#endif
};

// Found once, when the library loads, so that the audio thread never waits on it.
int32_t CFilterKernels::sPipelineLanes = WidestLanes();

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

template <int... Orders> void RunShape(CFilter* const* stages, double* x, int32_t frames) {
#if defined(__x86_64__)
  if (CFilterKernels::sPipelineLanes == 8) {
    CFilterKernels::Pipeline<8, Orders...>::RunAvx512(stages, x, frames);
    return;
  }
  if (CFilterKernels::sPipelineLanes == 4) {
    CFilterKernels::Pipeline<4, Orders...>::RunAvx2(stages, x, frames);
    return;
  }
#endif
  CFilterKernels::Pipeline<2, Orders...>::Run(stages, x, frames);
}

} // namespace

// The equaliser's chain, with and without its pass filters: high-pass (order 3), the two mids
// and the high shelf (order 2), the low shelf (order 4), the low-pass (order 3).
bool CFilterKernels::RunPipelined(CFilter* const* stages, int32_t count, double* x, int32_t frames,
                                  bool roundsToNearest) {
  // The first-order lanes' exact zeros rely on rounding to nearest; blocks shorter than a few
  // pipeline lengths would spend most of their samples filling and draining it. With two lanes
  // a step does so little that the fused stages are as fast up to blocks of about 128 frames.
  const int32_t shortest = sPipelineLanes == 2 ? 128 : 16;
  if (!roundsToNearest || frames < shortest) {
    return false;
  }
  if (IsShape<3, 2, 2, 2, 4, 3>(stages, count)) {
    RunShape<3, 2, 2, 2, 4, 3>(stages, x, frames);
  } else if (IsShape<2, 2, 2, 4, 3>(stages, count)) {
    RunShape<2, 2, 2, 4, 3>(stages, x, frames);
  } else if (IsShape<3, 2, 2, 2, 4>(stages, count)) {
    RunShape<3, 2, 2, 2, 4>(stages, x, frames);
  } else if (IsShape<2, 2, 2, 4>(stages, count)) {
    RunShape<2, 2, 2, 4>(stages, x, frames);
  } else {
    return false;
  }
  return true;
}
