// Cost of the whole compressor plug-in per stereo frame, as a host pays it: the built
// OrvaneCompressor.vst3 loaded in our VST 3 test host, 32-bit blocks of 512 frames at 48 kHz.
// In the same run and on the same audio:
//   Plain    a plain loop of the same arithmetic (every factor on every frame, no flushing),
//            with the same float-to-double conversion around it
//   ZamCompX2  Debian's ZamCompX2 VST 3 (zam-plugins), a stereo compressor whose detector takes
//              the louder channel, as ours does: the like-for-like peer
//   ZamComp    Debian's ZamComp VST 3, its mono sibling, on the left channel
// both in the same test host at the same threshold, ratio and make-up. The summary gives ns per
// stereo frame and per channel-sample, and the ratios of one run; the peers are compared per
// channel-sample.
#include "Projects/compressor/CComp.h"
#include "Projects/compressor/OrvaneCompressorParamIDs.h"
#include "bench/compressor/PlainGain.h"
#include "tests/hosts/vst3/Plugin.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "bench/BenchRuns.h"

namespace {

using namespace orvane::testhost;
using namespace Steinberg;
using namespace Steinberg::Vst;

constexpr double kRate = 48000.0;
constexpr int32 kBlock = 512;
const char* const kZamComp = "/usr/lib/vst3/ZamComp.vst3";
const char* const kZamCompX2 = "/usr/lib/vst3/ZamCompX2.vst3";

// Ten seconds of noise bursts, sines and pauses, peaking near full scale.
struct Material {
  std::vector<float> l, r;
};

const Material& Programme() {
  static const Material m = [] {
    const size_t n = size_t(10 * kRate);
    Material p{std::vector<float>(n), std::vector<float>(n)};
    uint32_t seed = 987654321u;
    auto noise = [&seed] {
      seed = seed * 1664525u + 1013904223u;
      return (static_cast<double>(seed >> 8) / 8388608.0) - 1.0;
    };
    for (size_t i = 0; i < n; ++i) {
      const double t = double(i) / kRate;
      const double phase = std::fmod(t, 0.5);
      double l = 0, r = 0;
      if (phase < 0.2) {
        l = std::exp(-phase * 8.0) * noise();
        r = 0.8 * l + 0.2 * noise();
      } else if (phase < 0.42) {
        l = std::sin(2.0 * M_PI * 220.0 * t);
        r = std::sin(2.0 * M_PI * 330.0 * t);
      }
      p.l[i] = float(0.9 * l);
      p.r[i] = float(0.9 * r);
    }
    return p;
  }();
  return m;
}

// Moderate compression of the programme, automatic release (threshold -30 dB, 4:1).
struct Settings {
  double threshold = -30, ratio = 4, attack = 0.5, release = 1, makeUp = 6, inputGain = 0;
  double blend = 1;
  bool autoRelease = true;
};

// The plain loop: the engine's arithmetic written straight down, frame by frame.
class PlainCompressor {
public:
  explicit PlainCompressor(const Settings& s) : settings(s) {
    CComp comp; // the same coefficient block
    comp.SetSampleRate(kRate);
    comp.SetAll(s.autoRelease, true, s.threshold, s.ratio, s.attack, s.release, s.makeUp);
    comp.GetCoefficients(k);
  }

