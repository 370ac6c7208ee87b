// The VST 3 face's audio thread, for both shipped plug-ins from their built bundles: with a
// host's own pre-made change lists and buffers, no block allocates, locks or changes the
// caller's floating-point mode: from the first block after activation, with changes of every
// parameter at several offsets in every block, the bypass switched on and off, a state
// restored while processing, blocks longer than the set-up size, 32 and 64 bit, mono and
// stereo.
#include "AuditSupport.h"
#include "support/AllocationCounter.h"

#include "public.sdk/source/vst/hosting/eventlist.h"
#include "public.sdk/source/vst/hosting/parameterchanges.h"
#include "tests/hosts/vst3/MemoryStream.h"
#include "tests/hosts/vst3/Module.h"
#include "tests/hosts/vst3/Plugin.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using orvane::testhost::MemoryStream;
using orvane::testhost::Module;
using orvane::testhost::Plugin;

struct Shipped {
  const char* name;
  const char* bundle;
  FUID processor;
};

const Shipped kShipped[] = {
    {"OrvaneEQ", ORVANE_EQ_BUNDLE, FUID(0x834D36AA, 0x9E944C5D, 0xA84EE95B, 0xD4FA43A0)},
    {"OrvaneCompressor", ORVANE_COMPRESSOR_BUNDLE,
     FUID(0x1887D1AD, 0x82174BDA, 0xB55C9797, 0xDF13213E)},
};

// Plug-in, sample size, channels.
using Row = std::tuple<int, int32, int32>;

class Vst3Audit : public ::testing::TestWithParam<Row> {
protected:
  void SetUp() override {
    const Shipped& shipped = kShipped[std::get<0>(GetParam())];
    std::string error;
    module = Module::load(shipped.bundle, error);
    ASSERT_TRUE(module) << error;
    plugin = Plugin::create(*module, shipped.processor, error);
    ASSERT_TRUE(plugin) << error;
  }
  void TearDown() override {
    plugin.reset();
    module.reset();
  }

  std::unique_ptr<Module> module;
  std::unique_ptr<Plugin> plugin;
};

template <class Sample> struct Buffers {
  std::vector<std::vector<Sample>> in, out;
  std::vector<Sample*> inPtrs, outPtrs;
  explicit Buffers(int32 channels)
      : in(size_t(channels), std::vector<Sample>(audit::kMaxLength)),
        out(size_t(channels), std::vector<Sample>(audit::kMaxLength)) {
    for (int32 c = 0; c < channels; ++c) {
      inPtrs.push_back(in[size_t(c)].data());
      outPtrs.push_back(out[size_t(c)].data());
    }
  }
};

