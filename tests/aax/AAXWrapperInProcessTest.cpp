// The wrapper object with the compressor's classes linked into the test, so that a test can
// play the plug-in's part (edits from its editor, restarts) and read what the processor got
// (its process context), which no host can see.
#include "FakeEffectInstance.h"
#include "FakeInstanceBlock.h"
#include "aax/adapter/AAXWrapper_Description.h"
#include "aax/adapter/AAXWrapper_Parameters.h"
#include "aax/adapter/AAX_WrapperGUI.h"
#include "aax/library/AAX_ACFEntries.h"
#include "framework/IFxProcessor.h"

#include "pluginterfaces/vst/ivstmessage.h"
#include "sdk/macos/runloop/RunLoop.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

class InProcess : public ::testing::Test {
protected:
  void SetUp() override {
    IACFUnknown* registered = nullptr;
    ASSERT_EQ(AAX_ACFRegisterPlugin(&host, &registered, &AAXWrapper_DescribeEffects), AAX_SUCCESS);
    registered->Release();
    effect = host.factory.Collections()[0]->effects[0].second;
  }

  void Make(uint32_t stem = 0x00010002) {
    host.controller.inputStemFormat = stem;
    host.controller.outputStemFormat = stem;
    instance = std::make_unique<aaxhost::FakeEffectInstance>(host, *effect);
    ASSERT_EQ(instance->InitializeResult(), AAX_SUCCESS);
    wrapper = dynamic_cast<AAXWrapper_Parameters*>(instance->Parameters());
    ASSERT_NE(wrapper, nullptr);
  }

  void TearDown() override {
    instance.reset();
    EXPECT_EQ(host.OutstandingReferences(), 0);
  }

  const ProcessContext& ContextAfterOneBlock(const AAX_ITransport* transport) {
    aaxhost::FakeInstanceBlock block(wrapper, 2, 2, 64, 48000.0f, transport);
    aaxhost::RenderInstances(effect->components[1]->processProcs[0].proc, {&block});
    auto* processor = dynamic_cast<IFxProcessor<double>*>(wrapper->AudioProcessor());
    EXPECT_NE(processor, nullptr);
    return processor->GetProcessContext();
  }

  aaxhost::FakeAAXHost host;
  aaxhost::FakeEffectDescriptor* effect = nullptr;
  std::unique_ptr<aaxhost::FakeEffectInstance> instance;
  AAXWrapper_Parameters* wrapper = nullptr;
};

TEST_F(InProcess, AnEditGestureTouchesSetsAndReleasesAndIsNotEchoed) {
  Make();
  IEditController* controller = wrapper->EditController();
  controller->setParamNormalized(1, 0.9);
  host.log.Clear();
  EXPECT_EQ(wrapper->beginEdit(1), kResultOk);
  EXPECT_EQ(wrapper->performEdit(1, 0.25), kResultOk);
  host.automation.ConfirmPendingRequests(*instance->Parameters());
  // The host's update for the parameter under the gesture does not go back to the editor.
  wrapper->PushParameterToController("1");
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(1), 0.9);
  EXPECT_EQ(wrapper->endEdit(1), kResultOk);
  EXPECT_EQ(host.log.Matching("Automation.Post"),
            (std::vector<std::string>{
                "Automation.PostTouchRequest(1)", "Automation.PostTouchRequest(1)",
                "Automation.PostSetValueRequest(1, 0.25)", "Automation.PostReleaseRequest(1)",
                "Automation.PostCurrentValue(1, 0.25)", "Automation.PostReleaseRequest(1)"}));
  wrapper->PushParameterToController("1");
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(1), 0.25);
  // An edit of a parameter the host does not know is answered and goes nowhere.
  host.log.Clear();
  EXPECT_EQ(wrapper->beginEdit(4711), kResultOk);
  EXPECT_EQ(wrapper->performEdit(4711, 0.5), kResultOk);
  EXPECT_EQ(wrapper->endEdit(4711), kResultOk);
  EXPECT_TRUE(host.log.Matching("Automation.").empty());
}

