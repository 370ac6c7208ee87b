// OrvaneEQ as a VST 2.4 effect through the VST 2.4 test host: its record, its parameters as
// the VST 3 controller presents them, its nine programs against the generated factory preset
// blobs, program and bank chunks byte for byte, and processing equal to the VST 3 road.
#include "Projects/eq/OrvaneEQCids.h"
#include "Projects/eq/OrvaneEQFactoryPresets.h"
#include "tests/hosts/vst2/Vst2Plugin.h"
#include "tests/hosts/vst3/Plugin.h"

#include "public.sdk/source/vst/utility/stringconvert.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using orvane::vst2host::Vst2Plugin;

namespace {

const char* const kLibrary = ORVANE_EQ_VST2_LIBRARY;
const char* const kBundle = ORVANE_EQ_VST2_BUNDLE;
constexpr int kParams = 13;
constexpr int kPrograms = 9;
constexpr Steinberg::Vst::ParamID kPresetParamID = 0x10001;

std::unique_ptr<Vst2Plugin> load() {
  std::string error;
  auto plugin = Vst2Plugin::load(kLibrary, error);
  EXPECT_TRUE(plugin) << error;
  if (plugin)
    plugin->open(48000, 256);
  return plugin;
}

// Standard base64, independent of the framework's decoder.
std::vector<uint8_t> decodeBase64(const char* text) {
  auto value = [](char c) -> int {
    if (c >= 'A' && c <= 'Z')
      return c - 'A';
    if (c >= 'a' && c <= 'z')
      return c - 'a' + 26;
    if (c >= '0' && c <= '9')
      return c - '0' + 52;
    return c == '+' ? 62 : (c == '/' ? 63 : -1);
  };
  std::vector<uint8_t> out;
  uint32_t bits = 0;
  int count = 0;
  for (const char* p = text; *p && value(*p) >= 0; ++p) {
    bits = (bits << 6) | uint32_t(value(*p));
    if ((count += 6) >= 8) {
      count -= 8;
      out.push_back(uint8_t(bits >> count));
    }
  }
  return out;
}

std::vector<uint8_t> header() {
  const int32_t words[2] = {0x70666674, 0x00020000};
  const auto* b = reinterpret_cast<const uint8_t*>(words);
  return {b, b + 8};
}

// The 112 bytes of factory preset p (1..8): processor chunk, then controller chunk.
std::vector<uint8_t> presetBytes(int p) {
  auto bytes = decodeBase64(kOrvaneEQFactoryPresets[p - 1].base64);
  bytes.resize(OrvaneEQFactoryPreset::kBlobBytes, 0);
  return bytes;
}

std::unique_ptr<orvane::testhost::Plugin> vst3Plugin(orvane::testhost::Module& module) {
  std::string error;
  auto plugin = orvane::testhost::Plugin::create(module, OrvaneEQ::kProcessorUID, error);
  EXPECT_TRUE(plugin) << error;
  return plugin;
}

std::string vst3Display(Steinberg::Vst::IEditController* c, int id) {
  Steinberg::Vst::String128 text{};
  c->getParamStringByValue(Steinberg::Vst::ParamID(id), c->getParamNormalized(id), text);
  return Steinberg::Vst::StringConvert::convert(text, 128);
}

// A setting away from every default, exact in float and double.
float settingOf(int i) {
  return float((i % 4) + 1) / 5.f;
}

} // namespace

TEST(OrvaneEQVst2, Record) {
  auto plugin = load();
  ASSERT_TRUE(plugin);
  const AEffect* e = plugin->effect();
  EXPECT_EQ(e->magic, kEffectMagic);
  EXPECT_EQ(e->uniqueID, 0x6F764551); // 'ovEQ'
  EXPECT_EQ(e->version, 10100);
  EXPECT_EQ(e->numParams, kParams);
  EXPECT_EQ(e->numPrograms, kPrograms);
  EXPECT_TRUE(e->flags & effFlagsProgramChunks);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(plugin->effectName(), "Orvane EQ");
  EXPECT_EQ(plugin->vendorString(), "Quenmark");
  EXPECT_EQ(plugin->dispatch(effGetVendorVersion), 10100);
  EXPECT_EQ(plugin->plugCategory(), kPlugCategEffect);
  plugin->close();
  EXPECT_EQ(plugin->plugCategory(), kPlugCategEffect);
}

