// The compressor's AAX chunk: both halves' VST 3 states in one record, checked against bytes
// assembled by hand from the VST 3 road's own states; round trips; and records that must be
// refused with nothing changed.
#include "AAXBundleSession.h"

#include <cstring>

namespace aax_bundle_test {
namespace {

using orvane::testhost::Module;
using orvane::testhost::Plugin;
using Bytes = std::vector<uint8_t>;

void PutInt64(Bytes& out, int64_t value) {
  for (int i = 0; i < 8; ++i)
    out.push_back(uint8_t(uint64_t(value) >> (8 * i)));
}

// The chunk layout: int64 Np, int64 Nc, the processor state, the controller state.
Bytes Assemble(const Bytes& processor, const Bytes& controller, int64_t np, int64_t nc) {
  Bytes data;
  PutInt64(data, np);
  PutInt64(data, nc);
  data.insert(data.end(), processor.begin(), processor.end());
  data.insert(data.end(), controller.begin(), controller.end());
  return data;
}

Bytes Assemble(const Bytes& processor, const Bytes& controller) {
  return Assemble(processor, controller, int64_t(processor.size()), int64_t(controller.size()));
}

const std::vector<std::pair<int, double>> kValues = {{0, 0.25}, {1, 0.75}, {5, 1.0}, {8, 0.4}};

class Chunk : public BundleSession {
protected:
  void SetUp() override {
    BundleSession::SetUp();
    if (!HasFatalFailure())
      MakeInstance(2);
  }

  void Apply(AAX_IACFEffectParameters& target) {
    for (const auto& [id, value] : kValues)
      target.UpdateParameterNormalizedValue(std::to_string(id).c_str(), value, 0);
    aaxhost::FakeInstanceBlock block(&target, 2, 2, 64, kRate, nullptr);
    aaxhost::RenderInstances(ProcessProc(), {&block}); // the processor takes the values
  }

  std::vector<double> Values() {
    std::vector<double> values;
    for (int id = 0; id < 9; ++id)
      values.push_back(Normalized(std::to_string(id).c_str()));
    values.push_back(Normalized(""));
    return values;
  }

