// Cost of the EQ filter stages per channel-sample, against a plain reference cascade of the
// same sections (fixed coefficients, one direct-form-I loop per stage; for stereo a two-channel
// cascade with a channel per SSE2 lane), in one run. Reports the ratios at the end:
//   chain / reference        the six engaged stages, mono and stereo (target: within 1.2x)
//   settled / at start       the chain after a minute of silence against its cost at start
//
// Build with ORVANE_BENCH=ON; run build/release/bench/eq/eq_filters_bench (add
// --benchmark_repetitions=5 on a busy machine: the ratios then use the medians).

#include "Projects/eq/CHighShelf.h"
#include "Projects/eq/CHighpass.h"
#include "Projects/eq/CLowShelf.h"
#include "Projects/eq/CLowpass.h"
#include "Projects/eq/CParametric.h"
#include "bench/eq/PlainSections.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kFrames = 512;
constexpr double kRate = 48000.0;

std::vector<double> Noise(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> dist(-0.5, 0.5);
  std::vector<double> v(n);
  for (double& x : v) {
    x = dist(rng);
  }
  return v;
}

// --- the stages ---------------------------------------------------------------------------

// Stages are never deleted through CFilter (no virtual destructor): the deleter keeps the kind.
using OwnedStage = std::unique_ptr<CFilter, void (*)(CFilter*)>;

template <class T> OwnedStage Made(double gain, double freq, double q = 0) {
  OwnedStage stage(new T(), [](CFilter* p) { delete static_cast<T*>(p); });
  stage->SetSampleRate(kRate);
  stage->SetFreq(freq);
  stage->SetGain(gain);
  stage->SetQ(q);
  double start = 0.0;
  stage->Process(&start, 1); // starts on its targets
  return stage;
}

// The equaliser's six stages in processing order, every one engaged.
std::vector<OwnedStage> MakeChain() {
  std::vector<OwnedStage> chain;
  chain.push_back(Made<CHighpass>(0, 60));
  chain.push_back(Made<CParametric>(-4.5, 300, 1.4));
  chain.push_back(Made<CParametric>(5.0, 3000, 2.2));
  chain.push_back(Made<CHighShelf>(3.0, 8000));
  chain.push_back(Made<CLowShelf>(4.0, 120));
  chain.push_back(Made<CLowpass>(0, 16000));
  return chain;
}

// --- the reference: plain sections with fixed coefficients --------------------------------

using ReferenceStage = PlainSections<double>;

std::vector<ReferenceStage> ReferenceOf(const std::vector<OwnedStage>& chain) {
  std::vector<ReferenceStage> ref;
  for (const auto& stage : chain) {
    ref.emplace_back(*stage);
  }
  return ref;
}

// Both channels' chains as one two-channel cascade, a channel per vector lane.
std::vector<PlainSections<PlainPair>> PairedReferenceOf(const std::vector<OwnedStage>& left,
                                                        const std::vector<OwnedStage>& right) {
  std::vector<PlainSections<PlainPair>> ref;
  for (size_t s = 0; s < left.size(); ++s) {
    ref.emplace_back(*left[s], *right[s]);
  }
  return ref;
}

// --- benchmarks ---------------------------------------------------------------------------

