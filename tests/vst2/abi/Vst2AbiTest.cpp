// Our VST 2.4 declaration against Debian's fst.h, and against layouts assembled by hand for
// what fst.h has not worked out.
#include "tests/vst2/abi/AbiFacts.h"

#include "pluginterfaces/vst2.x/aeffectx.h"

#include <gtest/gtest.h>

#include <cstddef>

TEST(Vst2Abi, EveryNumberFstKnowsMatchesOurs) {
  const vst2abi::Facts fst = vst2abi::fstFacts();
  const vst2abi::Facts ours = vst2abi::ourFacts();
  ASSERT_EQ(fst.size(), ours.size());
  for (const auto& [name, value] : fst) {
    const auto found = ours.find(name);
    ASSERT_NE(found, ours.end()) << name;
    EXPECT_EQ(found->second, value) << name;
  }
}

// The rest of the record and the structs fst.h leaves out or shortens, byte by byte on
// x86-64: pointers 8, int32 4, the record padded after magic and after flags.
TEST(Vst2Abi, LayoutsBeyondFst) {
  EXPECT_EQ(offsetof(AEffect, realQualities), 84u);
  EXPECT_EQ(offsetof(AEffect, offQualities), 88u);
  EXPECT_EQ(offsetof(AEffect, ioRatio), 92u);
  EXPECT_EQ(offsetof(AEffect, future), 136u);
  EXPECT_EQ(sizeof(AEffect), 192u);

  EXPECT_EQ(sizeof(VstEvent), 32u);
  EXPECT_EQ(sizeof(VstEvents), 32u);
  EXPECT_EQ(offsetof(VstMidiEvent, noteLength), 16u);
  EXPECT_EQ(offsetof(VstMidiEvent, noteOffset), 20u);
  EXPECT_EQ(offsetof(VstMidiEvent, detune), 28u);
  EXPECT_EQ(offsetof(VstMidiEvent, noteOffVelocity), 29u);

  EXPECT_EQ(offsetof(VstTimeInfo, smpteOffset), 72u);
  EXPECT_EQ(offsetof(VstTimeInfo, smpteFrameRate), 76u);
  EXPECT_EQ(sizeof(VstTimeInfo), 88u);

  EXPECT_EQ(sizeof(VstPinProperties), 128u);
  EXPECT_EQ(sizeof(VstSpeakerArrangement), 8u + 8u * 112u);
  EXPECT_EQ(sizeof(VstPatchChunkInfo), 64u);

  EXPECT_EQ(offsetof(VstParameterProperties, label), 12u);
  EXPECT_EQ(offsetof(VstParameterProperties, flags), 76u);
  EXPECT_EQ(offsetof(VstParameterProperties, minInteger), 80u);
  EXPECT_EQ(offsetof(VstParameterProperties, largeStepInteger), 92u);
  EXPECT_EQ(offsetof(VstParameterProperties, shortLabel), 96u);
  EXPECT_EQ(offsetof(VstParameterProperties, displayIndex), 104u);
  EXPECT_EQ(offsetof(VstParameterProperties, categoryLabel), 112u);
  EXPECT_EQ(sizeof(VstParameterProperties), 152u);
}

TEST(Vst2Abi, OpcodesBeyondFst) {
  struct Case {
    const char* name;
    VstInt32 ours;
    VstInt32 expected;
  };
  const Case cases[] = {
      {"effSetBypass", effSetBypass, 44},
      {"effGetTailSize", effGetTailSize, 52},
      {"effIdle", effIdle, 53},
      {"effGetParameterProperties", effGetParameterProperties, 56},
      {"effEditKeyDown", effEditKeyDown, 59},
      {"effBeginSetProgram", effBeginSetProgram, 67},
      {"effEndSetProgram", effEndSetProgram, 68},
      {"effBeginLoadBank", effBeginLoadBank, 75},
      {"effGetNumMidiInputChannels", effGetNumMidiInputChannels, 78},
      {"effGetNumMidiOutputChannels", effGetNumMidiOutputChannels, 79},
      {"audioMasterIOChanged", audioMasterIOChanged, 13},
      {"audioMasterNeedIdle", audioMasterNeedIdle, 14},
      {"audioMasterGetAutomationState", audioMasterGetAutomationState, 24},
      {"audioMasterUpdateDisplay", audioMasterUpdateDisplay, 42},
      {"effFlagsHasEditor", effFlagsHasEditor, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.ours, c.expected) << c.name;
  // "VstP" read as a little-endian word.
  EXPECT_EQ(kEffectMagic, ('V' << 24) | ('s' << 16) | ('t' << 8) | 'P');
}
