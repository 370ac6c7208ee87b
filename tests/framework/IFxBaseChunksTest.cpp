#include "framework/ChunkIO.h"
#include "framework/EffectVersion.h"
#include "framework/IFxBase.h"
#include "support/TestHalf.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

namespace {

KIT_HeapBuf ChunkOf(const std::vector<uint8_t>& bytes) {
  KIT_HeapBuf chunk;
  chunk.Append(bytes.data(), int(bytes.size()));
  return chunk;
}

std::vector<uint8_t> BytesOf(const KIT_HeapBuf& chunk) {
  return std::vector<uint8_t>(chunk.Bytes(), chunk.Bytes() + chunk.GetSize());
}

void PutLE32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(uint8_t(v >> (8 * i)));
}
void PutLE64(std::vector<uint8_t>& out, double d) {
  uint64_t v;
  std::memcpy(&v, &d, 8);
  for (int i = 0; i < 8; ++i)
    out.push_back(uint8_t(v >> (8 * i)));
}

class ChunkFixture : public ::testing::Test {
protected:
  ChunkFixture() : half(3, 0x010203) {
    half.GetParam(0)->InitDouble("Gain", "dB", "", false, 1.5, -18, 18, 0.1);
    half.GetParam(1)->InitDouble("Meter", "", "", true, 0.25, 0, 1, 0.01); // not stored
    half.GetParam(2)->InitBool("Switch", true);
  }
  TestHalf half;
};

TEST_F(ChunkFixture, ProcessorStateBytesAreTheFormat) {
  KIT_HeapBuf chunk;
  ASSERT_TRUE(IFxBase::InitChunkWithFxVer(chunk));
  half.SetBypassed(true);
  ASSERT_TRUE(half.SerializeBypass(chunk));
  ASSERT_TRUE(half.SerializeState(chunk));

  std::vector<uint8_t> expected = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x02, 0x00};
  PutLE32(expected, 1);        // bypassed
  PutLE32(expected, 0x010203); // effect version, raw
  PutLE64(expected, 1.5);      // Gain; the read-only Meter is left out
  PutLE64(expected, 1.0);      // Switch
  EXPECT_EQ(BytesOf(chunk), expected);
  EXPECT_EQ(half.NStoredParams(), 2);
}

TEST_F(ChunkFixture, ReadersRoundTripAndRunTheChangeHook) {
  KIT_HeapBuf chunk;
  IFxBase::InitChunkWithFxVer(chunk);
  half.SerializeBypass(chunk);
  half.SerializeState(chunk);

  TestHalf other(3);
  other.GetParam(0)->InitDouble("Gain", "dB", "", false, 0, -18, 18, 0.1);
  other.GetParam(1)->InitDouble("Meter", "", "", true, 0.75, 0, 1, 0.01);
  other.GetParam(2)->InitBool("Switch", false);
  int pos = 0;
  EXPECT_EQ(IFxBase::GetFxVerFromChunk(chunk, &pos), 0x20000);
  EXPECT_EQ(pos, 8);
  other.UnserializeBypass(chunk, &pos);
  EXPECT_EQ(pos, 12);
  EXPECT_FALSE(other.GetBypassed());
  pos = other.UnserializeState(chunk, pos);
  EXPECT_EQ(pos, chunk.GetSize());
  EXPECT_EQ(other.Values(), (std::vector<double>{1.5, 0.75, 1.0}));
  EXPECT_EQ(other.changes, (std::vector<int>{0, 1, 2}));
}

TEST_F(ChunkFixture, HeaderReaderEdgeCases) {
  int pos = 0;
  EXPECT_EQ(IFxBase::GetFxVerFromChunk(ChunkOf({0x74, 0x66, 0x66, 0x70}), &pos), 0);
  EXPECT_EQ(pos, -1); // magic alone: the version is missing
  pos = 0;
  EXPECT_EQ(IFxBase::GetFxVerFromChunk(ChunkOf({0x74, 0x66, 0x66, 0x70, 1, 2, 3}), &pos), 0);
  EXPECT_EQ(pos, -1);
  pos = 0;
  EXPECT_EQ(IFxBase::GetFxVerFromChunk(ChunkOf({1, 2, 3, 4, 5, 6, 7, 8}), &pos), 0);
  EXPECT_EQ(pos, 0); // no header: read from the same position
  pos = 2;
  EXPECT_EQ(IFxBase::GetFxVerFromChunk(ChunkOf({0x74, 0x66}), &pos), 0);
  EXPECT_EQ(pos, 2);
  pos = -1;
  EXPECT_EQ(IFxBase::GetFxVerFromChunk(ChunkOf({0x74, 0x66, 0x66, 0x70, 0, 0, 2, 0}), &pos), 0);
  EXPECT_EQ(pos, -1);
}

