// OrvaneEQ's VST 2.4 face from its shipped library, with the host's threads at work at once:
// the audio thread switches the bypass and processes, while the main thread restores and
// saves program and bank chunks and gives the effect its idle calls. Under ThreadSanitizer
// any data race fails the run; everywhere, every program chunk saved in the middle of it holds
// one of the restored programs, never a mix.
#include "tests/hosts/race/StateImages.h"

#include "pluginterfaces/vst2.x/aeffectx.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

using race::Bytes;

constexpr VstInt32 kBlock = 64;
constexpr int kRounds = 300;

// Called from both threads: answers from constants only.
VstIntPtr VSTCALLBACK HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

using PluginMain = AEffect* (*)(audioMasterCallback);

class Vst2StateRace : public ::testing::Test {
protected:
  void SetUp() override {
    library = dlopen(ORVANE_EQ_VST2_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto main = reinterpret_cast<PluginMain>(dlsym(library, "VSTPluginMain"));
    ASSERT_NE(main, nullptr);
    effect = main(HostCallback);
    ASSERT_NE(effect, nullptr);
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.f);
    Dispatch(effSetBlockSize, 0, kBlock);
  }
  void TearDown() override {
    if (effect)
      Dispatch(effClose);
    if (library)
      dlclose(library);
  }
  VstIntPtr Dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }
  Bytes Chunk(bool isPreset) {
    void* data = nullptr;
    const VstIntPtr size = Dispatch(effGetChunk, isPreset ? 1 : 0, 0, &data);
    if (size <= 0 || !data)
      return {};
    const auto* bytes = static_cast<const uint8_t*>(data);
    return Bytes(bytes, bytes + size);
  }
  VstIntPtr SetChunk(const Bytes& bytes, bool isPreset) {
    return Dispatch(effSetChunk, isPreset ? 1 : 0, VstIntPtr(bytes.size()),
                    const_cast<uint8_t*>(bytes.data()));
  }
  void SetEveryParameter(float value) {
    for (VstInt32 i = 0; i < effect->numParams; ++i)
      effect->setParameter(effect, i, value);
  }

  void* library = nullptr;
  AEffect* effect = nullptr;
};

TEST_F(Vst2StateRace, ChunksDuringProcessingAreWholeAndRaceFree) {
  SetEveryParameter(1.f);
  const Bytes high = Chunk(true);
  SetEveryParameter(0.f);
  const Bytes low = Chunk(true);
  const Bytes lowBank = Chunk(false);
  ASSERT_FALSE(low.empty());
  ASSERT_FALSE(lowBank.empty());
  ASSERT_NE(race::ValuesOf(low, race::kVst2ProgramValues),
            race::ValuesOf(high, race::kVst2ProgramValues));
  Dispatch(effMainsChanged, 0, 1);

  std::atomic<bool> done{false};
  std::thread audio([&] {
    std::vector<float> in(2 * kBlock, 0.25f), out(2 * kBlock);
    float* inputs[2] = {in.data(), in.data() + kBlock};
    float* outputs[2] = {out.data(), out.data() + kBlock};
    for (int block = 0; !done.load(std::memory_order_acquire); ++block) {
      Dispatch(effSetBypass, 0, (block / 3) % 2);
      effect->processReplacing(effect, inputs, outputs, kBlock);
    }
  });
  std::vector<std::string> mixed;
  for (int round = 0; round < kRounds; ++round) {
    if (round % 10 == 9) {
      EXPECT_EQ(SetChunk(lowBank, false), 1);
      EXPECT_EQ(Chunk(false).size(), lowBank.size());
    } else {
      EXPECT_EQ(SetChunk(round % 2 ? low : high, true), 1);
    }
    Dispatch(effEditIdle);
    const Bytes saved = Chunk(true);
    if (!race::IsOneOf(saved, race::kVst2ProgramValues, {&low, &high}))
      mixed.push_back(race::Describe(saved));
  }
  done.store(true, std::memory_order_release);
  audio.join();
  EXPECT_TRUE(mixed.empty()) << mixed.size() << " saved programs were no restored one, first "
                             << mixed.front();
  Dispatch(effMainsChanged, 0, 0);
}

} // namespace
