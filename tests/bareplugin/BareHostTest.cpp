// The bare plug-in loaded from its bundle by the test host, driven as Ardour drives a plug-in:
// buses, parameters, units and program list as the host sees them; audio in 32 and 64 bit
// with parameter queues, bypass and latency; MIDI and SysEx in and out; both states saved,
// restored and refused; presets selected through the preset parameter.
#include "framework/IMidiMsg.h"
#include "pluginterfaces/vst/ivstmidicontrollers.h"
#include "pluginterfaces/vst/ivstunits.h"
#include "tests/hosts/vst3/MemoryStream.h"
#include "tests/hosts/vst3/Plugin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace orvane::testhost;

constexpr ParamID kGain = 0, kFreq = 1, kMix = 2, kMute = 3, kSteps = 4, kMode = 5, kMeter = 6;
constexpr ParamID kBypass = 0x10000, kPreset = 0x10001, kMidiBase = 0x10002;
constexpr int kLatency = 64;
constexpr int32 kBlock = 256;

// Gain is -24..12 dB, linear in the normalised value.
double GainFactorFor(double normalized) {
  return std::pow(10.0, (-24.0 + 36.0 * normalized) / 20.0);
}

template <class I> IPtr<I> Query(FUnknown* object) {
  void* obj = nullptr;
  if (!object || object->queryInterface(I::iid, &obj) != kResultOk)
    return nullptr;
  return owned(static_cast<I*>(obj));
}

class BareHost : public ::testing::Test {
protected:
  void SetUp() override {
    std::string error;
    module = Module::load(ORVANE_BARE_BUNDLE, error);
    ASSERT_TRUE(module) << error;
    const auto cls = module->findClass(kVstAudioEffectClass);
    ASSERT_TRUE(cls);
    PluginOptions options;
    options.hostName = u"Ardour";
    plugin = Plugin::create(*module, cls->cid, error, options);
    ASSERT_TRUE(plugin) << error;
  }
  void TearDown() override {
    plugin.reset();
    module.reset();
  }

  // A ramp that never repeats within a block, on each channel of bus 0.
  template <class Sample> void FillInputs(int32 frames, double scale = 1.0) {
    for (size_t c = 0; c < 2; ++c) {
      Sample* in = plugin->input<Sample>(0, c);
      for (int32 i = 0; i < frames; ++i)
        in[i] = Sample(scale * (0.001 * (i + 1) + 0.1 * double(c)));
    }
  }
  // Output sample i of a block must be input sample i - latency (of the same block's fill,
  // which every block repeats) times factor.
  template <class Sample> void ExpectDelayedBy(int32 frames, double factor) {
    for (size_t c = 0; c < 2; ++c) {
      const Sample* out = plugin->output<Sample>(0, c);
      for (int32 i = kLatency; i < frames; ++i) {
        const double in = 0.001 * (i - kLatency + 1) + 0.1 * double(c);
        ASSERT_NEAR(out[i], in * factor, 1e-6) << "channel " << c << " sample " << i;
      }
    }
  }

  IPtr<IMessage> NewMessage(const char* id) {
    auto* message = new Message();
    message->setMessageID(id);
    return owned(static_cast<IMessage*>(message));
  }
  IPtr<IConnectionPoint> ProcessorPoint() { return Query<IConnectionPoint>(plugin->component()); }
  IPtr<IConnectionPoint> ControllerPoint() { return Query<IConnectionPoint>(plugin->controller()); }

  std::unique_ptr<Module> module;
  std::unique_ptr<Plugin> plugin;
};

