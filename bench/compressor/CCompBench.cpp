// Cost of the compressor engine per stereo frame, against a plain loop of the same arithmetic
// that evaluates every factor on every frame and flushes nothing. Both run on the same
// programme in blocks of 512 frames; the summary at the end gives the ratios of one run.
//
// Cases:
//   Programme  moderate compression of noise bursts, sines and pauses, automatic release
//   Heavy      a signal always above the knee: the curve and the gain on every frame
//   Riding     input gain and make-up moving in every block, so their slews never rest
//   Silence    silence after ten minutes of it, where undamped states would be denormal
#include "Projects/compressor/CComp.h"
#include "bench/compressor/PlainGain.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>
#include "bench/BenchRuns.h"

namespace {

constexpr double kRate = 48000.0;
constexpr size_t kBlock = 512;

struct Settings {
  double threshold, ratio, attack, release;
  bool autoRelease;
  double makeUp, inputGain, blend;
};

const Settings kProgramme{-30.0, 4.0, 0.5, 1.0, true, 6.0, 0.0, 1.0};
const Settings kHeavy{-50.0, 10.0, 0.2, 0.5, false, 12.0, 6.0, 0.8};
const Settings kSilence{-50.0, 50.0, 1.0, 4.0, true, 0.0, 0.0, 1.0};

struct Material {
  std::vector<double> l, r;
};

Material Programme(size_t n, double level) {
  Material m{std::vector<double>(n), std::vector<double>(n)};
  uint32_t seed = 987654321u;
  auto noise = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return (static_cast<double>(seed >> 8) / 8388608.0) - 1.0;
  };
  for (size_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double phase = std::fmod(t, 0.5);
    if (phase < 0.2) {
      m.l[i] = level * std::exp(-phase * 8.0) * noise();
      m.r[i] = 0.8 * m.l[i] + 0.2 * level * noise();
    } else if (phase < 0.42) {
      m.l[i] = level * std::sin(2.0 * M_PI * 220.0 * t);
      m.r[i] = level * std::sin(2.0 * M_PI * 330.0 * t);
    }
  }
  return m;
}

// The plain loop: the engine's arithmetic written straight down, frame by frame.
class PlainCompressor {
public:
  void Setup(const Settings& s, double fs) {
    CComp comp; // the same coefficient block
    comp.SetSampleRate(fs);
    comp.SetAll(s.autoRelease, true, s.threshold, s.ratio, s.attack, s.release, s.makeUp);
    comp.GetCoefficients(k);
    fs_ = fs;
    autoRelease = s.autoRelease;
    makeUpTarget = s.makeUp;
    inputTarget = s.inputGain;
    blendTarget = s.blend;
  }

  void Process(double* l, double* r, size_t n) {
    const double gainStep = 180.0 / fs_, blendStep = 5.0 / fs_;
    for (size_t i = 0; i < n; ++i) {
      const double dl = l[i], dr = r[i];
      inputGain = PlainGain::Slew(inputGain, inputTarget, 0.1, gainStep);
      const double in = std::pow(10.0, inputGain / 20.0);
      double L = dl * in, R = dr * in;
      const double x = std::max(std::fabs(L), std::fabs(R));
      const double gain = curve.Next(k, x, autoRelease);
      const double s = L != 0.0 ? L : std::ldexp(1.0, -126);
      grPeak = std::min(grPeak, std::fabs(s * gain / s));
      makeUp = PlainGain::Slew(makeUp, makeUpTarget, 0.1, gainStep);
      const double m = std::pow(10.0, makeUp / 20.0);
      blend = PlainGain::Slew(blend, blendTarget, 0.001, blendStep);
      if (blend == 0.0) {
        L = dl;
        R = dr;
      } else if (blend <= 1.0) {
        L = L * gain * m * blend + dl * (1.0 - blend);
        R = R * gain * m * blend + dr * (1.0 - blend);
      }
      l[i] = L;
      r[i] = R;
      const double sample = std::max(L, R);
      if (sample > windowPeak)
        windowPeak = sample;
      windowPeak = std::min(windowPeak, 1.0);
      held = std::min(held, 1.0);
      if (++count == 512) {
        held = windowPeak > held ? windowPeak : std::max(1e-4, held - 0.075 * (held - windowPeak));
        levelMeter = 20.0 * std::log10(held) / 60.0 + 1.0;
        grMeter = 20.0 * std::log10(grPeak) / 20.0 + 1.0;
        grPeak = 1.0;
        windowPeak = 0.0;
        count = 0;
      }
    }
  }

  double inputTarget = 0.0, makeUpTarget = 0.0;
  double levelMeter = 0.0, grMeter = 1.0;

private:
  double k[CComp::kNumCoefficients] = {};
  double fs_ = kRate;
  bool autoRelease = false;
  double blendTarget = 1.0;
  double inputGain = 0.0, makeUp = 0.0, blend = 0.5;
  PlainGain curve;
  double grPeak = 1.0, windowPeak = 0.0, held = 0.0;
  int count = 0;
};

void Configure(CComp& comp, const Settings& s) {
  comp.SetSampleRate(kRate);
  comp.SetAll(s.autoRelease, true, s.threshold, s.ratio, s.attack, s.release, s.makeUp);
  comp.SetInputGain(s.inputGain);
  comp.SetBlend(s.blend);
  comp.SetIOMetering(false);
}

