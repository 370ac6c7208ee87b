// The messages between the halves, as a host that connects them delivers them: "GAIN" (the
// meters the processors send their controllers), "MidiMsg" and "SysEx" (MIDI between the
// halves), with attributes of any name, type and size, to either half of the EQ, the
// compressor or the bare plug-in (which takes and sends MIDI), followed by a block so that
// what reached the processor's rings is played.
//
// Input: byte 0 picks the plug-in (mod 3) and the half (bit 7); byte 1 the message ID (mod 4:
// the three above or one nobody knows); then attribute records until the input ends: a byte
// whose low two bits pick the name ("GAIN", "GAIN_REDUCTION", "data", "offset") and the next
// two the type (int, float, binary, string), then 8 bytes for an int or a float, a uint16
// length and that many bytes for a binary, or a length byte and that many bytes for a string.
#include "tests/bareplugin/BarePluginIDs.h"
#include "tests/framework/fuzz/FuzzBytes.h"
#include "tests/framework/fuzz/ShippedPlugins.h"
#include "tests/hosts/vst3/HostMessage.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

orvane::testhost::Plugin* gPlugins[3];

const char* const kIDs[] = {"GAIN", "MidiMsg", "SysEx", "Unknown"};
const char* const kNames[] = {"GAIN", "GAIN_REDUCTION", "data", "offset"};

void AddAttribute(IAttributeList& list, FuzzBytes& in) {
  const uint8_t what = in.Byte();
  const char* name = kNames[what & 3];
  switch ((what >> 2) & 3) {
  case 0:
    list.setInt(name, in.Value<int64>());
    break;
  case 1:
    list.setFloat(name, in.Value<double>());
    break;
  case 2: {
    const auto bytes = in.Bytes(in.Value<uint16_t>());
    list.setBinary(name, bytes.data(), uint32(bytes.size()));
    break;
  }
  default: {
    const auto bytes = in.Bytes(in.Byte());
    std::u16string text(bytes.begin(), bytes.end());
    list.setString(name, reinterpret_cast<const TChar*>(text.c_str()));
    break;
  }
  }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  gPlugins[0] = &fuzzplugins::Load(ORVANE_EQ_BUNDLE, orvane::testhost::kEQProcessor);
  gPlugins[1] =
      &fuzzplugins::Load(ORVANE_COMPRESSOR_BUNDLE, orvane::testhost::kCompressorProcessor);
  gPlugins[2] = &fuzzplugins::Load(ORVANE_BARE_BUNDLE, bare::kProcessorUID);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBytes in(data, size);
  const uint8_t where = in.Byte();
  orvane::testhost::Plugin& plugin = *gPlugins[(where & 0x7f) % 3];
  FUnknown* half = where & 0x80 ? static_cast<FUnknown*>(plugin.controller())
                                : static_cast<FUnknown*>(plugin.component());
  auto* message = new orvane::testhost::Message;
  message->setMessageID(kIDs[in.Byte() & 3]);
  while (in.Left() > 0)
    AddAttribute(*message->getAttributes(), in);

  IConnectionPoint* point = nullptr;
  if (half->queryInterface(IConnectionPoint::iid, reinterpret_cast<void**>(&point)) == kResultOk) {
    point->notify(message);
    point->release();
  }
  message->release();
  plugin.process(fuzzplugins::kBlock);
  return 0;
}