TEST_F(BareHost, BusesAreStereoAudioAndOneMidiBusEachWay) {
  const BusLayout& buses = plugin->buses();
  ASSERT_EQ(buses.audioInputs.size(), 1u);
  ASSERT_EQ(buses.audioOutputs.size(), 1u);
  EXPECT_EQ(buses.audioInputs[0].channelCount, 2);
  EXPECT_EQ(fieldText(buses.audioInputs[0].name, 128), u"Main Input");
  EXPECT_EQ(fieldText(buses.audioOutputs[0].name, 128), u"Output");
  ASSERT_EQ(buses.eventInputs.size(), 1u);
  ASSERT_EQ(buses.eventOutputs.size(), 1u);
  EXPECT_EQ(fieldText(buses.eventInputs[0].name, 128), u"MIDI Input");
  EXPECT_EQ(buses.eventInputs[0].channelCount, 16);
  EXPECT_EQ(fieldText(buses.eventOutputs[0].name, 128), u"MIDI Output");
}

TEST_F(BareHost, ParametersCarryTheirKindsUnitsAndFlags) {
  const auto params = plugin->parameters();
  ASSERT_EQ(params.size(), 7u + 2u + 16u * 130u);
  struct Expected {
    ParamID id;
    const char16_t* title;
    int32 stepCount;
    int32 flags;
    UnitID unit;
  };
  const Expected table[] = {
      {kGain, u"Gain", 0, ParameterInfo::kCanAutomate, 1},
      {kFreq, u"Freq", 0, ParameterInfo::kCanAutomate, 2},
      {kMix, u"Mix", 0, ParameterInfo::kCanAutomate, 1},
      {kMute, u"Mute", 1, ParameterInfo::kCanAutomate, 1},
      {kSteps, u"Steps", 7, ParameterInfo::kCanAutomate, 2},
      {kMode, u"Mode", 2, ParameterInfo::kCanAutomate, 0},
      {kMeter, u"Meter", 0, ParameterInfo::kIsReadOnly, 0},
      {kBypass, u"Bypass", 1, ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass, 0},
      {kPreset, u"Preset", 2, ParameterInfo::kIsProgramChange | ParameterInfo::kIsList, 0},
  };
  for (size_t i = 0; i < std::size(table); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(params[i].id, table[i].id);
    EXPECT_EQ(fieldText(params[i].title, 128), table[i].title);
    EXPECT_EQ(params[i].stepCount, table[i].stepCount);
    EXPECT_EQ(params[i].flags, table[i].flags);
    EXPECT_EQ(params[i].unitId, table[i].unit);
  }
  // Frequency 1000 Hz on 20..20000 with shape 3: ((1000 - 20) / 19980)^(1/3).
  EXPECT_NEAR(params[kFreq].defaultNormalizedValue, std::cbrt(980.0 / 19980.0), 1e-12);
  // Mix 100 % is the last break point.
  EXPECT_DOUBLE_EQ(params[kMix].defaultNormalizedValue, 1.0);
  EXPECT_EQ(fieldText(params[kGain].units, 128), u"dB");

  // Channel 3's pitch bend and channel 0's main volume, in the units "Ch 4" and "Ch 1".
  const ParameterInfo& bend = params[9 + 3 * 130 + 129];
  EXPECT_EQ(bend.id, kMidiBase + 3 * 130 + 129);
  EXPECT_EQ(fieldText(bend.title, 128), u"Pitch Bend");
  EXPECT_DOUBLE_EQ(bend.defaultNormalizedValue, 0.5);
  EXPECT_EQ(bend.unitId, 3 + 1 + 3);
  const ParameterInfo& volume = params[9 + 7];
  EXPECT_EQ(fieldText(volume.title, 128), u"MainVolume");
  EXPECT_EQ(volume.flags, 0);
  EXPECT_EQ(fieldText(params[9 + 128].title, 128), u"Channel Aftertouch");

  // Display texts come from the parameter model.
  String128 text = {};
  ASSERT_EQ(plugin->controller()->getParamStringByValue(kMode, 1.0, text), kResultTrue);
  EXPECT_EQ(fieldText(text, 128), u"Hot");
  EXPECT_NEAR(plugin->controller()->normalizedParamToPlain(kGain, 0.5), -6.0, 1e-12);
  EXPECT_NEAR(plugin->controller()->plainParamToNormalized(kGain, 0.0), 24.0 / 36.0, 1e-12);
  // The framework's own parameters convert the same both ways.
  EXPECT_DOUBLE_EQ(plugin->controller()->normalizedParamToPlain(kBypass, 1.0), 1.0);
  EXPECT_DOUBLE_EQ(plugin->controller()->plainParamToNormalized(kBypass, 1.0), 1.0);
}

