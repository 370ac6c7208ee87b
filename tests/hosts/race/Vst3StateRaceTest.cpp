// Both shipped plug-ins from their built bundles, with the host's threads at work at once as
// real hosts have them: the audio thread processes blocks whose bypass is automated, while
// another thread restores and saves the processor state and hands processor states to the
// controller. Under ThreadSanitizer any data race fails the run; everywhere, every state
// saved in the middle of it is one that was restored (never a mix of two), and after it a
// state set while active reaches the audio thread at the next block.
#include "tests/hosts/race/StateImages.h"
#include "tests/hosts/vst3/MemoryStream.h"
#include "tests/hosts/vst3/ShippedPlugins.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using orvane::testhost::LoadedPlugin;
using orvane::testhost::MemoryStream;
using orvane::testhost::Plugin;
using race::Bytes;

constexpr ParamID kBypassID = 0x10000;
constexpr int32 kBlock = 64;
constexpr int kRounds = 300;

struct Shipped {
  const char* name;
  const char* bundle;
  FUID processor;
};

const Shipped kShipped[] = {
    {"OrvaneEQ", ORVANE_EQ_BUNDLE, orvane::testhost::kEQProcessor},
    {"OrvaneCompressor", ORVANE_COMPRESSOR_BUNDLE, orvane::testhost::kCompressorProcessor},
};

Bytes GetState(IComponent& component) {
  auto* stream = new MemoryStream;
  EXPECT_EQ(component.getState(stream), kResultOk);
  Bytes bytes = stream->data();
  stream->release();
  return bytes;
}

tresult SetState(IComponent& component, const Bytes& bytes) {
  auto* stream = new MemoryStream(bytes);
  const tresult result = component.setState(stream);
  stream->release();
  return result;
}

tresult SetComponentState(IEditController& controller, const Bytes& bytes) {
  auto* stream = new MemoryStream(bytes);
  const tresult result = controller.setComponentState(stream);
  stream->release();
  return result;
}

// The stored parameters at their lowest (or highest) plain values, as the controller names
// them, in the layout of the state the processor wrote.
Bytes StateAtEdge(Plugin& plugin, const Bytes& layout, bool atMax) {
  std::vector<double> values;
  for (const ParameterInfo& info : plugin.parameters()) {
    if (info.id < kBypassID && !(info.flags & ParameterInfo::kIsReadOnly))
      values.push_back(plugin.controller()->normalizedParamToPlain(info.id, atMax ? 1.0 : 0.0));
  }
  return race::WithValues(layout, race::kVst3StateValues, values);
}

class Vst3StateRace : public ::testing::TestWithParam<int> {
protected:
  void SetUp() override {
    const Shipped& shipped = kShipped[GetParam()];
    std::string error;
    loaded = orvane::testhost::LoadPlugin(shipped.bundle, shipped.processor, error);
    ASSERT_TRUE(loaded.plugin) << error;
    plugin = loaded.plugin.get();
  }

  LoadedPlugin loaded;
  Plugin* plugin = nullptr;
};

TEST_P(Vst3StateRace, StateCallsDuringProcessingAreWholeAndRaceFree) {
  IComponent& component = *plugin->component();
  IEditController& controller = *plugin->controller();
  const Bytes initial = GetState(component);
  const Bytes low = StateAtEdge(*plugin, initial, false);
  const Bytes high = StateAtEdge(*plugin, initial, true);
  ASSERT_NE(race::ValuesOf(low, race::kVst3StateValues),
            race::ValuesOf(high, race::kVst3StateValues));
  // Restored and saved while inactive, the edges come back as they went in.
  ASSERT_EQ(SetState(component, high), kResultOk);
  ASSERT_EQ(GetState(component), high);
  ASSERT_EQ(SetState(component, low), kResultOk);
  plugin->activate(48000.0, kBlock);

  std::atomic<bool> done{false};
  std::thread audio([&] {
    // Bypass automation, on and off every few blocks, as a host plays it on this thread.
    for (int block = 0; !done.load(std::memory_order_acquire); ++block) {
      plugin->inputChanges().add(kBypassID, block % 7, (block / 3) % 2 ? 1.0 : 0.0);
      plugin->process(kBlock);
    }
  });
  std::vector<std::string> mixed;
  for (int round = 0; round < kRounds; ++round) {
    const Bytes& next = round % 2 ? low : high;
    EXPECT_EQ(SetState(component, next), kResultOk);
    EXPECT_EQ(SetComponentState(controller, next), kResultOk);
    const Bytes saved = GetState(component);
    if (!race::IsOneOf(saved, race::kVst3StateValues, {&low, &high}))
      mixed.push_back(race::Describe(saved));
  }
  done.store(true, std::memory_order_release);
  audio.join();
  EXPECT_TRUE(mixed.empty()) << mixed.size() << " saved states were no restored one, first "
                             << mixed.front();

  // Settled: a state set while active is what the processor reports, and its bypass word is
  // replaced by the automation of the next block.
  ASSERT_EQ(SetState(component, high), kResultOk);
  EXPECT_EQ(GetState(component), high);
  plugin->inputChanges().add(kBypassID, 0, 1.0);
  plugin->process(kBlock);
  const Bytes afterBlock = GetState(component);
  EXPECT_EQ(race::ValuesOf(afterBlock, race::kVst3StateValues),
            race::ValuesOf(high, race::kVst3StateValues));
  EXPECT_EQ(race::BypassWordOf(afterBlock), 1);
  plugin->deactivate();
}

INSTANTIATE_TEST_SUITE_P(Shipped, Vst3StateRace, ::testing::Values(0, 1),
                         [](const auto& info) { return std::string(kShipped[info.param].name); });

} // namespace
