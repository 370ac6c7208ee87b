#include "FakeHost.h"

#include "pluginterfaces/vst/vstspeaker.h"
#include "public.sdk/source/vst/vstaudioeffect.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orvane::test {
namespace {

// A processor half with the buses a stereo effect with MIDI in has.
class StereoEffect : public AudioEffect {
public:
  StereoEffect() {
    addAudioInput(u"Main Input", SpeakerArr::kStereo);
    addAudioOutput(u"Output", SpeakerArr::kStereo);
    addAudioInput(u"Sidechain", SpeakerArr::kMono, kAux, 0);
    addEventInput(u"MIDI Input", 16);
  }
};

class ComponentBuses : public testing::Test {
protected:
  void TearDown() override { effect->release(); }
  StereoEffect* effect = new StereoEffect();
};

TEST_F(ComponentBuses, HostSeesEveryBusWithItsInfo) {
  EXPECT_EQ(effect->getBusCount(kAudio, kInput), 2);
  EXPECT_EQ(effect->getBusCount(kAudio, kOutput), 1);
  EXPECT_EQ(effect->getBusCount(kEvent, kInput), 1);
  EXPECT_EQ(effect->getBusCount(kEvent, kOutput), 0);
  EXPECT_EQ(effect->getBusCount(7, kInput), 0);

  BusInfo info{};
  ASSERT_EQ(effect->getBusInfo(kAudio, kInput, 1, info), kResultTrue);
  EXPECT_EQ(info.mediaType, kAudio);
  EXPECT_EQ(info.direction, kInput);
  EXPECT_EQ(info.channelCount, 1);
  EXPECT_EQ(info.busType, kAux);
  EXPECT_EQ(info.flags, 0u);
  EXPECT_EQ(std::u16string(info.name), u"Sidechain");

  ASSERT_EQ(effect->getBusInfo(kEvent, kInput, 0, info), kResultTrue);
  EXPECT_EQ(info.mediaType, kEvent);
  EXPECT_EQ(info.channelCount, 16);
  EXPECT_EQ(info.flags, static_cast<uint32>(BusInfo::kDefaultActive));
}

TEST_F(ComponentBuses, OutOfRangeQueriesAreRefused) {
  BusInfo info{};
  info.channelCount = 99;
  EXPECT_EQ(effect->getBusInfo(kAudio, kInput, 2, info), kInvalidArgument);
  EXPECT_EQ(effect->getBusInfo(kAudio, kInput, -1, info), kInvalidArgument);
  EXPECT_EQ(effect->getBusInfo(kAudio, 5, 0, info), kInvalidArgument);
  EXPECT_EQ(effect->getBusInfo(kEvent, kOutput, 0, info), kInvalidArgument);
  EXPECT_EQ(info.channelCount, 99);
  EXPECT_EQ(effect->activateBus(kAudio, kOutput, 1, true), kInvalidArgument);
  SpeakerArrangement arr = 42;
  EXPECT_EQ(effect->getBusArrangement(kOutput, 3, arr), kInvalidArgument);
  EXPECT_EQ(effect->getBusArrangement(9, 0, arr), kInvalidArgument);
  EXPECT_EQ(arr, 42u);
}

TEST_F(ComponentBuses, ActivateBusSwitchesOnlyThatBus) {
  EXPECT_FALSE(effect->getAudioInput(0)->isActive());
  EXPECT_EQ(effect->activateBus(kAudio, kInput, 1, true), kResultTrue);
  EXPECT_TRUE(effect->getAudioInput(1)->isActive());
  EXPECT_FALSE(effect->getAudioInput(0)->isActive());
  EXPECT_EQ(effect->activateBus(kAudio, kInput, 1, false), kResultTrue);
  EXPECT_FALSE(effect->getAudioInput(1)->isActive());
}

TEST_F(ComponentBuses, ArrangementsChangeChannelCounts) {
  SpeakerArrangement ins[] = {SpeakerArr::kMono};
  SpeakerArrangement outs[] = {SpeakerArr::kMono};
  EXPECT_EQ(effect->setBusArrangements(ins, 1, outs, 1), kResultTrue);
  BusInfo info{};
  effect->getBusInfo(kAudio, kOutput, 0, info);
  EXPECT_EQ(info.channelCount, 1);
  SpeakerArrangement arr = 0;
  EXPECT_EQ(effect->getBusArrangement(kInput, 0, arr), kResultTrue);
  EXPECT_EQ(arr, SpeakerArr::kMono);
  // The second input keeps its own arrangement when only one is given.
  effect->getBusArrangement(kInput, 1, arr);
  EXPECT_EQ(arr, SpeakerArr::kMono);
}

TEST_F(ComponentBuses, ArrangementsBeyondTheBusesChangeNothing) {
  SpeakerArrangement three[] = {SpeakerArr::kMono, SpeakerArr::kMono, SpeakerArr::kMono};
  SpeakerArrangement stereo[] = {SpeakerArr::kStereo};
  EXPECT_EQ(effect->setBusArrangements(three, 3, stereo, 1), kResultFalse);
  EXPECT_EQ(effect->setBusArrangements(stereo, 1, three, 2), kResultFalse);
  EXPECT_EQ(effect->setBusArrangements(nullptr, 1, stereo, 1), kInvalidArgument);
  EXPECT_EQ(effect->setBusArrangements(stereo, -1, stereo, 1), kInvalidArgument);
  SpeakerArrangement arr = 0;
  effect->getBusArrangement(kInput, 0, arr);
  EXPECT_EQ(arr, SpeakerArr::kStereo);
}

TEST_F(ComponentBuses, TerminateRemovesTheBuses) {
  FakeHostApplication host;
  ASSERT_EQ(effect->initialize(host.unknownCast()), kResultOk);
  ASSERT_EQ(effect->terminate(), kResultOk);
  EXPECT_EQ(effect->getBusCount(kAudio, kInput), 0);
  EXPECT_EQ(effect->getBusCount(kEvent, kInput), 0);
}

TEST(AudioEffectDefaults, SampleSizesAndSetup) {
  auto* effect = new AudioEffect();
  EXPECT_EQ(effect->canProcessSampleSize(kSample32), kResultTrue);
  EXPECT_EQ(effect->canProcessSampleSize(kSample64), kResultFalse);
  ProcessSetup setup{kRealtime, kSample64, 512, 48000.0};
  EXPECT_EQ(effect->setupProcessing(setup), kResultFalse);
  setup.symbolicSampleSize = kSample32;
  EXPECT_EQ(effect->setupProcessing(setup), kResultOk);
  EXPECT_EQ(effect->setProcessing(true), kResultOk);
  EXPECT_EQ(effect->getLatencySamples(), 0u);
  EXPECT_EQ(effect->getTailSamples(), 0u);
  effect->release();
}

TEST(ComponentControllerClass, UnsetUntilGiven) {
  auto* effect = new AudioEffect();
  TUID cid;
  EXPECT_EQ(effect->getControllerClassId(cid), kResultFalse);
  const FUID controllerClass(0x71905626, 0xB07B4FDA, 0xACF00822, 0xDC0D64C1);
  effect->setControllerClass(controllerClass);
  ASSERT_EQ(effect->getControllerClassId(cid), kResultTrue);
  EXPECT_EQ(FUID::fromTUID(cid), controllerClass);
  effect->release();
}

// A half that records the messages it is told.
class Peer : public AudioEffect {
public:
  std::vector<std::string> received;
  tresult PLUGIN_API notify(IMessage* message) override {
    if (message && message->getMessageID())
      received.push_back(message->getMessageID());
    return AudioEffect::notify(message);
  }
  tresult receiveText(const char8* text) override {
    received.push_back(std::string("text:") + text);
    return kResultOk;
  }
};

class Connection : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(a->initialize(host.unknownCast()), kResultOk);
    ASSERT_EQ(b->initialize(host.unknownCast()), kResultOk);
  }
  void TearDown() override {
    a->terminate();
    b->terminate();
    a->release();
    b->release();
  }
  FakeHostApplication host;
  Peer* a = new Peer();
  Peer* b = new Peer();
};