TEST_F(BareHost, UnitsAndTheFactoryPresetList) {
  auto units = Query<IUnitInfo>(plugin->controller());
  ASSERT_TRUE(units);
  ASSERT_EQ(units->getUnitCount(), 1 + 2 + 1 + 16);
  UnitInfo info{};
  const struct {
    int32 index;
    UnitID id;
    UnitID parent;
    const char16_t* name;
    ProgramListID list;
  } table[] = {
      {0, 0, kNoParentUnitId, u"Root", 0x10001}, {1, 1, 0, u"Main", kNoProgramListId},
      {2, 2, 0, u"Filter", kNoProgramListId},    {3, 3, 0, u"MIDI Controllers", kNoProgramListId},
      {4, 4, 3, u"Ch 1", kNoProgramListId},      {19, 19, 3, u"Ch 16", kNoProgramListId}};
  for (const auto& row : table) {
    ASSERT_EQ(units->getUnitInfo(row.index, info), kResultTrue);
    EXPECT_EQ(info.id, row.id);
    EXPECT_EQ(info.parentUnitId, row.parent);
    EXPECT_EQ(fieldText(info.name, 128), row.name);
    EXPECT_EQ(info.programListId, row.list);
  }

  ASSERT_EQ(units->getProgramListCount(), 1);
  ProgramListInfo list{};
  ASSERT_EQ(units->getProgramListInfo(0, list), kResultTrue);
  EXPECT_EQ(list.id, 0x10001);
  EXPECT_EQ(list.programCount, 2);
  EXPECT_EQ(fieldText(list.name, 128), u"Factory Presets");
  String128 name = {};
  ASSERT_EQ(units->getProgramName(0x10001, 0, name), kResultOk);
  EXPECT_EQ(fieldText(name, 128), u"Unity");
  ASSERT_EQ(units->getProgramName(0x10001, 1, name), kResultOk);
  EXPECT_EQ(fieldText(name, 128), u"Quiet");
  EXPECT_EQ(units->getProgramName(0x10002, 0, name), kResultFalse);
  EXPECT_EQ(units->hasProgramPitchNames(0x10001, 0), kResultTrue);
  ASSERT_EQ(units->getProgramPitchName(0x10001, 0, 60, name), kResultTrue);
  EXPECT_EQ(fieldText(name, 128), u"Middle C");
}

TEST_F(BareHost, MidiControllerAssignment) {
  auto mapping = Query<IMidiMapping>(plugin->controller());
  ASSERT_TRUE(mapping);
  const struct {
    int32 bus;
    int16 channel;
    CtrlNumber controller;
    bool mapped;
  } table[] = {{0, 2, 7, true},   {0, 0, kPitchBend, true}, {0, 15, kAfterTouch, true},
               {1, 2, 7, false},  {0, 2, 130, false},       {0, 1, 200, false},
               {0, 16, 7, false}, {0, -1, 7, false},        {0, 0, -1, false}};
  for (const auto& row : table) {
    ParamID id = 0xFFFFFFFF;
    EXPECT_EQ(mapping->getMidiControllerAssignment(row.bus, row.channel, row.controller, id),
              row.mapped ? kResultTrue : kResultFalse)
        << row.bus << " " << row.channel << " " << row.controller;
    if (row.mapped) {
      EXPECT_EQ(id, kMidiBase + ParamID(row.channel) * 130 + ParamID(row.controller));
    }
  }
}

