// The wrapper hosting the bare test plug-in, whose processor has MIDI event buses: the host's
// MIDI packets reach the processor as events and mapped controller changes, its output events
// come back as packets, and everything bound for the controller half arrives there once the
// host's main thread has run its loop.
#include "WrapperSession.h"
#include "aax/library/AAX_IMIDINode.h"
#include "framework/FxParamIDs.h"
#include "tests/bareplugin/BareController.h"
#include "tests/bareplugin/BareProcessor.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

constexpr int32_t kBlock = 64;
// The hosted controller's MIDI controller parameters: 130 per channel after 0x10002.
constexpr ParamID MidiControllerParam(int channel, int entry) {
  return kFxMidiCCParamBase + ParamID(channel) * kFxMidiCCsPerChannel + ParamID(entry);
}

// A host's MIDI node: an input node offers `incoming` for the block, an output node keeps
// what it is given.
class MidiNode final : public AAX_IMIDINode {
public:
  AAX_CMidiStream* GetNodeBuffer() override {
    mStream = {uint32_t(incoming.size()), incoming.data()};
    return &mStream;
  }
  AAX_Result PostMIDIPacket(AAX_CMidiPacket* packet) override {
    posted.push_back(*packet);
    return AAX_SUCCESS;
  }

  std::vector<AAX_CMidiPacket> incoming;
  std::vector<AAX_CMidiPacket> posted;

private:
  AAX_CMidiStream mStream{};
};

AAX_CMidiPacket Packet(uint32_t offset, std::vector<uint8_t> bytes) {
  AAX_CMidiPacket packet{};
  packet.mTimestamp = offset;
  packet.mLength = uint32_t(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i)
    packet.mData[i] = bytes[i];
  return packet;
}

std::vector<uint8_t> Bytes(const AAX_CMidiPacket& packet) {
  return std::vector<uint8_t>(packet.mData, packet.mData + packet.mLength);
}

class MidiWrapper : public WrapperSession {
protected:
  void SetUp() override {
    WrapperSession::SetUp();
    Make();
    if (HasFatalFailure())
      return;
    processor = dynamic_cast<bare::BareProcessor*>(wrapper->AudioProcessor());
    controller = dynamic_cast<bare::BareController*>(wrapper->EditController());
    ASSERT_NE(processor, nullptr);
    ASSERT_NE(controller, nullptr);
  }

  // One render call with these packets on the MIDI input node; returns what the output node
  // was given.
  std::vector<AAX_CMidiPacket> Render(std::vector<AAX_CMidiPacket> packets = {}) {
    MidiNode input, output;
    input.incoming = std::move(packets);
    aaxhost::FakeInstanceBlock block(wrapper, 2, 2, kBlock, 48000.0f, nullptr);
    for (int c = 0; c < 2; ++c)
      for (int n = 0; n < kBlock; ++n)
        block.Input(c)[n] = 0.5f;
    block.SetField(AAXWrapper_Parameters::kFieldMidiInput, &input);
    block.SetField(AAXWrapper_Parameters::kFieldMidiOutput, &output);
    aaxhost::RenderInstances(effect->components[1]->processProcs[0].proc, {&block});
    return output.posted;
  }

  bare::BareProcessor* processor = nullptr;
  bare::BareController* controller = nullptr;
};

// Each packet alone in a block, and the MIDI message the processor receives for it (mapped
// controllers arrive as parameter changes, which the processor turns back into messages).
TEST_F(MidiWrapper, HostPacketsReachTheProcessorAtTheirOffsets) {
  struct Case {
    std::vector<uint8_t> in;
    uint32_t offset;
    uint8_t status, data1, data2;
  };
  const Case cases[] = {
      {{0x93, 60, 100}, 5, 0x93, 60, 100}, // note on
      {{0x93, 60, 0}, 6, 0x83, 60, 0},     // note on of velocity 0: note off
      {{0x82, 61, 64}, 7, 0x82, 61, 0},    // note off
      {{0xA1, 62, 90}, 8, 0xA1, 62, 90},   // poly pressure
      {{0xB2, 7, 127}, 9, 0xB2, 7, 127},   // control change, mapped by the controller
      {{0xB0, 1, 0}, 10, 0xB0, 1, 0},      //
      {{0xD4, 64}, 11, 0xD4, 64, 0},       // channel pressure
  };
  for (const Case& c : cases) {
    const int before = processor->midiCount;
    Render({Packet(c.offset, c.in)});
    EXPECT_EQ(processor->midiCount, before + 1) << int(c.in[0]);
    EXPECT_EQ(processor->lastMidi.status, c.status) << int(c.in[0]);
    EXPECT_EQ(processor->lastMidi.data1, c.data1) << int(c.in[0]);
    EXPECT_EQ(processor->lastMidi.data2, c.data2) << int(c.in[0]);
    EXPECT_EQ(processor->lastMidi.offset, int32_t(c.offset)) << int(c.in[0]);
  }
  // Pitch bend: 14 bits, centre 8192.
  Render({Packet(12, {0xE5, 0x00, 0x40})});
  EXPECT_EQ(processor->lastMidi.status, 0xE5);
  EXPECT_NEAR(processor->lastMidi.data2 * 128 + processor->lastMidi.data1, 8192, 1);
  // Unknown and empty packets change nothing.
  const int before = processor->midiCount;
  Render({Packet(0, {0xF8}), Packet(0, {})});
  EXPECT_EQ(processor->midiCount, before);
}

