// Both halves of the compressor made in process through the module's own factory, with the
// test host's application, message and connection objects between them, and this binary's
// run loop on a clock the test moves: the meter road from the processor's timer to the
// controller, the mono arrangement, and the module hooks.
#include "Projects/compressor/CComp.h"
#include "Projects/compressor/OrvaneCompressorCids.h"
#include "Projects/compressor/OrvaneCompressorController.h"
#include "Projects/compressor/OrvaneCompressorModule.h"
#include "Projects/compressor/OrvaneCompressorProcessor.h"
#include "public.sdk/source/main/moduleentry.h"
#include "sdk/macos/runloop/RunLoop.h"
#include "tests/compressor/CompressorSession.h"
#include "tests/hosts/vst3/ConnectionProxy.h"
#include "tests/hosts/vst3/HostApplication.h"
#include "tests/hosts/vst3/HostMessage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

extern "C" Steinberg::IPluginFactory* PLUGIN_API GetPluginFactory();

namespace compressor_test {
namespace {

constexpr double kRate = 48000.0;
constexpr int32 kBlock = 512;
constexpr std::uint32_t kTimerMs = 40;

FUnknown* Create(const FUID& cid, const TUID iid) {
  IPluginFactory* factory = GetPluginFactory();
  void* obj = nullptr;
  factory->createInstance(cid.toTUID(), iid, &obj);
  factory->release();
  return static_cast<FUnknown*>(obj);
}

// The two halves, initialised with a host context, connected through recording proxies and
// active at 48 kHz in 64-bit. The processor's timer runs on this binary's run loop, which the
// test pumps at the times it chooses.
class Halves : public ::testing::Test {
protected:
  void SetUp() override {
    orvane::RunLoop::instance().setClock(clock.clock());
    log = std::make_shared<HostLog>();
    host = new HostApplication(u"Orvane Test Host", log);
    processor = static_cast<OrvaneCompressorProcessor*>(static_cast<IAudioProcessor*>(
        Create(OrvaneCompressor::kProcessorUID, IAudioProcessor::iid)));
    controller = static_cast<OrvaneCompressorController*>(static_cast<IEditController*>(
        Create(OrvaneCompressor::kControllerUID, IEditController::iid)));
    ASSERT_TRUE(processor && controller);
    ASSERT_EQ(processor->initialize(host), kResultOk);
    ASSERT_EQ(controller->initialize(host), kResultOk);
    toController = new ConnectionProxy(controller, RecordedMessage::Direction::ToController, log);
    toProcessor = new ConnectionProxy(processor, RecordedMessage::Direction::ToProcessor, log);
    processor->connect(toController);
    controller->connect(toProcessor);

    ProcessSetup setup{kRealtime, kSample64, kBlock, kRate};
    ASSERT_EQ(processor->setupProcessing(setup), kResultOk);
    SpeakerArrangement stereo = SpeakerArr::kStereo;
    ASSERT_EQ(processor->setBusArrangements(&stereo, 1, &stereo, 1), kResultOk);
    ActivateMainBuses(*processor);
    ASSERT_EQ(processor->setActive(true), kResultOk);
  }

  static void ActivateMainBuses(IComponent& component) {
    component.activateBus(kAudio, kInput, 0, true);
    component.activateBus(kAudio, kOutput, 0, true);
  }

  void TearDown() override {
    if (processor) {
      processor->setActive(false);
      processor->disconnect(toController);
      controller->disconnect(toProcessor);
      toController->cut();
      toProcessor->cut();
      controller->terminate();
      processor->terminate();
      controller->release();
      processor->release();
    }
    if (toController)
      toController->release();
    if (toProcessor)
      toProcessor->release();
    if (host)
      host->release();
    orvane::RunLoop::instance().setClock({});
  }

  // A plain value to the controller as a host sets it, and to the processor as its next
  // block start would apply it.
  void SetPlain(ParamID id, double plain) {
    const double normalized = controller->plainParamToNormalized(id, plain);
    controller->setParamNormalized(id, normalized);
    processor->GetParam(int(id))->SetNormalized(normalized);
    processor->OnParamChange(int(id), 0);
  }