class BareHostSampleSize : public BareHost, public ::testing::WithParamInterface<int32> {
protected:
  template <class Sample> void RunGainAndBypass() {
    const ActivationResults r = plugin->activate(48000.0, kBlock, GetParam());
    ASSERT_EQ(r.setupProcessing, kResultOk);
    ASSERT_EQ(r.setBusArrangements, kResultTrue);
    ASSERT_EQ(r.setActive, kResultOk);
    EXPECT_EQ(r.latencySamples, uint32(kLatency));

    // Several points per queue at offsets: the parameter ends at its last point.
    plugin->inputChanges().add(kGain, 0, 0.1);
    plugin->inputChanges().add(kGain, 100, 0.9);
    plugin->inputChanges().add(kGain, 200, 0.5);
    FillInputs<Sample>(kBlock);
    ASSERT_EQ(plugin->process(kBlock), kResultOk);
    FillInputs<Sample>(kBlock);
    ASSERT_EQ(plugin->process(kBlock), kResultOk);
    ExpectDelayedBy<Sample>(kBlock, GainFactorFor(0.5));

    // The meter goes to the host as one point of the read-only parameter.
    const ParamValueQueue* meter = plugin->outputChanges().queue(kMeter);
    ASSERT_TRUE(meter);
    ASSERT_EQ(meter->points().size(), 1u);
    EXPECT_GT(meter->points()[0].second, 0.0);

    // Bypass: the dry input, delayed by the same latency; and back.
    plugin->inputChanges().add(kBypass, 0, 1.0);
    FillInputs<Sample>(kBlock);
    ASSERT_EQ(plugin->process(kBlock), kResultOk);
    FillInputs<Sample>(kBlock);
    ASSERT_EQ(plugin->process(kBlock), kResultOk);
    ExpectDelayedBy<Sample>(kBlock, 1.0);
    plugin->inputChanges().add(kBypass, 0, 0.0);
    plugin->inputChanges().add(kGain, 17, 24.0 / 36.0); // 0 dB
    FillInputs<Sample>(kBlock);
    ASSERT_EQ(plugin->process(kBlock), kResultOk);
    FillInputs<Sample>(kBlock);
    ASSERT_EQ(plugin->process(kBlock), kResultOk);
    ExpectDelayedBy<Sample>(kBlock, 1.0);

    // Mute through a bool parameter; mix through its break points: 0.5 is 20 %.
    plugin->inputChanges().add(kGain, 0, 0.0); // -24 dB
    plugin->inputChanges().add(kMix, 0, 0.5);
    FillInputs<Sample>(kBlock);
    plugin->process(kBlock);
    FillInputs<Sample>(kBlock);
    plugin->process(kBlock);
    ExpectDelayedBy<Sample>(kBlock, 0.8 + 0.2 * GainFactorFor(0.0));
    plugin->inputChanges().add(kMute, 0, 1.0);
    FillInputs<Sample>(kBlock);
    plugin->process(kBlock);
    ExpectDelayedBy<Sample>(kBlock, 0.0);
  }
};

TEST_P(BareHostSampleSize, GainBypassMixAndMuteAtBlockStarts) {
  if (GetParam() == kSample64)
    RunGainAndBypass<double>();
  else
    RunGainAndBypass<float>();
}

INSTANTIATE_TEST_SUITE_P(Both, BareHostSampleSize, ::testing::Values(kSample32, kSample64));

TEST_F(BareHost, SetupAgainKeepsTheBypass) {
  plugin->activate(44100.0, kBlock);
  plugin->inputChanges().add(kBypass, 0, 1.0);
  plugin->inputChanges().add(kGain, 0, 0.0);
  FillInputs<float>(kBlock);
  plugin->process(kBlock);
  // A rate change: the host sets up again; the plug-in must still be bypassed.
  plugin->activate(48000.0, kBlock);
  FillInputs<float>(kBlock);
  plugin->process(kBlock);
  FillInputs<float>(kBlock);
  plugin->process(kBlock);
  ExpectDelayedBy<float>(kBlock, 1.0);
}

