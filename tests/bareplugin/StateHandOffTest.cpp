// State restored while the audio thread runs: the parsed values wait for the next block
// start, where the audio thread applies them whole and runs the change hook; the state the
// processor reports in between is the restored one.
#include "support/AllocationCounter.h"
#include "support/InProcessHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using namespace inprocess;

// A processor state with every stored parameter at its minimum (or maximum).
std::vector<uint8_t> StateAtEdge(bool atMax) {
  auto* other = new bare::BareProcessor;
  for (int i = 0; i < other->NParams(); ++i)
    other->GetParam(i)->Set(atMax ? other->GetParam(i)->Max() : other->GetParam(i)->Min());
  auto bytes = GetState(*other);
  other->release();
  return bytes;
}

TEST(StateHandOff, WhileActiveTheValuesWaitForTheNextBlock) {
  Rig rig;
  rig.Activate(kSample32, 64);
  rig.Process(64);
  const auto edge = StateAtEdge(true);
  const int hooksBefore = rig.processor->hookCalls[bare::kGain];

  ASSERT_EQ(SetState(*rig.processor, edge), kResultOk);
  EXPECT_DOUBLE_EQ(rig.processor->GetParam(bare::kGain)->Value(), 0.0);
  EXPECT_EQ(rig.processor->hookCalls[bare::kGain], hooksBefore);
  // What the host saves in between is the state it restored.
  EXPECT_EQ(GetState(*rig.processor), edge);

  alloccount::Arm();
  rig.Process(64);
  alloccount::Disarm();
  EXPECT_EQ(alloccount::Allocations(), 0);
  EXPECT_EQ(alloccount::Locks(), 0);
  EXPECT_DOUBLE_EQ(rig.processor->GetParam(bare::kGain)->Value(), 12.0);
  EXPECT_EQ(rig.processor->hookCalls[bare::kGain], hooksBefore + 1);
  for (int i = 0; i < bare::kNumParams; ++i)
    EXPECT_EQ(rig.processor->lastHookOffset[i], 0);
  EXPECT_EQ(GetState(*rig.processor), edge);
}

TEST(StateHandOff, ASecondRestoreReplacesOneNotYetApplied) {
  Rig rig;
  rig.Activate(kSample64, 64);
  ASSERT_EQ(SetState(*rig.processor, StateAtEdge(true)), kResultOk);
  ASSERT_EQ(SetState(*rig.processor, StateAtEdge(false)), kResultOk);
  rig.Process(64);
  EXPECT_DOUBLE_EQ(rig.processor->GetParam(bare::kGain)->Value(), -24.0);
}

TEST(StateHandOff, DeactivatingAppliesAWaitingState) {
  Rig rig;
  rig.Activate(kSample32, 64);
  ASSERT_EQ(SetState(*rig.processor, StateAtEdge(false)), kResultOk);
  rig.Deactivate();
  EXPECT_DOUBLE_EQ(rig.processor->GetParam(bare::kGain)->Value(), -24.0);
  // Inactive: applied at once, with the change hook.
  const int hooks = rig.processor->hookCalls[bare::kFreq];
  ASSERT_EQ(SetState(*rig.processor, StateAtEdge(true)), kResultOk);
  EXPECT_DOUBLE_EQ(rig.processor->GetParam(bare::kFreq)->Value(), 20000.0);
  EXPECT_EQ(rig.processor->hookCalls[bare::kFreq], hooks + 1);
}

// The UI thread restores two states by turns while the audio thread runs blocks: every block
// sees one whole state, never a mix.
TEST(StateHandOff, ConcurrentRestoresAreSeenWhole) {
  Rig rig;
  rig.Activate(kSample32, 32);
  const auto low = StateAtEdge(false);
  const auto high = StateAtEdge(true);
  // Start from one of the two (the defaults are a mix of both).
  ASSERT_EQ(SetState(*rig.processor, low), kResultOk);
  rig.Process(32);
  std::atomic<bool> stop{false};
  std::atomic<int> mixed{0};
  std::atomic<int> blocks{0};
  std::thread audio([&] {
    while (!stop.load()) {
      rig.Process(32);
      const bool gainHigh = rig.processor->GetParam(bare::kGain)->Value() > 0.0;
      const bool freqHigh = rig.processor->GetParam(bare::kFreq)->Value() > 100.0;
      const bool stepsHigh = rig.processor->GetParam(bare::kSteps)->Value() > 1.0;
      if (gainHigh != freqHigh || gainHigh != stepsHigh)
        ++mixed;
      ++blocks;
    }
  });
  for (int i = 0; i < 400; ++i)
    ASSERT_EQ(SetState(*rig.processor, i % 2 ? high : low), kResultOk);
  while (blocks.load() < 50)
    std::this_thread::yield();
  stop = true;
  audio.join();
  EXPECT_EQ(mixed.load(), 0);
}

TEST(ProcessingSetup, KeepsTheBypassAndIsRefusedWhileActive) {
  Rig rig;
  rig.Activate(kSample32, 64);
  int32 index = 0;
  rig.inChanges.addParameterData(0x10000, index)->addPoint(0, 1.0, index);
  rig.Process(64);
  ASSERT_TRUE(rig.processor->GetBypassed());
  ProcessSetup setup{kRealtime, kSample32, 128, 96000.0};
  EXPECT_EQ(rig.processor->setupProcessing(setup), kResultFalse);
  rig.Deactivate();
  const int resets = rig.processor->resets;
  EXPECT_EQ(rig.processor->setupProcessing(setup), kResultOk);
  EXPECT_TRUE(rig.processor->GetBypassed());
  EXPECT_EQ(rig.processor->resets, resets + 1);
  EXPECT_DOUBLE_EQ(rig.processor->GetSampleRate(), 96000.0);
  setup.symbolicSampleSize = 2;
  EXPECT_EQ(rig.processor->setupProcessing(setup), kResultFalse);
}

} // namespace
