// Writes the seed inputs of the fuzz targets into their seed folders in the source tree: real
// states, chunks and messages of the built plug-ins (so that fuzzing starts from inputs that
// reach deep into each parser), plus a few hand-made records for the formats of the targets'
// own input encodings. Run after a build, from the repository root:
//   build/release/tools/fuzzseeds/orvane_write_fuzz_seeds .
// Folders are emptied first; the output is the same on every run.
#include "FakeAAXBundle.h"
#include "FakeAAXHost.h"
#include "FakeEffectInstance.h"
#include "aax/library/AAX_CChunkDataParser.h"
#include "tests/bareplugin/BarePluginIDs.h"
#include "tests/hosts/vst2/RawEffect.h"
#include "tests/hosts/vst3/ShippedPlugins.h"

#include "pluginterfaces/vst/ivstevents.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using namespace Steinberg;
using namespace Steinberg::Vst;

fs::path gRoot;

struct Builder {
  Bytes bytes;
  Builder& u8(uint8_t v) { return raw(&v, 1); }
  template <class T> Builder& value(T v) { return raw(&v, sizeof v); }
  Builder& raw(const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    bytes.insert(bytes.end(), b, b + n);
    return *this;
  }
  Builder& add(const Bytes& more) { return raw(more.data(), more.size()); }
};

Bytes Prefixed(uint8_t first, const Bytes& rest) {
  return Builder().u8(first).add(rest).bytes;
}