TEST_F(BareHost, RefusesChannelConfigurationsOutsideItsList) {
  auto* processor = plugin->processor();
  SpeakerArrangement mono = SpeakerArr::kMono, stereo = SpeakerArr::kStereo,
                     surround = SpeakerArr::k51;
  EXPECT_EQ(processor->setBusArrangements(&mono, 1, &stereo, 1), kResultFalse);
  EXPECT_EQ(processor->setBusArrangements(&surround, 1, &surround, 1), kResultFalse);
  SpeakerArrangement two[2] = {stereo, stereo};
  EXPECT_EQ(processor->setBusArrangements(two, 2, &stereo, 1), kResultFalse);
  // Refused arrangements leave the buses as they were.
  SpeakerArrangement arr = 0;
  ASSERT_EQ(processor->getBusArrangement(kInput, 0, arr), kResultTrue);
  EXPECT_EQ(arr, stereo);
  EXPECT_EQ(processor->setBusArrangements(&mono, 1, &mono, 1), kResultTrue);
  ASSERT_EQ(processor->getBusArrangement(kOutput, 0, arr), kResultTrue);
  EXPECT_EQ(arr, mono);
  EXPECT_EQ(processor->canProcessSampleSize(kSample64), kResultTrue);
  EXPECT_EQ(processor->canProcessSampleSize(2), kResultFalse);
}

TEST_F(BareHost, MidiInComesOutAndControllerMessagesReachTheOutput) {
  plugin->activate(48000.0, kBlock);
  Event on{};
  on.type = Event::kNoteOnEvent;
  on.sampleOffset = 10;
  on.noteOn = {3, 60, 0.0f, float(100.0 / 127.0), -1, -1};
  Event off{};
  off.type = Event::kNoteOffEvent;
  off.sampleOffset = 20;
  off.noteOff = {3, 60, 0.0f, -1, 0.0f};
  Event pressure{};
  pressure.type = Event::kPolyPressureEvent;
  pressure.polyPressure = {3, 60, 0.5f, -1};
  plugin->inputEvents().add(on);
  plugin->inputEvents().add(pressure);
  plugin->inputEvents().add(off);

  // Two SysEx blocks from the controller side and one MIDI message.
  auto processor = ProcessorPoint();
  ASSERT_TRUE(processor);
  const uint8_t first[] = {0xF0, 0x7D, 0x01, 0xF7};
  const uint8_t second[] = {0xF0, 0x7D, 0x02, 0x03, 0xF7};
  for (const auto& bytes :
       {std::vector<uint8_t>(first, first + 4), std::vector<uint8_t>(second, second + 5)}) {
    auto message = NewMessage("SysEx");
    message->getAttributes()->setInt("offset", int64(bytes.size()));
    message->getAttributes()->setBinary("data", bytes.data(), uint32(bytes.size()));
    EXPECT_EQ(processor->notify(message), kResultOk);
  }
  IMidiMsg fromController;
  fromController.MakeNoteOnMsg(72, 64, 5, 1);
  auto midi = NewMessage("MidiMsg");
  midi->getAttributes()->setBinary("data", &fromController, 8);
  EXPECT_EQ(processor->notify(midi), kResultOk);
  // Seven or nine bytes are not a MIDI message.
  auto shortMidi = NewMessage("MidiMsg");
  shortMidi->getAttributes()->setBinary("data", &fromController, 7);
  EXPECT_EQ(processor->notify(shortMidi), kResultOk);

  ASSERT_EQ(plugin->process(kBlock), kResultOk);
  const auto& events = plugin->outputEvents().events();
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[0].type, Event::kNoteOnEvent);
  EXPECT_EQ(events[0].sampleOffset, 10);
  EXPECT_EQ(events[0].noteOn.channel, 3);
  EXPECT_EQ(events[0].noteOn.pitch, 60);
  EXPECT_NEAR(events[0].noteOn.velocity, 100.0 / 127.0, 1e-6);
  EXPECT_EQ(events[1].type, Event::kNoteOffEvent);
  EXPECT_EQ(events[1].sampleOffset, 20);
  EXPECT_EQ(events[2].type, Event::kNoteOnEvent);
  EXPECT_EQ(events[2].noteOn.pitch, 72);
  EXPECT_EQ(events[2].noteOn.channel, 1);
  // Each SysEx event keeps its own bytes.
  ASSERT_EQ(events[3].type, Event::kDataEvent);
  ASSERT_EQ(events[4].type, Event::kDataEvent);
  EXPECT_EQ(std::vector<uint8_t>(events[3].data.bytes, events[3].data.bytes + events[3].data.size),
            std::vector<uint8_t>(first, first + 4));
  EXPECT_EQ(std::vector<uint8_t>(events[4].data.bytes, events[4].data.bytes + events[4].data.size),
            std::vector<uint8_t>(second, second + 5));
  EXPECT_EQ(events[3].sampleOffset, 4);
  EXPECT_NE(events[3].data.bytes, events[4].data.bytes);
}

