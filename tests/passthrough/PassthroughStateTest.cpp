// State of both halves: saved, restored into a fresh instance, and bad blobs refused with
// nothing changed.
#include "tests/hosts/vst3/MemoryStream.h"
#include "tests/passthrough/PassthroughFixture.h"

#include <cstring>
#include <vector>

namespace orvane::passthrough {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

using Bytes = std::vector<std::uint8_t>;

Bytes processorBlob(double gain, double invert) {
  Bytes blob(kProcessorStateSize);
  std::memcpy(blob.data(), "OPT1", 4);
  std::memcpy(blob.data() + 4, &gain, 8);
  std::memcpy(blob.data() + 12, &invert, 8);
  return blob;
}

tresult setComponentState(IComponent* component, const Bytes& bytes) {
  auto* stream = new testhost::MemoryStream(bytes);
  const tresult result = component->setState(stream);
  stream->release();
  return result;
}

TEST_F(PassthroughFixture, StateRoundTripsIntoAFreshInstance) {
  plugin->activate(48000, 64);
  plugin->setParameter(kGainId, normalizedFromGainDb(-12.0));
  plugin->setParameter(kInvertId, 1.0);
  plugin->process(64);
  const Bytes processor = plugin->processorState();
  const Bytes controller = plugin->controllerState();
  // The layout other hosts and old sessions rely on.
  EXPECT_EQ(processor, processorBlob(normalizedFromGainDb(-12.0), 1.0));
  ASSERT_EQ(controller.size(), static_cast<size_t>(kControllerStateSize));

  auto fresh = makePlugin();
  ASSERT_TRUE(fresh);
  EXPECT_DOUBLE_EQ(fresh->parameter(kGainId), kDefaultGainNormalized);
  ASSERT_EQ(fresh->restoreState(processor, controller), kResultOk);
  EXPECT_DOUBLE_EQ(fresh->parameter(kGainId), normalizedFromGainDb(-12.0));
  EXPECT_DOUBLE_EQ(fresh->parameter(kInvertId), 1.0);
  EXPECT_EQ(fresh->processorState(), processor);

  fresh->activate(48000, 64);
  float* in = fresh->input<float>(0, 0);
  for (int i = 0; i < 64; ++i)
    in[i] = 0.25f;
  fresh->process(64);
  EXPECT_NEAR(fresh->output<float>(0, 0)[10], -0.25 * linearGain(-12.0), 1e-7);
}

TEST_F(PassthroughFixture, ControllerLearnsTheProcessorStateAtCreation) {
  // The host copies the processor's state to the controller before anything else; a changed
  // processor gives a new controller its values.
  ASSERT_EQ(setComponentState(plugin->component(), processorBlob(0.25, 0.0)), kResultOk);
  const Bytes state = plugin->processorState();
  auto second = makePlugin();
  ASSERT_EQ(second->restoreState(state, {}), kResultOk);
  EXPECT_DOUBLE_EQ(second->parameter(kGainId), 0.25);
}

TEST_F(PassthroughFixture, BadProcessorStateIsRefusedAndChangesNothing) {
  ASSERT_EQ(setComponentState(plugin->component(), processorBlob(0.5, 1.0)), kResultOk);
  const Bytes before = plugin->processorState();

  Bytes wrongMagic = processorBlob(0.2, 0.0);
  wrongMagic[0] = 'X';
  Bytes truncated = processorBlob(0.2, 0.0);
  truncated.resize(12);
  const double nan = std::nan("");
  const Bytes cases[] = {wrongMagic,
                         truncated,
                         processorBlob(nan, 0.0),
                         processorBlob(2.0, 0.0),
                         processorBlob(0.2, -1.0),
                         Bytes{}};
  for (const Bytes& bad : cases) {
    EXPECT_EQ(setComponentState(plugin->component(), bad), kResultFalse);
    EXPECT_EQ(plugin->processorState(), before);
    auto* stream = new testhost::MemoryStream(bad);
    EXPECT_EQ(plugin->controller()->setComponentState(stream), kResultFalse);
    stream->release();
  }
  EXPECT_EQ(plugin->controller()->setComponentState(nullptr), kResultFalse);
}

TEST_F(PassthroughFixture, BadControllerStateIsRefused) {
  const Bytes good = plugin->controllerState();
  Bytes huge = good;
  huge[4] = 0xFF;
  huge[5] = 0xFF;
  huge[6] = 0xFF;
  huge[7] = 0x7F; // width far beyond any screen
  Bytes shortBlob(good.begin(), good.begin() + 6);
  for (const Bytes& bad : {huge, shortBlob}) {
    auto* stream = new testhost::MemoryStream(bad);
    EXPECT_EQ(plugin->controller()->setState(stream), kResultFalse);
    stream->release();
  }
  EXPECT_EQ(plugin->controllerState(), good);
}

} // namespace
} // namespace orvane::passthrough