// Input is refilled outside the timing so that every run filters the same program material.
void RunBlocks(benchmark::State& state, int channels, const std::function<void(double**)>& run) {
  std::vector<double> source = Noise(kFrames * channels * 64, 1);
  std::vector<std::vector<double>> buffers(channels, std::vector<double>(kFrames));
  size_t at = 0;
  for (auto _ : state) {
    double* ptrs[2];
    for (int c = 0; c < channels; ++c) {
      std::copy_n(source.begin() + at, kFrames, buffers[c].begin());
      at = (at + kFrames) % source.size();
      ptrs[c] = buffers[c].data();
    }
    run(ptrs);
    benchmark::DoNotOptimize(buffers[0].data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kFrames * channels);
}

template <class T> void BM_Stage(benchmark::State& state, double gain, double freq, double q) {
  auto stage = Made<T>(gain, freq, q);
  RunBlocks(state, 1, [&](double** x) { stage->Process(x[0], kFrames); });
}

template <class T>
void BM_ReferenceStage(benchmark::State& state, double gain, double freq, double q) {
  ReferenceStage ref(*Made<T>(gain, freq, q));
  RunBlocks(state, 1, [&](double** x) { ref.Process(x[0], kFrames); });
}

std::vector<CFilter*> Pointers(const std::vector<OwnedStage>& chain) {
  std::vector<CFilter*> stages;
  for (const auto& stage : chain) {
    stages.push_back(stage.get());
  }
  return stages;
}

// The chain entry the equaliser runs a mono block through.
void BM_Chain(benchmark::State& state) {
  auto chain = MakeChain();
  const std::vector<CFilter*> stages = Pointers(chain);
  const int32_t count = static_cast<int32_t>(stages.size());
  RunBlocks(state, 1,
            [&](double** x) { CFilter::ProcessChain(stages.data(), count, x[0], kFrames); });
}

// One stage after the other over the block.
void BM_ChainStageByStage(benchmark::State& state) {
  auto chain = MakeChain();
  RunBlocks(state, 1, [&](double** x) {
    for (auto& stage : chain) {
      stage->Process(x[0], kFrames);
    }
  });
}

void BM_ReferenceChain(benchmark::State& state) {
  auto ref = ReferenceOf(MakeChain());
  RunBlocks(state, 1, [&](double** x) {
    for (auto& stage : ref) {
      stage.Process(x[0], kFrames);
    }
  });
}

void BM_ChainStereo(benchmark::State& state) {
  auto left = MakeChain(), right = MakeChain();
  const std::vector<CFilter*> l = Pointers(left), r = Pointers(right);
  const int32_t count = static_cast<int32_t>(l.size());
  RunBlocks(state, 2, [&](double** x) {
    CFilter::ProcessChainPair(l.data(), x[0], r.data(), x[1], count, kFrames);
  });
}

void BM_ReferenceChainStereo(benchmark::State& state) {
  auto ref = PairedReferenceOf(MakeChain(), MakeChain());
  RunBlocks(state, 2, [&](double** x) {
    for (auto& stage : ref) {
      stage.Process(x[0], x[1], kFrames);
    }
  });
}

// The chain after a minute of silence that followed programme: decaying state and gains
// gliding back to 0 dB must not leave it dearer than at start.
void BM_ChainAfterAMinuteOfSilence(benchmark::State& state) {
  auto chain = MakeChain();
  std::vector<double> block = Noise(kFrames, 2);
  for (auto& stage : chain) {
    stage->Process(block.data(), kFrames);
  }
  chain[1]->SetGain(0); // a band returned to 0 dB
  chain[4]->SetGain(0); // and the low shelf too
  const int minute = static_cast<int>(60 * kRate / kFrames);
  for (int b = 0; b < minute; ++b) {
    std::fill(block.begin(), block.end(), 0.0);
    for (auto& stage : chain) {
      stage->Process(block.data(), kFrames);
    }
  }
  const std::vector<CFilter*> stages = Pointers(chain);
  const int32_t count = static_cast<int32_t>(stages.size());
  for (auto _ : state) {
    std::fill(block.begin(), block.end(), 0.0);
    CFilter::ProcessChain(stages.data(), count, block.data(), kFrames);
    benchmark::DoNotOptimize(block.data());
  }
  state.SetItemsProcessed(state.iterations() * kFrames);
}

// Each kind alone, at a setting that engages it, against the same sections in plain loops.
template <class T> void RegisterKind(const char* kind, double gain, double freq, double q) {
  benchmark::RegisterBenchmark((std::string("BM_Stage/") + kind).c_str(),
                               [=](benchmark::State& s) { BM_Stage<T>(s, gain, freq, q); });
  benchmark::RegisterBenchmark(
      (std::string("BM_ReferenceStage/") + kind).c_str(),
      [=](benchmark::State& s) { BM_ReferenceStage<T>(s, gain, freq, q); });
}

void RegisterKinds() {
  RegisterKind<CParametric>("parametric", 6.0, 1000.0, 1.5);
  RegisterKind<CHighShelf>("highshelf", 6.0, 8000.0, 0.0);
  RegisterKind<CLowShelf>("lowshelf", 6.0, 120.0, 0.0);
  RegisterKind<CLowpass>("lowpass", 0.0, 16000.0, 0.0);
  RegisterKind<CHighpass>("highpass", 0.0, 60.0, 0.0);
}

BENCHMARK(BM_Chain);
BENCHMARK(BM_ChainStageByStage);
BENCHMARK(BM_ReferenceChain);
BENCHMARK(BM_ChainStereo);
BENCHMARK(BM_ReferenceChainStereo);
BENCHMARK(BM_ChainAfterAMinuteOfSilence);

// Collects ns per channel-sample of every run and prints the ratios after the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const auto it = run.counters.find("items_per_second");
      if (it != run.counters.end() && it->second.value > 0) {
        mNs[run.benchmark_name()] = 1e9 / it->second.value;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatios() const {
    std::printf("\nns per channel-sample, ratio to the reference:\n");
    for (const char* kind : {"parametric", "highshelf", "lowshelf", "lowpass", "highpass"}) {
      Ratio(std::string("stage ") + kind, Find(std::string("BM_Stage/") + kind),
            Find(std::string("BM_ReferenceStage/") + kind));
    }
    Ratio("chain mono (target <= 1.2)", Find("BM_Chain"), Find("BM_ReferenceChain"));
    Ratio("chain stereo (target <= 1.2)", Find("BM_ChainStereo"), Find("BM_ReferenceChainStereo"));
    Ratio("chain stereo / reference mono", Find("BM_ChainStereo"), Find("BM_ReferenceChain"));
    Ratio("chain mono / chain stereo (target <= 1.2)", Find("BM_Chain"), Find("BM_ChainStereo"));
    Ratio("chain mono stage by stage / fused", Find("BM_ChainStageByStage"), Find("BM_Chain"));
    Ratio("after a minute of silence / at start", Find("BM_ChainAfterAMinuteOfSilence"),
          Find("BM_Chain"));
  }

private:
  // With --benchmark_repetitions the median of the repetitions counts.
  double Find(const std::string& name) const {
    auto it = mNs.find(name + "_median");
    if (it == mNs.end()) {
      it = mNs.find(name);
    }
    return it == mNs.end() ? 0.0 : it->second;
  }
  static void Ratio(const std::string& what, double ns, double refNs) {
    if (ns > 0 && refNs > 0) {
      std::printf("  %-36s %7.3f ns vs %7.3f ns  ratio %.3f\n", what.c_str(), ns, refNs,
                  ns / refNs);
    }
  }

  std::map<std::string, double> mNs;
};

} // namespace

int main(int argc, char** argv) {
  RegisterKinds();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