// Velocities beyond [0, 1], infinite or not a number from a host come out as the nearest
// 7-bit value (a NaN as 0), never as an undefined conversion.
TEST_F(BareHost, VelocitiesOutsideTheRangeAreClampedToSevenBits) {
  plugin->activate(48000.0, kBlock);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    float velocity;
    int expected;
  } cases[] = {{nan, 0}, {-0.5f, 0}, {-inf, 0}, {1.5f, 127}, {inf, 127}};
  for (const auto& c : cases) {
    Event on{};
    on.type = Event::kNoteOnEvent;
    on.noteOn = {0, 60, 0.0f, c.velocity, -1, -1};
    plugin->inputEvents().add(on);
    ASSERT_EQ(plugin->process(kBlock), kResultOk);
    const auto& events = plugin->outputEvents().events();
    ASSERT_EQ(events.size(), 1u) << c.velocity;
    EXPECT_NEAR(events[0].noteOn.velocity, c.expected / 127.0, 1e-6) << c.velocity;
  }
}

TEST_F(BareHost, ControllerAnswersProcessorMessages) {
  auto controller = ControllerPoint();
  ASSERT_TRUE(controller);
  IMidiMsg msg;
  msg.MakeNoteOnMsg(60, 100, 0);
  auto midi = NewMessage("MidiMsg");
  midi->getAttributes()->setBinary("data", &msg, 8);
  EXPECT_EQ(controller->notify(midi), kResultOk);
  auto sysex = NewMessage("SysEx");
  const uint8_t bytes[] = {0xF0, 0xF7};
  sysex->getAttributes()->setBinary("data", bytes, 2);
  EXPECT_EQ(controller->notify(sysex), kResultOk);
  EXPECT_EQ(controller->notify(NewMessage("MidiMsg")), kResultFalse);
  EXPECT_EQ(controller->notify(NewMessage("SysEx")), kResultFalse);
  EXPECT_EQ(controller->notify(nullptr), kInvalidArgument);
}

TEST_F(BareHost, StatesRoundTripByteForByte) {
  plugin->activate(48000.0, kBlock);
  plugin->setParameter(kGain, 0.25);
  plugin->setParameter(kFreq, 0.75);
  plugin->setParameter(kMode, 1.0);
  plugin->setParameter(kBypass, 1.0);
  plugin->process(kBlock);
  const auto processorState = plugin->processorState();
  const auto controllerState = plugin->controllerState();
  // Header, bypass word, version word, six stored doubles (the meter is read-only).
  ASSERT_EQ(processorState.size(), 4u + 8 + 4 + 4 + 6 * 8);
  ASSERT_EQ(controllerState.size(), 4u + 8 + 4);

  std::string error;
  auto second = Plugin::create(*module, module->findClass(kVstAudioEffectClass)->cid, error);
  ASSERT_TRUE(second) << error;
  ASSERT_EQ(second->restoreState(processorState, controllerState), kResultOk);
  EXPECT_EQ(second->processorState(), processorState);
  EXPECT_EQ(second->controllerState(), controllerState);
  // The controller followed the processor state (setComponentState).
  EXPECT_NEAR(second->parameter(kGain), 0.25, 1e-12);
  EXPECT_NEAR(second->parameter(kFreq), 0.75, 1e-12);
  EXPECT_DOUBLE_EQ(second->parameter(kMode), 1.0);
  EXPECT_DOUBLE_EQ(second->parameter(kBypass), 1.0);

  // And the restored processor sounds like the first one: bypassed.
  second->activate(48000.0, kBlock);
  plugin.swap(second);
  FillInputs<float>(kBlock);
  plugin->process(kBlock);
  ExpectDelayedBy<float>(kBlock, 1.0);
}

