// Audio through the pass-through: the level its gain asks for, in 32 and 64 bit, with
// sample-accurate parameter queues.
#include "tests/passthrough/PassthroughFixture.h"

#include <vector>

namespace orvane::passthrough {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

constexpr int32 kBlock = 256;

// A test signal that differs on both channels and on every sample.
double inputSample(size_t channel, int32 i) {
  return 0.5 * std::sin(0.05 * (i + 1) + static_cast<double>(channel)) + 0.001 * i / kBlock;
}

class PassthroughProcess : public PassthroughFixture {
protected:
  template <class Sample> void fillInput() {
    for (size_t ch = 0; ch < 2; ++ch) {
      Sample* in = plugin->input<Sample>(0, ch);
      ASSERT_NE(in, nullptr);
      for (int32 i = 0; i < kBlock; ++i)
        in[i] = static_cast<Sample>(inputSample(ch, i));
    }
  }

  // Checks out[i] == in[i] * factor(i) on both channels, relative to the sample type.
  template <class Sample, class Factor> void expectOutput(Factor factor) {
    const double tolerance = sizeof(Sample) == 4 ? 2e-7 : 1e-15;
    for (size_t ch = 0; ch < 2; ++ch) {
      const Sample* in = plugin->input<Sample>(0, ch);
      const Sample* out = plugin->output<Sample>(0, ch);
      for (int32 i = 0; i < kBlock; ++i) {
        const double expected = double(in[i]) * factor(i);
        ASSERT_NEAR(double(out[i]), expected, tolerance * (1.0 + std::fabs(expected)))
            << "channel " << ch << " sample " << i;
      }
    }
  }
};

struct LevelCase {
  int32 sampleSize;
  double gainDb;
  bool invert;
};

class PassthroughLevel : public PassthroughProcess,
                         public ::testing::WithParamInterface<LevelCase> {};

TEST_P(PassthroughLevel, OutputIsInputAtTheGainsLevel) {
  const LevelCase c = GetParam();
  const testhost::ActivationResults r = plugin->activate(48000, kBlock, c.sampleSize);
  ASSERT_EQ(r.setupProcessing, kResultOk);
  ASSERT_EQ(r.setBusArrangements, kResultOk);
  ASSERT_EQ(r.setActive, kResultOk);
  plugin->setParameter(kGainId, normalizedFromGainDb(c.gainDb));
  plugin->setParameter(kInvertId, c.invert ? 1.0 : 0.0);
  const double factor = linearGain(c.gainDb) * (c.invert ? -1.0 : 1.0);
  if (c.sampleSize == kSample64) {
    fillInput<double>();
    ASSERT_EQ(plugin->process(kBlock), kResultOk);
    expectOutput<double>([&](int32) { return factor; });
  } else {
    fillInput<float>();
    ASSERT_EQ(plugin->process(kBlock), kResultOk);
    expectOutput<float>([&](int32) { return factor; });
  }
}

INSTANTIATE_TEST_SUITE_P(
    Levels, PassthroughLevel,
    ::testing::Values(LevelCase{kSample32, 0.0, false}, LevelCase{kSample32, -6.0, false},
                      LevelCase{kSample32, 12.0, false}, LevelCase{kSample32, -60.0, false},
                      LevelCase{kSample32, -6.0, true}, LevelCase{kSample64, 0.0, false},
                      LevelCase{kSample64, -6.0, false}, LevelCase{kSample64, 12.0, true},
                      LevelCase{kSample64, -60.0, false}));

TEST_F(PassthroughProcess, DefaultsPassTheSignalUnchanged) {
  plugin->activate(44100, kBlock);
  fillInput<float>();
  ASSERT_EQ(plugin->process(kBlock), kResultOk);
  expectOutput<float>([](int32) { return 1.0; });
}

TEST_F(PassthroughProcess, QueuePointsTakeEffectAtTheirOffsets) {
  plugin->activate(48000, kBlock, kSample64);
  fillInput<double>();
  testhost::ParameterChanges& changes = plugin->inputChanges();
  changes.add(kGainId, 0, normalizedFromGainDb(0.0));
  changes.add(kGainId, 64, normalizedFromGainDb(-6.0));
  changes.add(kGainId, 200, normalizedFromGainDb(6.0));
  changes.add(kInvertId, 128, 1.0);
  ASSERT_EQ(plugin->process(kBlock), kResultOk);
  expectOutput<double>([](int32 i) {
    const double gain = i < 64 ? 1.0 : (i < 200 ? linearGain(-6.0) : linearGain(6.0));
    return i < 128 ? gain : -gain;
  });

  // The last values hold into the next block.
  fillInput<double>();
  ASSERT_EQ(plugin->process(kBlock), kResultOk);
  expectOutput<double>([](int32) { return -linearGain(6.0); });
}

TEST_F(PassthroughProcess, EmptyAndPartialBlocksAreFine) {
  plugin->activate(48000, kBlock);
  EXPECT_EQ(plugin->process(0), kResultOk);
  // A block with only a parameter change and no audio (as hosts flush parameters).
  plugin->inputChanges().add(kGainId, 0, normalizedFromGainDb(-6.0));
  EXPECT_EQ(plugin->process(0), kResultOk);
  fillInput<float>();
  EXPECT_EQ(plugin->process(kBlock), kResultOk);
  expectOutput<float>([](int32) { return linearGain(-6.0); });
}

TEST_F(PassthroughProcess, BusArrangementsAreStereoOrMonoOnBothSides) {
  IAudioProcessor* processor = plugin->processor();
  SpeakerArrangement mono = SpeakerArr::kMono;
  SpeakerArrangement stereo = SpeakerArr::kStereo;
  SpeakerArrangement surround = SpeakerArr::k51;
  EXPECT_EQ(processor->setBusArrangements(&mono, 1, &stereo, 1), kResultFalse);
  EXPECT_EQ(processor->setBusArrangements(&surround, 1, &surround, 1), kResultFalse);
  SpeakerArrangement arr = 0;
  processor->getBusArrangement(kOutput, 0, arr);
  EXPECT_EQ(arr, SpeakerArr::kStereo); // unchanged by the refusals
  EXPECT_EQ(processor->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
  BusInfo info{};
  ASSERT_EQ(plugin->component()->getBusInfo(kAudio, kInput, 0, info), kResultOk);
  EXPECT_EQ(info.channelCount, 1);
  EXPECT_EQ(plugin->component()->getBusInfo(kAudio, kInput, 1, info), kInvalidArgument);
  EXPECT_EQ(plugin->component()->getBusInfo(kEvent, kInput, 0, info), kInvalidArgument);
}

TEST_F(PassthroughProcess, ParametersDescribeThemselves) {
  const auto params = plugin->parameters();
  ASSERT_EQ(params.size(), 2u);
  EXPECT_EQ(params[0].id, kGainId);
  EXPECT_EQ(std::u16string(params[0].title), u"Gain");
  EXPECT_EQ(std::u16string(params[0].units), u"dB");
  EXPECT_EQ(params[0].stepCount, 0);
  EXPECT_DOUBLE_EQ(params[0].defaultNormalizedValue, 60.0 / 72.0);
  EXPECT_EQ(params[0].flags, ParameterInfo::kCanAutomate);
  EXPECT_EQ(params[1].id, kInvertId);
  EXPECT_EQ(std::u16string(params[1].title), u"Invert");
  EXPECT_EQ(params[1].stepCount, 1);

  IEditController* c = plugin->controller();
  EXPECT_DOUBLE_EQ(c->normalizedParamToPlain(kGainId, 0.5), -24.0);
  EXPECT_DOUBLE_EQ(c->plainParamToNormalized(kGainId, 0.0), 60.0 / 72.0);
  EXPECT_DOUBLE_EQ(c->plainParamToNormalized(kGainId, 100.0), 1.0);

  String128 text;
  ASSERT_EQ(c->getParamStringByValue(kGainId, normalizedFromGainDb(-6.0), text), kResultOk);
  EXPECT_EQ(std::u16string(text), u"-6.0");
  ASSERT_EQ(c->getParamStringByValue(kInvertId, 1.0, text), kResultOk);
  EXPECT_EQ(std::u16string(text), u"On");
  ParamValue value = -1;
  TChar entered[] = u"-12";
  ASSERT_EQ(c->getParamValueByString(kGainId, entered, value), kResultOk);
  EXPECT_DOUBLE_EQ(value, normalizedFromGainDb(-12.0));
  TChar nonsense[] = u"loud";
  EXPECT_EQ(c->getParamValueByString(kGainId, nonsense, value), kResultFalse);
  EXPECT_EQ(c->setParamNormalized(7, 0.5), kInvalidArgument);
}

TEST_F(PassthroughProcess, ProcessorTellsTheControllerWhenItIsSwitchedOn) {
  plugin.reset();
  testhost::PluginOptions options;
  options.recordMessages = true;
  plugin = makePlugin(options);
  plugin->activate(96000, kBlock);
  testhost::HostLog& log = plugin->log();
  ASSERT_EQ(log.messages.size(), 1u);
  EXPECT_EQ(log.messages[0].id, kActivatedMessage);
  EXPECT_EQ(log.messages[0].direction, testhost::RecordedMessage::Direction::ToController);
  EXPECT_EQ(std::get<double>(log.messages[0].attributes.at("sampleRate")), 96000.0);
  EXPECT_EQ(log.messages[0].answer, kResultOk); // the controller took it
  EXPECT_EQ(log.messagesCreated, 1);
}

} // namespace
} // namespace orvane::passthrough
