// The audio thread of the bases, in-process: it allocates nothing and takes no lock on any
// road of a block, and it copes with what hosts hand it (long blocks, null lists and buffers,
// the same buffer in and out, fewer or more channels than it has).
#include "support/AllocationCounter.h"
#include "support/InProcessHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace {

using namespace inprocess;
using bare::kLatency;

constexpr ParamID kBypass = 0x10000;

class RealTime : public ::testing::TestWithParam<int32> {
protected:
  Rig rig;
};

TEST_P(RealTime, NothingAllocatesOrLocksOnAnyRoadOfABlock) {
  const int32 block = 128;
  rig.Activate(GetParam(), block);
  auto queue = [&](ParamID id, int32 offset, double v) {
    int32 index = 0;
    if (IParamValueQueue* q = rig.inChanges.addParameterData(id, index))
      q->addPoint(offset, v, index);
  };
  const uint8_t sysexBytes[] = {0xF0, 0x01, 0x02, 0xF7};

  tresult results[8] = {};
  int32 outEvents[8] = {};
  alloccount::Arm();
  for (int b = 0; b < 8; ++b) {
    queue(bare::kGain, 0, 0.2);
    queue(bare::kGain, 64, 0.6);
    queue(bare::kFreq, 10, 0.3);
    queue(kBypass, 0, b % 2 ? 1.0 : 0.0);
    queue(0x10002 + 130 * 3 + 129, 5, 0.75);
    Event on{};
    on.type = Event::kNoteOnEvent;
    on.noteOn = {0, 60, 0.0f, 0.5f, -1, -1};
    rig.inEvents.addEvent(on);
    Event data{};
    data.type = Event::kDataEvent;
    data.data = {4, DataEvent::kMidiSysEx, sysexBytes};
    rig.inEvents.addEvent(data);
    results[b] = rig.Process(block);
    outEvents[b] = rig.outEvents.getEventCount();
  }
  alloccount::Disarm();
  for (int b = 0; b < 8; ++b) {
    EXPECT_EQ(results[b], kResultOk);
    EXPECT_EQ(outEvents[b], 1); // the note through the MIDI output
  }
  EXPECT_EQ(alloccount::Allocations(), 0);
  EXPECT_EQ(alloccount::Locks(), 0);
  // The rings were used on the way: MIDI to the controller waits for the timer.
  rig.processor->onTimer(nullptr);
  EXPECT_EQ(rig.controller->midiFromProcessor.size(), 8u);
  EXPECT_EQ(rig.controller->sysExFromProcessor.size(), 2u); // the ring holds two
}