  void Process(const float* inL, const float* inR, float* outL, float* outR, int32 n) {
    const double gainStep = 180.0 / kRate, blendStep = 5.0 / kRate;
    for (int32 i = 0; i < n; ++i) {
      const double dl = inL[i], dr = inR[i];
      inputGain = PlainGain::Slew(inputGain, settings.inputGain, 0.1, gainStep);
      const double in = std::pow(10.0, inputGain / 20.0);
      double L = dl * in, R = dr * in;
      const double x = std::max(std::fabs(L), std::fabs(R));
      const double gain = curve.Next(k, x, settings.autoRelease);
      const double s = L != 0.0 ? L : std::ldexp(1.0, -126);
      grPeak = std::min(grPeak, std::fabs(s * gain / s));
      makeUp = PlainGain::Slew(makeUp, settings.makeUp, 0.1, gainStep);
      const double m = std::pow(10.0, makeUp / 20.0);
      blend = PlainGain::Slew(blend, settings.blend, 0.001, blendStep);
      if (blend == 0.0) {
        L = dl;
        R = dr;
      } else if (blend <= 1.0) {
        L = L * gain * m * blend + dl * (1.0 - blend);
        R = R * gain * m * blend + dr * (1.0 - blend);
      }
      outL[i] = float(L);
      outR[i] = float(R);
      const double sample = std::max(L, R);
      windowPeak = std::min(std::max(windowPeak, sample), 1.0);
      held = std::min(held, 1.0);
      if (++count == 512) {
        held = windowPeak > held ? windowPeak : std::max(1e-4, held - 0.075 * (held - windowPeak));
        levelMeter = 20.0 * std::log10(held) / 60.0 + 1.0;
        grMeter = 20.0 * std::log10(std::max(grPeak, 1e-4)) / 20.0 + 1.0;
        grPeak = 1.0;
        windowPeak = 0.0;
        count = 0;
      }
    }
  }

  double levelMeter = 0.0, grMeter = 1.0;

private:
  Settings settings;
  double k[CComp::kNumCoefficients] = {};
  double inputGain = 0.0, makeUp = 0.0, blend = 0.5;
  PlainGain curve;
  double grPeak = 1.0, windowPeak = 0.0, held = 0.0;
  int count = 0;
};

// A bundle in the test host, active on 32-bit blocks.
struct HostedPlugin {
  std::unique_ptr<Module> module;
  std::unique_ptr<Plugin> plugin;

  bool Open(const std::string& bundle, std::string& error) {
    module = Module::load(bundle, error);
    if (!module)
      return false;
    const auto cls = module->findClass(kVstAudioEffectClass);
    if (!cls) {
      error = "no audio module class";
      return false;
    }
    plugin = Plugin::create(*module, cls->cid, error);
    return plugin && plugin->activate(kRate, kBlock, kSample32).setActive == kResultOk;
  }
  ~HostedPlugin() {
    plugin.reset();
    module.reset();
  }