TEST_F(ChunkFixture, ShortChunksGiveMinusOneAndNeverReadPast) {
  half.SetBypassed(true);
  int pos = 0;
  half.UnserializeBypass(ChunkOf({1, 0, 0}), &pos);
  EXPECT_EQ(pos, -1);
  EXPECT_TRUE(half.GetBypassed()); // left as it was
  pos = 0;
  half.UnserializeBypass(ChunkOf({0, 0, 0, 0}), &pos);
  EXPECT_EQ(pos, 4);
  EXPECT_FALSE(half.GetBypassed());
  pos = 0;
  half.UnserializeBypass(ChunkOf({0, 2, 0, 0}), &pos); // any non-zero word
  EXPECT_TRUE(half.GetBypassed());

  EXPECT_EQ(half.UnserializeState(ChunkOf({1, 2}), 0), -1);
  EXPECT_EQ(half.UnserializeState(ChunkOf({1, 2, 3, 4}), -1), -1);

  // Ends inside the parameter block: the first parameter lacking 8 bytes gets 0.0
  // clamped into its range, later ones keep their values, and the hook runs for all.
  std::vector<uint8_t> bytes;
  PutLE32(bytes, 0x010203);
  PutLE64(bytes, 2.5);
  bytes.push_back(0);
  half.GetParam(2)->Set(1);
  half.changes.clear();
  EXPECT_EQ(half.UnserializeState(ChunkOf(bytes), 0), -1);
  EXPECT_EQ(half.GetParam(0)->Value(), 2.5);
  EXPECT_EQ(half.GetParam(2)->Value(), 0.0);
  EXPECT_EQ(half.changes.size(), 3u);
}

TEST_F(ChunkFixture, StoredValuesAreClampedAndNaNIsIgnored) {
  std::vector<uint8_t> bytes;
  PutLE32(bytes, 0);
  PutLE64(bytes, 1000.0);
  PutLE64(bytes, std::numeric_limits<double>::quiet_NaN());
  half.GetParam(2)->Set(1);
  EXPECT_EQ(half.UnserializeState(ChunkOf(bytes), 0), int(bytes.size()));
  EXPECT_EQ(half.GetParam(0)->Value(), 18);
  EXPECT_EQ(half.GetParam(2)->Value(), 1); // a NaN in a chunk never reaches the value
}

TEST(IFxBase, IdentityAndHost) {
  TestHalf half(2, 0x010203);
  EXPECT_EQ(half.GetParam(-1), nullptr);
  EXPECT_EQ(half.GetParam(2), nullptr);
  EXPECT_NE(half.GetParam(1), nullptr);
  EXPECT_EQ(half.GetEffectVersion(false), 0x010203);
  EXPECT_EQ(half.GetEffectVersion(true), 10203);
  char text[kVersionStrSize];
  half.GetEffectVersionStr(text);
  EXPECT_STREQ(text, "v1.2.3");
  EXPECT_STREQ(half.GetArchString(), "x64");
  EXPECT_EQ(half.GetHost(), -1);
  EXPECT_EQ(half.GetHostVersion(), 0);

  half.SetHost("Ardour", 0x070500);
  EXPECT_EQ(half.GetHost(), 28);
  EXPECT_EQ(half.GetAPI(), kAPIVST3);
  EXPECT_EQ(half.GetHostVersion(), 0x070500);
  half.SetHost("ProTools", 0);
  EXPECT_EQ(half.GetAPI(), kAPIAAX);
  half.SetHost("VST3-AU Wrapper", 0);
  EXPECT_EQ(half.GetAPI(), kAPIAU);
  half.SetHost(nullptr, 0);
  EXPECT_EQ(half.GetHost(), 0);
}

TEST(IFxBase, ApiStrings) {
  const char* names[] = {"VST2", "VST3",       "AU",           "API undefined",
                         "AAX",  "Standalone", "API undefined"};
  for (int api = 0; api < 7; ++api) {
    struct Half : TestHalf {
      explicit Half(int a) : TestHalf(0) { mAPI = a; }
    } half(api);
    EXPECT_STREQ(half.GetAPIString(), names[api]) << api;
  }
}

} // namespace
