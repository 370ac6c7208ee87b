// The wrapper object with the compressor's classes linked into the test, so that a test can
// play the plug-in's part (edits from its editor, restarts) and read what the processor got
// (its process context), which no host can see.
#include "WrapperSession.h"
#include "aax/adapter/AAX_WrapperGUI.h"
#include "framework/IFxProcessor.h"

#include "pluginterfaces/vst/ivstmessage.h"
#include "sdk/macos/runloop/RunLoop.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

class InProcess : public WrapperSession {
protected:
  const ProcessContext& ContextAfterOneBlock(const AAX_ITransport* transport) {
    aaxhost::FakeInstanceBlock block(wrapper, 2, 2, 64, 48000.0f, transport);
    aaxhost::RenderInstances(effect->components[1]->processProcs[0].proc, {&block});
    auto* processor = dynamic_cast<IFxProcessor<double>*>(wrapper->AudioProcessor());
    EXPECT_NE(processor, nullptr);
    return processor->GetProcessContext();
  }
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
  // Beyond the processor's buses: silence, not what the host's buffers held.
  for (int c = 2; c < 6; ++c)
    for (int n = 0; n < 64; ++n)
      ASSERT_EQ(block.Output(c)[n], 0.0f) << c << " " << n;
}

TEST_F(InProcess, AMonoHostBlockGivesOneChannelPointer) {
  Make(0x00000001);
  aaxhost::FakeInstanceBlock block(wrapper, 1, 1, 64, 48000.0f, nullptr);
  block.Input(0)[0] = 0.25f;
  aaxhost::RenderInstances(effect->components[0]->processProcs[0].proc, {&block});
  EXPECT_NE(block.Output(0)[0], 0.0f);
}

// The transfer timer runs on the host's main loop while the instance lives, and not a moment
// longer.
TEST_F(InProcess, TheTransferTimerGoesWithTheInstance) {
  orvane::RunLoop& loop = orvane::RunLoop::instance();
  const size_t before = loop.timerCount();
  Make();
  EXPECT_GT(loop.timerCount(), before);
  ASSERT_EQ(instance->Parameters()->UpdateParameterNormalizedValue("", 1.0, 0), AAX_SUCCESS);
  host.RunMainLoop(50); // drains the queues towards the controller
  instance.reset();
  EXPECT_EQ(loop.timerCount(), before);
  host.RunMainLoop(500); // nothing left that could call into the destroyed instance
}

// A host that cannot describe the instance gets a failure code and an instance with nothing
// made: no parameters, and render calls that write silence over the host's buffers.
TEST_F(InProcess, AHostThatCannotDescribeTheInstanceGetsAFailure) {
  struct Case {
    const char* what;
    void (*breakHost)(aaxhost::FakeAAXHost&);
    AAX_Result expected;
  };
  const Case cases[] = {
      {"no controller interface",
       [](aaxhost::FakeAAXHost& h) {
         h.Withhold(IID_Controller);
         h.Withhold(IID_Controller_V2);
       },
       AAX_ERROR_NULL_OBJECT},
      {"no sample rate", [](aaxhost::FakeAAXHost& h) { h.controller.sampleRate = 0.0f; },
       AAX_ERROR_UNIMPLEMENTED},
      {"negative sample rate", [](aaxhost::FakeAAXHost& h) { h.controller.sampleRate = -48000.0f; },
       AAX_ERROR_UNIMPLEMENTED},
  };
  for (const Case& c : cases) {
    aaxhost::FakeAAXHost broken;
    IACFUnknown* registered = nullptr;
    ASSERT_EQ(AAX_ACFRegisterPlugin(&broken, &registered, &AAXWrapper_DescribeEffects),
              AAX_SUCCESS);
    registered->Release();
    const aaxhost::FakeEffectDescriptor& description =
        *broken.factory.Collections()[0]->effects[0].second;
    c.breakHost(broken);
    {
      aaxhost::FakeEffectInstance failed(broken, description);
      EXPECT_EQ(failed.InitializeResult(), c.expected) << c.what;
      ASSERT_NE(failed.Parameters(), nullptr) << c.what;
      int32_t count = -1;
      EXPECT_EQ(failed.Parameters()->GetNumberOfParameters(&count), AAX_SUCCESS);
      EXPECT_EQ(count, 0) << c.what;
      aaxhost::FakeInstanceBlock block(failed.Parameters(), 2, 2, 64, 48000.0f, nullptr);
      block.Input(0)[0] = 0.25f;
      aaxhost::RenderInstances(description.components[1]->processProcs[0].proc, {&block});
      if (c.expected != AAX_ERROR_NULL_OBJECT) { // the stems are known: silence on both
        for (int ch = 0; ch < 2; ++ch)
          for (int n = 0; n < 64; ++n)
            ASSERT_EQ(block.Output(ch)[n], 0.0f) << c.what << " " << ch << " " << n;
      }
    }
    EXPECT_EQ(broken.OutstandingReferences(), 0) << c.what;
  }
}

} // namespace
