// The wrapper's chunk: both halves' state, the host's latest values included, and a chunk
// that does not hold together refused with nothing changed.
#include "tests/vst2/passthrough/PassthroughVst2Fixture.h"

#include <cstring>

using namespace passthroughvst2;

namespace {

uint32_t wordAt(const std::vector<uint8_t>& bytes, size_t pos) {
  uint32_t w = 0;
  std::memcpy(&w, bytes.data() + pos, 4);
  return w;
}

} // namespace

TEST_F(PassthroughVst2, ChunkHoldsBothStates) {
  plugin->open(48000, 256);
  plugin->resume();
  // The processor's state learns the host's value with its next block.
  plugin->setParameter(kGain, 0.25f);
  plugin->process<float>(64);
  const auto chunk = plugin->chunk(true);
  // 'O3ST', the processor state ("OPT1" and two doubles), the controller state ("OPC1" and
  // the view size).
  ASSERT_EQ(chunk.size(), 4u + 4u + 20u + 4u + 12u);
  EXPECT_EQ(std::memcmp(chunk.data(), "O3ST", 4), 0);
  EXPECT_EQ(wordAt(chunk, 4), 20u);
  EXPECT_EQ(std::memcmp(chunk.data() + 8, "OPT1", 4), 0);
  double gain = 0;
  std::memcpy(&gain, chunk.data() + 12, 8);
  EXPECT_DOUBLE_EQ(gain, 0.25);
  EXPECT_EQ(wordAt(chunk, 28), 12u);
  EXPECT_EQ(std::memcmp(chunk.data() + 32, "OPC1", 4), 0);

  auto other = load();
  ASSERT_TRUE(other);
  ASSERT_EQ(other->setChunk(chunk, true), 1);
  EXPECT_FLOAT_EQ(other->parameter(kGain), 0.25f);
  EXPECT_EQ(other->chunk(true), chunk);
}

TEST_F(PassthroughVst2, BadChunksChangeNothing) {
  plugin->setParameter(kGain, 0.25f);
  const auto good = plugin->chunk(false);
  ASSERT_FALSE(good.empty());

  auto other = load();
  ASSERT_TRUE(other);
  other->setParameter(kGain, 0.75f);
  const auto before = other->chunk(false);

  std::vector<std::vector<uint8_t>> bad;
  bad.push_back({good.begin(), good.end() - 1}); // one byte short
  bad.push_back(good);
  bad.back().push_back(0); // one byte over
  bad.push_back(good);
  bad.back()[0] ^= 0xFF; // foreign magic
  bad.push_back(good);
  bad.back()[4] = 0xFF;                            // processor size past the end
  bad.push_back({good.begin(), good.begin() + 3}); // no header
  for (const auto& chunk : bad) {
    EXPECT_EQ(other->setChunk(chunk, false), 0);
    EXPECT_FLOAT_EQ(other->parameter(kGain), 0.75f);
    EXPECT_EQ(other->chunk(false), before);
  }
  EXPECT_EQ(other->dispatch(effSetChunk, 0, 0, const_cast<uint8_t*>(good.data())), 0);
  EXPECT_EQ(other->dispatch(effSetChunk, 0, VstIntPtr(good.size()), nullptr), 0);
  EXPECT_EQ(other->dispatch(effGetChunk, 0, 0, nullptr), 0);
}
