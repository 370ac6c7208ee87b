// Cost of the equaliser per channel-sample (48 kHz, stereo, blocks of 512 frames), in one run
// on the same audio:
//   dsp        the plug-in's sound in process (OrvaneEQDsp: copy, six stages, gain, meter)
//   reference  a plain cascade of the same sections with fixed coefficients, in plain loops
//   hosted     OrvaneEQ.vst3 and Debian's ZamEQ2.vst3, each loaded through our own VST 3 test
//              host and processed as a host does (32-bit buffers, parameter queues)
// each with every stage engaged, at the default settings and while sweeping parameters; and
// the output gain computed per sample against computed only when it changes. The ratios are
// printed after the table.
//
// Build with ORVANE_BENCH=ON; run build/release/bench/eq/orvane_eq_bench.

#include "Projects/eq/OrvaneEQDsp.h"
#include "Projects/eq/OrvaneEQParams.h"
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

constexpr int kFrames = 512;
constexpr int kChannels = 2;
constexpr double kRate = 48000.0;
const char* const kZamEQ2 = "/usr/lib/vst3/ZamEQ2.vst3";

// --- program material and settings ---------------------------------------------------------

const std::vector<double>& Source() {
  static const std::vector<double> source = [] {
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> dist(-0.5, 0.5);
    std::vector<double> v(kFrames * kChannels * 64);
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
  template <class F> void Next(F&& fill) {
    const std::vector<double>& source = Source();
    for (int ch = 0; ch < kChannels; ++ch) {
      fill(ch, &source[mAt]);
      mAt = (mAt + kFrames) % source.size();
    }
  }

private:
  size_t mAt = 0;
};

enum class Setting { kEngaged, kDefault, kSweeping };

// Every stage engaged: high-pass and low-pass in range, both mids and both shelves off 0 dB.
constexpr double kEngaged[kNumOrvaneEQParams] = {60,  120, 4.0,  300, -4.5,  1.4, 3000,
                                                 5.0, 2.2, 8000, 3.0, 16000, -2.0};

double DefaultValue(int i) {
  return kOrvaneEQParamSpecs[i].defaultValue;
}

// Sweeps, block by block, the mid frequencies and the gains over their knob travel.
struct Sweep {
  static constexpr int kParams[] = {kLowMidFreq, kHiMidFreq, kLowShelfGain, kHiMidGain};
  int block = 0;
  double Position(int k) const { return 0.5 + 0.5 * std::sin(0.05 * block + 1.3 * k); }
};

// --- the reference: plain sections with fixed coefficients --------------------------------

struct ReferenceSection {
  int order;
  double num[7];
  double den[6];
  double state[8] = {};

  explicit ReferenceSection(const CFilter& f) : order(f.GetOrder()) { f.GetCoefficients(num, den); }

  void Process(double* x, int n) {
    const double b0 = num[0], b1 = num[1], b2 = num[2], a1 = den[1], a2 = den[2];
    const double c0 = num[3], c1 = num[4], c2 = num[5], d1 = den[4], d2 = den[5], k = num[6];
    double x1 = state[0], x2 = state[1], y1 = state[2], y2 = state[3];
    double u1 = state[4], u2 = state[5], z1 = state[6], z2 = state[7];
    for (int i = 0; i < n; ++i) {
      const double in = x[i];
      const double y = b0 * in + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
      x2 = x1, x1 = in, y2 = y1, y1 = y;
      if (order == 2) {
        x[i] = y;
      } else if (order == 3) {
        const double z = c0 * y + c1 * u1 - d1 * z1;
        u1 = y, z1 = z;
        x[i] = z;
      } else {
        const double z = c0 * y + c1 * u1 + c2 * u2 - d1 * z1 - d2 * z2;
        u2 = u1, u1 = y, z2 = z1, z1 = z;
        x[i] = in + k * z;
      }
    }
    const double out[8] = {x1, x2, y1, y2, u1, u2, z1, z2};
    std::copy(out, out + 8, state);
  }
};

// The engaged sections of one channel of a settled DSP, in its order, then a fixed gain.
struct ReferenceCascade {
  std::vector<ReferenceSection> sections;
  double gain = 1.0;

  ReferenceCascade(const OrvaneEQDsp& dsp, int ch) {
    const CFilter* stages[] = {&dsp.HighPass(ch),  &dsp.LowMid(ch),   &dsp.HighMid(ch),
                               &dsp.HighShelf(ch), &dsp.LowShelf(ch), &dsp.LowPass(ch)};
    for (const CFilter* stage : stages) {
      if (!stage->IsBypassed()) {
        sections.emplace_back(*stage);
      }
    }
    gain = std::pow(10.0, dsp.OutputGainTarget() / 20.0);
  }
  void Process(double* x, int n) {
    for (ReferenceSection& s : sections) {
      s.Process(x, n);
    }
    for (int i = 0; i < n; ++i) {
      x[i] *= gain;
    }
  }
};

// --- in process ----------------------------------------------------------------------------

void Settle(OrvaneEQDsp& dsp) {
  std::vector<double> l(kFrames), r(kFrames);
  Feeder feed;
  for (int b = 0; b < 400; ++b) { // 4 s: every glide has arrived
    feed.Next([&](int ch, const double* s) { std::copy_n(s, kFrames, ch ? r.data() : l.data()); });
    const double* in[2] = {l.data(), r.data()};
    double* out[2] = {l.data(), r.data()};
    dsp.Process(in, out, 2, kFrames);
  }
}

std::unique_ptr<OrvaneEQDsp> MakeDsp(Setting setting) {
  auto dsp = std::make_unique<OrvaneEQDsp>();
  dsp->SetSampleRate(kRate);
  for (int i = 0; i < kNumOrvaneEQParams; ++i) {
    dsp->ApplyParam(i, setting == Setting::kDefault ? DefaultValue(i) : kEngaged[i]);
  }
  Settle(*dsp);
  return dsp;
}

void BM_Dsp(benchmark::State& state, Setting setting) {
  auto dsp = MakeDsp(setting);
  std::vector<double> inL(kFrames), inR(kFrames), outL(kFrames), outR(kFrames);
  Feeder feed;
  Sweep sweep;
  for (auto _ : state) {
    feed.Next(
        [&](int ch, const double* s) { std::copy_n(s, kFrames, ch ? inR.data() : inL.data()); });
    if (setting == Setting::kSweeping) {
      for (int k = 0; k < 4; ++k) {
        const int p = Sweep::kParams[k];
        const OrvaneEQParamSpec& spec = kOrvaneEQParamSpecs[p];
        dsp->ApplyParam(p, spec.minValue + sweep.Position(k) * (spec.maxValue - spec.minValue));
      }
      ++sweep.block;
    }
    const double* in[2] = {inL.data(), inR.data()};
    double* out[2] = {outL.data(), outR.data()};
    dsp->Process(in, out, 2, kFrames);
    benchmark::DoNotOptimize(outL.data());
    benchmark::DoNotOptimize(outR.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kFrames * kChannels);
}

void BM_Reference(benchmark::State& state, Setting setting) {
  auto dsp = MakeDsp(setting);
  ReferenceCascade left(*dsp, 0), right(*dsp, 1);
  std::vector<double> outL(kFrames), outR(kFrames);
  Feeder feed;
  for (auto _ : state) {
    feed.Next(
        [&](int ch, const double* s) { std::copy_n(s, kFrames, ch ? outR.data() : outL.data()); });
    left.Process(outL.data(), kFrames);
    right.Process(outR.data(), kFrames);
    benchmark::DoNotOptimize(outL.data());
    benchmark::DoNotOptimize(outR.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kFrames * kChannels);
}

// The output gain at a settled -3 dB over one channel's block: 10^(g/20) for every sample, as
// against once for the block (what OrvaneEQDsp does while the gain does not move).
void BM_GainPowPerSample(benchmark::State& state) {
  std::vector<double> x(Source().begin(), Source().begin() + kFrames);
  double g = -3.0;
  for (auto _ : state) {
    for (int i = 0; i < kFrames; ++i) {
      benchmark::DoNotOptimize(g); // the slewed gain is reloaded every sample
      g = std::fabs(g + 3.0) < 0.1 ? -3.0 : g;
      x[i] *= std::pow(10.0, g / 20.0);
    }
    benchmark::DoNotOptimize(x.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kFrames);
}

void BM_GainFactorWhenChanged(benchmark::State& state) {
  std::vector<double> x(Source().begin(), Source().begin() + kFrames);
  const double g = -3.0;
  for (auto _ : state) {
    const double factor = std::pow(10.0, g / 20.0);
    for (int i = 0; i < kFrames; ++i) {
      x[i] *= factor;
    }
    benchmark::DoNotOptimize(x.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kFrames);
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
    plugin->activate(kRate, kFrames);
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
    for (int i = 0; i < kFrames; ++i) {
      in[i] = static_cast<float>(s[i]);
    }
  }
  void Process() { plugin->process(kFrames); }
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
  Feeder feed;
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
  Sweep sweep;
  const std::u16string orvaneSweep[] = {u"LowMidFreq", u"HiMidFreq", u"LowShelfGain", u"HiMidGain"};
  const std::u16string zamSweep[] = {u"Frequency 1", u"Frequency 2", u"Boost/Cut L",
                                     u"Boost/Cut 2"};
  for (auto _ : state) {
    if (setting == Setting::kSweeping) {
      for (auto& h : instances) {
        for (int k = 0; k < 4; ++k) {
          h->SetNormalized(orvane ? orvaneSweep[k] : zamSweep[k], sweep.Position(k));
        }
      }
      ++sweep.block;
    }
    block();
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kFrames * kChannels);
}

const char* SettingName(Setting s) {
  return s == Setting::kEngaged ? "engaged" : s == Setting::kDefault ? "default" : "sweeping";
}

void RegisterAll() {
  for (Setting s : {Setting::kEngaged, Setting::kDefault, Setting::kSweeping}) {
    const std::string tag = SettingName(s);
    benchmark::RegisterBenchmark(("dsp/" + tag).c_str(),
                                 [s](benchmark::State& st) { BM_Dsp(st, s); });
    if (s != Setting::kSweeping) {
      benchmark::RegisterBenchmark(("reference/" + tag).c_str(),
                                   [s](benchmark::State& st) { BM_Reference(st, s); });
    }
    benchmark::RegisterBenchmark(("hosted_orvane/" + tag).c_str(), [s](benchmark::State& st) {
      BM_Hosted(st, ORVANE_EQ_BUNDLE, true, s);
    });
    benchmark::RegisterBenchmark(("hosted_zameq2/" + tag).c_str(),
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
      // With repetitions the median stands for the benchmark.
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") {
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
    std::printf("\nns per channel-sample (48 kHz, stereo, 512 frames), ratios:\n");
    for (const char* s : {"engaged", "default", "sweeping"}) {
      const std::string tag = s;
      Ratio("dsp / reference cascade, " + tag, "dsp/" + tag, "reference/" + tag);
      Ratio("hosted OrvaneEQ / hosted ZamEQ2, " + tag, "hosted_orvane/" + tag,
            "hosted_zameq2/" + tag);
      Ratio("dsp / hosted ZamEQ2, " + tag, "dsp/" + tag, "hosted_zameq2/" + tag);
    }
    Ratio("dsp sweeping / dsp engaged", "dsp/sweeping", "dsp/engaged");
    Ratio("gain factor when changed / pow per sample", "gain/factor_when_changed",
          "gain/pow_per_sample");
  }

private:
  void Ratio(const std::string& what, const std::string& a, const std::string& b) const {
    const auto ia = mNs.find(a), ib = mNs.find(b);
    if (ia != mNs.end() && ib != mNs.end()) {
      std::printf("  %-48s %8.3f ns vs %8.3f ns  ratio %.3f\n", what.c_str(), ia->second,
                  ib->second, ia->second / ib->second);
    }
  }

  std::map<std::string, double> mNs;
};

} // namespace

int main(int argc, char** argv) {
  RegisterAll();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