  // Sets a parameter by its title, in plain units.
  bool Set(const std::u16string& title, double plain) {
    for (const ParameterInfo& info : plugin->parameters()) {
      if (fieldText(info.title, 128) == title) {
        plugin->setParameter(info.id, plugin->controller()->plainParamToNormalized(info.id, plain));
        return true;
      }
    }
    return false;
  }
};

// Runs the programme through in blocks, copying each block into the host's input buffers as
// a host's engine would.
template <class ProcessBlock>
void RunProgramme(benchmark::State& state, int channels, ProcessBlock processBlock) {
  const Material& m = Programme();
  size_t pos = 0;
  for (auto _ : state) {
    const size_t n = std::min(size_t(kBlock), m.l.size() - pos);
    processBlock(m.l.data() + pos, m.r.data() + pos, int32(n));
    pos = (pos + n) % m.l.size();
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kBlock);
  state.counters["channels"] = channels;
}

void BM_Orvane(benchmark::State& state) {
  HostedPlugin hosted;
  std::string error;
  if (!hosted.Open(ORVANE_COMPRESSOR_BUNDLE, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  const Settings s;
  hosted.Set(u"Threshold", s.threshold);
  hosted.Set(u"Ratio", s.ratio);
  hosted.Set(u"Attack", s.attack);
  hosted.Set(u"Release", s.release);
  hosted.Set(u"MakeUpGain", s.makeUp);
  hosted.Set(u"AutoRelease", 1);
  Plugin& p = *hosted.plugin;
  float* inL = p.input<float>(0, 0);
  float* inR = p.input<float>(0, 1);
  RunProgramme(state, 2, [&](const float* l, const float* r, int32 n) {
    std::copy_n(l, n, inL);
    std::copy_n(r, n, inR);
    p.process(n);
    benchmark::DoNotOptimize(p.output<float>(0, 0)[0]);
  });
}

void BM_Plain(benchmark::State& state) {
  PlainCompressor plain{Settings{}};
  std::vector<float> inL(kBlock), inR(kBlock), outL(kBlock), outR(kBlock);
  RunProgramme(state, 2, [&](const float* l, const float* r, int32 n) {
    std::copy_n(l, n, inL.data());
    std::copy_n(r, n, inR.data());
    plain.Process(inL.data(), inR.data(), outL.data(), outR.data(), n);
    benchmark::DoNotOptimize(outL.data());
    benchmark::ClobberMemory();
  });
}

void BM_Zam(benchmark::State& state, const char* bundle) {
  if (!std::filesystem::exists(bundle)) {
    state.SkipWithError("zam-plugins is not installed");
    return;
  }
  HostedPlugin hosted;
  std::string error;
  if (!hosted.Open(bundle, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  hosted.Set(u"Threshold", -30);
  hosted.Set(u"Ratio", 4);
  hosted.Set(u"Makeup", 6);
  hosted.Set(u"Stereo Detection", 1); // the louder channel (ZamCompX2 only)
  Plugin& p = *hosted.plugin;
  // The main bus takes the left channel, and the right when it has two; any further input bus
  // (a side chain) stays silent.
  const int channels = hosted.plugin->buses().audioInputs.empty()
                           ? 1
                           : int(hosted.plugin->buses().audioInputs[0].channelCount);
  RunProgramme(state, channels, [&](const float* l, const float* r, int32 n) {
    for (int c = 0; c < channels; ++c)
      std::copy_n(c == 0 ? l : r, n, p.input<float>(0, size_t(c)));
    p.process(n);
    benchmark::DoNotOptimize(p.output<float>(0, 0)[0]);
  });
}

BENCHMARK(BM_Orvane);
BENCHMARK(BM_Plain);
BENCHMARK_CAPTURE(BM_Zam, ZamCompX2, kZamCompX2);
BENCHMARK_CAPTURE(BM_Zam, ZamComp, kZamComp);

// Prints the usual table, then per frame and per channel-sample, and the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (!benchruns::StandsForItsBenchmark(run) || run.error_occurred)
        continue;
      const auto ch = run.counters.find("channels");
      const double channels = ch == run.counters.end() ? 1.0 : double(ch->second);
      // CPU time of the one benchmark thread: what the block costs, however busy the machine.
      const double perFrame = run.GetAdjustedCPUTime() / kBlock;
      results[run.run_name.str()] = {perFrame, perFrame / channels};
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-18s %12s %16s\n", "plug-in", "ns/frame", "ns/channel-sample");
    for (const auto& [name, r] : results)
      std::printf("%-18s %12.2f %16.2f\n", name.c_str(), r.perFrame, r.perSample);
    const auto orvane = results.find("BM_Orvane");
    if (orvane == results.end())
      return;
    if (const auto plain = results.find("BM_Plain"); plain != results.end())
      std::printf("Orvane / plain loop, per stereo frame:   %.3f\n",
                  orvane->second.perFrame / plain->second.perFrame);
    if (const auto zam = results.find("BM_Zam/ZamCompX2"); zam != results.end())
      std::printf("Orvane / ZamCompX2 (stereo, linked), per channel-sample: %.3f\n",
                  orvane->second.perSample / zam->second.perSample);
    if (const auto zam = results.find("BM_Zam/ZamComp"); zam != results.end())
      std::printf("Orvane / ZamComp (mono), per channel-sample:             %.3f\n",
                  orvane->second.perSample / zam->second.perSample);
  }

private:
  struct Result {
    double perFrame, perSample;
  };
  std::map<std::string, Result> results;
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