TEST_P(RealTime, MessagesFromTheControllerAreUsedWithoutAllocating) {
  const int32 block = 64;
  rig.Activate(GetParam(), block);
  for (int i = 0; i < 40; ++i) {
    IMidiMsg note;
    note.MakeNoteOnMsg(20 + i, 90, 7, 2);
    ASSERT_TRUE(rig.controller->SendMidiMsg(note));
  }
  const uint8_t bytes[] = {0xF0, 0x42, 0xF7};
  ISysEx sysex;
  sysex.offset = 9;
  sysex.size = 3;
  sysex.data = bytes;
  for (int i = 0; i < 3; ++i)
    ASSERT_TRUE(rig.controller->SendSysEx(sysex));
  alloccount::Arm();
  rig.Process(block);
  alloccount::Disarm();
  EXPECT_EQ(alloccount::Allocations(), 0);
  EXPECT_EQ(alloccount::Locks(), 0);
  // A ring of 33 keeps the first 32 messages, in order; one of 3 keeps two SysEx blocks.
  EXPECT_EQ(rig.processor->midiCount, 32);
  EXPECT_EQ(rig.processor->lastMidi.NoteNumber(), 20 + 31);
  int32 notesOut = 0, expectedNote = 20;
  for (int32 i = 0; i < rig.outEvents.getEventCount(); ++i) {
    Event e{};
    rig.outEvents.getEvent(i, e);
    if (e.type == Event::kNoteOnEvent) {
      EXPECT_EQ(e.noteOn.pitch, expectedNote++);
      EXPECT_EQ(e.sampleOffset, 7);
      ++notesOut;
    }
  }
  EXPECT_EQ(notesOut, 32);
  EXPECT_EQ(rig.processor->lastMidi.Channel(), 2);
  int dataEvents = 0;
  for (int32 i = 0; i < rig.outEvents.getEventCount(); ++i) {
    Event e{};
    rig.outEvents.getEvent(i, e);
    if (e.type == Event::kDataEvent) {
      ++dataEvents;
      EXPECT_EQ(e.sampleOffset, 9);
      EXPECT_EQ(e.data.size, 3u);
    }
  }
  EXPECT_EQ(dataEvents, 2);
  rig.Process(block);
  EXPECT_EQ(rig.outEvents.getEventCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Both, RealTime, ::testing::Values(kSample32, kSample64));

// The counter itself: a direct call of the allocation functions cannot be optimised away.
TEST(RealTimeCounter, SeesAllocationsAndLocks) {
  alloccount::Arm();
  void* p = ::operator new(16);
  alloccount::Disarm();
  ::operator delete(p);
  EXPECT_EQ(alloccount::Allocations(), 1);
  if (!alloccount::CountsMallocAndLocks())
    return;
  std::mutex mutex;
  alloccount::Arm();
  void* volatile q = std::malloc(16);
  mutex.lock();
  alloccount::Disarm();
  mutex.unlock();
  std::free(q);
  EXPECT_EQ(alloccount::Allocations(), 1);
  EXPECT_EQ(alloccount::Locks(), 1);
}

// A MIDI controller parameter becomes a MIDI message with the point's offset: pitch bend of
// channel 3 at 1.0 is the largest 14-bit value, at 0.5 the centre.
TEST(MidiControllerParameters, BecomeMessages) {
  Rig rig;
  rig.Activate(kSample32, 64);
  const struct {
    ParamID id;
    double value;
    uint8_t status, data1, data2;
  } table[] = {{0x10002 + 130 * 3 + 129, 1.0, 0xE3, 127, 127},
               {0x10002 + 130 * 3 + 129, 0.5, 0xE3, 0, 64},
               {0x10002 + 130 * 0 + 128, 1.0, 0xD0, 127, 0},
               {0x10002 + 130 * 15 + 7, 0.5, 0xBF, 7, 64}};
  for (const auto& row : table) {
    int32 index = 0;
    rig.inChanges.addParameterData(row.id, index)->addPoint(33, row.value, index);
    rig.Process(64);
    const IMidiMsg& m = rig.processor->lastMidi;
    EXPECT_EQ(m.status, row.status);
    EXPECT_EQ(m.data1, row.data1);
    EXPECT_EQ(m.data2, row.data2);
    EXPECT_EQ(m.offset, 33);
  }
  // IDs past the sixteenth channel are no MIDI controller parameters.
  const int before = rig.processor->midiCount;
  int32 index = 0;
  rig.inChanges.addParameterData(0x10002 + 130 * 16, index)->addPoint(0, 1.0, index);
  rig.Process(64);
  EXPECT_EQ(rig.processor->midiCount, before);
}

// Velocities a host sends as k / 127 come back as k.
TEST(MidiInput, VelocitiesRoundTrip) {
  Rig rig;
  rig.Activate(kSample32, 64);
  for (int k = 1; k < 128; ++k) {
    Event on{};
    on.type = Event::kNoteOnEvent;
    on.noteOn = {0, 60, 0.0f, float(k / 127.0), -1, -1};
    rig.inEvents.addEvent(on);
    rig.Process(64);
    ASSERT_EQ(rig.processor->lastMidi.Velocity(), k);
  }
}

// A host buffer set of its own, for blocks and layouts the prepared record does not have.
template <class Sample> struct Buffers {
  Buffers(int channels, int frames)
      : samples(size_t(channels), std::vector<Sample>(size_t(frames))) {
    for (auto& ch : samples)
      pointers.push_back(ch.data());
  }
  void Bind(AudioBusBuffers& bus) {
    bus.numChannels = int32(pointers.size());
    if constexpr (sizeof(Sample) == 4)
      bus.channelBuffers32 = pointers.data();
    else
      bus.channelBuffers64 = pointers.data();
  }
  std::vector<std::vector<Sample>> samples;
  std::vector<Sample*> pointers;
};

TEST(HostBlocks, LongerThanSetUpIsProcessedWhole) {
  Rig rig;
  rig.Activate(kSample32, 64);
  const int frames = 64 * 3 + 17;
  Buffers<float> in(2, frames), out(2, frames);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < frames; ++i)
      in.samples[size_t(c)][size_t(i)] = float(0.001 * (i + 1) + 0.1 * c);
  AudioBusBuffers inBus, outBus;
  in.Bind(inBus);
  out.Bind(outBus);
  ProcessData data;
  data.symbolicSampleSize = kSample32;
  data.numSamples = frames;
  data.numInputs = 1;
  data.numOutputs = 1;
  data.inputs = &inBus;
  data.outputs = &outBus;
  ASSERT_EQ(rig.processor->process(data), kResultOk);
  for (int c = 0; c < 2; ++c) {
    for (int i = 0; i < frames; ++i) {
      const double expected = i < kLatency ? 0.0 : 0.001 * (i - kLatency + 1) + 0.1 * c;
      ASSERT_NEAR(out.samples[size_t(c)][size_t(i)], expected, 1e-6) << c << " " << i;
    }
  }
}