// Runs the material once through in blocks; rides the gains on every block when asked.
template <class Engine, class ProcessBlock>
void RunMaterial(benchmark::State& state, Engine& engine, const Material& source, bool ride,
                 ProcessBlock processBlock) {
  std::vector<double> l(kBlock), r(kBlock);
  size_t pos = 0, block = 0;
  for (auto _ : state) {
    const size_t n = std::min(kBlock, source.l.size() - pos);
    std::copy_n(source.l.data() + pos, n, l.data());
    std::copy_n(source.r.data() + pos, n, r.data());
    if (ride) {
      // A new gain every block, 0.5 dB apart: the slews move on every frame.
      const double dB = (block++ % 2) ? 3.0 : 2.5;
      processBlock(engine, l.data(), r.data(), n, dB);
    } else {
      processBlock(engine, l.data(), r.data(), n, 0.0);
    }
    benchmark::DoNotOptimize(l.data());
    benchmark::ClobberMemory();
    pos = (pos + n) % source.l.size();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kBlock);
}

void EngineBlock(CComp& comp, double* l, double* r, size_t n, double ride) {
  if (ride != 0.0) {
    comp.SetInputGain(ride);
    comp.SetMakeUp(ride);
  }
  double* channels[2] = {l, r};
  comp.Process(channels, nullptr, n);
}

void PlainBlock(PlainCompressor& plain, double* l, double* r, size_t n, double ride) {
  if (ride != 0.0) {
    plain.inputTarget = ride;
    plain.makeUpTarget = ride;
  }
  plain.Process(l, r, n);
}

const Material& ProgrammeMaterial() {
  static const Material m = Programme(static_cast<size_t>(10 * kRate), 1.0);
  return m;
}
const Material& SilentMaterial() {
  static const Material m{std::vector<double>(kBlock * 64), std::vector<double>(kBlock * 64)};
  return m;
}

// Ten minutes of silence after a loud burst.
template <class Engine, class ProcessBlock> void Prime(Engine& engine, ProcessBlock processBlock) {
  const Material burst = Programme(static_cast<size_t>(kRate), 1.5);
  std::vector<double> l(kBlock), r(kBlock);
  for (size_t pos = 0; pos + kBlock <= burst.l.size(); pos += kBlock) {
    std::copy_n(burst.l.data() + pos, kBlock, l.data());
    std::copy_n(burst.r.data() + pos, kBlock, r.data());
    processBlock(engine, l.data(), r.data(), kBlock, 0.0);
  }
  for (size_t block = 0; block < static_cast<size_t>(600 * kRate) / kBlock; ++block) {
    std::fill(l.begin(), l.end(), 0.0);
    std::fill(r.begin(), r.end(), 0.0);
    processBlock(engine, l.data(), r.data(), kBlock, 0.0);
  }
}

void BM_Engine(benchmark::State& state, const Settings* s, bool ride, bool silence) {
  CComp comp;
  Configure(comp, *s);
  if (silence)
    Prime(comp, EngineBlock);
  RunMaterial(state, comp, silence ? SilentMaterial() : ProgrammeMaterial(), ride, EngineBlock);
}

void BM_Plain(benchmark::State& state, const Settings* s, bool ride, bool silence) {
  PlainCompressor plain;
  plain.Setup(*s, kRate);
  if (silence)
    Prime(plain, PlainBlock);
  RunMaterial(state, plain, silence ? SilentMaterial() : ProgrammeMaterial(), ride, PlainBlock);
}

BENCHMARK_CAPTURE(BM_Engine, Programme, &kProgramme, false, false);
BENCHMARK_CAPTURE(BM_Plain, Programme, &kProgramme, false, false);
BENCHMARK_CAPTURE(BM_Engine, Heavy, &kHeavy, false, false);
BENCHMARK_CAPTURE(BM_Plain, Heavy, &kHeavy, false, false);
BENCHMARK_CAPTURE(BM_Engine, Riding, &kProgramme, true, false);
BENCHMARK_CAPTURE(BM_Plain, Riding, &kProgramme, true, false);
BENCHMARK_CAPTURE(BM_Engine, Silence, &kSilence, false, true);
BENCHMARK_CAPTURE(BM_Plain, Silence, &kSilence, false, true);

// Prints the usual table, then engine / plain for each case of this run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (!benchruns::StandsForItsBenchmark(run))
        continue;
      const std::string name = run.run_name.str();
      const double ns = run.GetAdjustedRealTime() / kBlock; // per frame
      const size_t slash = name.find('/');
      if (slash == std::string::npos)
        continue;
      (name.compare(0, slash, "BM_Engine") == 0 ? engine : plain)[name.substr(slash + 1)] = ns;
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-10s %14s %14s %14s %8s\n", "case", "engine ns/fr", "plain ns/fr",
                "engine ns/ch", "ratio");
    for (const auto& [name, ns] : engine) {
      const auto p = plain.find(name);
      if (p == plain.end())
        continue;
      std::printf("%-10s %14.2f %14.2f %14.2f %8.3f\n", name.c_str(), ns, p->second, ns / 2.0,
                  ns / p->second);
    }
  }

private:
  std::map<std::string, double> engine, plain;
};

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