// Mapped controllers go to the controller half too, but only when the host's main thread
// runs its loop (the wrapper's transfer timer).
TEST_F(MidiWrapper, MappedControllersReachTheControllerOnTheMainLoop) {
  Render({Packet(3, {0xB2, 7, 127}), Packet(4, {0xE5, 0x00, 0x40}), Packet(5, {0xD1, 127})});
  EXPECT_EQ(controller->getParamNormalized(MidiControllerParam(2, 7)), 0.0);
  host.RunMainLoop(60);
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(MidiControllerParam(2, 7)), 1.0);
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(MidiControllerParam(5, 129)), 8192.0 / 16383.0);
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(MidiControllerParam(1, 128)), 1.0);
}

// The processor passes notes on to its MIDI output: they come back as packets, a note on of
// velocity 0 as a note off; the processor's SysEx output goes in packets of four bytes at most.
TEST_F(MidiWrapper, OutputEventsBecomePackets) {
  std::vector<AAX_CMidiPacket> out = Render({Packet(5, {0x93, 60, 100}), Packet(9, {0x81, 40, 3})});
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(Bytes(out[0]), (std::vector<uint8_t>{0x93, 60, 100}));
  EXPECT_EQ(out[0].mTimestamp, 5u);
  EXPECT_EQ(Bytes(out[1]), (std::vector<uint8_t>{0x81, 40, 0}));
  EXPECT_EQ(out[1].mTimestamp, 9u);
  for (uint8_t velocity : {uint8_t(1), uint8_t(64), uint8_t(127)}) {
    out = Render({Packet(0, {0x90, 72, velocity})});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].mData[2], velocity);
  }

  const std::vector<uint8_t> sysex = {0xF0, 0x7D, 1, 2, 3, 4, 5, 6, 7, 0xF7};
  ISysEx message;
  message.size = int32_t(sysex.size());
  message.data = sysex.data();
  ASSERT_TRUE(controller->SendSysEx(message));
  out = Render();
  ASSERT_EQ(out.size(), 3u);
  std::vector<uint8_t> joined;
  for (const AAX_CMidiPacket& packet : out) {
    EXPECT_LE(packet.mLength, 4u);
    const std::vector<uint8_t> bytes = Bytes(packet);
    joined.insert(joined.end(), bytes.begin(), bytes.end());
  }
  EXPECT_EQ(joined, sysex);
}

// A change of the master bypass sends all-notes-off (controller 123 of channel 1) to the
// processor in the next block and to the controller on the main loop.
TEST_F(MidiWrapper, MasterBypassSendsAllNotesOffToBothHalves) {
  ASSERT_EQ(wrapper->UpdateParameterNormalizedValue("", 1.0, 0), AAX_SUCCESS);
  Render();
  EXPECT_EQ(processor->lastMidi.status, 0xB0);
  EXPECT_EQ(processor->lastMidi.data1, 123);
  EXPECT_EQ(controller->getParamNormalized(MidiControllerParam(0, 123)), 0.0);
  host.RunMainLoop(60);
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(MidiControllerParam(0, 123)), 1.0);
}

// The processor's output (its meter parameter, sent every block) and the messages of its own
// timer (notes it hands back) reach the controller once the main loop has run.
TEST_F(MidiWrapper, ProcessorOutputReachesTheControllerOnTheMainLoop) {
  Render({Packet(0, {0x90, 64, 90})});
  Render(); // the first block is the plug-in's latency: silence
  const double meter = processor->GetParam(bare::kMeter)->GetNormalized();
  ASSERT_GT(meter, 0.0);
  EXPECT_NE(controller->getParamNormalized(bare::kMeter), meter);
  EXPECT_TRUE(controller->midiFromProcessor.empty());
  host.RunMainLoop(60);
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(bare::kMeter), meter);
  ASSERT_EQ(controller->midiFromProcessor.size(), 1u);
  EXPECT_EQ(controller->midiFromProcessor[0].data1, 64);
}

} // namespace
