// The packet table and its owner-thread lock.
#include "FakeAAXHost.h"
#include "aax/library/AAX_CDirtyPacketTable.h"
#include "aax/library/AAX_COwnerThreadLock.h"
#include "aax/library/AAX_VController.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

using aaxhost::FakeAAXHost;

namespace {

class ScriptedHandler : public AAX_IPacketHandler {
public:
  using Script = std::function<AAX_Result(const std::string&, AAX_CPacket&)>;
  explicit ScriptedHandler(Script script) : mScript(std::move(script)) {}
  AAX_Result Call(const std::string& id, AAX_CPacket& packet) override {
    return mScript(id, packet);
  }

private:
  Script mScript;
};

std::unique_ptr<AAX_IPacketHandler> Handler(ScriptedHandler::Script script) {
  return std::make_unique<ScriptedHandler>(std::move(script));
}

TEST(OwnerThreadLock, LetsTheOwnerThroughWithoutNestingAndBlocksOthers) {
  AAX_COwnerThreadLock lock;
  ASSERT_TRUE(lock.Lock());
  EXPECT_FALSE(lock.Lock()); // the owner is already in: no second count

  std::atomic<bool> otherHasIt{false};
  std::thread other([&] {
    lock.Unlock(); // not the owner: nothing happens
    if (lock.Lock()) {
      otherHasIt = true;
      lock.Unlock();
    }
  });
  // The other thread can only get in after the owner unlocks.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(otherHasIt.load());
  lock.Unlock();
  other.join();
  EXPECT_TRUE(otherHasIt.load());
  EXPECT_TRUE(lock.Lock());
  lock.Unlock();
}

class PacketTableTest : public ::testing::Test {
protected:
  FakeAAXHost host;
  AAX_VController controller{&host};
  AAX_CDirtyPacketTable table;
  void SetUp() override { table.Initialize(&controller, nullptr); }
};

TEST_F(PacketTableTest, EmptyTableMarksAndDispatchesNothing) {
  EXPECT_EQ(table.SetDirty("0", true), AAX_SUCCESS);
  EXPECT_EQ(table.Dispatch(), AAX_SUCCESS);
  EXPECT_TRUE(host.log.Calls().empty());
}

TEST_F(PacketTableTest, PostsDirtyPacketsTheHandlerAcceptsWithEightBytes) {
  std::vector<std::string> offered;
  table.AddPacket("1", 5, Handler([&](const std::string& id, AAX_CPacket& packet) {
                    offered.push_back(id);
                    packet.payload = {1, 2, 3};
                    return AAX_SUCCESS;
                  }));
  table.AddPacket("2", 6, Handler([&](const std::string& id, AAX_CPacket&) {
                    offered.push_back(id);
                    return AAX_Result(1); // declined
                  }));
  table.SetDirty("1", true);
  table.SetDirty("2", true);
  EXPECT_EQ(table.Dispatch(), AAX_SUCCESS);
  EXPECT_EQ(offered, (std::vector<std::string>{"1", "2"}));
  ASSERT_EQ(host.controller.packets.size(), 1u);
  EXPECT_EQ(host.controller.packets[0].port, 5);
  EXPECT_EQ(host.controller.packets[0].payload, (std::vector<uint8_t>{1, 2, 3, 0, 0, 0, 0, 0}));

  // Both are clean now, the declined one too.
  offered.clear();
  EXPECT_EQ(table.Dispatch(), AAX_SUCCESS);
  EXPECT_TRUE(offered.empty());
  EXPECT_EQ(host.controller.packets.size(), 1u);
}

TEST_F(PacketTableTest, AHandlerThatDispatchesAgainDoesNotBlock) {
  int calls = 0;
  table.AddPacket("1", 5, Handler([&](const std::string&, AAX_CPacket&) {
                    if (++calls == 1)
                      table.Dispatch(); // same thread, lock already held
                    return AAX_SUCCESS;
                  }));
  table.SetDirty("1", true);
  EXPECT_EQ(table.Dispatch(), AAX_SUCCESS);
  EXPECT_EQ(calls, 2);
}

TEST_F(PacketTableTest, WithoutControllerAnAcceptedPacketReportsTheMissingHostObject) {
  table.Initialize(nullptr, nullptr);
  table.AddPacket("1", 5, Handler([](const std::string&, AAX_CPacket&) { return AAX_SUCCESS; }));
  table.SetDirty("1", true);
  EXPECT_EQ(table.Dispatch(), AAX_ERROR_NULL_OBJECT);
}

} // namespace
