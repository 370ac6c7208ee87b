// The compressor's audio through the AAX road, checked sample for sample against the VST 3
// road of the same bundle in the independent VST 3 test host, with the same settings and the
// same changes at the same blocks.
#include "AAXBundleSession.h"

namespace aax_bundle_test {
namespace {

using orvane::testhost::Module;
using orvane::testhost::Plugin;

struct Setting {
  Steinberg::Vst::ParamID id;
  double value;
};

// Settings that make the compressor work hard, and a change of threshold and ratio later on.
const std::vector<Setting> kSettings = {{0, 0.7}, {1, 0.15}, {2, 0.65}, {3, 0.3},
                                        {4, 0.4}, {6, 0.35}, {8, 0.8}};
const std::vector<Setting> kLaterChanges = {{1, 0.6}, {2, 0.2}, {5, 1.0}};
constexpr int kBlocks = 24;
constexpr int kChangeBlock = 9;

class Processing : public BundleSession {
protected:
  // The VST 3 road: stereo buses, input right channel silent when the AAX side is mono.
  std::vector<std::vector<float>> RunVst3(int aaxChannels) {
    std::string error;
    module = Module::load(kBundle, error);
    EXPECT_TRUE(module) << error;
    auto plugin = Plugin::create(*module, kProcessorUID, error);
    EXPECT_TRUE(plugin) << error;
    std::vector<std::vector<float>> out(2);
    if (!plugin)
      return out;
    plugin->activate(kRate, kBlock, Steinberg::Vst::kSample32);
    for (const Setting& s : kSettings)
      plugin->setParameter(s.id, s.value);
    for (int b = 0; b < kBlocks; ++b) {
      if (b == kChangeBlock)
        for (const Setting& s : kLaterChanges)
          plugin->setParameter(s.id, s.value);
      for (int c = 0; c < 2; ++c) {
        float* in = plugin->input<float>(0, size_t(c));
        for (int i = 0; i < kBlock; ++i)
          in[i] = c < aaxChannels ? TestSignal(int64_t(b) * kBlock + i, c) : 0.0f;
      }
      EXPECT_EQ(plugin->process(kBlock), Steinberg::kResultOk);
      for (int c = 0; c < 2; ++c) {
        const float* o = plugin->output<float>(0, size_t(c));
        out[size_t(c)].insert(out[size_t(c)].end(), o, o + kBlock);
      }
    }
    plugin.reset();
    return out;
  }

  // The AAX road: the host's automation confirms each value (UpdateParameterNormalizedValue)
  // before the block it belongs to.
  std::vector<std::vector<float>> RunAAX(int channels) {
    MakeInstance(channels);
    std::vector<std::vector<float>> out(static_cast<size_t>(channels));
    aaxhost::FakeTransportNode transport(host.transport);
    aaxhost::FakeInstanceBlock block(&Effect(), channels, channels, kBlock, kRate, &transport);
    const auto confirm = [&](const std::vector<Setting>& settings) {
      for (const Setting& s : settings)
        EXPECT_EQ(Effect().UpdateParameterNormalizedValue(std::to_string(s.id).c_str(), s.value, 0),
                  AAX_SUCCESS);
    };
    confirm(kSettings);
    for (int b = 0; b < kBlocks; ++b) {
      if (b == kChangeBlock)
        confirm(kLaterChanges);
      for (int c = 0; c < channels; ++c)
        for (int i = 0; i < kBlock; ++i)
          block.Input(c)[i] = TestSignal(int64_t(b) * kBlock + i, c);
      aaxhost::RenderInstances(ProcessProc(size_t(channels - 1)), {&block});
      for (int c = 0; c < channels; ++c)
        out[size_t(c)].insert(out[size_t(c)].end(), block.Output(c), block.Output(c) + kBlock);
    }
    return out;
  }

  std::unique_ptr<Module> module;
};

TEST_F(Processing, StereoEqualsTheVst3RoadBitForBit) {
  const auto vst3 = RunVst3(2);
  const auto aax = RunAAX(2);
  ASSERT_EQ(aax.size(), 2u);
  for (size_t c = 0; c < 2; ++c) {
    ASSERT_EQ(aax[c].size(), vst3[c].size());
    for (size_t i = 0; i < aax[c].size(); ++i)
      ASSERT_EQ(aax[c][i], vst3[c][i]) << "channel " << c << " sample " << i;
  }
  // The compressor did work: the output is not the input.
  EXPECT_NE(aax[0][3000], TestSignal(3000, 0));
}

TEST_F(Processing, MonoEqualsTheVst3LeftChannelWithASilentRight) {
  const auto vst3 = RunVst3(1);
  const auto aax = RunAAX(1);
  ASSERT_EQ(aax.size(), 1u);
  ASSERT_EQ(aax[0].size(), vst3[0].size());
  for (size_t i = 0; i < aax[0].size(); ++i)
    ASSERT_EQ(aax[0][i], vst3[0][i]) << "sample " << i;
}

// Two instances handed to one render call are each processed with their own settings.
TEST_F(Processing, TwoInstancesInOneCallKeepTheirOwnSettings) {
  MakeInstance(2);
  aaxhost::FakeEffectInstance second(host, *effect);
  ASSERT_EQ(second.InitializeResult(), AAX_SUCCESS);
  aaxhost::FakeInstanceBlock a(&Effect(), 2, 2, kBlock, kRate, nullptr);
  aaxhost::FakeInstanceBlock b(second.Parameters(), 2, 2, kBlock, kRate, nullptr);
  // The second instance is bypassed through the host's master bypass.
  ASSERT_EQ(second.Parameters()->UpdateParameterNormalizedValue("", 1.0, 0), AAX_SUCCESS);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < kBlock; ++i)
      a.Input(c)[i] = b.Input(c)[i] = TestSignal(i, c);
  ASSERT_EQ(Effect().UpdateParameterNormalizedValue("6", 1.0, 0), AAX_SUCCESS); // make-up
  aaxhost::RenderInstances(ProcessProc(), {&a, &b});
  double bypassedError = 0.0;
  double processedDifference = 0.0;
  for (int i = 0; i < kBlock; ++i) {
    bypassedError += std::fabs(b.Output(0)[i] - TestSignal(i, 0));
    processedDifference += std::fabs(a.Output(0)[i] - TestSignal(i, 0));
  }
  EXPECT_EQ(bypassedError, 0.0); // bypassed: the input
  EXPECT_GT(processedDifference, 0.01);
}

TEST_F(Processing, AnInstanceWithoutPrivateDataIsSkipped) {
  MakeInstance(2);
  aaxhost::FakeInstanceBlock block(nullptr, 2, 2, kBlock, kRate, nullptr);
  block.Input(0)[0] = 0.5f;
  aaxhost::RenderInstances(ProcessProc(), {&block});
  EXPECT_EQ(block.Output(0)[0], aaxhost::FakeInstanceBlock::StaleSample(0)); // untouched
}

} // namespace
} // namespace aax_bundle_test