  // Blocks of a 1 kHz sine at `amplitude` on the left, half of it on the right.
  void Play(double amplitude, int blocks) {
    std::vector<double> l(kBlock), r(kBlock), ol(kBlock), orr(kBlock);
    for (int b = 0; b < blocks; ++b) {
      for (int i = 0; i < kBlock; ++i) {
        l[size_t(i)] = amplitude * std::sin(2 * M_PI * 1000.0 * double(phase++) / kRate);
        r[size_t(i)] = 0.5 * l[size_t(i)];
      }
      double* in[2] = {l.data(), r.data()};
      double* out[2] = {ol.data(), orr.data()};
      ASSERT_EQ(processBuffers(processor, in, out, 2, kBlock), kResultOk);
    }
  }

  void Advance(std::uint64_t ms) {
    for (std::uint64_t i = 0; i < ms; ++i) {
      clock.advance(1);
      orvane::RunLoop::instance().pump();
    }
  }

  std::vector<RecordedMessage> MeterMessages() const {
    std::vector<RecordedMessage> found;
    for (const RecordedMessage& m : log->messages)
      if (m.id == "GAIN" && m.direction == RecordedMessage::Direction::ToController)
        found.push_back(m);
    return found;
  }

  static double FloatOf(const RecordedMessage& m, const char* name) {
    const auto it = m.attributes.find(name);
    if (it == m.attributes.end() || !std::holds_alternative<double>(it->second))
      return std::numeric_limits<double>::quiet_NaN();
    return std::get<double>(it->second);
  }

