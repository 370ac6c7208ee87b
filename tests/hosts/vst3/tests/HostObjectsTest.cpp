// The test host's own objects: they stand in for a host, so they must answer as one does.
#include "tests/hosts/vst3/ComponentHandler.h"
#include "tests/hosts/vst3/HostApplication.h"
#include "tests/hosts/vst3/HostMessage.h"
#include "tests/hosts/vst3/MemoryStream.h"
#include "tests/hosts/vst3/ParameterChanges.h"
#include "tests/hosts/vst3/PlugFrame.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orvane::testhost {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

template <class T> struct Owned {
  T* p;
  explicit Owned(T* p) : p(p) {}
  ~Owned() { p->release(); }
  T* operator->() const { return p; }
};

TEST(MemoryStream, ReadsWritesAndSeeksLikeAHostStream) {
  Owned s(new MemoryStream);
  char text[] = "abcdef";
  int32 written = -1;
  EXPECT_EQ(s->write(text, 6, &written), kResultOk);
  EXPECT_EQ(written, 6);

  int64 pos = -1;
  EXPECT_EQ(s->seek(2, IBStream::kIBSeekSet, &pos), kResultOk);
  EXPECT_EQ(pos, 2);
  char got[8] = {};
  int32 read = -1;
  EXPECT_EQ(s->read(got, 8, &read), kResultOk);
  EXPECT_EQ(read, 4); // short read at the end is not an error
  EXPECT_STREQ(got, "cdef");
  EXPECT_EQ(s->read(got, 8, &read), kResultOk);
  EXPECT_EQ(read, 0);

  EXPECT_EQ(s->seek(-1, IBStream::kIBSeekEnd, &pos), kResultOk);
  EXPECT_EQ(pos, 5);
  EXPECT_EQ(s->seek(-10, IBStream::kIBSeekCur, &pos), kInvalidArgument);
  EXPECT_EQ(s->tell(&pos), kResultOk);
  EXPECT_EQ(pos, 5); // unchanged by the refused seek
  EXPECT_EQ(s->seek(0, 7, nullptr), kInvalidArgument);
  EXPECT_EQ(s->read(got, -1, &read), kInvalidArgument);

  // Writing past the end fills the gap with zeros.
  EXPECT_EQ(s->seek(8, IBStream::kIBSeekSet, nullptr), kResultOk);
  EXPECT_EQ(s->write(text, 1, nullptr), kResultOk);
  ASSERT_EQ(s->data().size(), 9u);
  EXPECT_EQ(s->data()[6], 0);
  EXPECT_EQ(s->data()[8], 'a');
}

TEST(AttributeList, KeepsTypedValuesAndTruncatesStringsSafely) {
  Owned list(new AttributeList);
  EXPECT_EQ(list->setInt("n", -5), kResultOk);
  EXPECT_EQ(list->setFloat("x", 0.25), kResultOk);
  EXPECT_EQ(list->setString("s", u"Gain"), kResultOk);
  const std::uint8_t blob[3] = {1, 2, 3};
  EXPECT_EQ(list->setBinary("b", blob, 3), kResultOk);

  int64 n = 0;
  EXPECT_EQ(list->getInt("n", n), kResultOk);
  EXPECT_EQ(n, -5);
  double x = 0;
  EXPECT_EQ(list->getFloat("x", x), kResultOk);
  EXPECT_EQ(x, 0.25);
  EXPECT_EQ(list->getFloat("n", x), kResultFalse); // wrong type
  EXPECT_EQ(list->getInt("missing", n), kResultFalse);

  TChar small[3];
  EXPECT_EQ(list->getString("s", small, sizeof small), kResultOk);
  EXPECT_EQ(std::u16string(small), u"Ga");

  const void* data = nullptr;
  uint32 size = 0;
  EXPECT_EQ(list->getBinary("b", data, size), kResultOk);
  ASSERT_EQ(size, 3u);
  EXPECT_EQ(std::memcmp(data, blob, 3), 0);
}

TEST(HostApplication, MakesMessagesAndAttributeListsOnly) {
  auto log = std::make_shared<HostLog>();
  Owned host(new HostApplication(u"A host name that is long enough", log));
  String128 name;
  EXPECT_EQ(host->getName(name), kResultOk);
  EXPECT_EQ(std::u16string(name), u"A host name that is long enough");

  TUID messageId;
  IMessage::iid.toTUID(messageId);
  void* obj = nullptr;
  ASSERT_EQ(host->createInstance(messageId, messageId, &obj), kResultOk);
  auto* message = static_cast<IMessage*>(obj);
  message->setMessageID("GAIN");
  EXPECT_STREQ(message->getMessageID(), "GAIN");
  ASSERT_NE(message->getAttributes(), nullptr);
  message->release();

  TUID streamId;
  IBStream::iid.toTUID(streamId);
  EXPECT_EQ(host->createInstance(streamId, streamId, &obj), kResultFalse);
  EXPECT_EQ(obj, nullptr);
  EXPECT_EQ(log->messagesCreated, 1);
}

