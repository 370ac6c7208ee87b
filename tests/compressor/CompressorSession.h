// The built OrvaneCompressor.vst3 loaded in the VST 3 test host, as a Linux host loads it,
// with both halves created, connected and active: the fixture of the bundle tests and of the
// runner the Python checks drive.
#pragma once

#include "Projects/compressor/OrvaneCompressorParamIDs.h"
#include "tests/hosts/vst3/Plugin.h"

#include <memory>
#include <string>
#include <vector>

namespace compressor_test {

using namespace orvane::testhost;
using namespace Steinberg;
using namespace Steinberg::Vst;

class CompressorSession {
public:
  // Null, with the reason in error, when the bundle does not load or activate.
  static std::unique_ptr<CompressorSession> open(const std::string& bundle, std::string& error,
                                                 int32 sampleSize = kSample64,
                                                 double rate = 48000.0, int32 maxBlock = 512,
                                                 PluginOptions options = {}) {
    auto s = std::unique_ptr<CompressorSession>(new CompressorSession);
    s->module = Module::load(bundle, error);
    if (!s->module)
      return nullptr;
    const auto cls = s->module->findClass(kVstAudioEffectClass);
    if (!cls) {
      error = "no audio module class";
      return nullptr;
    }
    s->plugin = Plugin::create(*s->module, cls->cid, error, options);
    if (!s->plugin)
      return nullptr;
    const ActivationResults r = s->plugin->activate(rate, maxBlock, sampleSize);
    if (r.setActive != kResultOk || r.setProcessing != kResultOk) {
      error = "activation failed";
      return nullptr;
    }
    s->maxBlock = maxBlock;
    return s;
  }

  ~CompressorSession() {
    plugin.reset(); // before its module
    module.reset();
  }

  Plugin& host() { return *plugin; }

  // A plain value, as Ardour sets VST 3 parameters: normalised by the controller, then to
  // both halves.
  void setPlain(ParamID id, double plain) {
    plugin->setParameter(id, plugin->controller()->plainParamToNormalized(id, plain));
  }

  // Runs `in` (two channels of equal length) through in blocks of maxBlock; returns the
  // output. Parameter changes queued before go with the first block.
  std::vector<std::vector<double>> run(const std::vector<std::vector<double>>& in) {
    const size_t n = in[0].size();
    std::vector<std::vector<double>> out(2, std::vector<double>(n));
    for (size_t pos = 0; pos < n; pos += size_t(maxBlock)) {
      const size_t count = std::min(n - pos, size_t(maxBlock));
      for (size_t c = 0; c < 2; ++c)
        std::copy_n(in[c].data() + pos, count, plugin->input<double>(0, c));
      plugin->process(int32(count));
      for (size_t c = 0; c < 2; ++c)
        std::copy_n(plugin->output<double>(0, c), count, out[c].data() + pos);
    }
    return out;
  }

  int32 blockSize() const { return maxBlock; }

private:
  CompressorSession() = default;
  std::unique_ptr<Module> module;
  std::unique_ptr<Plugin> plugin;
  int32 maxBlock = 512;
};

// One process call on buffers of the caller's own (64-bit), so that a test can hand the
// plug-in the very buffers it wants: the same one as input and output, for instance.
inline tresult processBuffers(IAudioProcessor* processor, double** inputs, double** outputs,
                              int32 channels, int32 frames) {
  AudioBusBuffers in{};
  in.numChannels = channels;
  in.channelBuffers64 = inputs;
  AudioBusBuffers out{};
  out.numChannels = channels;
  out.channelBuffers64 = outputs;
  ProcessData data{};
  data.processMode = kRealtime;
  data.symbolicSampleSize = kSample64;
  data.numSamples = frames;
  data.numInputs = 1;
  data.numOutputs = 1;
  data.inputs = &in;
  data.outputs = &out;
  return processor->process(data);
}

} // namespace compressor_test
