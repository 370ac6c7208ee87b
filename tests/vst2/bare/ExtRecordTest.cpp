// The framework's VST 2.4 face as the host first sees it: the record, the names, and a
// creation that does not call the host before the host holds the effect.
#include "tests/vst2/bare/BareVst2Fixture.h"

#include <malloc.h>

using namespace barevst2;

TEST_F(BareVst2, RecordCarriesTheFrameworkIdentity) {
  const AEffect* e = plugin->effect();
  EXPECT_EQ(e->magic, kEffectMagic);
  EXPECT_EQ(e->uniqueID, bare::kUniqueID);
  EXPECT_EQ(e->version, 10203); // 0x010203 as a decimal version
  EXPECT_EQ(plugin->dispatch(effGetVendorVersion), 10203);
  EXPECT_EQ(e->numParams, kExportedParams);
  EXPECT_EQ(e->numPrograms, bare::kNPresets);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->initialDelay, bare::kLatency);
  EXPECT_TRUE(e->flags & effFlagsProgramChunks);
  EXPECT_TRUE(e->flags & effFlagsCanReplacing);
  EXPECT_TRUE(e->flags & effFlagsCanDoubleReplacing);
  EXPECT_EQ(plugin->effectName(), "OrvaneBare");
  EXPECT_EQ(plugin->vendorString(), "Orvane");
  EXPECT_EQ(plugin->plugCategory(), kPlugCategEffect);
  EXPECT_EQ(plugin->canDo("receiveVstMidiEvent"), 1);
  EXPECT_EQ(plugin->canDo("bypass"), 1);
}

TEST_F(BareVst2, ParametersSkipBypassProgramAndReadOnly) {
  struct Case {
    VstInt32 index;
    const char* name;
    const char* label;
    const char* display;
  };
  const Case cases[] = {{0, "Gain", "dB", "0.0"}, {1, "Freq", "Hz", "1000"},
                        {2, "Mix", "%", "100.0"}, {3, "Mute", "", "off"},
                        {4, "Steps", "", "4"},    {5, "Mode", "", "Clean"}};
  for (const Case& c : cases) {
    EXPECT_EQ(plugin->parameterName(c.index), c.name);
    EXPECT_EQ(plugin->parameterLabel(c.index), c.label) << c.name;
    EXPECT_EQ(plugin->parameterDisplay(c.index), c.display) << c.name;
  }
  // After the plug-in's own: its MIDI controller parameters, never Meter, Bypass or Preset.
  for (VstInt32 i = 0; i < kExportedParams; ++i) {
    const std::string name = plugin->parameterName(i);
    ASSERT_NE(name, "Meter");
    ASSERT_NE(name, "Bypass");
    ASSERT_NE(name, "Preset");
  }
  EXPECT_EQ(plugin->parameterName(kExportedParams - 1), "Pitch Bend");
}

TEST(BareVst2Creation, HostIsOnlyAskedQuestionsBeforeItHoldsTheEffect) {
  auto plugin = load();
  ASSERT_TRUE(plugin);
  for (const auto& call : plugin->log().all()) {
    if (!call.duringCreation)
      continue;
    EXPECT_TRUE(call.opcode == audioMasterVersion || call.opcode == audioMasterGetProductString)
        << "opcode " << call.opcode << " during creation";
  }
  // Preset 0 is the starting program nonetheless.
  EXPECT_EQ(plugin->program(), 0);
  EXPECT_EQ(plugin->programName(), "Unity");
}

TEST(BareVst2Creation, CategoryBeforeOpenAndAfterClose) {
  auto plugin = load();
  ASSERT_TRUE(plugin);
  EXPECT_EQ(plugin->plugCategory(), kPlugCategEffect);
  plugin->open(44100, 128);
  plugin->close();
  EXPECT_EQ(plugin->plugCategory(), kPlugCategEffect);
  EXPECT_EQ(plugin->dispatch(effGetChunk, 1, 0, nullptr), 0);
}

// A host that opens and closes effects all day (a scanner, a session with many reloads) must
// not grow: a closed effect keeps only what hosts ask right after effClose, for a while.
TEST(BareVst2Creation, ClosedEffectsDoNotAccumulate) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's allocator keeps its own books";
#else
  const auto cycle = [] {
    auto plugin = load();
    ASSERT_TRUE(plugin);
    plugin->open(44100, 64);
    plugin->close();
    EXPECT_EQ(plugin->plugCategory(), kPlugCategEffect);
  };
  // One effect stays open, so that the library stays loaded, as in a host's session.
  auto keeper = load();
  ASSERT_TRUE(keeper);
  // Past the records still kept answering, every further close frees one.
  for (int i = 0; i < 80; ++i)
    cycle();
  const size_t before = mallinfo2().uordblks;
  constexpr int kCycles = 400;
  for (int i = 0; i < kCycles; ++i)
    cycle();
  const size_t after = mallinfo2().uordblks;
  EXPECT_LT(after > before ? after - before : 0, size_t(kCycles) * 16)
      << "bytes kept per closed effect: " << double(after - before) / kCycles;
#endif
}
