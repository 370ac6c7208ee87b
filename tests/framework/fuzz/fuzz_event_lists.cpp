// The event list and the parameter changes of a block, as a host hands them to process(), to
// the bare plug-in (which takes MIDI in and sends MIDI out) from its bundle: events of every
// type with any fields and offsets, data events of any size, parameter points of any ID,
// offset and value. Nothing the host sends may crash the block or leave the output not finite.
//
// Input: records until it ends. A record starts with a kind byte: below 0xC0 an event (type =
// kind mod 11; then the sample offset as int32 and 20 bytes of the event's fields; a data
// event takes a length byte and that many bytes instead of the fields), from 0xC0 on a
// parameter point (ID as uint32, offset as int32, value as double).
#include "tests/bareplugin/BarePluginIDs.h"
#include "tests/framework/fuzz/FuzzBytes.h"
#include "tests/framework/fuzz/ShippedPlugins.h"

#include "pluginterfaces/vst/ivstevents.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

orvane::testhost::Plugin* gBare;

// Only fields a host fills with numbers come from the input; text pointers stay null.
bool TakesFieldBytes(uint16 type) {
  return type == Event::kNoteOnEvent || type == Event::kNoteOffEvent ||
         type == Event::kPolyPressureEvent || type == Event::kLegacyMIDICCOutEvent ||
         type == Event::kNoteExpressionValueEvent;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  gBare = &fuzzplugins::Load(ORVANE_BARE_BUNDLE, bare::kProcessorUID);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBytes in(data, size);
  orvane::testhost::Plugin& plugin = *gBare;
  std::vector<std::vector<uint8_t>> dataEvents; // kept until the block has run
  while (in.Left() > 0) {
    const uint8_t kind = in.Byte();
    if (kind >= 0xC0) {
      const auto id = in.Value<uint32>();
      const auto offset = in.Value<int32>();
      plugin.inputChanges().add(id, offset, in.Value<double>());
      continue;
    }
    Event e{};
    e.type = uint16(kind % 11);
    e.sampleOffset = in.Value<int32>();
    if (e.type == Event::kDataEvent) {
      dataEvents.push_back(in.Bytes(in.Byte()));
      e.data.type = DataEvent::kMidiSysEx;
      e.data.size = uint32(dataEvents.back().size());
      e.data.bytes = dataEvents.back().data();
    } else if (TakesFieldBytes(e.type)) {
      const auto fields = in.Bytes(sizeof(NoteOnEvent)); // the largest of these
      if (!fields.empty())
        std::memcpy(&e.noteOn, fields.data(), fields.size());
    }
    plugin.inputEvents().add(e);
  }
  plugin.process(fuzzplugins::kBlock);
  for (size_t c = 0; c < 2; ++c) {
    const float* out = plugin.output<float>(0, c);
    for (int i = 0; out && i < fuzzplugins::kBlock; ++i)
      if (!std::isfinite(out[i]))
        std::abort();
  }
  return 0;
}