TEST(ParameterChanges, QueuesKeepOffsetOrderAndOneQueuePerParameter) {
  Owned changes(new ParameterChanges);
  int32 index = -1;
  IParamValueQueue* q = changes->addParameterData(7, index);
  EXPECT_EQ(index, 0);
  q->addPoint(100, 0.5, index);
  q->addPoint(10, 0.1, index);
  EXPECT_EQ(index, 0);
  q->addPoint(100, 0.6, index); // same offset: replaced
  EXPECT_EQ(index, 1);
  EXPECT_EQ(q->getPointCount(), 2);

  EXPECT_EQ(changes->addParameterData(7, index), q);
  EXPECT_EQ(index, 0);
  changes->addParameterData(9, index);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(changes->getParameterCount(), 2);
  EXPECT_EQ(changes->getParameterData(2), nullptr);
  EXPECT_EQ(changes->getParameterData(-1), nullptr);

  int32 offset = 0;
  ParamValue value = 0;
  EXPECT_EQ(q->getPoint(1, offset, value), kResultOk);
  EXPECT_EQ(offset, 100);
  EXPECT_EQ(value, 0.6);
  EXPECT_EQ(q->getPoint(2, offset, value), kResultFalse);
}

// A timer handler that counts calls and can unregister itself from its own callback.
class CountingTimer : public HostObject<Linux::ITimerHandler> {
public:
  explicit CountingTimer(Linux::IRunLoop* loop) : loop(loop) {}
  void PLUGIN_API onTimer() override {
    ++calls;
    if (stopAfter && calls == stopAfter)
      loop->unregisterTimer(this);
  }
  Linux::IRunLoop* loop;
  int calls = 0;
  int stopAfter = 0;
};

TEST(PlugFrame, RunsRegisteredTimersOnTheHostClock) {
  auto log = std::make_shared<HostLog>();
  Owned frame(new PlugFrame(log));
  Owned timer(new CountingTimer(frame.p));
  Owned selfStopping(new CountingTimer(frame.p));
  selfStopping->stopAfter = 2;

  EXPECT_EQ(frame->registerTimer(timer.p, 40), kResultOk);
  EXPECT_EQ(frame->registerTimer(timer.p, 40), kInvalidArgument); // once per handler
  EXPECT_EQ(frame->registerTimer(selfStopping.p, 10), kResultOk);
  frame->advance(39);
  EXPECT_EQ(timer->calls, 0);
  frame->advance(1);
  EXPECT_EQ(timer->calls, 1);
  frame->advance(400);
  EXPECT_EQ(timer->calls, 11);
  EXPECT_EQ(selfStopping->calls, 2);
  EXPECT_EQ(frame->timerCount(), 1u);

  EXPECT_EQ(frame->unregisterTimer(timer.p), kResultOk);
  EXPECT_EQ(frame->unregisterTimer(timer.p), kInvalidArgument);
  frame->advance(100);
  EXPECT_EQ(timer->calls, 11);
  EXPECT_EQ(log->timersRegistered, (std::vector<Linux::TimerInterval>{40, 10}));
  // The frame's references are gone: only ours is left.
  EXPECT_EQ(timer->referenceCount(), 1u);
  EXPECT_EQ(selfStopping->referenceCount(), 1u);
}

class RecordingTarget : public HostObject<IContextMenuTarget> {
public:
  tresult PLUGIN_API executeMenuItem(int32 tag) override {
    executed.push_back(tag);
    return kResultOk;
  }
  std::vector<int32> executed;
};

TEST(ComponentHandler, RecordsEditsAndRunsScriptedContextMenus) {
  auto log = std::make_shared<HostLog>();
  Owned handler(new ComponentHandler(log, true));
  handler->beginEdit(3);
  handler->performEdit(3, 0.75);
  handler->endEdit(3);
  handler->restartComponent(kLatencyChanged);
  ASSERT_EQ(log->edits.size(), 3u);
  EXPECT_EQ(log->edits[1].kind, EditCall::Kind::Perform);
  EXPECT_EQ(log->edits[1].value, 0.75);
  EXPECT_EQ(log->restarts, (std::vector<int32>{kLatencyChanged}));

  log->pickContextMenuItem = [](const std::vector<IContextMenuItem>& items) {
    return std::optional<size_t>(items.size() - 1);
  };
  Owned target(new RecordingTarget);
  const ParamID param = 3;
  IContextMenu* menu = handler->createContextMenu(nullptr, &param);
  IContextMenuItem item{};
  item.tag = 5;
  menu->addItem(item, target.p);
  item.tag = 6;
  menu->addItem(item, target.p);
  EXPECT_EQ(menu->getItemCount(), 2);
  menu->popup(10, 20);
  menu->release();
  EXPECT_EQ(target->executed, (std::vector<int32>{6}));
  ASSERT_EQ(log->contextMenus.size(), 1u);
  EXPECT_EQ(log->contextMenus[0].paramId, 3u);
  EXPECT_EQ(log->contextMenus[0].executedTag, 6);
  EXPECT_EQ(target->referenceCount(), 1u);

  Owned plain(new ComponentHandler(log, false));
  void* obj = reinterpret_cast<void*>(1);
  EXPECT_EQ(plain->queryInterface(IComponentHandler3::iid, &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
  EXPECT_EQ(plain->queryInterface(IComponentHandler::iid, &obj), kResultOk);
  static_cast<IComponentHandler*>(obj)->release();
}

} // namespace
} // namespace orvane::testhost
