// Program and bank chunks in the framework's formats, byte for byte against layouts
// assembled by hand, their round trips, and chunks that do not have the layout or carry a
// value that is not finite refused with nothing changed.
#include "tests/vst2/bare/BareVst2Fixture.h"

#include <limits>

using namespace barevst2;

namespace {

std::vector<uint8_t> defaultProgramChunk() {
  Bytes b;
  b.i32(kMagic).i32(kFrameworkVersion);
  processorChunk(b, 0.0, 1000.0, 100.0, 0.0, 4.0, 0.0).i32(bare::kEffectVersion);
  return b.data;
}

Bytes& presetSlot(Bytes& b, const char* name, double gain, double mode) {
  b.i32(int32_t(std::strlen(name))).text(name).u8(1);
  return processorChunk(b, gain, 1000.0, 100.0, 0.0, 4.0, mode).i32(bare::kEffectVersion);
}

std::vector<uint8_t> defaultBankChunk() {
  Bytes b;
  b.i32(kMagic).i32(kFrameworkVersion);
  presetSlot(b, "Unity", 0.0, 0.0);
  presetSlot(b, "Quiet", -12.0, 2.0);
  return b.data;
}

} // namespace

TEST_F(BareVst2, ProgramAndBankChunksHaveTheFrameworkLayout) {
  EXPECT_EQ(plugin->chunk(true), defaultProgramChunk());
  EXPECT_EQ(plugin->chunk(true).size(), 8u + 4u + 6u * 8u + 4u);
  EXPECT_EQ(plugin->chunk(false), defaultBankChunk());
}

// A host that sets a value and saves at once, before any idle call, saves the new value.
TEST_F(BareVst2, ChunkHoldsAValueSetJustBefore) {
  plugin->setParameter(bare::kGain, gainNormalized(-6.0));
  Bytes expected;
  expected.i32(kMagic).i32(kFrameworkVersion);
  processorChunk(expected, -6.0, 1000.0, 100.0, 0.0, 4.0, 0.0).i32(bare::kEffectVersion);
  const auto chunk = plugin->chunk(true);
  ASSERT_EQ(chunk.size(), expected.data.size());
  double gain = 0;
  std::memcpy(&gain, chunk.data() + 12, 8);
  EXPECT_NEAR(gain, -6.0, 1e-5); // the host's value is a float
}

TEST_F(BareVst2, ProgramChunkRoundTrip) {
  plugin->setParameter(bare::kGain, gainNormalized(3.0));
  plugin->setParameter(bare::kMute, 1.f);
  plugin->setParameter(bare::kMode, 0.5f);
  const auto chunk = plugin->chunk(true);

  auto other = load();
  ASSERT_TRUE(other);
  other->open(48000, 256);
  other->log().clear();
  ASSERT_EQ(other->setChunk(chunk, true), 1);
  EXPECT_EQ(other->chunk(true), chunk);
  for (VstInt32 i = 0; i < kOwnParams; ++i)
    EXPECT_FLOAT_EQ(other->parameter(i), plugin->parameter(i)) << i;
  EXPECT_EQ(other->parameterDisplay(bare::kMode), "Warm");
  // The loaded values were pushed to the host.
  EXPECT_EQ(other->log().count(audioMasterAutomate), size_t(kOwnParams));
  // The current preset took the loaded values.
  const auto bank = other->chunk(false);
  std::vector<uint8_t> firstSlotProcessor(bank.begin() + 8 + 4 + 5 + 1,
                                          bank.begin() + 8 + 4 + 5 + 1 + 52);
  EXPECT_TRUE(std::equal(firstSlotProcessor.begin(), firstSlotProcessor.end(), chunk.begin() + 8));
}

// The program chunks of a version with one parameter fewer or one more: what the two versions
// share is loaded, the parameter the shorter chunk does not reach goes to its default, and the
// chunk written afterwards has this version's layout.
TEST_F(BareVst2, ProgramChunksOfNeighbouringVersionsLoad) {
  const struct {
    const char* what;
    int nValues;
    double mode; // the plain Mode after the load
  } cases[] = {{"one value fewer", 5, 0.0}, {"one value more", 7, 2.0}};
  const double values[] = {-6.0, 440.0, 50.0, 1.0, 3.0, 2.0, 123.0};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    plugin->setParameter(bare::kMode, 0.5f);
    Bytes chunk;
    chunk.i32(kMagic).i32(kFrameworkVersion).i32(bare::kEffectVersion);
    for (int i = 0; i < c.nValues; ++i)
      chunk.f64(values[i]);
    chunk.i32(bare::kEffectVersion);
    ASSERT_EQ(plugin->setChunk(chunk.data, true), 1);
    Bytes expected;
    expected.i32(kMagic).i32(kFrameworkVersion);
    processorChunk(expected, -6.0, 440.0, 50.0, 1.0, 3.0, c.mode).i32(bare::kEffectVersion);
    EXPECT_EQ(plugin->chunk(true), expected.data);
    EXPECT_NEAR(plugin->parameter(bare::kGain), gainNormalized(-6.0), 1e-6);
  }
}