// The processor state as this version writes it, built byte by byte: the framework header
// ('pfft', version 2.0), the bypass word, the version word, then one double per stored
// parameter in parameter order.
std::vector<uint8_t> HandBuiltState(const std::vector<double>& values) {
  // The stream's length word comes first and is filled in last.
  std::vector<uint8_t> state = {0,    0,    0,    0,    0x74, 0x66, 0x66, 0x70, 0x00, 0x00,
                                0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03, 0x02, 0x01, 0x00};
  for (double v : values) {
    uint8_t bytes[8];
    std::memcpy(bytes, &v, 8);
    for (uint8_t b : bytes)
      state.push_back(b);
  }
  const uint32_t length = uint32_t(state.size() - 4);
  for (int i = 0; i < 4; ++i)
    state[size_t(i)] = uint8_t(length >> (8 * i));
  return state;
}

// A state written today loads as it is and is written back byte for byte; the states of a
// version with one parameter fewer or one more load what they share with this one, and the
// parameter the shorter state does not reach goes to its default.
TEST_F(BareHost, StatesOfNeighbouringVersionsLoad) {
  // Gain -6 dB, Freq 440 Hz, Mix 50 %, Mute on, Steps 3, Mode 2.
  const std::vector<double> today = {-6.0, 440.0, 50.0, 1.0, 3.0, 2.0};
  struct Case {
    const char* what;
    std::vector<double> stored;
    double mode; // normalised Mode after the load
    std::vector<double> written;
  } cases[] = {
      {"today's layout", today, 1.0, today},
      {"one value fewer", {-6.0, 440.0, 50.0, 1.0, 3.0}, 0.0, {-6.0, 440.0, 50.0, 1.0, 3.0, 0.0}},
      {"one value more", {-6.0, 440.0, 50.0, 1.0, 3.0, 2.0, 123.0}, 1.0, today},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    plugin->setParameter(kMode, 0.5);
    plugin->setParameter(kGain, 0.0);
    const auto state = HandBuiltState(c.stored);
    auto* stream = new MemoryStream(state);
    EXPECT_EQ(plugin->component()->setState(stream), kResultOk);
    stream->rewind();
    EXPECT_EQ(plugin->controller()->setComponentState(stream), kResultOk);
    stream->release();
    EXPECT_EQ(plugin->processorState(), HandBuiltState(c.written));
    EXPECT_NEAR(plugin->parameter(kGain), 0.5, 1e-12);
    EXPECT_DOUBLE_EQ(plugin->parameter(kMute), 1.0);
    EXPECT_DOUBLE_EQ(plugin->parameter(kMode), c.mode);
  }
}