TEST(OrvaneEQVst2, ParametersAreTheControllersNamesLabelsAndTexts) {
  std::string error;
  auto module = orvane::testhost::Module::load(kBundle, error);
  ASSERT_TRUE(module) << error;
  auto vst3 = vst3Plugin(*module);
  auto vst2 = load();
  ASSERT_TRUE(vst3 && vst2);
  const auto infos = vst3->parameters();
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < kParams; ++i) {
      EXPECT_EQ(vst2->parameterName(i), orvane::testhost::toUtf8(infos[size_t(i)].title));
      EXPECT_EQ(vst2->parameterLabel(i), orvane::testhost::toUtf8(infos[size_t(i)].units));
      EXPECT_EQ(vst2->parameterDisplay(i), vst3Display(vst3->controller(), i)) << i;
      EXPECT_FLOAT_EQ(vst2->parameter(i), float(vst3->parameter(Steinberg::Vst::ParamID(i))));
    }
    for (int i = 0; i < kParams; ++i) {
      vst2->setParameter(i, settingOf(i));
      vst3->setParameter(Steinberg::Vst::ParamID(i), settingOf(i));
    }
  }
}

TEST(OrvaneEQVst2, ProgramsAreTheFactoryPresets) {
  std::string error;
  auto module = orvane::testhost::Module::load(kBundle, error);
  ASSERT_TRUE(module) << error;
  auto vst3 = vst3Plugin(*module);
  auto vst2 = load();
  ASSERT_TRUE(vst3 && vst2);
  const auto defaults = vst2->chunk(true);
  ASSERT_EQ(defaults.size(), 120u);
  for (int p = 0; p < kPrograms; ++p) {
    vst2->setProgram(p);
    EXPECT_EQ(vst2->program(), p);
    const auto chunk = vst2->chunk(true);
    if (p == 0) {
      EXPECT_EQ(vst2->programName(), "Default");
      EXPECT_EQ(chunk, defaults);
    } else {
      EXPECT_EQ(vst2->programName(), kOrvaneEQFactoryPresets[p - 1].name);
      // The blob's values; its version words (0) become the effect version once loaded.
      auto expected = header();
      const auto preset = presetBytes(p);
      const int32_t version = OrvaneEQ::kEffectVersion;
      const auto* v = reinterpret_cast<const uint8_t*>(&version);
      expected.insert(expected.end(), v, v + 4);
      expected.insert(expected.end(), preset.begin() + 4,
                      preset.begin() + OrvaneEQFactoryPreset::kProcessorChunkBytes);
      expected.insert(expected.end(), v, v + 4);
      EXPECT_EQ(chunk, expected) << "program " << p;
    }
    // The VST 3 road to the same preset gives the same values.
    vst3->setParameter(kPresetParamID, double(p) / kPrograms);
    for (int i = 0; i < kParams; ++i)
      EXPECT_FLOAT_EQ(vst2->parameter(i), float(vst3->parameter(Steinberg::Vst::ParamID(i))))
          << "program " << p << " parameter " << i;
  }
}

TEST(OrvaneEQVst2, BankChunkHoldsEveryPreset) {
  auto plugin = load();
  ASSERT_TRUE(plugin);
  const auto program0 = plugin->chunk(true);
  const auto bank = plugin->chunk(false);
  std::vector<uint8_t> expected = header();
  auto slot = [&](const char* name, const uint8_t* bytes) {
    const int32_t n = int32_t(std::strlen(name));
    expected.insert(expected.end(), reinterpret_cast<const uint8_t*>(&n),
                    reinterpret_cast<const uint8_t*>(&n) + 4);
    expected.insert(expected.end(), name, name + n);
    expected.push_back(1);
    expected.insert(expected.end(), bytes, bytes + OrvaneEQFactoryPreset::kBlobBytes);
  };
  slot("Default", program0.data() + 8);
  for (int p = 1; p < kPrograms; ++p)
    slot(kOrvaneEQFactoryPresets[p - 1].name, presetBytes(p).data());
  EXPECT_EQ(bank, expected);
}

