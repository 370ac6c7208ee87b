// The framework's VST 2.4 face processes through the processor exactly as the VST 3 road
// does: the same bundle through both test hosts, bit for bit, in 32 and 64 bit.
#include "tests/vst2/bare/BareVst2Fixture.h"

#include "tests/hosts/vst3/Plugin.h"
#include "tests/vst2/RenderBlocks.h"

#include <cmath>

using namespace barevst2;

namespace {

constexpr int kFrames = 256;
constexpr double kRate = 48000;

template <class Sample> Sample testSignal(int channel, int i) {
  return Sample(std::sin(0.0173 * (i + 1) * (channel + 2)) * 0.7);
}

template <class Sample> std::vector<std::vector<Sample>> renderVst3(double gain, int blocks) {
  namespace th = orvane::testhost;
  std::string error;
  auto module = th::Module::load(kBundle, error);
  EXPECT_TRUE(module) << error;
  auto plugin = th::Plugin::create(*module, bare::kProcessorUID, error);
  EXPECT_TRUE(plugin) << error;
  plugin->activate(kRate, kFrames,
                   sizeof(Sample) == 4 ? Steinberg::Vst::kSample32 : Steinberg::Vst::kSample64);
  plugin->setParameter(bare::kGain, gain);
  return vst2render::renderBlocks<Sample>(*plugin, kFrames, blocks, testSignal<Sample>);
}

template <class Sample> std::vector<std::vector<Sample>> renderVst2(float gain, int blocks) {
  auto plugin = load();
  EXPECT_TRUE(plugin);
  plugin->open(float(kRate), kFrames);
  if (sizeof(Sample) == 8) {
    EXPECT_TRUE(plugin->setPrecision64(true));
  }
  plugin->resume();
  plugin->setParameter(bare::kGain, gain);
  return vst2render::renderBlocks<Sample>(*plugin, kFrames, blocks, testSignal<Sample>);
}

} // namespace

TEST(BareVst2Process, FloatBlocksEqualTheVst3Road) {
  // 0.5 normalised is -6 dB, exact in float and double alike.
  const auto vst2 = renderVst2<float>(0.5f, 4);
  const auto vst3 = renderVst3<float>(0.5, 4);
  ASSERT_EQ(vst2, vst3);
  EXPECT_NE(vst2[0][100], 0.f);
}

TEST(BareVst2Process, DoubleBlocksEqualTheVst3Road) {
  const auto vst2 = renderVst2<double>(0.75f, 4);
  const auto vst3 = renderVst3<double>(0.75, 4);
  ASSERT_EQ(vst2, vst3);
  EXPECT_NE(vst2[1][100], 0.0);
}

TEST_F(BareVst2, BypassThroughTheHostDelaysByTheLatency) {
  plugin->resume();
  ASSERT_EQ(plugin->dispatch(effSetBypass, 0, 1), 1);
  for (int i = 0; i < kFrames; ++i)
    plugin->input<float>(0)[i] = plugin->input<float>(1)[i] = i == 0 ? 1.f : 0.f;
  plugin->process<float>(kFrames);
  for (int i = 0; i < kFrames; ++i)
    EXPECT_EQ(plugin->output<float>(0)[i], i == bare::kLatency ? 1.f : 0.f) << i;
}