template <class Sample> void RunBlocks(Plugin& plugin, int32 sampleSize, int32 channels) {
  plugin.activate(audit::kRate, audit::kSetupBlock, sampleSize);
  IComponent* component = plugin.component();
  IAudioProcessor* processor = plugin.processor();
  // The arrangement under test, as a host sets it before activating.
  processor->setProcessing(false);
  component->setActive(false);
  SpeakerArrangement arrangement = channels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
  ASSERT_EQ(processor->setBusArrangements(&arrangement, 1, &arrangement, 1), kResultTrue);
  ProcessSetup setup{kRealtime, sampleSize, audit::kSetupBlock, audit::kRate};
  ASSERT_EQ(processor->setupProcessing(setup), kResultOk);

  // A state to restore later, with other values than those playing then.
  const std::vector<uint8_t> saved = plugin.processorState();
  auto restoreStream = std::make_unique<MemoryStream>(saved);

  std::vector<ParamID> ids;
  for (const ParameterInfo& info : plugin.parameters())
    ids.push_back(info.id);
  ASSERT_FALSE(ids.empty());

  ParameterChanges inChanges(int32(ids.size()), audit::kPointsPerBlock);
  ParameterChanges outChanges(int32(ids.size()), audit::kPointsPerBlock);
  EventList inEvents, outEvents;
  Buffers<Sample> buffers(channels);
  AudioBusBuffers inBus{}, outBus{};
  inBus.numChannels = outBus.numChannels = channels;
  if constexpr (sizeof(Sample) == 4) {
    inBus.channelBuffers32 = buffers.inPtrs.data();
    outBus.channelBuffers32 = buffers.outPtrs.data();
  } else {
    inBus.channelBuffers64 = buffers.inPtrs.data();
    outBus.channelBuffers64 = buffers.outPtrs.data();
  }
  ProcessContext context{};
  context.sampleRate = audit::kRate;
  context.tempo = 120.0;
  context.state = ProcessContext::kPlaying | ProcessContext::kTempoValid;
  ProcessData data;
  data.processMode = kRealtime;
  data.symbolicSampleSize = sampleSize;
  data.numInputs = data.numOutputs = 1;
  data.inputs = &inBus;
  data.outputs = &outBus;
  data.inputParameterChanges = &inChanges;
  data.outputParameterChanges = &outChanges;
  data.inputEvents = &inEvents;
  data.outputEvents = &outEvents;
  data.processContext = &context;

  audit::CallerMode mode;
  const unsigned callerMode = audit::CallerMode::Current();
  int modeChanges = 0, results = 0, nonFinite = 0;
  long allocations = 0, locks = 0;
  int64_t position = 0;

  ASSERT_EQ(component->setActive(true), kResultOk);
  processor->setProcessing(true);
  for (int b = 0; b < audit::kBlocks; ++b) {
    if (b == audit::kRestoreBlock) {
      // The host's UI thread restores a state; the audio thread gets it at the next block.
      restoreStream->seek(0, IBStream::kIBSeekSet, nullptr);
      EXPECT_EQ(component->setState(restoreStream.get()), kResultOk);
    }
    const int32 n = audit::LengthOf(b);
    alloccount::Arm();
    for (size_t k = 0; k < ids.size(); ++k) {
      int32 index = 0;
      IParamValueQueue* queue = inChanges.addParameterData(ids[k], index);
      if (!queue)
        continue;
      for (int p = 0; p < audit::kPointsPerBlock; ++p) {
        const bool bypass = ids[k] == 0x10000;
        const double v = bypass ? (audit::Bypassed(b) ? 1.0 : 0.0) : audit::ValueOf(b, int(k), p);
        int32 point = 0;
        queue->addPoint(audit::OffsetOf(p, n), v, point);
      }
    }
    for (int32 c = 0; c < channels; ++c)
      for (int32 i = 0; i < n; ++i)
        buffers.in[size_t(c)][size_t(i)] = Sample(audit::Signal(position + i, c));
    data.numSamples = n;
    context.projectTimeSamples = position;
    outChanges.clearQueue();
    results += processor->process(data) == kResultOk;
    modeChanges += audit::CallerMode::Current() != callerMode;
    inChanges.clearQueue();
    inEvents.clear();
    outEvents.clear();
    alloccount::Disarm();
    allocations += alloccount::Allocations();
    locks += alloccount::Locks();
    for (int32 c = 0; c < channels; ++c)
      for (int32 i = 0; i < n; ++i)
        nonFinite += !std::isfinite(double(buffers.out[size_t(c)][size_t(i)]));
    position += n;
  }
  EXPECT_EQ(results, audit::kBlocks);
  EXPECT_EQ(allocations, 0);
  EXPECT_EQ(locks, 0);
  EXPECT_EQ(modeChanges, 0);
  EXPECT_EQ(nonFinite, 0);
}

TEST_P(Vst3Audit, NoBlockAllocatesLocksOrLeavesItsFloatingPointMode) {
  const int32 sampleSize = std::get<1>(GetParam());
  const int32 channels = std::get<2>(GetParam());
  if (sampleSize == kSample32)
    RunBlocks<float>(*plugin, sampleSize, channels);
  else
    RunBlocks<double>(*plugin, sampleSize, channels);
}

// The counter sees what the bundle allocates, so its zero above means something.
TEST_P(Vst3Audit, TheCounterSeesTheBundlesAllocations) {
  FUnknown* made = nullptr;
  const Shipped& shipped = kShipped[std::get<0>(GetParam())];
  alloccount::Arm();
  const tresult result =
      module->factory()->createInstance(shipped.processor.toTUID(), IComponent::iid, (void**)&made);
  alloccount::Disarm();
  ASSERT_EQ(result, kResultOk);
  made->release();
  EXPECT_GT(alloccount::Allocations(), 0);
}

std::string RowName(const ::testing::TestParamInfo<Row>& info) {
  return std::string(kShipped[std::get<0>(info.param)].name) +
         (std::get<1>(info.param) == kSample32 ? "_32bit" : "_64bit") +
         (std::get<2>(info.param) == 1 ? "_mono" : "_stereo");
}

INSTANTIATE_TEST_SUITE_P(Shipped, Vst3Audit,
                         ::testing::Combine(::testing::Values(0, 1),
                                            ::testing::Values(kSample32, kSample64),
                                            ::testing::Values(1, 2)),
                         RowName);

} // namespace
