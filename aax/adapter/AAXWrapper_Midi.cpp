// The MIDI road of AAXWrapper_Parameters, for a hosted processor with event buses: the AAX
// host's MIDI packets become VST 3 events and controller changes, and the processor's output
// events become AAX packets. Audio thread only; nothing allocates.
#include "aax/adapter/AAXWrapper_Parameters.h"
#include "aax/library/AAX_IMIDINode.h"

#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr uint8_t kStatusNoteOff = 0x80;
constexpr uint8_t kStatusNoteOn = 0x90;
constexpr uint8_t kStatusPolyPressure = 0xA0;
constexpr uint8_t kStatusControlChange = 0xB0;
constexpr uint8_t kStatusChannelPressure = 0xD0;
constexpr uint8_t kStatusPitchBend = 0xE0;
// Entries of a channel's controller table beside the 128 control changes.
constexpr int32 kChannelPressureEntry = 128;
constexpr int32 kPitchBendEntry = 129;
constexpr size_t kMaxPacketBytes = 4;

float SevenBitFraction(uint8_t value) {
  return float(value) / 127.0f;
}

// A fraction back to a 7-bit value; what lies outside [0, 1] is held at the ends.
uint8_t SevenBitValue(float fraction) {
  const double scaled = std::trunc(double(fraction) * 127.0 + 0.4999999);
  return uint8_t(scaled < 0.0 ? 0.0 : (scaled > 127.0 ? 127.0 : scaled));
}

void Post(AAX_IMIDINode& node, int32 sampleOffset, const uint8_t* bytes, size_t count) {
  AAX_CMidiPacket packet{};
  packet.mTimestamp = uint32_t(sampleOffset < 0 ? 0 : sampleOffset);
  packet.mLength = uint32_t(count);
  for (size_t i = 0; i < count; ++i)
    packet.mData[i] = bytes[i];
  node.PostMIDIPacket(&packet);
}

} // namespace

void AAXWrapper_Parameters::ProcessMidiInput(void* const* fields) {
  auto* node = static_cast<AAX_IMIDINode*>(fields[kFieldMidiInput]);
  const AAX_CMidiStream* stream = node ? node->GetNodeBuffer() : nullptr;
  if (!stream || !stream->mBuffer)
    return;
  for (uint32_t i = 0; i < stream->mBufferSize; ++i)
    TranslateMidiPacket(stream->mBuffer[i]);
}

void AAXWrapper_Parameters::TranslateMidiPacket(const AAX_CMidiPacket& packet) {
  if (packet.mLength < 1 || !mInputEvents)
    return;
  const uint8_t status = packet.mData[0] & 0xF0;
  const int16 channel = int16(packet.mData[0] & 0x0F);
  const uint8_t data1 = packet.mLength > 1 ? packet.mData[1] & 0x7F : 0;
  const uint8_t data2 = packet.mLength > 2 ? packet.mData[2] & 0x7F : 0;
  const int32 offset = int32(packet.mTimestamp & 0x7FFFFFFF);
  Event e{};
  e.busIndex = 0;
  e.sampleOffset = offset;
  switch (status) {
  case kStatusNoteOn:
    if (data2 > 0) {
      e.type = Event::kNoteOnEvent;
      e.noteOn = {channel, int16(data1), 0.0f, SevenBitFraction(data2), 0, -1};
      mInputEvents->addEvent(e);
      break;
    }
    [[fallthrough]]; // a note on of velocity 0 ends the note
  case kStatusNoteOff:
    e.type = Event::kNoteOffEvent;
    e.noteOff = {channel, int16(data1), SevenBitFraction(data2), -1, 0.0f};
    mInputEvents->addEvent(e);
    break;
  case kStatusPolyPressure:
    e.type = Event::kPolyPressureEvent;
    e.polyPressure = {channel, int16(data1), SevenBitFraction(data2), -1};
    mInputEvents->addEvent(e);
    break;
  case kStatusControlChange:
    ChangeMappedController(channel, data1, data2 / 127.0, offset);
    break;
  case kStatusChannelPressure:
    ChangeMappedController(channel, kChannelPressureEntry, data1 / 127.0, offset);
    break;
  case kStatusPitchBend:
    ChangeMappedController(channel, kPitchBendEntry, (data2 * 128 + data1) / 16383.0, offset);
    break;
  default:
    break;
  }
}

// A controller the plug-in maps to a parameter changes that parameter at the packet's offset
// in this block, and the controller half hears of it with the processor's other output.
void AAXWrapper_Parameters::ChangeMappedController(int32 channel, int32 entry, ParamValue value,
                                                   int32 sampleOffset) {
  if (!mMidiControllerTables)
    return;
  const int32 id = (*mMidiControllerTables)[size_t(channel)][size_t(entry)];
  if (id < 0)
    return;
  int32 index = 0;
  if (IParamValueQueue* queue = mInputChanges.addParameterData(ParamID(id), index))
    queue->addPoint(sampleOffset, value, index);
  mProcessorOutput.Add(ParamID(id), value);
}

void AAXWrapper_Parameters::ProcessMidiOutput(void* const* fields) {
  auto* node = static_cast<AAX_IMIDINode*>(fields[kFieldMidiOutput]);
  const int32 count = node && mOutputEvents ? mOutputEvents->getEventCount() : 0;
  for (int32 i = 0; i < count; ++i) {
    Event e{};
    if (mOutputEvents->getEvent(i, e) != kResultOk)
      continue;
    if (e.type == Event::kNoteOnEvent || e.type == Event::kNoteOffEvent) {
      const bool on = e.type == Event::kNoteOnEvent;
      const int16 channel = on ? e.noteOn.channel : e.noteOff.channel;
      const int16 pitch = on ? e.noteOn.pitch : e.noteOff.pitch;
      const uint8_t velocity = SevenBitValue(on ? e.noteOn.velocity : e.noteOff.velocity);
      const uint8_t status =
          (on && velocity > 0 ? kStatusNoteOn : kStatusNoteOff) | uint8_t(channel & 0x0F);
      const uint8_t bytes[3] = {status, uint8_t(pitch & 0x7F), velocity};
      Post(*node, e.sampleOffset, bytes, sizeof bytes);
    } else if (e.type == Event::kDataEvent && e.data.type == DataEvent::kMidiSysEx &&
               e.data.bytes) {
      for (uint32 sent = 0; sent < e.data.size; sent += kMaxPacketBytes) {
        const size_t n =
            e.data.size - sent < kMaxPacketBytes ? e.data.size - sent : kMaxPacketBytes;
        Post(*node, e.sampleOffset, e.data.bytes + sent, n);
      }
    }
  }
  if (mOutputEvents)
    mOutputEvents->clear();
}
