// Cost of the equaliser per channel-sample (48 kHz), in one run on the same audio:
//   dsp        the plug-in's sound in process (OrvaneEQDsp: copy, six stages, gain, meter), in
//              stereo and in mono, in blocks of 32, 64 and 512 frames
//   floor      the same work done plainly for a stereo block: copy, the same sections with fixed
//              coefficients as a two-channel cascade (one channel per SSE2 lane, stage after
//              stage), then the gain and the peak; the cost the stages' arithmetic cannot go below
//   hosted     OrvaneEQ.vst3 and Debian's ZamEQ2.vst3, each loaded through our own VST 3 test
//              host and processed as a host does (32-bit buffers, parameter queues), 512 frames
// each with every stage engaged, at the default settings and with four parameters automated on
// every block. The ratios the equaliser is held to are printed after the table:
//   dsp stereo / floor                  at most 1.1 at every block size
//   dsp mono / dsp stereo (per sample)  at most 1.2
//   dsp automated / dsp static          at most 1.15
//
// Build with ORVANE_BENCH=ON; run build/release/bench/eq/orvane_eq_bench. Each benchmark runs 9
// times in random interleaving and the ratios use the medians (--benchmark_repetitions=1 for a
// quick look).

#include "Projects/eq/OrvaneEQDsp.h"
#include "Projects/eq/OrvaneEQParams.h"
#include "bench/BenchRuns.h"
#include "bench/eq/PlainSections.h"
#include "tests/hosts/vst3/Module.h"
#include "tests/hosts/vst3/Plugin.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace orvane::testhost;
using namespace Steinberg;

constexpr int kBlockSizes[] = {32, 64, 512};
constexpr int kMaxFrames = 512;
constexpr int kHostedFrames = 512;
constexpr int kChannels = 2;
constexpr double kRate = 48000.0;
const char* const kZamEQ2 = "/usr/lib/vst3/ZamEQ2.vst3";

// --- program material and settings ---------------------------------------------------------

const std::vector<double>& Source() {
  static const std::vector<double> source = [] {
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> dist(-0.5, 0.5);
    std::vector<double> v(kMaxFrames * kChannels * 64);
    for (double& x : v) {
      x = dist(rng);
    }
    return v;
  }();
  return source;
}

// Feeds the next block of the source to `fill(channel, samples)`.
class Feeder {
public:
  Feeder(int frames, int channels) : mFrames(frames), mChannels(channels) {}
  template <class F> void Next(F&& fill) {
    const std::vector<double>& source = Source();
    for (int ch = 0; ch < mChannels; ++ch) {
      fill(ch, &source[mAt]);
      mAt = (mAt + mFrames) % source.size();
    }
  }

private:
  int mFrames;
  int mChannels;
  size_t mAt = 0;
};

enum class Setting { kEngaged, kDefault, kAutomated };

// Every stage engaged: high-pass and low-pass in range, both mids and both shelves off 0 dB.
constexpr double kEngaged[kNumOrvaneEQParams] = {60,  120, 4.0,  300, -4.5,  1.4, 3000,
                                                 5.0, 2.2, 8000, 3.0, 16000, -2.0};

double DefaultValue(int i) {
  return kOrvaneEQParamSpecs[i].defaultValue;
}

// Moves, on every block, the mid frequencies and two gains over their knob travel, at the same
// speed in time whatever the block size. The positions are worked out before the timed loop
// (a cycle of kBlocks blocks), so that the loop holds the plug-in's work and none of the sweep's.
class Sweep {
public:
  static constexpr int kParams[] = {kLowMidFreq, kHiMidFreq, kLowShelfGain, kHiMidGain};
  static constexpr int kCount = 4;

  explicit Sweep(int frames) : mPositions(kBlocks * kCount) {
    for (int b = 0; b < kBlocks; ++b) {
      const double time = b * frames / 512.0; // in units of 512 frames
      for (int k = 0; k < kCount; ++k) {
        mPositions[b * kCount + k] = 0.5 + 0.5 * std::sin(0.05 * time + 1.3 * k);
      }
    }
  }
  double Position(int k) const { return mPositions[mBlock * kCount + k]; }
  void Advance() { mBlock = (mBlock + 1) % kBlocks; }

private:
  static constexpr int kBlocks = 4096;
  std::vector<double> mPositions;
  int mBlock = 0;
};

