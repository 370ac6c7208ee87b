// Processing through the wrapper is processing through the VST 3 processor: the same bundle
// driven by the VST 3 test host gives the same samples, bit for bit, in 32 and 64 bit.
#include "tests/vst2/passthrough/PassthroughVst2Fixture.h"

#include "tests/hosts/vst3/Plugin.h"
#include "tests/passthrough/plugin/PassthroughIDs.h"
#include "tests/vst2/RenderBlocks.h"

#include <cmath>

using namespace passthroughvst2;

namespace {

constexpr int kFrames = 256;
constexpr double kRate = 48000;

template <class Sample> Sample testSignal(int channel, int i) {
  return Sample(std::sin(0.031 * (i + 1) * (channel + 1)) * 0.8);
}

// The VST 3 road: the same library as a VST 3 bundle, gain at `normalized`, `blocks` blocks.
template <class Sample>
std::vector<std::vector<Sample>> renderVst3(double normalized, bool invert, int blocks) {
  namespace th = orvane::testhost;
  std::string error;
  auto module = th::Module::load(kBundle, error);
  EXPECT_TRUE(module) << error;
  auto plugin = th::Plugin::create(*module, orvane::passthrough::kProcessorUID, error);
  EXPECT_TRUE(plugin) << error;
  const int32_t size = sizeof(Sample) == 4 ? Steinberg::Vst::kSample32 : Steinberg::Vst::kSample64;
  plugin->activate(kRate, kFrames, size);
  plugin->setParameter(kGain, normalized);
  plugin->setParameter(kInvert, invert ? 1.0 : 0.0);
  auto out = vst2render::renderBlocks<Sample>(*plugin, kFrames, blocks, testSignal<Sample>);
  plugin.reset();
  return out;
}

template <class Sample>
std::vector<std::vector<Sample>> renderVst2(float normalized, bool invert, int blocks) {
  auto plugin = load();
  EXPECT_TRUE(plugin);
  plugin->open(float(kRate), kFrames);
  if (sizeof(Sample) == 8) {
    EXPECT_TRUE(plugin->setPrecision64(true));
  }
  plugin->resume();
  plugin->setParameter(kGain, normalized);
  plugin->setParameter(kInvert, invert ? 1.f : 0.f);
  return vst2render::renderBlocks<Sample>(*plugin, kFrames, blocks, testSignal<Sample>);
}

} // namespace

TEST(PassthroughVst2Process, FloatBlocksEqualTheVst3Road) {
  // 0.75 normalised is -6 dB, exact in float and double alike.
  const auto vst2 = renderVst2<float>(0.75f, true, 4);
  const auto vst3 = renderVst3<float>(0.75, true, 4);
  ASSERT_EQ(vst2, vst3);
  EXPECT_NE(vst2[0][10], 0.f);
}

TEST(PassthroughVst2Process, DoubleBlocksEqualTheVst3Road) {
  const auto vst2 = renderVst2<double>(0.5f, false, 4);
  const auto vst3 = renderVst3<double>(0.5, false, 4);
  ASSERT_EQ(vst2, vst3);
  EXPECT_NE(vst2[1][10], 0.0);
}

TEST_F(PassthroughVst2, SilenceUntilResumedAndAfterSuspend) {
  plugin->open(float(kRate), kFrames);
  for (int i = 0; i < kFrames; ++i) {
    plugin->input<float>(0)[i] = 1.f;
    plugin->output<float>(0)[i] = 0.5f;
  }
  plugin->process<float>(kFrames);
  EXPECT_EQ(plugin->output<float>(0)[0], 0.f);
  plugin->resume();
  plugin->process<float>(kFrames);
  EXPECT_EQ(plugin->output<float>(0)[0], 1.f);
  plugin->suspend();
  plugin->process<float>(kFrames);
  EXPECT_EQ(plugin->output<float>(0)[0], 0.f);
}

TEST_F(PassthroughVst2, PrecisionIsChosenWhileSuspendedOnly) {
  plugin->open(float(kRate), kFrames);
  plugin->resume();
  EXPECT_FALSE(plugin->setPrecision64(true));
  plugin->suspend();
  EXPECT_TRUE(plugin->setPrecision64(true));
  EXPECT_EQ(plugin->dispatch(effSetProcessPrecision, 0, 7), 0);
}

// A host that processes more than the block size it announced gets every sample processed:
// the wrapper serves the processor in blocks it was set up for.
TEST_F(PassthroughVst2, BlocksLargerThanAnnouncedAreProcessedWhole) {
  plugin->open(float(kRate), 64, 4 * 64 + 10);
  plugin->resume();
  plugin->setParameter(kGain, 0.75f); // -6 dB
  const int frames = 4 * 64 + 10;
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < frames; ++i)
      plugin->input<float>(c)[i] = testSignal<float>(c, i);
  plugin->process<float>(frames);
  const float gain = float(std::pow(10.0, -6.0 / 20.0));
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < frames; ++i)
      ASSERT_NEAR(plugin->output<float>(c)[i], testSignal<float>(c, i) * gain, 1e-6) << i;
}