  orvane::ManualClock clock{5000};
  std::shared_ptr<HostLog> log;
  HostApplication* host = nullptr;
  OrvaneCompressorProcessor* processor = nullptr;
  OrvaneCompressorController* controller = nullptr;
  ConnectionProxy* toController = nullptr;
  ConnectionProxy* toProcessor = nullptr;
  long phase = 0;
};

TEST_F(Halves, TimerSendsBothMeterReadingsToTheController) {
  SetPlain(kThreshold, -50);
  SetPlain(kRatio, 10);
  Play(0.9, 40); // well over a meter window of reduction
  Advance(kTimerMs - 1);
  EXPECT_TRUE(MeterMessages().empty());
  Advance(1);
  const auto sent = MeterMessages();
  ASSERT_EQ(sent.size(), 1u);
  const double level = FloatOf(sent[0], "GAIN");
  const double reduction = FloatOf(sent[0], "GAIN_REDUCTION");
  EXPECT_EQ(level, processor->Engine().GetLevelMeter());
  EXPECT_EQ(reduction, processor->Engine().GetGainReductionMeter());
  EXPECT_EQ(sent[0].answer, kResultOk);
  // Input metering at 0.9 peak: a little under full scale; heavy reduction.
  EXPECT_NEAR(level, 20 * std::log10(0.9) / 60 + 1, 1e-9);
  EXPECT_LT(reduction, 0.9);
  EXPECT_EQ(controller->Meters().level, level);
  EXPECT_EQ(controller->Meters().gainReduction, reduction);

  Advance(3 * kTimerMs);
  EXPECT_EQ(MeterMessages().size(), 4u);
}

TEST_F(Halves, MetersStayFiniteThroughNonFiniteAndDenormalInput) {
  SetPlain(kIOMetering, 1); // the output tap sees what the engine makes of it
  std::vector<double> l(kBlock), r(kBlock), ol(kBlock), orr(kBlock);
  const double odd[] = {std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity(),
                        4.9e-324,
                        -4.9e-324,
                        1e300};
  for (int b = 0; b < 8; ++b) {
    for (int i = 0; i < kBlock; ++i) {
      l[size_t(i)] = odd[size_t(i) % std::size(odd)];
      r[size_t(i)] = odd[size_t(i + b) % std::size(odd)];
    }
    double* in[2] = {l.data(), r.data()};
    double* out[2] = {ol.data(), orr.data()};
    ASSERT_EQ(processBuffers(processor, in, out, 2, kBlock), kResultOk);
  }
  Advance(kTimerMs);
  const auto sent = MeterMessages();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_TRUE(std::isfinite(FloatOf(sent[0], "GAIN")));
  EXPECT_TRUE(std::isfinite(FloatOf(sent[0], "GAIN_REDUCTION")));
  EXPECT_TRUE(std::isfinite(controller->Meters().level));
  EXPECT_TRUE(std::isfinite(controller->Meters().gainReduction));
}

TEST_F(Halves, BypassedControllerShowsTheMetersAtRest) {
  Play(0.9, 20);
  controller->setParamNormalized(0x10000, 1.0);
  Advance(kTimerMs);
  ASSERT_EQ(MeterMessages().size(), 1u);
  EXPECT_EQ(controller->Meters().level, 0.0);
  EXPECT_EQ(controller->Meters().gainReduction, 1.0);
}

// Messages as another sender might make them: readings missing, beyond the scale or not
// finite.
TEST_F(Halves, ControllerTakesOnlyTheReadingsAMessageCarries) {
  struct Case {
    std::optional<double> level, reduction;
    double shownLevel, shownReduction;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {0.25, 0.75, 0.25, 0.75},
      {0.5, std::nullopt, 0.5, 0.75}, // no reduction: only the level meter moves
      {std::nullopt, 0.4, 0.5, 0.4},  // and the other way round
      {nan, -nan, 0.5, 0.4},          // not finite: nothing moves
      {-0.3, 1.7, -0.3, 1.7},         // beyond the scale: the controls limit the frame
      {std::numeric_limits<double>::infinity(), 0.9, -0.3, 0.9},
  };
  for (const Case& c : cases) {
    auto* message = new orvane::testhost::Message;
    message->setMessageID("GAIN");
    if (c.level)
      message->getAttributes()->setFloat("GAIN", *c.level);
    if (c.reduction)
      message->getAttributes()->setFloat("GAIN_REDUCTION", *c.reduction);
    EXPECT_EQ(controller->notify(message), kResultOk);
    message->release();
    EXPECT_EQ(controller->Meters().level, c.shownLevel);
    EXPECT_EQ(controller->Meters().gainReduction, c.shownReduction);
  }
}

TEST_F(Halves, ThresholdNeedleFollowsThresholdAndHidesForOutputMetering) {
  EXPECT_FALSE(controller->Meters().needleHidden);
  controller->setParamNormalized(kIOMetering, 1.0);
  EXPECT_TRUE(controller->Meters().needleHidden);
  controller->setParamNormalized(kIOMetering, 0.0);
  EXPECT_FALSE(controller->Meters().needleHidden);
  controller->setParamNormalized(kThreshold, 0.25);
  EXPECT_DOUBLE_EQ(controller->Meters().thresholdNeedle, 0.25);
}

// The parameters reach the engine as it expects them: blend as 0..1, the switches by their
// thresholds.
TEST_F(Halves, ParametersReachTheEngineInItsUnits) {
  SetPlain(kRatio, 7);
  SetPlain(kThreshold, -27.5);
  SetPlain(kAttack, 0.3);
  SetPlain(kRelease, 2.2);
  SetPlain(kMakeUpGain, 12);
  SetPlain(kAutoRelease, 0);
  const CComp& engine = processor->Engine();
  EXPECT_NEAR(engine.GetRatio(), 7, 1e-12);
  EXPECT_NEAR(engine.GetThreshold(), -27.5, 1e-12);
  EXPECT_NEAR(engine.GetAttack(), 0.3, 1e-12);
  EXPECT_NEAR(engine.GetRelease(), 2.2, 1e-12);
  EXPECT_NEAR(engine.GetMakeUp(), 12, 1e-12);
  EXPECT_FALSE(engine.GetAutoRelease());
  SetPlain(kAutoRelease, 1);
  EXPECT_TRUE(engine.GetAutoRelease());
}

// In the mono arrangement the engine's second channel is silence: the mono output is the
// left output of stereo with a silent right channel, sample for sample.
TEST_F(Halves, MonoSoundsLikeStereoWithASilentRightChannel) {
  SetPlain(kThreshold, -45);
  SetPlain(kRatio, 8);
  SetPlain(kMakeUpGain, 5);
  std::vector<double> signal(20 * size_t(kBlock));
  for (size_t i = 0; i < signal.size(); ++i)
    signal[i] = 0.8 * std::sin(0.013 * double(i)) * std::sin(0.0007 * double(i));

  // The stereo reference, from a second processor with the same settings.
  OrvaneCompressorProcessor stereoRef;
  ASSERT_EQ(stereoRef.initialize(host), kResultOk);
  for (int id : {kThreshold, kRatio, kMakeUpGain}) {
    stereoRef.GetParam(id)->Set(processor->GetParam(id)->Value());
    stereoRef.OnParamChange(id, 0);
  }
  ProcessSetup setup{kRealtime, kSample64, kBlock, kRate};
  SpeakerArrangement stereo = SpeakerArr::kStereo, mono = SpeakerArr::kMono;
  ASSERT_EQ(stereoRef.setupProcessing(setup), kResultOk);
  ASSERT_EQ(stereoRef.setBusArrangements(&stereo, 1, &stereo, 1), kResultOk);
  ActivateMainBuses(stereoRef);
  ASSERT_EQ(stereoRef.setActive(true), kResultOk);

  ASSERT_EQ(processor->setActive(false), kResultOk);
  ASSERT_EQ(processor->setBusArrangements(&mono, 1, &mono, 1), kResultOk);
  ActivateMainBuses(*processor);
  ASSERT_EQ(processor->setupProcessing(setup), kResultOk);
  ASSERT_EQ(processor->setActive(true), kResultOk);

  std::vector<double> silent(kBlock, 0.0), monoOut(kBlock), refL(kBlock), refR(kBlock);
  for (size_t pos = 0; pos < signal.size(); pos += size_t(kBlock)) {
    double* monoIn[1] = {signal.data() + pos};
    double* monoOuts[1] = {monoOut.data()};
    ASSERT_EQ(processBuffers(processor, monoIn, monoOuts, 1, kBlock), kResultOk);
    double* refIn[2] = {signal.data() + pos, silent.data()};
    double* refOut[2] = {refL.data(), refR.data()};
    ASSERT_EQ(processBuffers(&stereoRef, refIn, refOut, 2, kBlock), kResultOk);
    ASSERT_EQ(monoOut, refL) << pos;
  }
  stereoRef.setActive(false);
  stereoRef.terminate();
}

// ---- Module hooks and creation -------------------------------------------------------------

TEST(CompressorModule, HooksNameTheProcessorAndTheUniqueId) {
  FUID out;
  EXPECT_EQ(&GetProcessorUID(out), &out);
  EXPECT_EQ(out, FUID(0x1887D1AD, 0x82174BDA, 0xB55C9797, 0xDF13213E));
  EXPECT_EQ(GetUniqueID(), 0x6F764350); // 'ovCP'
  EXPECT_TRUE(InitModule());
  EXPECT_TRUE(DeinitModule());
}

TEST(CompressorModule, BothHalvesReportTheSameIdentity) {
  OrvaneCompressorProcessor processor;
  OrvaneCompressorController controller;
  for (const IFxBase* half :
       {static_cast<const IFxBase*>(&processor), static_cast<const IFxBase*>(&controller)}) {
    EXPECT_EQ(half->GetUniqueID(), GetUniqueID());
    EXPECT_EQ(half->GetMakerID(), 0x514E4D4B); // 'QNMK'
    EXPECT_EQ(half->GetEffectVersion(false), 0x10100);
    EXPECT_EQ(half->NParams(), 9);
    EXPECT_EQ(half->GetLatency(), 0);
  }
  EXPECT_STREQ(controller.GetSubCategory(), "Fx|Dynamics");
  EXPECT_EQ(controller.GetProcessorClass(), OrvaneCompressor::kProcessorUID);
}

} // namespace
} // namespace compressor_test