// --- in process ----------------------------------------------------------------------------

void Settle(OrvaneEQDsp& dsp, int channels, int frames) {
  std::vector<double> l(frames), r(frames);
  Feeder feed(frames, channels);
  for (int done = 0; done < 4 * 48000; done += frames) { // 4 s: every glide has arrived
    feed.Next([&](int ch, const double* s) { std::copy_n(s, frames, ch ? r.data() : l.data()); });
    const double* in[2] = {l.data(), r.data()};
    double* out[2] = {l.data(), r.data()};
    dsp.Process(in, out, channels, frames);
  }
}

std::unique_ptr<OrvaneEQDsp> MakeDsp(Setting setting, int channels, int frames) {
  auto dsp = std::make_unique<OrvaneEQDsp>();
  dsp->SetSampleRate(kRate);
  for (int i = 0; i < kNumOrvaneEQParams; ++i) {
    dsp->ApplyParam(i, setting == Setting::kDefault ? DefaultValue(i) : kEngaged[i]);
  }
  Settle(*dsp, channels, frames);
  return dsp;
}

void Automate(OrvaneEQDsp& dsp, Sweep& sweep) {
  for (int k = 0; k < Sweep::kCount; ++k) {
    const int p = Sweep::kParams[k];
    const OrvaneEQParamSpec& spec = kOrvaneEQParamSpecs[p];
    dsp.ApplyParam(p, spec.minValue + sweep.Position(k) * (spec.maxValue - spec.minValue));
  }
  sweep.Advance();
}