TEST_F(Connection, SecondInitializeIsRefused) {
  EXPECT_EQ(a->initialize(host.unknownCast()), kResultFalse);
  EXPECT_EQ(a->getHostContext(), host.unknownCast());
}

TEST_F(Connection, MessagesReachThePeerThroughTheHost) {
  ASSERT_EQ(a->connect(b), kResultOk);
  IPtr<IMessage> message = owned(a->allocateMessage());
  ASSERT_TRUE(message);
  EXPECT_EQ(host.messagesMade, 1);
  message->setMessageID("GAIN");
  message->getAttributes()->setFloat("GAIN", 0.5);
  EXPECT_EQ(a->sendMessage(message), kResultFalse); // Peer's notify: not a text message
  EXPECT_EQ(b->received, std::vector<std::string>{"GAIN"});
  EXPECT_EQ(a->sendTextMessage("hello"), kResultOk);
  EXPECT_EQ(b->received.back(), "text:hello");
  EXPECT_EQ(a->sendMessage(nullptr), kInvalidArgument);
}

TEST_F(Connection, OnePeerAtATimeAndDisconnectOnlyFromIt) {
  ASSERT_EQ(a->connect(b), kResultOk);
  EXPECT_EQ(a->connect(b), kResultFalse);
  EXPECT_EQ(a->connect(nullptr), kInvalidArgument);
  EXPECT_EQ(a->disconnect(a), kResultFalse);
  EXPECT_EQ(a->getPeer(), static_cast<IConnectionPoint*>(b));
  EXPECT_EQ(a->disconnect(b), kResultOk);
  EXPECT_EQ(a->getPeer(), nullptr);
  EXPECT_EQ(a->sendMessageID("X"), kResultFalse);
}

TEST_F(Connection, TerminateDisconnectsBothSides) {
  ASSERT_EQ(a->connect(b), kResultOk);
  ASSERT_EQ(b->connect(a), kResultOk);
  a->terminate();
  EXPECT_EQ(a->getPeer(), nullptr);
  EXPECT_EQ(b->getPeer(), nullptr);
  EXPECT_EQ(a->getHostContext(), nullptr);
}

TEST(ComponentMessages, NoHostMeansNoMessage) {
  auto* effect = new AudioEffect();
  EXPECT_EQ(effect->allocateMessage(), nullptr);
  FakeHostApplication host;
  host.makesMessages = false;
  effect->initialize(host.unknownCast());
  EXPECT_EQ(effect->allocateMessage(), nullptr);
  EXPECT_EQ(effect->sendTextMessage("x"), kResultFalse);
  EXPECT_EQ(effect->notify(nullptr), kInvalidArgument);
  effect->terminate();
  effect->release();
}

} // namespace
} // namespace orvane::test