TEST(HostBlocks, NullListsAndNullBuffersAreHandled) {
  Rig rig;
  rig.Activate(kSample32, 64);
  ProcessData empty;
  empty.symbolicSampleSize = kSample32;
  EXPECT_EQ(rig.processor->process(empty), kResultOk);
  // Buses without buffers, in a block of no samples and in one of some.
  AudioBusBuffers inBus, outBus;
  inBus.numChannels = 2;
  outBus.numChannels = 2;
  ProcessData data;
  data.symbolicSampleSize = kSample32;
  data.numInputs = data.numOutputs = 1;
  data.inputs = &inBus;
  data.outputs = &outBus;
  EXPECT_EQ(rig.processor->process(data), kResultOk);
  data.numSamples = 32;
  EXPECT_EQ(rig.processor->process(data), kResultOk);
  // Null channel pointers inside a bus.
  float* none[2] = {nullptr, nullptr};
  inBus.channelBuffers32 = none;
  outBus.channelBuffers32 = none;
  EXPECT_EQ(rig.processor->process(data), kResultOk);
}

// Bypass with latency on a host that hands the same buffers in and out: the impulse comes out
// 64 samples later, on the same buffer.
TEST(HostBlocks, InPlaceBypassWithLatency) {
  Rig rig;
  rig.Activate(kSample64, 256);
  int32 index = 0;
  rig.inChanges.addParameterData(kBypass, index)->addPoint(0, 1.0, index);
  Buffers<double> io(2, 256);
  io.samples[0][0] = 1.0;
  io.samples[1][10] = -0.5;
  AudioBusBuffers inBus, outBus;
  io.Bind(inBus);
  io.Bind(outBus);
  rig.data.inputs = &inBus;
  rig.data.outputs = &outBus;
  rig.data.numSamples = 256;
  ASSERT_EQ(rig.processor->process(rig.data), kResultOk);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(io.samples[0][size_t(i)], i == kLatency ? 1.0 : 0.0) << i;
    EXPECT_EQ(io.samples[1][size_t(i)], i == kLatency + 10 ? -0.5 : 0.0) << i;
  }
}

// One input channel offered out of two: the second reads silence, never what the scratch
// buffer held; a host output channel the plug-in does not have gets silence too.
TEST(HostBlocks, MissingInputsAndExtraOutputsAreSilent) {
  Rig rig;
  rig.Activate(kSample32, 128);
  int32 index = 0;
  rig.inChanges.addParameterData(kBypass, index)->addPoint(0, 1.0, index);
  Buffers<float> in(2, 128), out(3, 128);
  for (auto& ch : in.samples)
    for (float& s : ch)
      s = 0.25f;
  AudioBusBuffers inBus, outBus;
  in.Bind(inBus);
  out.Bind(outBus);
  rig.data.inputs = &inBus;
  rig.data.outputs = &outBus;
  rig.data.numSamples = 128;
  rig.processor->process(rig.data);
  rig.processor->process(rig.data);
  inBus.numChannels = 1;
  for (auto& ch : out.samples)
    for (float& s : ch)
      s = 9.0f;
  rig.processor->process(rig.data);
  rig.processor->process(rig.data);
  for (int i = 0; i < 128; ++i) {
    ASSERT_EQ(out.samples[0][size_t(i)], 0.25f);
    ASSERT_EQ(out.samples[1][size_t(i)], 0.0f) << i;
    ASSERT_EQ(out.samples[2][size_t(i)], 0.0f) << i;
  }
}

// Denormals are flushed while the plug-in processes, and the host's mode comes back after.
class DenormalProbe : public bare::BareProcessor {
public:
  void ProcessDoubleReplacing(double** in, double** out, int n) override {
    volatile double tiny = 1e-310;
    flushed = (tiny * 0.5) == 0.0;
    bare::BareProcessor::ProcessDoubleReplacing(in, out, n);
  }
  bool flushed = false;
};

TEST(HostBlocks, DenormalsAreFlushedOnlyDuringProcess) {
  auto* probe = new DenormalProbe;
  probe->initialize(nullptr);
  ProcessSetup setup{kRealtime, kSample32, 64, 48000.0};
  probe->setupProcessing(setup);
  Buffers<float> in(2, 64), out(2, 64);
  AudioBusBuffers inBus, outBus;
  in.Bind(inBus);
  out.Bind(outBus);
  ProcessData data;
  data.numSamples = 64;
  data.numInputs = data.numOutputs = 1;
  data.inputs = &inBus;
  data.outputs = &outBus;
  probe->setActive(true);
  probe->process(data);
  EXPECT_TRUE(probe->flushed);
  volatile double tiny = 1e-310;
  EXPECT_NE(tiny * 0.5, 0.0);
  probe->setActive(false);
  probe->terminate();
  probe->release();
}

} // namespace