TEST(OrvaneEQVst2, ChunkRoundTrips) {
  auto plugin = load();
  ASSERT_TRUE(plugin);
  plugin->setProgram(4);
  for (int i = 0; i < kParams; i += 3)
    plugin->setParameter(i, settingOf(i));
  const auto program = plugin->chunk(true);
  const auto bank = plugin->chunk(false);

  auto other = load();
  ASSERT_TRUE(other);
  ASSERT_EQ(other->setChunk(program, true), 1);
  EXPECT_EQ(other->chunk(true), program);
  for (int i = 0; i < kParams; ++i)
    EXPECT_FLOAT_EQ(other->parameter(i), plugin->parameter(i));

  // Every program of the bank comes back (slots are re-captured as they load, so their
  // version words become the effect version: compared program by program).
  auto third = load();
  ASSERT_TRUE(third);
  ASSERT_EQ(third->setChunk(bank, false), 1);
  for (int p = kPrograms - 1; p >= 0; --p) {
    plugin->setProgram(p);
    third->setProgram(p);
    EXPECT_EQ(third->chunk(true), plugin->chunk(true)) << "program " << p;
  }
  plugin->setProgram(4);
  third->setProgram(4);
  EXPECT_EQ(third->chunk(true), program);

  // A program chunk cut inside a value is refused and changes nothing.
  std::vector<uint8_t> shorter(program.begin(), program.end() - 3);
  EXPECT_EQ(other->setChunk(shorter, true), 0);
  EXPECT_EQ(other->chunk(true), program);
}

namespace {

template <class Sample> Sample signal(int c, int i) {
  return Sample(0.5 * std::sin(0.05 * (i + 1) * (c + 1)) + 0.3 * std::sin(0.71 * i));
}

template <class Sample> std::vector<Sample> renderVst2(int blocks) {
  auto plugin = load();
  EXPECT_TRUE(plugin);
  if (sizeof(Sample) == 8) {
    EXPECT_TRUE(plugin->setPrecision64(true));
  }
  plugin->resume();
  for (int i = 0; i < kParams; ++i)
    plugin->setParameter(i, settingOf(i));
  std::vector<Sample> out;
  for (int b = 0; b < blocks; ++b) {
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < 256; ++i)
        plugin->input<Sample>(c)[i] = signal<Sample>(c, b * 256 + i);
    plugin->process<Sample>(256);
    for (int c = 0; c < 2; ++c)
      out.insert(out.end(), plugin->output<Sample>(c), plugin->output<Sample>(c) + 256);
  }
  return out;
}

template <class Sample> std::vector<Sample> renderVst3(int blocks) {
  std::string error;
  auto module = orvane::testhost::Module::load(kBundle, error);
  EXPECT_TRUE(module) << error;
  auto plugin = vst3Plugin(*module);
  plugin->activate(48000, 256,
                   sizeof(Sample) == 4 ? Steinberg::Vst::kSample32 : Steinberg::Vst::kSample64);
  for (int i = 0; i < kParams; ++i)
    plugin->setParameter(Steinberg::Vst::ParamID(i), settingOf(i));
  std::vector<Sample> out;
  for (int b = 0; b < blocks; ++b) {
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < 256; ++i)
        plugin->input<Sample>(0, size_t(c))[i] = signal<Sample>(c, b * 256 + i);
    plugin->process(256);
    for (int c = 0; c < 2; ++c)
      out.insert(out.end(), plugin->output<Sample>(0, size_t(c)),
                 plugin->output<Sample>(0, size_t(c)) + 256);
  }
  return out;
}

} // namespace

TEST(OrvaneEQVst2, ProcessingEqualsTheVst3RoadInBothPrecisions) {
  const auto f2 = renderVst2<float>(8);
  const auto f3 = renderVst3<float>(8);
  EXPECT_EQ(f2, f3);
  const auto d2 = renderVst2<double>(8);
  const auto d3 = renderVst3<double>(8);
  EXPECT_EQ(d2, d3);
  EXPECT_NE(f2[300], 0.f);
}