TEST_F(BareVst2, BankChunkRoundTripRestoresPresetsAndCurrentValues) {
  plugin->setProgram(1);
  plugin->setParameter(bare::kGain, gainNormalized(-3.0));
  const auto bank = plugin->chunk(false);

  auto other = load();
  ASSERT_TRUE(other);
  other->open(48000, 256);
  ASSERT_EQ(other->setChunk(bank, false), 1);
  // The bank does not say which preset is current: the receiver restores its own current
  // one (0) from the bank, unchanged.
  EXPECT_EQ(other->chunk(false), bank);
  EXPECT_FLOAT_EQ(other->parameter(bare::kGain), gainNormalized(0.0));
  other->setProgram(1);
  EXPECT_EQ(other->programName(), "Quiet");
  EXPECT_NEAR(other->parameter(bare::kGain), gainNormalized(-3.0), 1e-6);
  EXPECT_EQ(other->parameterDisplay(bare::kMode), "Hot");
}

TEST_F(BareVst2, ChunksWithoutTheLayoutChangeNothing) {
  const auto program = defaultProgramChunk();
  const auto bank = defaultBankChunk();
  plugin->setParameter(bare::kGain, gainNormalized(5.0));
  const auto programBefore = plugin->chunk(true);
  const auto bankBefore = plugin->chunk(false);
  plugin->log().clear();

  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    bool isPreset;
  };
  std::vector<Case> cases;
  cases.push_back({"program one byte short", {program.begin(), program.end() - 1}, true});
  cases.push_back({"program one byte over", program, true});
  cases.back().bytes.push_back(0);
  cases.push_back({"program without header", {program.begin() + 8, program.end()}, true});
  cases.push_back({"program with foreign magic", program, true});
  cases.back().bytes[0] = 'X';
  cases.push_back({"bank as program", bank, true});
  cases.push_back({"program as bank", program, false});
  cases.push_back({"bank one byte short", {bank.begin(), bank.end() - 1}, false});
  cases.push_back({"bank one byte over", bank, false});
  cases.back().bytes.push_back(0);
  cases.push_back({"bank name running past the end", bank, false});
  cases.back().bytes[8] = 0x7f;
  cases.push_back({"bank negative name length", bank, false});
  cases.back().bytes[11] = 0x80;
  cases.push_back({"bank flag neither 0 nor 1", bank, false});
  cases.back().bytes[8 + 4 + 5] = 2;
  cases.push_back({"header only", {program.begin(), program.begin() + 8}, true});
  // Values that are no setting: the first, a middle and the last stored parameter of the
  // program, and the second preset of the bank (after a good first one).
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const size_t firstValue = 8 + 4, bankSecondSlotValues = 8 + (4 + 5 + 1 + 52 + 4) + 4 + 5 + 1 + 4;
  const struct {
    const char* what;
    bool isPreset;
    size_t at;
    double value;
  } notFinite[] = {
      {"program gain NaN", true, firstValue, nan},
      {"program mute +inf", true, firstValue + 3 * 8, inf},
      {"program mode -inf", true, firstValue + 5 * 8, -inf},
      {"bank second preset gain NaN", false, bankSecondSlotValues, nan},
      {"bank second preset mode +inf", false, bankSecondSlotValues + 5 * 8, inf},
  };
  for (const auto& n : notFinite) {
    cases.push_back({n.what, n.isPreset ? program : bank, n.isPreset});
    std::memcpy(cases.back().bytes.data() + n.at, &n.value, 8);
  }

  for (const Case& c : cases) {
    EXPECT_EQ(plugin->setChunk(c.bytes, c.isPreset), 0) << c.what;
    EXPECT_EQ(plugin->chunk(true), programBefore) << c.what;
    EXPECT_EQ(plugin->chunk(false), bankBefore) << c.what;
  }
  EXPECT_TRUE(plugin->log().editSequence().empty());
  EXPECT_EQ(plugin->dispatch(effSetChunk, 1, 0, const_cast<uint8_t*>(program.data())), 0);
  EXPECT_EQ(plugin->dispatch(effSetChunk, 1, -5, const_cast<uint8_t*>(program.data())), 0);
}
