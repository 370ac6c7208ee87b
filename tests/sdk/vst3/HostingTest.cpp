#include "FakeHost.h"

#include "pluginterfaces/vst/vstspeaker.h"
#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/eventlist.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "public.sdk/source/vst/hosting/parameterchanges.h"
#include "public.sdk/source/vst/hosting/processdata.h"
#include "public.sdk/source/vst/vstaudioeffect.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>

namespace orvane::test {
namespace {

// ---- attribute lists and messages -----------------------------------------------------------

class Attributes : public testing::Test {
protected:
  void TearDown() override { list->release(); }
  HostAttributeList* list = new HostAttributeList();
};

TEST_F(Attributes, EachTypeReadsBackWhatWasSet) {
  int64 i = 0;
  double f = 0.0;
  EXPECT_EQ(list->setInt("offset", -5), kResultTrue);
  EXPECT_EQ(list->setFloat("GAIN", 0.125), kResultTrue);
  EXPECT_EQ(list->setString("Text", u"hello"), kResultTrue);
  ASSERT_EQ(list->getInt("offset", i), kResultTrue);
  EXPECT_EQ(i, -5);
  ASSERT_EQ(list->getFloat("GAIN", f), kResultTrue);
  EXPECT_EQ(f, 0.125);
  String128 text;
  ASSERT_EQ(list->getString("Text", text, sizeof(text)), kResultTrue);
  EXPECT_EQ(std::u16string(text), u"hello");
}

TEST_F(Attributes, BinaryKeepsItsExactSize) {
  const uint8 midi[8] = {1, 2, 3, 4, 0x90, 60, 100, 0};
  ASSERT_EQ(list->setBinary("data", midi, 8), kResultTrue);
  const void* data = nullptr;
  uint32 size = 0;
  ASSERT_EQ(list->getBinary("data", data, size), kResultTrue);
  EXPECT_EQ(size, 8u);
  EXPECT_EQ(std::memcmp(data, midi, 8), 0);
  EXPECT_NE(data, static_cast<const void*>(midi)); // the list keeps a copy

  ASSERT_EQ(list->setBinary("data", midi, 7), kResultTrue); // replaces, new size
  list->getBinary("data", data, size);
  EXPECT_EQ(size, 7u);
  ASSERT_EQ(list->setBinary("empty", nullptr, 0), kResultTrue);
  ASSERT_EQ(list->getBinary("empty", data, size), kResultTrue);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(list->setBinary("bad", nullptr, 4), kInvalidArgument);
}

TEST_F(Attributes, MissingOrOtherTypedAttributesLeaveOutputsAlone) {
  list->setFloat("GAIN", 1.0);
  int64 i = 77;
  const void* data = &i;
  uint32 size = 3;
  String128 text = u"unchanged";
  EXPECT_EQ(list->getInt("GAIN", i), kResultFalse);
  EXPECT_EQ(list->getInt("missing", i), kResultFalse);
  EXPECT_EQ(list->getBinary("GAIN", data, size), kResultFalse);
  EXPECT_EQ(list->getString("GAIN", text, sizeof(text)), kResultFalse);
  EXPECT_EQ(i, 77);
  EXPECT_EQ(data, &i);
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(std::u16string(text), u"unchanged");
  EXPECT_EQ(list->setInt(nullptr, 1), kInvalidArgument);
  double f = 3.0;
  EXPECT_EQ(list->getFloat(nullptr, f), kInvalidArgument);
  EXPECT_EQ(f, 3.0);
  EXPECT_EQ(list->setString("s", nullptr), kInvalidArgument);
}

TEST_F(Attributes, StringIsCutToTheCallersBuffer) {
  list->setString("Text", u"abcdefgh");
  char16 small[4] = {u'x', u'x', u'x', u'x'};
  ASSERT_EQ(list->getString("Text", small, sizeof(small)), kResultTrue);
  EXPECT_EQ(std::u16string(small), u"abc");
  // An odd byte count rounds down to whole units.
  char16 odd[3] = {u'x', u'x', u'x'};
  ASSERT_EQ(list->getString("Text", odd, 5), kResultTrue);
  EXPECT_EQ(std::u16string(odd), u"a");
  EXPECT_EQ(list->getString("Text", small, 1), kInvalidArgument);
}

TEST(HostMessageIds, IdIsCopiedAndAttributesComeOnce) {
  auto* message = new HostMessage();
  EXPECT_EQ(message->getMessageID(), nullptr);
  {
    std::string id = "MidiMsg";
    message->setMessageID(id.c_str());
    id[0] = 'X';
  }
  EXPECT_STREQ(message->getMessageID(), "MidiMsg");
  IAttributeList* attributes = message->getAttributes();
  EXPECT_EQ(message->getAttributes(), attributes);
  message->setMessageID(nullptr);
  EXPECT_EQ(message->getMessageID(), nullptr);
  message->release();
}

// ---- memory streams -------------------------------------------------------------------------

TEST(MemoryStreamReads, ReadsPastTheEndGiveWhatIsLeft) {
  auto* stream = new MemoryStream();
  char8 text[] = "0123456789";
  int32 n = 0;
  ASSERT_EQ(stream->write(text, 10, &n), kResultTrue);
  EXPECT_EQ(n, 10);
  stream->seek(6, IBStream::kIBSeekSet);
  char8 out[16] = {};
  ASSERT_EQ(stream->read(out, 16, &n), kResultTrue);
  EXPECT_EQ(n, 4);
  EXPECT_STREQ(out, "6789");
  EXPECT_EQ(stream->read(out, 4, &n), kResultFalse);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(stream->read(out, 0, &n), kResultTrue);
  stream->seek(100, IBStream::kIBSeekSet);
  EXPECT_EQ(stream->read(out, 4, &n), kResultFalse);
  EXPECT_EQ(stream->read(nullptr, 4, &n), kInvalidArgument);
  EXPECT_EQ(stream->read(out, -1, &n), kInvalidArgument);
  stream->release();
}

TEST(MemoryStreamWrites, GapAfterSeekReadsAsZeros) {
  auto* stream = new MemoryStream();
  char8 a = 'a';
  stream->write(&a, 1);
  stream->seek(4, IBStream::kIBSeekCur); // 5
  stream->write(&a, 1);
  ASSERT_EQ(stream->getSize(), 6);
  EXPECT_EQ(std::memcmp(stream->getData(), "a\0\0\0\0a", 6), 0);
  int64 pos = 0;
  stream->tell(&pos);
  EXPECT_EQ(pos, 6);
  EXPECT_EQ(stream->tell(nullptr), kInvalidArgument);
  stream->release();
}

TEST(MemoryStreamWrites, LargeWritesGrowTheBuffer) {
  auto* stream = new MemoryStream();
  std::vector<char8> block(100000);
  for (size_t i = 0; i < block.size(); ++i)
    block[i] = static_cast<char8>(i * 7);
  for (int k = 0; k < 3; ++k)
    ASSERT_EQ(stream->write(block.data(), static_cast<int32>(block.size())), kResultTrue);
  ASSERT_EQ(stream->getSize(), 300000);
  EXPECT_EQ(std::memcmp(stream->getData() + 200000, block.data(), block.size()), 0);
  stream->release();
}

TEST(MemoryStreamSeek, NegativeResultsAreRefused) {
  auto* stream = new MemoryStream();
  char8 data[4] = {};
  stream->write(data, 4);
  int64 result = -1;
  EXPECT_EQ(stream->seek(-5, IBStream::kIBSeekEnd, &result), kInvalidArgument);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(stream->seek(-1, IBStream::kIBSeekEnd, &result), kResultTrue);
  EXPECT_EQ(result, 3);
  EXPECT_EQ(stream->seek(kMaxInt64, IBStream::kIBSeekCur, &result), kInvalidArgument);
  EXPECT_EQ(stream->seek(0, 9, &result), kInvalidArgument);
  EXPECT_EQ(result, 3);
  stream->release();
}

TEST(MemoryStreamForeign, WindowIsReadAndNeverOverrun) {
  std::array<char8, 8> memory = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
  auto* stream = new MemoryStream(memory.data(), 4);
  char8 out[8] = {};
  int32 n = 0;
  stream->read(out, 8, &n);
  EXPECT_EQ(n, 4);
  stream->seek(2, IBStream::kIBSeekSet);
  char8 xy[2] = {'X', 'Y'};
  EXPECT_EQ(stream->write(xy, 2, &n), kResultTrue);
  EXPECT_EQ(stream->write(xy, 1, &n), kResultFalse); // would pass the window
  EXPECT_EQ(n, 0);
  EXPECT_EQ(std::string(memory.data(), 8), "abXYefgh");
  stream->release();

  const std::array<char8, 3> constant = {'1', '2', '3'};
  auto* readOnly = new MemoryStream(static_cast<const void*>(constant.data()), 3);
  EXPECT_EQ(readOnly->write(xy, 1, &n), kResultFalse);
  EXPECT_EQ(readOnly->read(out, 3, &n), kResultTrue);
  EXPECT_EQ(n, 3);
  readOnly->release();
}

// ---- parameter queues and changes -----------------------------------------------------------

TEST(ParameterValueQueuePoints, KeptInSampleOrderWithLastValueAtAnOffset) {
  ParameterValueQueue queue(5, 8);
  int32 index = -1;
  queue.addPoint(64, 0.5, index);
  queue.addPoint(0, 0.1, index);
  EXPECT_EQ(index, 0);
  queue.addPoint(32, 0.3, index);
  EXPECT_EQ(index, 1);
  queue.addPoint(64, 0.6, index); // same offset: replaces
  EXPECT_EQ(index, 2);
  ASSERT_EQ(queue.getPointCount(), 3);
  const int32 offsets[] = {0, 32, 64};
  const double values[] = {0.1, 0.3, 0.6};
  for (int32 i = 0; i < 3; ++i) {
    int32 offset = -1;
    ParamValue value = -1.0;
    ASSERT_EQ(queue.getPoint(i, offset, value), kResultTrue);
    EXPECT_EQ(offset, offsets[i]);
    EXPECT_EQ(value, values[i]);
  }
  int32 offset = 99;
  ParamValue value = 9.0;
  EXPECT_EQ(queue.getPoint(3, offset, value), kResultFalse);
  EXPECT_EQ(queue.getPoint(-1, offset, value), kResultFalse);
  EXPECT_EQ(offset, 99);
}

TEST(ParameterValueQueuePoints, BadPointsAndOverflowAreRefused) {
  ParameterValueQueue queue(5, 2);
  int32 index = -1;
  EXPECT_EQ(queue.addPoint(-1, 0.5, index), kInvalidArgument);
  EXPECT_EQ(queue.addPoint(0, 1.5, index), kInvalidArgument);
  EXPECT_EQ(queue.addPoint(0, std::nan(""), index), kInvalidArgument);
  EXPECT_EQ(queue.addPoint(0, 0.0, index), kResultTrue);
  EXPECT_EQ(queue.addPoint(1, 1.0, index), kResultTrue);
  EXPECT_EQ(queue.addPoint(2, 0.5, index), kResultFalse);
  EXPECT_EQ(queue.addPoint(1, 0.25, index), kResultTrue); // replacing needs no room
  EXPECT_EQ(queue.getPointCount(), 2);
}

TEST(ParameterChangesPool, QueuesComeFromTheFixedPool) {
  auto* changes = new ParameterChanges(2, 4);
  int32 index = -1;
  IParamValueQueue* gain = changes->addParameterData(7, index);
  ASSERT_NE(gain, nullptr);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(changes->addParameterData(7, index), gain); // same parameter, same queue
  ASSERT_NE(changes->addParameterData(0x10000, index), nullptr);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(changes->addParameterData(3, index), nullptr);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(changes->getParameterCount(), 2);
  EXPECT_EQ(changes->getParameterData(1)->getParameterId(), 0x10000u);
  EXPECT_EQ(changes->getParameterData(2), nullptr);

  int32 point = 0;
  gain->addPoint(0, 0.5, point);
  changes->clearQueue();
  EXPECT_EQ(changes->getParameterCount(), 0);
  IParamValueQueue* reused = changes->addParameterData(3, index);
  ASSERT_NE(reused, nullptr);
  EXPECT_EQ(reused->getParameterId(), 3u);
  EXPECT_EQ(reused->getPointCount(), 0);
  changes->release();
}

TEST(EventListCapacity, FullListRefusesMoreEvents) {
  auto* events = new EventList(2);
  Event e{};
  e.type = Event::kNoteOnEvent;
  e.sampleOffset = 3;
  EXPECT_EQ(events->addEvent(e), kResultTrue);
  e.sampleOffset = 4;
  EXPECT_EQ(events->addEvent(e), kResultTrue);
  EXPECT_EQ(events->addEvent(e), kResultFalse);
  EXPECT_EQ(events->getEventCount(), 2);
  Event out{};
  ASSERT_EQ(events->getEvent(1, out), kResultTrue);
  EXPECT_EQ(out.sampleOffset, 4);
  out.sampleOffset = -7;
  EXPECT_EQ(events->getEvent(2, out), kResultFalse);
  EXPECT_EQ(out.sampleOffset, -7);
  events->clear();
  EXPECT_EQ(events->getEventCount(), 0);
  EXPECT_EQ(events->getEventByIndex(0), nullptr);
  events->release();
}

// ---- process data ---------------------------------------------------------------------------

class TwoBusEffect : public AudioEffect {
public:
  TwoBusEffect() {
    addAudioInput(u"In", SpeakerArr::kStereo);
    addAudioInput(u"Side", SpeakerArr::kMono, kAux);
    addAudioOutput(u"Out", SpeakerArr::kStereo);
  }
};

TEST(HostProcessDataPrepare, RecordsFollowTheComponentsBuses) {
  auto* effect = new TwoBusEffect();
  HostProcessData data;
  ASSERT_TRUE(data.prepare(*effect, 16, kSample32));
  ASSERT_EQ(data.numInputs, 2);
  ASSERT_EQ(data.numOutputs, 1);
  EXPECT_EQ(data.inputs[0].numChannels, 2);
  EXPECT_EQ(data.inputs[1].numChannels, 1);
  ASSERT_NE(data.outputs[0].channelBuffers32[1], nullptr);
  EXPECT_EQ(data.outputs[0].channelBuffers32[1][15], 0.0f);
  data.outputs[0].channelBuffers32[1][15] = 1.0f; // the buffers are writable

  // Without buffer samples the pointers stay for the caller to set, and the caller may point
  // a record at memory of its own without prepare() ever freeing it.
  ASSERT_TRUE(data.prepare(*effect, 0, kSample32));
  EXPECT_EQ(data.inputs[0].channelBuffers32[0], nullptr);
  float left[4] = {};
  float* hostChannels[2] = {left, left};
  data.inputs[0].channelBuffers32 = hostChannels;
  EXPECT_EQ(data.getInputChannelCount(1), 1);
  EXPECT_EQ(data.getInputChannelCount(2), 0);
  EXPECT_FALSE(data.prepare(*effect, 0, 7));
  data.unprepare();
  EXPECT_EQ(data.numInputs, 0);
  EXPECT_EQ(data.inputs, nullptr);
  effect->release();
}

} // namespace
} // namespace orvane::test
