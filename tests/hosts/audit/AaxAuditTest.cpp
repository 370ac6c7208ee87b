// OrvaneCompressor's AAX face, from its shipped bundle in the recording AAX host: no call of
// the render procedure allocates, locks or changes the caller's floating-point mode: from the
// first render after the instance is made, with every parameter and the master bypass
// changed several times before each block, the bypass switched on and off, a chunk restored
// while rendering, blocks longer than the wrapper's set-up size, mono and stereo.
#include "AAXBundleSession.h"
#include "AuditSupport.h"
#include "support/AllocationCounter.h"

#include <string>
#include <vector>

namespace aax_bundle_test {
namespace {

// The wrapper sets the processor up for 1024 samples: the audit's lengths, four times over.
constexpr int32_t kScale = 4;

// The render context's transport, answering without recording: the host side of the render
// call makes no allocation of its own, so every one counted is the plug-in's.
class QuietTransport final : public AAX_ITransport {
public:
  AAX_Result GetCurrentTempo(double* bpm) const override { return *bpm = 120.0, AAX_SUCCESS; }
  AAX_Result GetCurrentMeter(int32_t* numerator, int32_t* denominator) const override {
    *numerator = 4;
    *denominator = 4;
    return AAX_SUCCESS;
  }
  AAX_Result IsTransportPlaying(bool* playing) const override {
    return *playing = true, AAX_SUCCESS;
  }
  AAX_Result GetCurrentTickPosition(int64_t* ticks) const override {
    return *ticks = 0, AAX_SUCCESS;
  }
  AAX_Result GetCurrentLoopPosition(bool* looping, int64_t* startTicks,
                                    int64_t* endTicks) const override {
    *looping = false;
    *startTicks = *endTicks = 0;
    return AAX_SUCCESS;
  }
  AAX_Result GetCurrentSampleLocation(int64_t* samples) const override {
    return *samples = 0, AAX_SUCCESS;
  }
};

class AaxAudit : public BundleSession, public ::testing::WithParamInterface<int> {};

TEST_P(AaxAudit, NoRenderAllocatesLocksOrLeavesItsFloatingPointMode) {
  const int channels = GetParam();
  MakeInstance(channels);
  int32_t count = 0;
  ASSERT_EQ(Effect().GetNumberOfParameters(&count), AAX_SUCCESS);
  std::vector<std::string> ids;
  for (int32_t i = 0; i < count; ++i) {
    aaxhost::HostString id;
    ASSERT_EQ(Effect().GetParameterIDFromIndex(i, &id), AAX_SUCCESS);
    ids.push_back(id.StdString());
  }
  int32_t size = 0;
  ASSERT_EQ(Effect().GetChunkSize(kChunkID, &size), AAX_SUCCESS);
  aaxhost::FakeChunkRecord saved(static_cast<uint32_t>(size));
  ASSERT_EQ(Effect().GetChunk(kChunkID, saved.Get()), AAX_SUCCESS);

  QuietTransport transport;
  aaxhost::FakeInstanceBlock block(&Effect(), channels, channels, audit::kMaxLength * kScale, kRate,
                                   &transport);
  void* instances[] = {const_cast<void**>(block.Fields())};
  const AAX_CProcessProc render = ProcessProc(size_t(channels - 1));

  audit::CallerMode mode;
  const unsigned callerMode = audit::CallerMode::Current();
  int modeChanges = 0, nonFinite = 0;
  long allocations = 0, locks = 0;
  int64_t position = 0;
  // What the render calls asked of the host's objects (its data model is not for the audio
  // thread).
  std::vector<std::string> hostCalls;
  for (int b = 0; b < audit::kBlocks; ++b) {
    if (b == audit::kRestoreBlock) {
      EXPECT_EQ(Effect().SetChunk(kChunkID, saved.Get()), AAX_SUCCESS);
    }
    // The host's automation, confirmed on its main thread before the block.
    for (int p = 0; p < audit::kPointsPerBlock; ++p)
      for (size_t k = 0; k < ids.size(); ++k) {
        const double v =
            ids[k].empty() ? (audit::Bypassed(b) ? 1.0 : 0.0) : audit::ValueOf(b, int(k), p);
        Effect().UpdateParameterNormalizedValue(ids[k].c_str(), v, 0);
      }
    const int32_t n = audit::LengthOf(b) * kScale;
    block.SetLength(n);
    for (int c = 0; c < channels; ++c)
      for (int32_t i = 0; i < n; ++i)
        block.Input(c)[i] = float(audit::Signal(position + i, c));
    const size_t logged = host.log.Calls().size();
    alloccount::Arm();
    render(instances, instances + 1);
    modeChanges += audit::CallerMode::Current() != callerMode;
    alloccount::Disarm();
    hostCalls.insert(hostCalls.end(), host.log.Calls().begin() + long(logged),
                     host.log.Calls().end());
    allocations += alloccount::Allocations();
    locks += alloccount::Locks();
    for (int c = 0; c < channels; ++c)
      for (int32_t i = 0; i < n; ++i)
        nonFinite += !std::isfinite(block.Output(c)[i]);
    position += n;
  }
  EXPECT_EQ(hostCalls, std::vector<std::string>{});
  EXPECT_EQ(allocations, 0);
  EXPECT_EQ(locks, 0);
  EXPECT_EQ(modeChanges, 0);
  EXPECT_EQ(nonFinite, 0);
}

INSTANTIATE_TEST_SUITE_P(OrvaneCompressor, AaxAudit, ::testing::Values(1, 2),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::string(info.param == 1 ? "mono" : "stereo");
                         });

} // namespace
} // namespace aax_bundle_test
