// Factory presets as the equaliser declares them: the default preset and eight Base64
// blobs, here built by an independent Python transcription of the value table
// (oracle/factory_blobs.py), decoded through the preset code and restored.
#include "framework/Base64.h"
#include "framework/IPresetBank.h"
#include "support/PluginParamTables.h"
#include "support/TestHalf.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct FactoryBlob {
  const char* name;
  const char* base64;
  double values[13];
};

#include "factory_blobs.inc"

TEST(Base64, DecodesTheStandardAlphabet) {
  uint8_t out[16];
  std::memset(out, 0xAA, sizeof out);
  EXPECT_EQ(DecodeBase64("TWFu", out, 16), 3);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 3), "Man");
  EXPECT_EQ(DecodeBase64("TWE=", out, 16), 2); // "=" ends the text
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 2), "Ma");
  EXPECT_EQ(DecodeBase64("+/+/", out, 16), 3);
  EXPECT_EQ(out[0], 0xFB);
  EXPECT_EQ(out[1], 0xFF);
  EXPECT_EQ(out[2], 0xBF);
  EXPECT_EQ(DecodeBase64("TW*Fu", out, 16), 1);   // stops at the first foreign character
  EXPECT_EQ(DecodeBase64("TWFuTWFu", out, 4), 4); // the rest is dropped
  EXPECT_EQ(out[4], 0xAA);
  EXPECT_EQ(DecodeBase64(nullptr, out, 4), 0);
  EXPECT_EQ(DecodeBase64("TWFu", out, 0), 0);
}

TEST(MakePresetFromBlob, SplitsTheDecodedBufferAndZeroesTheRest) {
  IPresetBank bank(3);
  // 112 bytes asked for, only 3 decoded: the rest of the buffer is zero.
  ASSERT_TRUE(bank.MakePresetFromBlob("Short", "TWFu", 112, 108));
  const IPreset* slot = bank.GetPreset(0);
  EXPECT_EQ(slot->procChunk.GetSize(), 108);
  EXPECT_EQ(slot->ctrlChunk.GetSize(), 4);
  EXPECT_EQ(slot->procChunk.Bytes()[0], 'M');
  for (int i = 3; i < 108; ++i)
    ASSERT_EQ(slot->procChunk.Bytes()[i], 0) << i;
  EXPECT_FALSE(bank.MakePresetFromBlob("Bad", "TWFu", 4, 5)); // split beyond the buffer
  EXPECT_FALSE(bank.MakePresetFromBlob("Bad", "TWFu", -1, 0));
  EXPECT_FALSE(bank.MakePresetFromBlob("Bad", "TWFu", 4, -1));
  EXPECT_FALSE(bank.GetPreset(1)->initialized);
}

class EqFactoryPresets : public ::testing::Test {
protected:
  EqFactoryPresets() : controller(kEqParams), presets(9) {
    DeclareEqParams(controller);
    presets.MakeDefaultPreset("Default", 1, controller);
    for (const FactoryBlob& blob : kFactoryBlobs)
      made.push_back(presets.MakePresetFromBlob(blob.name, blob.base64, 112, 108));
  }
  TestHalf controller;
  IPresetBank presets;
  std::vector<bool> made;
};

TEST_F(EqFactoryPresets, EveryBlobDecodesIntoItsValues) {
  ASSERT_EQ(made, std::vector<bool>(8, true));
  EXPECT_STREQ(presets.GetPresetName(0), "Default");
  for (int i = 0; i < 8; ++i) {
    const FactoryBlob& blob = kFactoryBlobs[i];
    SCOPED_TRACE(blob.name);
    EXPECT_STREQ(presets.GetPresetName(i + 1), blob.name);
    EXPECT_EQ(presets.GetPreset(i + 1)->procChunk.GetSize(), 108);
    EXPECT_EQ(presets.GetPreset(i + 1)->ctrlChunk.GetSize(), 4);
    ASSERT_TRUE(presets.RestorePreset(i + 1, controller));
    EXPECT_EQ(controller.Values(), std::vector<double>(blob.values, blob.values + 13));
  }
  ASSERT_TRUE(presets.RestorePreset(0, controller));
  EXPECT_EQ(controller.GetParam(0)->Value(), 20);
  EXPECT_EQ(controller.GetParam(11)->Value(), 22000);
}

TEST_F(EqFactoryPresets, DrumSnareByteForByteAndItsTinyGainShowsAsZero) {
  // The blob's bytes assembled by hand: version word 0, 13 doubles, controller word 0.
  const FactoryBlob& snare = kFactoryBlobs[2];
  ASSERT_STREQ(snare.name, "DRUM Snare");
  std::vector<uint8_t> expected(4, 0);
  for (double v : snare.values) {
    uint8_t b[8];
    std::memcpy(b, &v, 8);
    expected.insert(expected.end(), b, b + 8);
  }
  const IPreset* slot = presets.GetPreset(3);
  EXPECT_EQ(std::vector<uint8_t>(slot->procChunk.Bytes(), slot->procChunk.Bytes() + 108), expected);
  EXPECT_EQ(std::vector<uint8_t>(slot->ctrlChunk.Bytes(), slot->ctrlChunk.Bytes() + 4),
            std::vector<uint8_t>(4, 0));

  ASSERT_TRUE(presets.RestorePresetByName("DRUM Snare", controller));
  EXPECT_EQ(controller.GetParam(10)->Value(), 7.10543e-15);
  char shown[IParam::kDisplaySize];
  controller.GetParam(10)->GetDisplayForHost(shown, true);
  EXPECT_STREQ(shown, "0.0");
}

TEST_F(EqFactoryPresets, TheBankOfFactoryPresetsRoundTrips) {
  KIT_HeapBuf chunk;
  ASSERT_TRUE(presets.SerializePresets(chunk));
  TestHalf other(kEqParams);
  DeclareEqParams(other);
  IPresetBank copy(9);
  ASSERT_EQ(copy.UnserializePresets(chunk, 0, other), chunk.GetSize());
  for (int i = 0; i < 9; ++i)
    EXPECT_STREQ(copy.GetPresetName(i), presets.GetPresetName(i));
  ASSERT_TRUE(copy.RestorePresetByName("VOX Lead", other));
  EXPECT_EQ(other.Values(),
            std::vector<double>(kFactoryBlobs[7].values, kFactoryBlobs[7].values + 13));
}

} // namespace
