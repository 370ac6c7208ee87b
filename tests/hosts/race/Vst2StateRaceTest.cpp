// OrvaneEQ's VST 2.4 face from its shipped library, with the host's threads at work at once:
// the audio thread switches the bypass and processes, while the main thread restores and
// saves program and bank chunks and gives the effect its idle calls. Under ThreadSanitizer
// any data race fails the run; everywhere, every program chunk saved in the middle of it holds
// one of the restored programs, never a mix.
#include "tests/hosts/race/StateImages.h"

#include "tests/hosts/vst2/RawEffect.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

using orvane::vst2host::RawEffect;
using race::Bytes;

constexpr VstInt32 kBlock = 64;
constexpr int kRounds = 300;

class Vst2StateRace : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(eq.effect()) << eq.error();
    eq.Start(48000.f, kBlock);
  }
  void SetEveryParameter(float value) {
    for (VstInt32 i = 0; i < eq.effect()->numParams; ++i)
      eq.effect()->setParameter(eq.effect(), i, value);
  }

  RawEffect eq{ORVANE_EQ_VST2_LIBRARY};
};

TEST_F(Vst2StateRace, ChunksDuringProcessingAreWholeAndRaceFree) {
  SetEveryParameter(1.f);
  const Bytes high = eq.Chunk(true);
  SetEveryParameter(0.f);
  const Bytes low = eq.Chunk(true);
  const Bytes lowBank = eq.Chunk(false);
  ASSERT_FALSE(low.empty());
  ASSERT_FALSE(lowBank.empty());
  ASSERT_NE(race::ValuesOf(low, race::kVst2ProgramValues),
            race::ValuesOf(high, race::kVst2ProgramValues));

  std::atomic<bool> done{false};
  std::thread audio([&] {
    std::vector<float> in(2 * kBlock, 0.25f), out(2 * kBlock);
    float* inputs[2] = {in.data(), in.data() + kBlock};
    float* outputs[2] = {out.data(), out.data() + kBlock};
    for (int block = 0; !done.load(std::memory_order_acquire); ++block) {
      eq.Dispatch(effSetBypass, 0, (block / 3) % 2);
      eq.effect()->processReplacing(eq.effect(), inputs, outputs, kBlock);
    }
  });
  std::vector<std::string> mixed;
  for (int round = 0; round < kRounds; ++round) {
    if (round % 10 == 9) {
      EXPECT_EQ(eq.SetChunk(lowBank, false), 1);
      EXPECT_EQ(eq.Chunk(false).size(), lowBank.size());
    } else {
      EXPECT_EQ(eq.SetChunk(round % 2 ? low : high, true), 1);
    }
    eq.Dispatch(effEditIdle);
    const Bytes saved = eq.Chunk(true);
    if (!race::IsOneOf(saved, race::kVst2ProgramValues, {&low, &high}))
      mixed.push_back(race::Describe(saved));
  }
  done.store(true, std::memory_order_release);
  audio.join();
  EXPECT_TRUE(mixed.empty()) << mixed.size() << " saved programs were no restored one, first "
                             << mixed.front();
  eq.Dispatch(effMainsChanged, 0, 0);
}

} // namespace
