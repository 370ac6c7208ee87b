// Programs: the controller's presets selected through its program parameter, reaching the
// host as edit gestures and the processor through its queue.
#include "tests/vst2/bare/BareVst2Fixture.h"

using namespace barevst2;

TEST_F(BareVst2, ProgramNamesAndSelection) {
  EXPECT_EQ(plugin->programNameIndexed(0), "Unity");
  EXPECT_EQ(plugin->programNameIndexed(1), "Quiet");
  EXPECT_EQ(plugin->programNameIndexed(2), "");

  plugin->setParameter(bare::kGain, gainNormalized(6.0));
  plugin->setProgram(1);
  EXPECT_EQ(plugin->program(), 1);
  EXPECT_EQ(plugin->programName(), "Quiet");
  // "Quiet": gain -12 dB and mode 2 (of 0..2); the rest as they were.
  EXPECT_FLOAT_EQ(plugin->parameter(bare::kGain), gainNormalized(-12.0));
  EXPECT_FLOAT_EQ(plugin->parameter(bare::kMode), 1.f);
  EXPECT_EQ(plugin->parameterDisplay(bare::kMode), "Hot");

  plugin->setProgram(0);
  EXPECT_FLOAT_EQ(plugin->parameter(bare::kGain), gainNormalized(0.0));
  EXPECT_EQ(plugin->parameterDisplay(bare::kMode), "Clean");
}

TEST_F(BareVst2, ProgramChangeIsBracketedEditsForEveryExportedParameter) {
  plugin->log().clear();
  plugin->setProgram(1);
  const auto edits = plugin->log().editSequence();
  ASSERT_EQ(edits.size(), size_t(3 * kOwnParams));
  for (size_t i = 0; i < edits.size(); i += 3) {
    EXPECT_EQ(edits[i], audioMasterBeginEdit);
    EXPECT_EQ(edits[i + 1], audioMasterAutomate);
    EXPECT_EQ(edits[i + 2], audioMasterEndEdit);
  }
  const auto automated = plugin->log().of(audioMasterAutomate);
  EXPECT_EQ(automated[bare::kGain].index, bare::kGain);
  EXPECT_FLOAT_EQ(automated[bare::kGain].opt, gainNormalized(-12.0));
}

TEST_F(BareVst2, ProgramsOutsideTheListAreRefused) {
  plugin->setProgram(1);
  plugin->log().clear();
  for (VstInt32 p : {-1, 2, 99}) {
    plugin->setProgram(p);
    EXPECT_EQ(plugin->program(), 1);
  }
  EXPECT_TRUE(plugin->log().editSequence().empty());
}
