// The generated factory blobs decode, through the framework's Base64 and preset-slot code,
// back to the value table, here as transcribed independently for the framework's tests
// (tests/framework/oracle/factory_blobs.py).
#include "Projects/eq/OrvaneEQFactoryPresets.h"
#include "framework/ChunkIO.h"
#include "framework/IPresetBank.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct FactoryBlob {
  const char* name;
  const char* base64;
  double values[13];
};

#include "factory_blobs.inc"

TEST(OrvaneEQFactoryPresets, DecodeToTheValueTable) {
  ASSERT_EQ(std::size(kFactoryBlobs), size_t(kNumOrvaneEQFactoryPresets));
  IPresetBank bank(kNumOrvaneEQFactoryPresets);
  for (int i = 0; i < kNumOrvaneEQFactoryPresets; ++i) {
    const OrvaneEQFactoryPreset& preset = kOrvaneEQFactoryPresets[i];
    const FactoryBlob& expected = kFactoryBlobs[i];
    SCOPED_TRACE(expected.name);
    EXPECT_STREQ(preset.name, expected.name);
    // Whole blobs of 112 bytes: 152 Base64 characters ending in the "==" fill.
    EXPECT_EQ(std::strlen(preset.base64), 152u);
    ASSERT_TRUE(bank.MakePresetFromBlob(preset.name, preset.base64,
                                        OrvaneEQFactoryPreset::kBlobBytes,
                                        OrvaneEQFactoryPreset::kProcessorChunkBytes));
    const IPreset* slot = bank.GetPreset(i);
    ASSERT_EQ(slot->procChunk.GetSize(), 108);
    ASSERT_EQ(slot->ctrlChunk.GetSize(), 4);

    int32_t version = -1;
    int pos = ChunkGetInt32(slot->procChunk, 0, &version);
    EXPECT_EQ(version, 0);
    for (int p = 0; p < 13; ++p) {
      double value = 0.0;
      pos = ChunkGetDouble(slot->procChunk, pos, &value);
      ASSERT_GT(pos, 0);
      EXPECT_EQ(value, expected.values[p]) << "parameter " << p;
    }
    EXPECT_EQ(pos, 108);
    int32_t controllerVersion = -1;
    EXPECT_EQ(ChunkGetInt32(slot->ctrlChunk, 0, &controllerVersion), 4);
    EXPECT_EQ(controllerVersion, 0);
  }
}

} // namespace