  int32_t Counter() {
    int32_t counter = -1;
    Effect().GetUpdateCounter(&counter);
    return counter;
  }
};

TEST_F(Chunk, CarriesBothVst3StatesAsTheHalvesWriteThem) {
  Apply(Effect());
  const Bytes chunk = instance->SaveChunk(kChunkID);

  std::string error;
  auto module = Module::load(kBundle, error);
  ASSERT_TRUE(module) << error;
  auto plugin = Plugin::create(*module, kProcessorUID, error);
  ASSERT_TRUE(plugin) << error;
  plugin->activate(kRate, 64, Steinberg::Vst::kSample32);
  for (const auto& [id, value] : kValues)
    plugin->setParameter(Steinberg::Vst::ParamID(id), value);
  plugin->process(64);
  const Bytes processor = plugin->processorState();
  ASSERT_GE(processor.size(), 8u);
  EXPECT_EQ(Bytes(processor.begin() + 4, processor.begin() + 8), (Bytes{0x74, 0x66, 0x66, 0x70}));
  EXPECT_EQ(chunk, Assemble(processor, plugin->controllerState()));
  plugin.reset();
}

TEST_F(Chunk, SizeThenChunkWriteExactlyTheReportedBytes) {
  int32_t size = 0;
  ASSERT_EQ(Effect().GetChunkSize(kChunkID, &size), AAX_SUCCESS);
  aaxhost::FakeChunkRecord record(uint32_t(size) + 16);
  std::memset(AAX_ChunkData(record.Get()), 0xEE, size_t(size) + 16);
  ASSERT_EQ(Effect().GetChunk(kChunkID, record.Get()), AAX_SUCCESS);
  EXPECT_EQ(record.Get()->fSize, size);
  EXPECT_EQ(AAX_ChunkData(record.Get())[size], 0xEE); // nothing beyond
}

TEST_F(Chunk, IdentityAndIndexErrors) {
  AAX_CTypeID id = 1;
  EXPECT_EQ(Effect().GetChunkIDFromIndex(0, &id), AAX_SUCCESS);
  EXPECT_EQ(id, kChunkID);
  EXPECT_EQ(Effect().GetChunkIDFromIndex(1, &id), AAX_ERROR_CHUNK_INDEX);
  EXPECT_EQ(id, 0u);
  int32_t size = 7;
  EXPECT_EQ(Effect().GetChunkSize(AAX_FourCC('e', 'l', 'c', 'k'), &size), AAX_ERROR_CHUNK_ID);
  EXPECT_EQ(size, 0);
  aaxhost::FakeChunkRecord record(64);
  record.Get()->fSize = 5;
  EXPECT_EQ(Effect().GetChunk(AAX_FourCC('e', 'l', 'c', 'k'), record.Get()), AAX_ERROR_CHUNK_ID);
  EXPECT_EQ(record.Get()->fSize, 5); // untouched
  EXPECT_EQ(instance->RestoreChunk(AAX_FourCC('e', 'l', 'c', 'k'), instance->SaveChunk(kChunkID)),
            AAX_ERROR_CHUNK_ID);
}

TEST_F(Chunk, RestoresIntoAnotherInstanceAndCountsOneUpdate) {
  Apply(Effect());
  const Bytes saved = instance->SaveChunk(kChunkID);
  const std::vector<double> values = Values();

  aaxhost::FakeEffectInstance other(host, *effect);
  AAX_IACFEffectParameters& target = *other.Parameters();
  int32_t before = 0;
  target.GetUpdateCounter(&before);
  ASSERT_EQ(other.RestoreChunk(kChunkID, saved), AAX_SUCCESS);
  host.automation.ConfirmPendingRequests(target); // the host confirms the posted values
  int32_t after = 0;
  target.GetUpdateCounter(&after);
  EXPECT_GE(after, before + 1);
  for (int id = 0; id < 9; ++id) {
    double value = -1;
    target.GetParameterNormalizedValue(std::to_string(id).c_str(), &value);
    EXPECT_DOUBLE_EQ(value, values[size_t(id)]) << id;
  }
  bool equal = false;
  EXPECT_EQ(other.CompareChunk(kChunkID, saved, &equal), AAX_SUCCESS);
  EXPECT_TRUE(equal);
  EXPECT_EQ(other.SaveChunk(kChunkID), saved);
}

TEST_F(Chunk, RestoreWithoutControllerPartKeepsTheProcessorState) {
  Apply(Effect());
  const Bytes saved = instance->SaveChunk(kChunkID);
  int64_t np = 0;
  std::memcpy(&np, saved.data(), 8);
  const Bytes processorOnly =
      Assemble(Bytes(saved.begin() + 16, saved.begin() + 16 + np), {}, np, 0);
  aaxhost::FakeEffectInstance other(host, *effect);
  ASSERT_EQ(other.RestoreChunk(kChunkID, processorOnly), AAX_SUCCESS);
  host.automation.ConfirmPendingRequests(*other.Parameters());
  double value = -1;
  other.Parameters()->GetParameterNormalizedValue("1", &value);
  EXPECT_DOUBLE_EQ(value, 0.75);
}

TEST_F(Chunk, CompareTellsAChangedStateApart) {
  const Bytes saved = instance->SaveChunk(kChunkID);
  bool equal = false;
  EXPECT_EQ(instance->CompareChunk(kChunkID, saved, &equal), AAX_SUCCESS);
  EXPECT_TRUE(equal);
  Apply(Effect());
  EXPECT_EQ(instance->CompareChunk(kChunkID, saved, &equal), AAX_SUCCESS);
  EXPECT_FALSE(equal);
  // A record of this ID without the framework's state differs: too short, no header, the
  // header cut off, another plug-in's bytes.
  Bytes headerless = saved;
  headerless[20] ^= 0xFF;
  for (const Bytes& foreign : {Bytes{}, Bytes{1, 2, 3}, Bytes(40, 0),
                               Bytes(saved.begin(), saved.begin() + 22), headerless}) {
    equal = true;
    EXPECT_EQ(instance->CompareChunk(kChunkID, foreign, &equal), AAX_SUCCESS);
    EXPECT_FALSE(equal) << foreign.size();
  }
  // A record of another ID is not this plug-in's to judge.
  equal = false;
  EXPECT_EQ(instance->CompareChunk(AAX_FourCC('x', 'x', 'x', 'x'), saved, &equal), AAX_SUCCESS);
  EXPECT_TRUE(equal);
}

// Every one of these is refused with -20008, and the instance is exactly as before: its chunk,
// its AAX values, its update counter.
TEST_F(Chunk, BadRecordsAreRefusedWithNothingChanged) {
  Apply(Effect());
  const Bytes good = instance->SaveChunk(kChunkID);
  int64_t np = 0;
  int64_t nc = 0;
  std::memcpy(&np, good.data(), 8);
  std::memcpy(&nc, good.data() + 8, 8);
  const Bytes processor(good.begin() + 16, good.begin() + 16 + np);
  const Bytes controller(good.begin() + 16 + np, good.end());
  Bytes badMagic = processor;
  badMagic[4] ^= 0xFF;
  Bytes badController = controller;
  badController[4] ^= 0xFF;

  // Another instance's state, so that a wrongly accepted part would show.
  aaxhost::FakeEffectInstance donor(host, *effect);
  donor.Parameters()->UpdateParameterNormalizedValue("1", 0.05, 0);
  aaxhost::FakeInstanceBlock block(donor.Parameters(), 2, 2, 64, kRate, nullptr);
  aaxhost::RenderInstances(ProcessProc(), {&block});
  const Bytes other = donor.SaveChunk(kChunkID);
  int64_t otherNp = 0;
  std::memcpy(&otherNp, other.data(), 8);
  const Bytes otherProcessor(other.begin() + 16, other.begin() + 16 + otherNp);

  struct Case {
    const char* what;
    Bytes data;
  };
  const Case cases[] = {
      {"empty", {}},
      {"shorter than the sizes", Bytes(good.begin(), good.begin() + 15)},
      {"processor size beyond the record", Assemble(processor, controller, np + 1000, nc)},
      {"controller size beyond the record", Assemble(processor, controller, np, nc + 1)},
      {"negative processor size", Assemble(processor, controller, -8, nc)},
      {"negative controller size", Assemble(processor, controller, np, -1)},
      {"sizes that overflow", Assemble(processor, controller, INT64_MAX, INT64_MAX)},
      {"no processor part", Assemble({}, controller, 0, nc)},
      {"processor state of another header", Assemble(badMagic, controller)},
      {"data cut short", Bytes(good.begin(), good.end() - 3)},
      {"controller state of another header", Assemble(otherProcessor, badController)},
  };
  const std::vector<double> values = Values();
  const int32_t counter = Counter();
  for (const Case& c : cases) {
    EXPECT_EQ(instance->RestoreChunk(kChunkID, c.data), AAX_ERROR_CHUNK_SIZE) << c.what;
    host.automation.ConfirmPendingRequests(Effect());
    EXPECT_EQ(instance->SaveChunk(kChunkID), good) << c.what;
    EXPECT_EQ(Values(), values) << c.what;
    EXPECT_EQ(Counter(), counter) << c.what;
  }
  // And the processor still runs on the old values: one more block changes nothing.
  Apply(Effect());
  EXPECT_EQ(instance->SaveChunk(kChunkID), good);
}

} // namespace
} // namespace aax_bundle_test