void BM_Dsp(benchmark::State& state, Setting setting, int channels, int frames) {
  auto dsp = MakeDsp(setting, channels, frames);
  std::vector<double> inL(frames), inR(frames), outL(frames), outR(frames);
  Feeder feed(frames, channels);
  Sweep sweep(frames);
  for (auto _ : state) {
    feed.Next(
        [&](int ch, const double* s) { std::copy_n(s, frames, ch ? inR.data() : inL.data()); });
    if (setting == Setting::kAutomated) {
      Automate(*dsp, sweep);
    }
    const double* in[2] = {inL.data(), inR.data()};
    double* out[2] = {outL.data(), outR.data()};
    dsp->Process(in, out, channels, frames);
    benchmark::DoNotOptimize(outL.data());
    benchmark::DoNotOptimize(outR.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * frames * channels);
}

// The floor of a settled stereo block: the host's inputs copied into the outputs, the engaged
// stages' sections as a two-channel cascade, then the fixed output gain and the peak.
struct PairedFloor {
  std::vector<PlainSections<PlainPair>> stages;
  double gain = 1.0;
  double peak = 0.0;

  explicit PairedFloor(const OrvaneEQDsp& dsp) {
    for (int s = 0; s < 6; ++s) {
      const CFilter& left = Stage(dsp, s, 0);
      if (!left.IsBypassed()) {
        stages.emplace_back(left, Stage(dsp, s, 1));
      }
    }
    gain = std::pow(10.0, dsp.OutputGainTarget() / 20.0);
  }
  static const CFilter& Stage(const OrvaneEQDsp& dsp, int s, int ch) {
    const CFilter* order[] = {&dsp.HighPass(ch),  &dsp.LowMid(ch),   &dsp.HighMid(ch),
                              &dsp.HighShelf(ch), &dsp.LowShelf(ch), &dsp.LowPass(ch)};
    return *order[s];
  }
  void Process(const double* inL, const double* inR, double* l, double* r, int n) {
    std::copy_n(inL, n, l);
    std::copy_n(inR, n, r);
    for (PlainSections<PlainPair>& s : stages) {
      s.Process(l, r, n);
    }
    for (double* x : {l, r}) {
      for (int i = 0; i < n; ++i) {
        const double y = x[i] * gain;
        x[i] = y;
        peak = y > peak ? y : peak;
      }
    }
  }
};

void BM_Floor(benchmark::State& state, Setting setting, int frames) {
  auto dsp = MakeDsp(setting, kChannels, frames);
  PairedFloor floor(*dsp);
  std::vector<double> inL(frames), inR(frames), outL(frames), outR(frames);
  Feeder feed(frames, kChannels);
  for (auto _ : state) {
    feed.Next(
        [&](int ch, const double* s) { std::copy_n(s, frames, ch ? inR.data() : inL.data()); });
    floor.Process(inL.data(), inR.data(), outL.data(), outR.data(), frames);
    benchmark::DoNotOptimize(outL.data());
    benchmark::DoNotOptimize(outR.data());
    benchmark::DoNotOptimize(floor.peak);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * frames * kChannels);
}

// The output gain at a settled -3 dB over one channel's block: 10^(g/20) for every sample, as
// against once for the block (what OrvaneEQDsp does while the gain does not move).
void BM_GainPowPerSample(benchmark::State& state) {
  std::vector<double> x(Source().begin(), Source().begin() + kHostedFrames);
  double g = -3.0;
  for (auto _ : state) {
    for (int i = 0; i < kHostedFrames; ++i) {
      benchmark::DoNotOptimize(g); // the slewed gain is reloaded every sample
      g = std::fabs(g + 3.0) < 0.1 ? -3.0 : g;
      x[i] *= std::pow(10.0, g / 20.0);
    }
    benchmark::DoNotOptimize(x.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kHostedFrames);
}

void BM_GainFactorWhenChanged(benchmark::State& state) {
  std::vector<double> x(Source().begin(), Source().begin() + kHostedFrames);
  const double g = -3.0;
  for (auto _ : state) {
    const double factor = std::pow(10.0, g / 20.0);
    for (int i = 0; i < kHostedFrames; ++i) {
      x[i] *= factor;
    }
    benchmark::DoNotOptimize(x.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kHostedFrames);
}

// --- through the test host -----------------------------------------------------------------

struct Hosted {
  std::unique_ptr<Module> module; // outlives the plug-in
  std::unique_ptr<Plugin> plugin;
  std::map<std::u16string, Vst::ParameterInfo> params;

  bool Load(const std::string& bundle, std::string& error) {
    if (!std::filesystem::exists(bundle)) {
      error = bundle + " is not there";
      return false;
    }
    module = Module::load(bundle, error);
    if (!module) {
      return false;
    }
    const auto cls = module->findClass(Vst::kVstAudioEffectClass);
    if (!cls) {
      error = "no audio class in " + bundle;
      return false;
    }
    plugin = Plugin::create(*module, cls->cid, error);
    if (!plugin) {
      return false;
    }
    for (const Vst::ParameterInfo& info : plugin->parameters()) {
      params[std::u16string(info.title)] = info;
    }
    plugin->activate(kRate, kHostedFrames);
    return true;
  }
  bool Has(const std::u16string& title) const { return params.count(title) != 0; }
  void SetPlain(const std::u16string& title, double plain) {
    const Vst::ParamID id = params.at(title).id;
    plugin->setParameter(id, plugin->controller()->plainParamToNormalized(id, plain));
  }
  void SetNormalized(const std::u16string& title, double normalized) {
    plugin->setParameter(params.at(title).id, normalized);
  }
  int Channels() const { return plugin->buses().audioInputs[0].channelCount; }
  // The next block of the source into the instance's channels, starting at `firstChannel`.
  void Fill(int ch, const double* s) {
    float* in = plugin->input<float>(0, static_cast<size_t>(ch));
    for (int i = 0; i < kHostedFrames; ++i) {
      in[i] = static_cast<float>(s[i]);
    }
  }
  void Process() { plugin->process(kHostedFrames); }
};

const std::u16string kOrvaneTitles[kNumOrvaneEQParams] = {
    u"HiPassFreq",  u"LowShelfFreq", u"LowShelfGain", u"LowMidFreq", u"LowMidGain",
    u"LowMidQ",     u"HiMidFreq",    u"HiMidGain",    u"HiMidQ",     u"HiShelfFreq",
    u"HiShelfGain", u"LowPassFreq",  u"Gain"};

void ApplyOrvane(Hosted& h, Setting setting) {
  for (int i = 0; i < kNumOrvaneEQParams; ++i) {
    h.SetPlain(kOrvaneTitles[i], setting == Setting::kDefault ? DefaultValue(i) : kEngaged[i]);
  }
}

// ZamEQ2: two peaking bands and two shelves, every one off 0 dB when engaged; the plug-in
// takes plain dB and Hz through its controller's mapping.
void ApplyZam(Hosted& h, Setting setting) {
  const bool on = setting != Setting::kDefault;
  h.SetPlain(u"Boost/Cut 1", on ? -4.5 : 0.0);
  h.SetPlain(u"Frequency 1", 300);
  h.SetPlain(u"Boost/Cut 2", on ? 5.0 : 0.0);
  h.SetPlain(u"Frequency 2", 3000);
  h.SetPlain(u"Boost/Cut L", on ? 4.0 : 0.0);
  h.SetPlain(u"Boost/Cut H", on ? 3.0 : 0.0);
  h.SetPlain(u"Master Gain", on ? -2.0 : 0.0);
}

// A stereo plug-in takes both channels in one instance; a mono one (ZamEQ2) gets one instance
// per channel, as Ardour runs it on a stereo track.
void BM_Hosted(benchmark::State& state, const std::string& bundle, bool orvane, Setting setting) {
  std::vector<std::unique_ptr<Hosted>> instances;
  std::string error;
  for (int channels = 0; channels < kChannels;) {
    auto h = std::make_unique<Hosted>();
    if (!h->Load(bundle, error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    orvane ? ApplyOrvane(*h, setting) : ApplyZam(*h, setting);
    channels += std::max(1, h->Channels());
    instances.push_back(std::move(h));
  }
  Feeder feed(kHostedFrames, kChannels);
  auto block = [&] {
    feed.Next([&](int ch, const double* s) {
      Hosted& h = *instances[instances.size() == 1 ? 0 : size_t(ch)];
      h.Fill(instances.size() == 1 ? ch : 0, s);
    });
    for (auto& h : instances) {
      h->Process();
    }
  };
  for (int b = 0; b < 400; ++b) {
    block();
  }
  Sweep sweep(kHostedFrames);
  const std::u16string orvaneSweep[] = {u"LowMidFreq", u"HiMidFreq", u"LowShelfGain", u"HiMidGain"};
  const std::u16string zamSweep[] = {u"Frequency 1", u"Frequency 2", u"Boost/Cut L",
                                     u"Boost/Cut 2"};
  for (auto _ : state) {
    if (setting == Setting::kAutomated) {
      for (auto& h : instances) {
        for (int k = 0; k < Sweep::kCount; ++k) {
          h->SetNormalized(orvane ? orvaneSweep[k] : zamSweep[k], sweep.Position(k));
        }
      }
      sweep.Advance();
    }
    block();
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kHostedFrames * kChannels);
}

const char* SettingName(Setting s) {
  return s == Setting::kEngaged ? "engaged" : s == Setting::kDefault ? "default" : "automated";
}

template <class... Args> std::string Label(const char* format, Args... args) {
  char text[128];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

std::string DspName(Setting s, int channels, int frames) {
  return Label("dsp/%s/%s/%d", channels == 2 ? "stereo" : "mono", SettingName(s), frames);
}

std::string FloorName(Setting s, int frames) {
  return Label("floor/stereo/%s/%d", SettingName(s), frames);
}

void RegisterAll() {
  for (int frames : kBlockSizes) {
    for (Setting s : {Setting::kEngaged, Setting::kDefault, Setting::kAutomated}) {
      for (int channels : {2, 1}) {
        benchmark::RegisterBenchmark(
            DspName(s, channels, frames).c_str(),
            [=](benchmark::State& st) { BM_Dsp(st, s, channels, frames); });
      }
      if (s != Setting::kAutomated) {
        benchmark::RegisterBenchmark(FloorName(s, frames).c_str(),
                                     [=](benchmark::State& st) { BM_Floor(st, s, frames); });
      }
    }
  }
  for (Setting s : {Setting::kEngaged, Setting::kDefault, Setting::kAutomated}) {
    const std::string tag = SettingName(s);
    benchmark::RegisterBenchmark(
        Label("hosted_orvane/%s", tag.c_str()).c_str(),
        [s](benchmark::State& st) { BM_Hosted(st, ORVANE_EQ_BUNDLE, true, s); });
    benchmark::RegisterBenchmark(Label("hosted_zameq2/%s", tag.c_str()).c_str(),
                                 [s](benchmark::State& st) { BM_Hosted(st, kZamEQ2, false, s); });
  }
  benchmark::RegisterBenchmark("gain/pow_per_sample", BM_GainPowPerSample);
  benchmark::RegisterBenchmark("gain/factor_when_changed", BM_GainFactorWhenChanged);
}

// Collects ns per channel-sample of every run and prints the ratios after the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (!benchruns::StandsForItsBenchmark(run)) {
        continue;
      }
      const auto it = run.counters.find("items_per_second");
      if (!run.error_occurred && it != run.counters.end() && it->second.value > 0) {
        mNs[run.run_name.str()] = 1e9 / it->second.value;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatios() const {
    std::printf("\nns per channel-sample (48 kHz), ratios of this run:\n");
    for (int frames : kBlockSizes) {
      for (Setting s : {Setting::kEngaged, Setting::kDefault}) {
        Ratio(Label("dsp stereo / floor, %s, %d frames (<= 1.1)", SettingName(s), frames),
              DspName(s, 2, frames), FloorName(s, frames));
      }
      for (Setting s : {Setting::kEngaged, Setting::kAutomated}) {
        Ratio(Label("dsp mono / dsp stereo, %s, %d frames (<= 1.2)", SettingName(s), frames),
              DspName(s, 1, frames), DspName(s, 2, frames));
      }
      Ratio(Label("dsp mono / stereo floor, engaged, %d frames", frames),
            DspName(Setting::kEngaged, 1, frames), FloorName(Setting::kEngaged, frames));
      Ratio(Label("dsp automated / static, stereo, %d frames (<= 1.15)", frames),
            DspName(Setting::kAutomated, 2, frames), DspName(Setting::kEngaged, 2, frames));
      Ratio(Label("dsp automated / static, mono, %d frames", frames),
            DspName(Setting::kAutomated, 1, frames), DspName(Setting::kEngaged, 1, frames));
    }
    for (Setting s : {Setting::kEngaged, Setting::kDefault, Setting::kAutomated}) {
      const char* tag = SettingName(s);
      Ratio(Label("hosted OrvaneEQ / hosted ZamEQ2, %s", tag), Label("hosted_orvane/%s", tag),
            Label("hosted_zameq2/%s", tag));
      Ratio(Label("dsp stereo / hosted ZamEQ2, %s, %d frames", tag, kHostedFrames),
            DspName(s, 2, kHostedFrames), Label("hosted_zameq2/%s", tag));
    }
    Ratio("gain factor when changed / pow per sample", "gain/factor_when_changed",
          "gain/pow_per_sample");
  }

private:
  void Ratio(const std::string& what, const std::string& a, const std::string& b) const {
    const auto ia = mNs.find(a), ib = mNs.find(b);
    if (ia != mNs.end() && ib != mNs.end()) {
      std::printf("  %-52s %8.3f ns vs %8.3f ns  ratio %.3f\n", what.c_str(), ia->second,
                  ib->second, ia->second / ib->second);
    }
  }

  std::map<std::string, double> mNs;
};

} // namespace

int main(int argc, char** argv) {
  RegisterAll();
  benchruns::SharedMachineArguments args(argc, argv, 9);
  benchmark::Initialize(args.Count(), args.Values());
  if (benchmark::ReportUnrecognizedArguments(*args.Count(), args.Values())) {
    return 1;
  }
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
