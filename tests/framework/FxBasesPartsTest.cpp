// The small parts the processor base is built from: the rings between the threads, the
// channel-I/O list, the bypass delay line and the length-prefixed state streams.
#include "framework/BypassDelayLine.h"
#include "framework/ChannelIO.h"
#include "framework/SpscRing.h"
#include "framework/StateStream.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

namespace {

TEST(SpscRing, HoldsOneItemLessThanItsSlotsInOrder) {
  SpscRing<int, 4> ring;
  EXPECT_EQ(ring.Capacity(), 3u);
  for (int round = 0; round < 5; ++round) { // the indices wrap several times
    EXPECT_TRUE(ring.Write(round * 10 + 1));
    EXPECT_TRUE(ring.Write(round * 10 + 2));
    EXPECT_TRUE(ring.Write(round * 10 + 3));
    EXPECT_FALSE(ring.Write(99)); // full: the new item is dropped
    int v = 0;
    for (int k = 1; k <= 3; ++k) {
      ASSERT_TRUE(ring.Read(v));
      EXPECT_EQ(v, round * 10 + k);
    }
    EXPECT_FALSE(ring.Read(v));
  }
}

TEST(SpscRing, InPlaceSlotsAreNotVisibleBeforePublish) {
  SpscRing<std::vector<int>::size_type, 3> ring;
  auto* slot = ring.BeginWrite();
  ASSERT_TRUE(slot);
  *slot = 7;
  EXPECT_EQ(ring.Peek(), nullptr);
  ring.Publish();
  ASSERT_TRUE(ring.Peek());
  EXPECT_EQ(*ring.Peek(), 7u);
  ring.Pop();
  EXPECT_EQ(ring.Peek(), nullptr);
}

// One writer thread and one reader thread: every item arrives once, in order, whole.
TEST(SpscRing, AcrossTwoThreads) {
  struct Item {
    uint64_t n;
    uint64_t check;
  };
  static SpscRing<Item, 33> ring;
  constexpr uint64_t kItems = 200000;
  std::thread writer([] {
    for (uint64_t n = 0; n < kItems;) {
      if (ring.Write(Item{n, ~n}))
        ++n;
      else
        std::this_thread::yield();
    }
  });
  uint64_t expected = 0;
  bool whole = true;
  while (expected < kItems) {
    Item item{};
    if (!ring.Read(item)) {
      std::this_thread::yield();
      continue;
    }
    whole = whole && item.n == expected && item.check == ~expected;
    ++expected;
  }
  writer.join();
  EXPECT_TRUE(whole);
}

TEST(ChannelIO, ParsesPairsAndTheLargestCounts) {
  const struct {
    const char* text;
    size_t pairs;
    int maxIn, maxOut;
  } table[] = {{"2-2", 1, 2, 2},         {"1-1 2-2", 2, 2, 2}, {"  0-2   0-4 ", 2, 0, 4},
               {"1-2 junk 2-", 1, 1, 2}, {"", 0, 0, 0},        {nullptr, 0, 0, 0},
               {"-1-2 3-1", 1, 3, 1},    {"999-2", 0, 0, 0}};
  for (const auto& row : table) {
    const ChannelIO io(row.text);
    EXPECT_EQ(io.Pairs().size(), row.pairs) << (row.text ? row.text : "null");
    EXPECT_EQ(io.MaxInputs(), row.maxIn);
    EXPECT_EQ(io.MaxOutputs(), row.maxOut);
  }
  const ChannelIO io("1-1 2-2");
  EXPECT_TRUE(io.Supports(1, 1));
  EXPECT_TRUE(io.Supports(2, 2));
  EXPECT_FALSE(io.Supports(1, 2));
  EXPECT_FALSE(io.Supports(6, 6));
}

// The host may hand channel 1's input as channel 0's output: a frame is read whole before it
// is written.
TEST(BypassDelayLine, DelaysAndSilencesOutputsBeyondTheInputsWithCrossedBuffers) {
  BypassDelayLine<double> line;
  line.Init(2, 3, 3);
  ASSERT_TRUE(line.Exists());
  std::vector<double> a = {1, 2, 3, 4, 5, 6}, b = {10, 20, 30, 40, 50, 60}, c(6, 9.0);
  const std::vector<double> a0 = a, b0 = b;
  double* in[2] = {a.data(), b.data()};
  double* out[3] = {b.data(), a.data(), c.data()}; // crossed, in place
  double frame[2];
  line.Process(in, out, 6, frame);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(b[size_t(i)], i < 3 ? 0.0 : a0[size_t(i - 3)]) << i;
    EXPECT_EQ(a[size_t(i)], i < 3 ? 0.0 : b0[size_t(i - 3)]) << i;
    EXPECT_EQ(c[size_t(i)], 0.0);
  }
  line.Clear();
  std::vector<double> x = {7, 7, 7, 7};
  double* io[3] = {x.data(), x.data(), c.data()};
  line.Process(io, io, 1, frame);
  EXPECT_EQ(x[0], 0.0); // nothing of the earlier audio comes back
}

TEST(StateStream, TakesALengthItCanTrustOnly) {
  using Steinberg::MemoryStream;
  KIT_HeapBuf chunk(4096);
  chunk.Append("abcdef", 6);
  auto* stream = new MemoryStream();
  ASSERT_TRUE(StateStream::WriteChunk(stream, chunk));
  ASSERT_EQ(stream->getSize(), 10);
  std::vector<uint8_t> bytes(stream->getData(), stream->getData() + 10);
  stream->release();

  auto read = [](std::vector<uint8_t> data, KIT_HeapBuf& out) {
    auto* s =
        new MemoryStream(static_cast<const void*>(data.data()), Steinberg::TSize(data.size()));
    const bool ok = StateStream::ReadChunk(s, out);
    s->release();
    return ok;
  };
  KIT_HeapBuf got(4096);
  ASSERT_TRUE(read(bytes, got));
  EXPECT_EQ(got.GetSize(), 6);
  EXPECT_EQ(std::memcmp(got.Bytes(), "abcdef", 6), 0);
  EXPECT_FALSE(read(std::vector<uint8_t>(bytes.begin(), bytes.end() - 1), got));
  EXPECT_FALSE(read(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 3), got));
  auto lying = bytes;
  lying[3] = 0x70; // about 1.9 GB announced, six bytes there
  EXPECT_FALSE(read(lying, got));
  lying[3] = 0x80; // negative
  EXPECT_FALSE(read(lying, got));
  EXPECT_FALSE(StateStream::ReadChunk(nullptr, got));
}

} // namespace
