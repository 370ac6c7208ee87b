#include "public.sdk/source/vst/hosting/parameterchanges.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

TEST(ParameterChangeTransferRing, DeliversInOrderAndDropsWhenFull) {
  ParameterChangeTransfer transfer(3);
  EXPECT_TRUE(transfer.addChange(1, 0.1, 0));
  EXPECT_TRUE(transfer.addChange(2, 0.2, 5));
  EXPECT_TRUE(transfer.addChange(1, 0.3, 9));
  EXPECT_FALSE(transfer.addChange(4, 0.4, 0)); // full: lost

  ParamID id = 0;
  ParamValue value = 0.0;
  int32 offset = 0;
  ASSERT_TRUE(transfer.getNextChange(id, value, offset));
  EXPECT_EQ(id, 1u);
  EXPECT_EQ(value, 0.1);
  EXPECT_TRUE(transfer.addChange(5, 0.5, 0)); // one slot free again
  ASSERT_TRUE(transfer.getNextChange(id, value, offset));
  EXPECT_EQ(id, 2u);
  EXPECT_EQ(offset, 5);
  ASSERT_TRUE(transfer.getNextChange(id, value, offset));
  EXPECT_EQ(value, 0.3);
  ASSERT_TRUE(transfer.getNextChange(id, value, offset));
  EXPECT_EQ(id, 5u);
  EXPECT_FALSE(transfer.getNextChange(id, value, offset));
}

TEST(ParameterChangeTransferRing, WithoutSizeNothingIsKept) {
  ParameterChangeTransfer transfer;
  EXPECT_FALSE(transfer.addChange(1, 0.5, 0));
  ParamID id = 0;
  ParamValue value = 0.0;
  int32 offset = 0;
  EXPECT_FALSE(transfer.getNextChange(id, value, offset));
}

TEST(ParameterChangeTransferRing, RemovedChangesAreSkippedByTheReader) {
  ParameterChangeTransfer transfer(4);
  transfer.addChange(1, 0.1, 0);
  transfer.addChange(2, 0.2, 0);
  transfer.removeChanges();
  transfer.addChange(3, 0.3, 0);
  ParamID id = 0;
  ParamValue value = 0.0;
  int32 offset = 0;
  ASSERT_TRUE(transfer.getNextChange(id, value, offset));
  EXPECT_EQ(id, 3u);
  EXPECT_FALSE(transfer.getNextChange(id, value, offset));
}

TEST(ParameterChangeTransferContainers, MovesPointsBetweenContainersAndTheRing) {
  ParameterChanges processorOutput(4);
  int32 index = 0;
  processorOutput.addParameterData(7, index)->addPoint(0, 0.25, index);
  processorOutput.addParameterData(7, index)->addPoint(10, 0.5, index);
  processorOutput.addParameterData(9, index)->addPoint(3, 1.0, index);

  ParameterChangeTransfer transfer(8);
  transfer.transferChangesFrom(processorOutput);

  ParameterChanges nextBlock(4);
  transfer.transferChangesTo(nextBlock);
  ASSERT_EQ(nextBlock.getParameterCount(), 2);
  IParamValueQueue* seven = nextBlock.getParameterData(0);
  EXPECT_EQ(seven->getParameterId(), 7u);
  ASSERT_EQ(seven->getPointCount(), 2);
  int32 offset = 0;
  ParamValue value = 0.0;
  seven->getPoint(1, offset, value);
  EXPECT_EQ(offset, 10);
  EXPECT_EQ(value, 0.5);
  EXPECT_EQ(nextBlock.getParameterData(1)->getParameterId(), 9u);
}

// One producer and one consumer thread, as the host's main thread and the audio thread use
// the ring: every change arrives exactly once and in order, though the ring is far smaller
// than the number of changes.
TEST(ParameterChangeTransferThreads, ProducerAndConsumerLoseNothing) {
  constexpr int32 kChanges = 200000;
  ParameterChangeTransfer transfer(16);

  std::thread producer([&] {
    for (int32 i = 0; i < kChanges; ++i)
      while (!transfer.addChange(static_cast<ParamID>(i % 13), i / double(kChanges), i))
        std::this_thread::yield();
  });

  int32 expected = 0;
  bool inOrder = true;
  while (expected < kChanges) {
    ParamID id = 0;
    ParamValue value = 0.0;
    int32 offset = 0;
    if (!transfer.getNextChange(id, value, offset)) {
      std::this_thread::yield();
      continue;
    }
    if (offset != expected || id != static_cast<ParamID>(expected % 13) ||
        value != expected / double(kChanges))
      inOrder = false;
    ++expected;
  }
  producer.join();
  EXPECT_TRUE(inOrder);
  ParamID id = 0;
  ParamValue value = 0.0;
  int32 offset = 0;
  EXPECT_FALSE(transfer.getNextChange(id, value, offset));
}

// removeChanges from the writer's thread while the reader is busy never lets the reader see
// a slot twice or run ahead of what was written.
TEST(ParameterChangeTransferThreads, RemoveWhileReadingStaysConsistent) {
  constexpr int32 kChanges = 100000;
  ParameterChangeTransfer transfer(32);
  std::atomic<bool> done{false};

  std::thread producer([&] {
    for (int32 i = 0; i < kChanges; ++i) {
      while (!transfer.addChange(0, 0.0, i))
        std::this_thread::yield();
      if (i % 97 == 0)
        transfer.removeChanges();
    }
    done.store(true);
  });

  int32 last = -1;
  bool increasing = true;
  for (;;) {
    ParamID id = 0;
    ParamValue value = 0.0;
    int32 offset = 0;
    if (transfer.getNextChange(id, value, offset)) {
      if (offset <= last)
        increasing = false;
      last = offset;
    } else if (done.load()) {
      if (!transfer.getNextChange(id, value, offset))
        break;
      if (offset <= last)
        increasing = false;
      last = offset;
    } else {
      std::this_thread::yield();
    }
  }
  producer.join();
  EXPECT_TRUE(increasing);
  EXPECT_EQ(last, kChanges - 1); // the last change was written after the last removal
}

} // namespace