TEST_F(InProcess, TheBypassParameterIsTheMasterBypass) {
  Make();
  Steinberg::int32 index = -1;
  ASSERT_TRUE(wrapper->IndexFromAAXID("", index));
  ParameterInfo info{};
  ASSERT_EQ(wrapper->EditController()->getParameterInfo(index, info), kResultOk);
  EXPECT_EQ(info.id, 0x10000u);
  ASSERT_TRUE(wrapper->IndexFromAAXID("8", index));
  EXPECT_EQ(index, 8);
  EXPECT_FALSE(wrapper->IndexFromAAXID("65536", index));
  EXPECT_FALSE(wrapper->IndexFromAAXID(nullptr, index));
  host.log.Clear();
  wrapper->beginEdit(0x10000);
  EXPECT_EQ(host.log.Matching("Automation.Post"),
            std::vector<std::string>{"Automation.PostTouchRequest()"});
  wrapper->endEdit(0x10000);
}

TEST_F(InProcess, AnswersAsTheHalvesHost) {
  Make();
  String128 name{};
  ASSERT_EQ(wrapper->getName(name), kResultOk);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(name)), u"ProTools");
  void* out = nullptr;
  EXPECT_EQ(wrapper->queryInterface(IComponentHandler::iid, &out), kResultOk);
  EXPECT_EQ(out, static_cast<IComponentHandler*>(wrapper));
  EXPECT_EQ(wrapper->queryInterface(IUnitHandler::iid, &out), kResultOk);
  EXPECT_EQ(out, static_cast<IUnitHandler*>(wrapper));
  EXPECT_EQ(wrapper->queryInterface(FUnknown::iid, &out), kResultOk);
  EXPECT_EQ(out, static_cast<IHostApplication*>(wrapper));
  EXPECT_EQ(wrapper->queryInterface(IMessage::iid, &out), kNoInterface);
  EXPECT_EQ(out, nullptr);
  TUID cid{};
  TUID iid;
  std::memcpy(iid, IMessage::iid.toTUID(), sizeof iid);
  ASSERT_EQ(wrapper->createInstance(cid, iid, &out), kResultOk);
  static_cast<IMessage*>(out)->release();
  std::memcpy(iid, IComponentHandler::iid.toTUID(), sizeof iid);
  EXPECT_EQ(wrapper->createInstance(cid, iid, &out), kResultFalse);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(wrapper->restartComponent(kLatencyChanged), kResultOk);
  EXPECT_EQ(host.log.Matching("Controller.SetSignalLatency").size(), 2u);
  EXPECT_EQ(wrapper->restartComponent(kMidiCCAssignmentChanged), kResultOk);
  EXPECT_EQ(wrapper->restartComponent(kParamValuesChanged), kResultFalse);
}

struct TransportCase {
  const char* what;
  std::optional<double> tempo;
  std::optional<bool> playing;
  std::optional<int64_t> ticks;
  std::optional<aaxhost::FakeTransport::Loop> loop;
  std::optional<int64_t> samples;
  uint32_t state;
  double expectedTempo;
  double quarterNotes;
  double cycleStart, cycleEnd;
  int64_t expectedSamples;
};

