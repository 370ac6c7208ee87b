// Cost of the whole compressor plug-in as a host pays it: the built OrvaneCompressor.vst3 loaded
// in our VST 3 test host, 32-bit blocks of 32, 64 and 512 frames at 48 kHz, compressing, in mono
// (a mono bus arrangement) and in stereo. In the same run and on the same audio:
//   Plain      a plain loop of the same arithmetic in stereo (every factor on every frame, no
//              flushing), with the same float-to-double conversion around it, 512 frames
//   ZamCompX2  Debian's ZamCompX2 VST 3 (zam-plugins), a stereo compressor whose detector takes
//              the louder channel, as ours does: the stereo peer
//   ZamComp    Debian's ZamComp VST 3, its mono sibling: the mono peer
// all in the same test host at the same threshold, ratio and make-up, with the gains at rest
// (no parameter moves). Each benchmark runs 5 times in random interleaving and the ratios use
// the medians. The summary gives ns per frame and per channel-sample, and the ratios of one run,
// the peers compared per channel-sample; our target is at most 0.6 of the matching peer.
#include "Projects/compressor/CComp.h"
#include "Projects/compressor/OrvaneCompressorParamIDs.h"
#include "bench/compressor/PlainGain.h"
#include "pluginterfaces/vst/vstspeaker.h"
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
constexpr int32 kBlock = 512; // the largest block, and the plain loop's
constexpr int32 kBlockSizes[] = {32, 64, 512};
const char* const kZamComp = "/usr/lib/vst3/ZamComp.vst3";
const char* const kZamCompX2 = "/usr/lib/vst3/ZamCompX2.vst3";

// About ten seconds of noise bursts, sines and pauses, peaking near full scale.
struct Material {
  std::vector<float> l, r;
};

