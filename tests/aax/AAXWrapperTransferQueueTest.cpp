// The transfer queue between the host's thread and the audio thread or the timer: nothing is
// lost when the ring is full, and no older value overtakes a newer one.
#include "aax/adapter/AAXWrapper_TransferQueue.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Change = std::pair<Steinberg::Vst::ParamID, double>;

std::vector<Change> Drain(AAXWrapper_TransferQueue& queue) {
  std::vector<Change> changes;
  Steinberg::Vst::ParamID id = 0;
  double value = 0;
  while (queue.Next(id, value))
    changes.emplace_back(id, value);
  return changes;
}

TEST(AAXWrapperTransferQueue, DeliversInOrderWhileTheRingHasRoom) {
  AAXWrapper_TransferQueue queue;
  queue.Resize({3, 1, 2});
  EXPECT_TRUE(queue.Add(2, 0.5));
  EXPECT_TRUE(queue.Add(1, 0.25));
  EXPECT_EQ(Drain(queue), (std::vector<Change>{{2, 0.5}, {1, 0.25}}));
  EXPECT_TRUE(Drain(queue).empty());
}

TEST(AAXWrapperTransferQueue, AFullRingKeepsTheNewestValueOfEachParameter) {
  AAXWrapper_TransferQueue queue;
  queue.Resize({1, 2});
  // The ring holds two changes; the rest wait in the overflow slots.
  for (int round = 0; round < 10; ++round) {
    EXPECT_TRUE(queue.Add(1, round / 8.0));
    EXPECT_TRUE(queue.Add(2, 1.0 - round / 8.0));
  }
  EXPECT_EQ(Drain(queue), (std::vector<Change>{{1, 0.0}, {2, 1.0}, {1, 1.125}, {2, -0.125}}));
  // Once a parameter waits in its slot, its further changes follow it there, even when the
  // ring has room again: the ring's next entry must not be older than the slot.
  queue.Add(1, 0.1);
  queue.Add(2, 0.2);
  queue.Add(1, 0.3); // overflow slot
  Steinberg::Vst::ParamID id = 0;
  double value = 0;
  ASSERT_TRUE(queue.Next(id, value)); // the ring has room for one again
  EXPECT_EQ(Change(id, value), Change(1, 0.1));
  queue.Add(1, 0.4); // goes to the slot behind 0.3, replacing it
  EXPECT_EQ(Drain(queue), (std::vector<Change>{{2, 0.2}, {1, 0.4}}));
}

TEST(AAXWrapperTransferQueue, ClearDropsRingAndSlots) {
  AAXWrapper_TransferQueue queue;
  queue.Resize({1});
  queue.Add(1, 0.1);
  queue.Add(1, 0.2);
  queue.Clear();
  EXPECT_TRUE(Drain(queue).empty());
  queue.Add(1, 0.3);
  EXPECT_EQ(Drain(queue), (std::vector<Change>{{1, 0.3}}));
}

TEST(AAXWrapperTransferQueue, AParameterItWasNotSizedForIsRefusedOnlyWhenFull) {
  AAXWrapper_TransferQueue queue;
  queue.Resize({1});
  EXPECT_TRUE(queue.Add(7, 0.5));
  EXPECT_FALSE(queue.Add(7, 0.6));
  EXPECT_EQ(Drain(queue), (std::vector<Change>{{7, 0.5}}));
}

} // namespace