class SeedFolder {
public:
  explicit SeedFolder(const char* path) : mPath(gRoot / path) {
    fs::remove_all(mPath);
    fs::create_directories(mPath);
  }
  void Write(const char* name, const Bytes& bytes) {
    std::ofstream(mPath / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  void Write(const char* name, const std::string& text) {
    Write(name, Bytes(text.begin(), text.end()));
  }

private:
  fs::path mPath;
};

using orvane::testhost::LoadedPlugin;

LoadedPlugin Load(const char* bundle, const FUID& processor) {
  std::string error;
  LoadedPlugin loaded = orvane::testhost::LoadPlugin(bundle, processor, error);
  if (!loaded.plugin) {
    std::fprintf(stderr, "cannot load %s: %s\n", bundle, error.c_str());
    std::exit(1);
  }
  return loaded;
}

// ---- states of both plug-ins: the processor stream, its chunk, the controller stream ----

void WriteStates(LoadedPlugin& eq, LoadedPlugin& comp) {
  const Bytes eqProcessor = eq.plugin->processorState();
  const Bytes compProcessor = comp.plugin->processorState();
  SeedFolder controller("tests/framework/fuzz/seeds/fuzz_controller_state");
  controller.Write("eq_component_state", Prefixed(0, eqProcessor));
  controller.Write("compressor_component_state", Prefixed(1, compProcessor));
  controller.Write("eq_controller_state", Prefixed(2, eq.plugin->controllerState()));
  controller.Write("compressor_controller_state", Prefixed(3, comp.plugin->controllerState()));

  SeedFolder processor("tests/framework/fuzz/seeds/fuzz_processor_state");
  processor.Write("compressor_state", compProcessor);
  SeedFolder chunk("tests/framework/fuzz/seeds/fuzz_state_chunk");
  chunk.Write("compressor_chunk", Bytes(compProcessor.begin() + 4, compProcessor.end()));
}

// ---- messages between the halves, in fuzz_half_messages' encoding ----

Builder& FloatAttribute(Builder& b, uint8_t name, double v) {
  return b.u8(uint8_t(name | 1 << 2)).value(v);
}
Builder& IntAttribute(Builder& b, uint8_t name, int64_t v) {
  return b.u8(name).value(v);
}
Builder& BinaryAttribute(Builder& b, uint8_t name, const Bytes& data) {
  return b.u8(uint8_t(name | 2 << 2)).value(uint16_t(data.size())).add(data);
}

void WriteMessages() {
  enum { kGain, kGainReduction, kData, kOffset };
  enum { kEQPlugin = 0, kCompPlugin = 1, kBarePlugin = 2, kController = 0x80 };
  SeedFolder folder("tests/framework/fuzz/seeds/fuzz_half_messages");
  Builder eqMeter;
  FloatAttribute(eqMeter.u8(kEQPlugin | kController).u8(0), kGain, 0.75);
  folder.Write("eq_meter", eqMeter.bytes);
  Builder compMeter;
  FloatAttribute(compMeter.u8(kCompPlugin | kController).u8(0), kGain, 0.5);
  FloatAttribute(compMeter, kGainReduction, 0.25);
  folder.Write("compressor_meters", compMeter.bytes);
  const Bytes noteOn = {0x90, 60, 100, 0, 0, 0, 0, 0};
  Builder midiIn;
  BinaryAttribute(midiIn.u8(kBarePlugin).u8(1), kData, noteOn);
  folder.Write("midi_to_processor", midiIn.bytes);
  Builder midiBack;
  BinaryAttribute(midiBack.u8(kBarePlugin | kController).u8(1), kData, noteOn);
  folder.Write("midi_to_controller", midiBack.bytes);
  Builder sysex;
  IntAttribute(sysex.u8(kBarePlugin).u8(2), kOffset, 3);
  BinaryAttribute(sysex, kData, {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7});
  folder.Write("sysex_to_processor", sysex.bytes);
}

// ---- block contents, in fuzz_event_lists' encoding ----

void WriteEvents() {
  SeedFolder folder("tests/framework/fuzz/seeds/fuzz_event_lists");
  Builder notes;
  NoteOnEvent on{0, 60, 0.f, 0.8f, 0, -1};
  notes.u8(Event::kNoteOnEvent).value(int32_t(0)).value(on);
  NoteOffEvent off{0, 60, 0.5f, -1, 0.f};
  notes.u8(Event::kNoteOffEvent).value(int32_t(32)).raw(&off, sizeof off).raw("\0\0\0\0", 4);
  PolyPressureEvent pressure{0, 60, 0.5f, -1};
  notes.u8(Event::kPolyPressureEvent).value(int32_t(40)).raw(&pressure, sizeof pressure);
  notes.raw("\0\0\0\0\0\0\0\0", sizeof(NoteOnEvent) - sizeof pressure);
  folder.Write("notes", notes.bytes);
  Builder sysex;
  const Bytes message = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
  sysex.u8(Event::kDataEvent).value(int32_t(8)).u8(uint8_t(message.size())).add(message);
  folder.Write("sysex", sysex.bytes);
  Builder points;
  points.u8(0xC0).value(uint32_t(0)).value(int32_t(0)).value(0.25);
  points.u8(0xC0).value(uint32_t(0x10000)).value(int32_t(16)).value(1.0);    // bypass
  points.u8(0xC0).value(uint32_t(0x10002 + 7)).value(int32_t(4)).value(0.5); // MIDI CC 7
  folder.Write("parameter_points", points.bytes);
}

// ---- host names and texts ----

void WriteTexts() {
  SeedFolder hosts("tests/framework/fuzz/seeds/fuzz_host_name");
  const char* const names[] = {"Ardour",     "REAPER",           "Bitwig Studio",
                               "Cubase",     "Ableton Live",     "Pro Tools",
                               "Studio One", "Orvane Test Host", "Orvane C Host"};
  for (const char* name : names) {
    std::string file = name;
    std::replace(file.begin(), file.end(), ' ', '_');
    hosts.Write(file.c_str(), std::string(name));
  }
  SeedFolder utf("tests/sdk/vst3/fuzz/seeds/fuzz_utf_conversions");
  utf.Write("ascii", std::string("Orvane EQ"));
  utf.Write("latin", std::string("Gr\xC3\xBC\xC3\x9F"
                                 "e"));
  utf.Write("cjk", std::string("\xE6\x97\xA5\xE6\x9C\xAC"));
  utf.Write("astral", std::string("\xF0\x9F\x8E\x9B"));
  SeedFolder base64("tests/framework/fuzz/seeds/fuzz_base64");
  base64.Write("short", Prefixed(16, Bytes{'T', '3', 'J', '2', 'Y', 'W', '5', 'l'}));
  base64.Write("padded", Prefixed(8, Bytes{
                                         'R',
                                         'V',
                                         'E',
                                         '=',
                                     }));
}

// ---- VST 2.4 chunks of the EQ library ----

void WriteVst2Chunks(const char* library) {
  orvane::vst2host::RawEffect eq(library);
  if (!eq.effect()) {
    std::fprintf(stderr, "%s\n", eq.error().c_str());
    std::exit(1);
  }
  SeedFolder folder("tests/vst2/fuzz/seeds/fuzz_vst2_chunks");
  const Bytes program = eq.Chunk(true), bank = eq.Chunk(false);
  folder.Write("program", Prefixed(1, program));
  folder.Write("bank", Prefixed(0, bank));
  SeedFolder presetBank("tests/framework/fuzz/seeds/fuzz_preset_bank");
  presetBank.Write("eq_bank", Bytes(bank.begin() + 8, bank.end())); // without the header
}

// ---- AAX chunks of the compressor ----

void WriteAaxChunks(const char* bundlePath) {
  aaxhost::FakeAAXHost host;
  std::string error;
  auto bundle = aaxhost::FakeAAXBundle::Load(bundlePath, error);
  IACFUnknown* registered = nullptr;
  if (!bundle || bundle->Startup(&host) != AAX_SUCCESS ||
      bundle->RegisterPlugin(&host, &registered) != AAX_SUCCESS || !registered) {
    std::fprintf(stderr, "cannot load %s: %s\n", bundlePath, error.c_str());
    std::exit(1);
  }
  registered->Release();
  host.controller.inputStemFormat = host.controller.outputStemFormat = 0x00010002u;
  host.controller.sampleRate = 48000.f;
  {
    aaxhost::FakeEffectInstance instance(host, *host.factory.Collections()[0]->effects[0].second);
    SeedFolder folder("tests/aax/fuzz/seeds/fuzz_aax_wrapper_chunk");
    folder.Write("compressor_chunk", instance.SaveChunk(AAX_FourCC('o', 'v', 'C', 'P')));
  }
  bundle->Shutdown(&host);

  AAX_CChunkDataParser parser;
  parser.AddInt32("version", 3);
  parser.AddDouble("Threshold", -12.5);
  parser.AddDouble("Ratio", 4.0);
  Bytes record(AAX_kChunkDataOffset + size_t(parser.GetChunkDataSize()));
  auto* chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.data());
  parser.GetChunkData(chunk);
  SeedFolder folder("tests/aax/fuzz/seeds/fuzz_aax_chunk_data");
  folder.Write("values", Bytes(record.begin() + AAX_kChunkDataOffset, record.end()));
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <repository root>\n", argv[0]);
    return 2;
  }
  gRoot = argv[1];
  LoadedPlugin eq = Load(ORVANE_EQ_BUNDLE, orvane::testhost::kEQProcessor);
  LoadedPlugin comp = Load(ORVANE_COMPRESSOR_BUNDLE, orvane::testhost::kCompressorProcessor);
  WriteStates(eq, comp);
  WriteMessages();
  WriteEvents();
  WriteTexts();
  WriteVst2Chunks(ORVANE_EQ_VST2_LIBRARY);
  WriteAaxChunks(ORVANE_COMPRESSOR_BUNDLE);
  return 0;
}