const Material& Programme() {
  static const Material m = [] {
    const size_t n = (size_t(10 * kRate) / kBlock + 1) * kBlock; // whole blocks of every size
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

  // monoBus: asks for a mono arrangement of the main buses before activating, as a host does
  // on a mono track.
  bool Open(const std::string& bundle, std::string& error, bool monoBus = false) {
    module = Module::load(bundle, error);
    if (!module)
      return false;
    const auto cls = module->findClass(kVstAudioEffectClass);
    if (!cls) {
      error = "no audio module class";
      return false;
    }
    plugin = Plugin::create(*module, cls->cid, error);
    if (!plugin)
      return false;
    if (monoBus) {
      SpeakerArrangement in = SpeakerArr::kMono, out = SpeakerArr::kMono;
      if (plugin->processor()->setBusArrangements(&in, 1, &out, 1) != kResultOk) {
        error = "the plug-in refuses a mono arrangement";
        return false;
      }
    }
    if (plugin->activate(kRate, kBlock, kSample32).setActive != kResultOk) {
      error = "activation failed";
      return false;
    }
    return true;
  }
  // Channels of the main input bus.
  int Channels() const {
    const auto& inputs = plugin->buses().audioInputs;
    return inputs.empty() ? 0 : int(inputs[0].channelCount);
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
// Every block is `frames` long: the programme's length is a multiple of each block size.
template <class ProcessBlock>
void RunProgramme(benchmark::State& state, int channels, int32 frames, ProcessBlock processBlock) {
  const Material& m = Programme();
  size_t pos = 0;
  for (auto _ : state) {
    processBlock(m.l.data() + pos, m.r.data() + pos, frames);
    pos = (pos + size_t(frames)) % m.l.size();
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * frames);
  state.counters["channels"] = channels;
  state.counters["frames"] = frames;
}

// Feeds the main input bus (the left channel, and the right when it has two) and processes.
void RunHosted(benchmark::State& state, HostedPlugin& hosted, int32 frames) {
  Plugin& p = *hosted.plugin;
  const int channels = hosted.Channels();
  RunProgramme(state, channels, frames, [&](const float* l, const float* r, int32 n) {
    for (int c = 0; c < channels; ++c)
      std::copy_n(c == 0 ? l : r, n, p.input<float>(0, size_t(c)));
    p.process(n);
    benchmark::DoNotOptimize(p.output<float>(0, 0)[0]);
  });
}

void BM_Orvane(benchmark::State& state, int channels, int32 frames) {
  HostedPlugin hosted;
  std::string error;
  if (!hosted.Open(ORVANE_COMPRESSOR_BUNDLE, error, channels == 1)) {
    state.SkipWithError(error.c_str());
    return;
  }
  if (hosted.Channels() != channels) {
    state.SkipWithError("the main bus has another channel count");
    return;
  }
  const Settings s;
  hosted.Set(u"Threshold", s.threshold);
  hosted.Set(u"Ratio", s.ratio);
  hosted.Set(u"Attack", s.attack);
  hosted.Set(u"Release", s.release);
  hosted.Set(u"MakeUpGain", s.makeUp);
  hosted.Set(u"AutoRelease", 1);
  RunHosted(state, hosted, frames);
}

void BM_Plain(benchmark::State& state) {
  PlainCompressor plain{Settings{}};
  std::vector<float> inL(kBlock), inR(kBlock), outL(kBlock), outR(kBlock);
  RunProgramme(state, 2, kBlock, [&](const float* l, const float* r, int32 n) {
    std::copy_n(l, n, inL.data());
    std::copy_n(r, n, inR.data());
    plain.Process(inL.data(), inR.data(), outL.data(), outR.data(), n);
    benchmark::DoNotOptimize(outL.data());
    benchmark::ClobberMemory();
  });
}

void BM_Zam(benchmark::State& state, const char* bundle, int32 frames) {
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
  // Any further input bus (a side chain) stays silent.
  RunHosted(state, hosted, frames);
}

std::string Name(const char* plugin, int channels, int32 frames) {
  char text[64];
  std::snprintf(text, sizeof text, "%s/%s/%d", plugin, channels == 1 ? "mono" : "stereo",
                int(frames));
  return text;
}

void RegisterAll() {
  for (const int32 frames : kBlockSizes) {
    for (const int channels : {1, 2}) {
      benchmark::RegisterBenchmark(Name("Orvane", channels, frames).c_str(),
                                   [=](benchmark::State& st) { BM_Orvane(st, channels, frames); });
      const char* peer = channels == 1 ? kZamComp : kZamCompX2;
      benchmark::RegisterBenchmark(
          Name(channels == 1 ? "ZamComp" : "ZamCompX2", channels, frames).c_str(),
          [=](benchmark::State& st) { BM_Zam(st, peer, frames); });
    }
  }
  benchmark::RegisterBenchmark("Plain/stereo/512", BM_Plain);
}

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
      const auto fr = run.counters.find("frames");
      const double frames = fr == run.counters.end() ? double(kBlock) : double(fr->second);
      const double perFrame = run.GetAdjustedCPUTime() / frames;
      results[run.run_name.str()] = {perFrame, perFrame / channels};
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-22s %12s %18s\n", "plug-in", "ns/frame", "ns/channel-sample");
    for (const auto& [name, r] : results)
      std::printf("%-22s %12.2f %18.2f\n", name.c_str(), r.perFrame, r.perSample);
    std::printf("\nOrvane / peer per channel-sample, medians of this run (target <= 0.6):\n");
    for (const int32 frames : kBlockSizes) {
      for (const int channels : {1, 2}) {
        const char* peer = channels == 1 ? "ZamComp" : "ZamCompX2";
        const auto orvane = results.find(Name("Orvane", channels, frames));
        const auto zam = results.find(Name(peer, channels, frames));
        if (orvane != results.end() && zam != results.end())
          std::printf("  %-6s %3d frames, against %-9s %.3f\n", channels == 1 ? "mono" : "stereo",
                      int(frames), peer, orvane->second.perSample / zam->second.perSample);
      }
    }
    const auto orvane = results.find(Name("Orvane", 2, kBlock));
    const auto plain = results.find("Plain/stereo/512");
    if (orvane != results.end() && plain != results.end())
      std::printf("Orvane / plain loop, stereo, 512 frames, per frame: %.3f\n",
                  orvane->second.perFrame / plain->second.perFrame);
  }

private:
  struct Result {
    double perFrame, perSample;
  };
  std::map<std::string, Result> results;
};

} // namespace

int main(int argc, char** argv) {
  RegisterAll();
  benchruns::SharedMachineArguments args(argc, argv);
  benchmark::Initialize(args.Count(), args.Values());
  if (benchmark::ReportUnrecognizedArguments(*args.Count(), args.Values()))
    return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