TEST_F(InProcess, TheTransportBecomesTheProcessContext) {
  Make();
  const uint32_t meter = ProcessContext::kTimeSigValid;
  const TransportCase cases[] = {
      {"tempo unavailable", std::nullopt, false, 0, std::nullopt, 0,
       meter | ProcessContext::kProjectTimeMusicValid, 120.0, 0.0, 0, 0, 0},
      {"one quarter note in, playing", 96.0, true, 960000, std::nullopt, 48000,
       meter | ProcessContext::kTempoValid | ProcessContext::kPlaying |
           ProcessContext::kProjectTimeMusicValid,
       96.0, 1.0, 0, 0, 48000},
      {"a loop that is on", 120.0, false, std::nullopt,
       aaxhost::FakeTransport::Loop{true, 960000 * 4, 960000 * 8}, std::nullopt,
       meter | ProcessContext::kTempoValid | ProcessContext::kCycleValid |
           ProcessContext::kCycleActive,
       120.0, 0.0, 4.0, 8.0, 0},
      {"a loop that is off", 120.0, false, 0, aaxhost::FakeTransport::Loop{false, 0, 960000 / 2}, 7,
       meter | ProcessContext::kTempoValid | ProcessContext::kCycleValid |
           ProcessContext::kProjectTimeMusicValid,
       120.0, 0.0, 0.0, 0.5, 7},
  };
  for (const TransportCase& c : cases) {
    host.transport.tempo = c.tempo;
    host.transport.playing = c.playing;
    host.transport.tickPosition = c.ticks;
    host.transport.loop = c.loop;
    host.transport.sampleLocation = c.samples;
    aaxhost::FakeTransportNode node(host.transport);
    const ProcessContext& context = ContextAfterOneBlock(&node);
    EXPECT_EQ(context.state, c.state) << c.what;
    EXPECT_EQ(context.tempo, c.expectedTempo) << c.what;
    EXPECT_EQ(context.sampleRate, 48000.0) << c.what;
    EXPECT_EQ(context.projectTimeMusic, c.quarterNotes) << c.what;
    EXPECT_EQ(context.cycleStartMusic, c.cycleStart) << c.what;
    EXPECT_EQ(context.cycleEndMusic, c.cycleEnd) << c.what;
    EXPECT_EQ(context.projectTimeSamples, c.expectedSamples) << c.what;
    EXPECT_EQ(context.timeSigNumerator, 4) << c.what;
  }
  // Without a transport node the processor gets no context at all.
  const ProcessContext& none = ContextAfterOneBlock(nullptr);
  EXPECT_EQ(none.state, 0u);
  EXPECT_EQ(none.tempo, 0.0);
}

// A host stem the plug-in has no arrangement for: the processor keeps its own buses and
// reads no more channel pointers than the host's block has.
TEST_F(InProcess, AStemOfSixChannelsGetsEmptyArrangements) {
  Make(0x00060006);
  aaxhost::FakeInstanceBlock block(wrapper, 6, 6, 64, 48000.0f, nullptr);
  for (int c = 0; c < 6; ++c)
    block.Input(c)[0] = 0.25f;
  aaxhost::RenderInstances(effect->components[1]->processProcs[0].proc, {&block});
  EXPECT_NE(block.Output(0)[0], 0.0f);
  EXPECT_NE(block.Output(1)[0], 0.0f);
  for (int c = 2; c < 6; ++c)
    EXPECT_EQ(block.Output(c)[0], 0.0f) << c; // beyond the processor's buses
}

TEST_F(InProcess, AMonoHostBlockGivesOneChannelPointer) {
  Make(0x00000001);
  aaxhost::FakeInstanceBlock block(wrapper, 1, 1, 64, 48000.0f, nullptr);
  block.Input(0)[0] = 0.25f;
  aaxhost::RenderInstances(effect->components[0]->processProcs[0].proc, {&block});
  EXPECT_NE(block.Output(0)[0], 0.0f);
}

// The transfer timer runs on the run loop while the instance lives, and not a moment longer.
TEST_F(InProcess, TheTransferTimerGoesWithTheInstance) {
  orvane::RunLoop& loop = orvane::RunLoop::instance();
  orvane::ManualClock clock(1000);
  loop.setClock(clock.clock());
  const size_t before = loop.timerCount();
  Make();
  EXPECT_GT(loop.timerCount(), before);
  ASSERT_EQ(instance->Parameters()->UpdateParameterNormalizedValue("", 1.0, 0), AAX_SUCCESS);
  clock.advance(50);
  loop.pump(); // drains the queues towards the controller
  instance.reset();
  EXPECT_EQ(loop.timerCount(), before);
  clock.advance(500);
  loop.pump(); // nothing left that could call into the destroyed instance
  loop.setClock({});
}

} // namespace