// Each bad state is refused by both halves, and neither half changes.
TEST_F(BareHost, BadStatesAreRefusedWithNothingChanged) {
  plugin->setParameter(kGain, 0.25);
  const auto good = plugin->processorState();
  ASSERT_FALSE(good.empty());
  const auto goodController = plugin->controllerState();

  auto withLength = [](std::vector<uint8_t> bytes, int32_t length) {
    std::memcpy(bytes.data(), &length, 4);
    return bytes;
  };
  const int32_t bodySize = int32_t(good.size() - 4);
  std::vector<std::pair<const char*, std::vector<uint8_t>>> cases;
  cases.push_back({"empty stream", {}});
  cases.push_back({"length only", std::vector<uint8_t>(good.begin(), good.begin() + 4)});
  cases.push_back({"stream ends early", std::vector<uint8_t>(good.begin(), good.end() - 3)});
  cases.push_back({"block ends inside a value",
                   withLength(std::vector<uint8_t>(good.begin(), good.end() - 3), bodySize - 3)});
  cases.push_back({"no version word",
                   withLength(std::vector<uint8_t>(good.begin(), good.begin() + 4 + 12), 12)});
  cases.push_back({"length beyond the stream", withLength(good, bodySize + 100)});
  cases.push_back({"huge length", withLength(good, 0x7FFFFFFF)});
  cases.push_back({"negative length", withLength(good, -8)});
  {
    auto longer = good;
    longer.push_back(0);
    cases.push_back({"a byte too many", withLength(longer, bodySize + 1)});
    auto badMagic = good;
    badMagic[4] ^= 0xFF;
    cases.push_back({"bad header", badMagic});
    auto badVersion = good;
    badVersion[9] ^= 0x01;
    cases.push_back({"other framework version", badVersion});
    for (double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
      auto nonFinite = good;
      std::memcpy(nonFinite.data() + 4 + 16 + 8, &bad, 8); // Freq
      cases.push_back({"non-finite value", nonFinite});
    }
  }
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    auto* stream = new MemoryStream(bytes);
    EXPECT_EQ(plugin->component()->setState(stream), kResultFalse);
    stream->rewind();
    EXPECT_EQ(plugin->controller()->setComponentState(stream), kResultFalse);
    stream->release();
    EXPECT_EQ(plugin->processorState(), good);
    EXPECT_NEAR(plugin->parameter(kGain), 0.25, 1e-12);
  }
  auto badController = goodController;
  badController[5] ^= 0xFF;
  auto* stream = new MemoryStream(badController);
  EXPECT_EQ(plugin->controller()->setState(stream), kResultFalse);
  stream->release();
  stream = new MemoryStream(std::vector<uint8_t>(goodController.begin(), goodController.end() - 2));
  EXPECT_EQ(plugin->controller()->setState(stream), kResultFalse);
  stream->release();
  EXPECT_EQ(plugin->controllerState(), goodController);
}

// Choosing "Quiet" through the preset parameter: every parameter goes to the host in one group
// edit, each bracketed, and the processor gets the values the way a host passes them on.
TEST_F(BareHost, PresetParameterRestoresAPresetWithBracketedEdits) {
  EXPECT_DOUBLE_EQ(plugin->parameter(kPreset), 0.0);
  plugin->log().edits.clear();
  plugin->setParameter(kPreset, 0.5);
  EXPECT_DOUBLE_EQ(plugin->parameter(kPreset), 0.5);
  EXPECT_EQ(plugin->log().groupEditsStarted, 1);
  EXPECT_EQ(plugin->log().groupEditsFinished, 1);
  const auto& edits = plugin->log().edits;
  ASSERT_EQ(edits.size(), 3u * 7u);
  for (ParamID i = 0; i < 7; ++i) {
    EXPECT_EQ(edits[3 * i].kind, EditCall::Kind::Begin);
    EXPECT_EQ(edits[3 * i + 1].kind, EditCall::Kind::Perform);
    EXPECT_EQ(edits[3 * i + 2].kind, EditCall::Kind::End);
    EXPECT_EQ(edits[3 * i + 1].id, i);
  }
  EXPECT_NEAR(edits[3 * kGain + 1].value, 12.0 / 36.0, 1e-12); // -12 dB
  EXPECT_DOUBLE_EQ(edits[3 * kMode + 1].value, 1.0);           // "Hot"
  EXPECT_NEAR(plugin->parameter(kGain), 12.0 / 36.0, 1e-12);

  plugin->activate(48000.0, kBlock);
  for (const EditCall& e : edits)
    if (e.kind == EditCall::Kind::Perform)
      plugin->inputChanges().add(e.id, 0, e.value);
  FillInputs<float>(kBlock);
  plugin->process(kBlock);
  ExpectDelayedBy<float>(kBlock, GainFactorFor(12.0 / 36.0));

  // Back to "Unity"; the last step of the list stays on the last preset.
  plugin->setParameter(kPreset, 0.0);
  EXPECT_NEAR(plugin->parameter(kGain), 24.0 / 36.0, 1e-12);
  plugin->setParameter(kPreset, 1.0);
  EXPECT_DOUBLE_EQ(plugin->parameter(kPreset), 0.5);
}

} // namespace
