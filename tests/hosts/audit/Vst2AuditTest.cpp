// OrvaneEQ's VST 2.4 face, from its shipped library, with a host callback that itself never
// allocates: no processReplacing or processDoubleReplacing call, and no parameter or bypass
// change a host makes on its audio thread, allocates, locks or changes the caller's
// floating-point mode: from the first block after resuming, with changes of every parameter
// between pieces of each block, the bypass switched on and off, a chunk restored while
// processing, blocks longer than the announced size, 32 and 64 bit, mono and stereo.
#include "AuditSupport.h"
#include "support/AllocationCounter.h"

#include "pluginterfaces/vst2.x/aeffectx.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace {

VstTimeInfo gTime{};

VstIntPtr VSTCALLBACK HostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  switch (opcode) {
  case audioMasterVersion:
    return kVstVersion;
  case audioMasterGetTime:
    return reinterpret_cast<VstIntPtr>(&gTime);
  default:
    return 0;
  }
}

using PluginMain = AEffect* (*)(audioMasterCallback);

// Precision (0: 32 bit, 1: 64 bit), channels.
using Row = std::tuple<int, int>;

class Vst2Audit : public ::testing::TestWithParam<Row> {
public:
  void SetUp() override {
    library = dlopen(ORVANE_EQ_VST2_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto main = reinterpret_cast<PluginMain>(dlsym(library, "VSTPluginMain"));
    ASSERT_NE(main, nullptr);
    effect = main(HostCallback);
    ASSERT_NE(effect, nullptr);
    Dispatch(effOpen);
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

  void* library = nullptr;
  AEffect* effect = nullptr;
};

template <class Sample> void Play(AEffect* effect, Sample** in, Sample** out, VstInt32 n) {
  if constexpr (sizeof(Sample) == 4)
    effect->processReplacing(effect, in, out, n);
  else
    effect->processDoubleReplacing(effect, in, out, n);
}

template <class Sample> void RunBlocks(Vst2Audit& test, AEffect* effect, int channels) {
  VstSpeakerArrangement in{}, out{};
  in.numChannels = out.numChannels = channels;
  in.type = out.type = channels == 1 ? kSpeakerArrMono : kSpeakerArrStereo;
  ASSERT_EQ(test.Dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
  ASSERT_EQ(effect->numOutputs, channels);
  test.Dispatch(effSetSampleRate, 0, 0, nullptr, float(audit::kRate));
  test.Dispatch(effSetBlockSize, 0, audit::kSetupBlock);
  test.Dispatch(effSetProcessPrecision, 0,
                sizeof(Sample) == 8 ? kVstProcessPrecision64 : kVstProcessPrecision32);

  // A chunk to restore later, with other values than those playing then.
  void* bytes = nullptr;
  const VstIntPtr size = test.Dispatch(effGetChunk, 0, 0, &bytes);
  ASSERT_GT(size, 0);
  const std::vector<char> saved(static_cast<char*>(bytes), static_cast<char*>(bytes) + size);

  std::vector<std::vector<Sample>> ins(size_t(channels), std::vector<Sample>(audit::kMaxLength));
  std::vector<std::vector<Sample>> outs(size_t(channels), std::vector<Sample>(audit::kMaxLength));
  std::vector<Sample*> inPtrs, outPtrs;
  for (int c = 0; c < channels; ++c) {
    inPtrs.push_back(ins[size_t(c)].data());
    outPtrs.push_back(outs[size_t(c)].data());
  }
  std::vector<Sample*> inPiece(inPtrs.size()), outPiece(outPtrs.size());
  gTime = VstTimeInfo{};
  gTime.sampleRate = audit::kRate;
  gTime.tempo = 120.0;
  gTime.flags = kVstTransportPlaying | kVstTempoValid;

  audit::CallerMode mode;
  const unsigned callerMode = audit::CallerMode::Current();
  int modeChanges = 0, nonFinite = 0;
  long allocations = 0, locks = 0;
  int64_t position = 0;

  test.Dispatch(effMainsChanged, 0, 1);
  test.Dispatch(effStartProcess);
  for (int b = 0; b < audit::kBlocks; ++b) {
    if (b == audit::kRestoreBlock) {
      EXPECT_EQ(
          test.Dispatch(effSetChunk, 0, VstIntPtr(saved.size()), const_cast<char*>(saved.data())),
          1);
    }
    const VstInt32 n = audit::LengthOf(b);
    for (int c = 0; c < channels; ++c)
      for (VstInt32 i = 0; i < n; ++i)
        ins[size_t(c)][size_t(i)] = Sample(audit::Signal(position + i, c));
    alloccount::Arm();
    test.Dispatch(effSetBypass, 0, audit::Bypassed(b) ? 1 : 0);
    // VST 2.4 has no offsets: a host with changes inside a block plays it in pieces.
    VstInt32 done = 0;
    for (int p = 0; p < audit::kPointsPerBlock; ++p) {
      for (VstInt32 k = 0; k < effect->numParams; ++k)
        effect->setParameter(effect, k, float(audit::ValueOf(b, int(k), p)));
      const VstInt32 end = p + 1 < audit::kPointsPerBlock ? audit::OffsetOf(p + 1, n) : n;
      if (end <= done)
        continue;
      for (int c = 0; c < channels; ++c) {
        inPiece[size_t(c)] = inPtrs[size_t(c)] + done;
        outPiece[size_t(c)] = outPtrs[size_t(c)] + done;
      }
      gTime.samplePos = double(position + done);
      Play<Sample>(effect, inPiece.data(), outPiece.data(), end - done);
      modeChanges += audit::CallerMode::Current() != callerMode;
      done = end;
    }
    alloccount::Disarm();
    allocations += alloccount::Allocations();
    locks += alloccount::Locks();
    for (int c = 0; c < channels; ++c)
      for (VstInt32 i = 0; i < n; ++i)
        nonFinite += !std::isfinite(double(outs[size_t(c)][size_t(i)]));
    position += n;
  }
  test.Dispatch(effStopProcess);
  test.Dispatch(effMainsChanged, 0, 0);
  EXPECT_EQ(allocations, 0);
  EXPECT_EQ(locks, 0);
  EXPECT_EQ(modeChanges, 0);
  EXPECT_EQ(nonFinite, 0);
}

TEST_P(Vst2Audit, NoBlockOrAudioThreadChangeAllocatesLocksOrLeavesItsFloatingPointMode) {
  ASSERT_NE(effect->flags & effFlagsCanDoubleReplacing, 0);
  if (std::get<0>(GetParam()) == 0)
    RunBlocks<float>(*this, effect, std::get<1>(GetParam()));
  else
    RunBlocks<double>(*this, effect, std::get<1>(GetParam()));
}

std::string RowName(const ::testing::TestParamInfo<Row>& info) {
  return std::string("OrvaneEQ") + (std::get<0>(info.param) == 0 ? "_32bit" : "_64bit") +
         (std::get<1>(info.param) == 1 ? "_mono" : "_stereo");
}

INSTANTIATE_TEST_SUITE_P(Shipped, Vst2Audit,
                         ::testing::Combine(::testing::Values(0, 1), ::testing::Values(1, 2)),
                         RowName);

} // namespace
