// The test host against a peer: Debian's zam-plugins VST 3 bundles, built by another
// toolchain on an independent description of the interface. If the host drives them and they
// answer sensibly, the host's calls and objects are right and not only right for our own
// plug-ins.
#include "tests/hosts/vst3/Plugin.h"
#include "tests/hosts/vst3/Scan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <optional>

namespace orvane::testhost {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

const char* const kPeer = "/usr/lib/vst3/ZamEQ2.vst3";

class PeerPluginTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!std::filesystem::exists(kPeer))
      GTEST_SKIP() << "zam-plugins is not installed";
  }
};

TEST_F(PeerPluginTest, ScanFindsAnAudioModuleWithStereoBuses) {
  const ScanReport report = scanBundle(kPeer);
  ASSERT_TRUE(report.loaded) << report.error;
  EXPECT_EQ(report.factoryInfo, kResultOk);
  EXPECT_FALSE(report.vendor.empty());
  ASSERT_EQ(report.audioModules.size(), 1u);
  const ScannedClass& eq = report.audioModules[0];
  EXPECT_EQ(eq.record.name, "ZamEQ2");
  EXPECT_TRUE(eq.record.hasInfo2);
  EXPECT_EQ(eq.initialize, kResultOk);
  EXPECT_TRUE(eq.hasAudioProcessor);
  EXPECT_TRUE(eq.can32);
  ASSERT_FALSE(eq.audioInputs.empty());
  ASSERT_FALSE(eq.audioOutputs.empty());
  EXPECT_GE(eq.audioOutputs[0].channelCount, 1);
  EXPECT_EQ(eq.terminate, kResultOk);
}

class PeerSession : public PeerPluginTest {
protected:
  void SetUp() override {
    PeerPluginTest::SetUp();
    if (IsSkipped())
      return;
    std::string error;
    module = Module::load(kPeer, error);
    ASSERT_TRUE(module) << error;
    const auto cls = module->findClass(kVstAudioEffectClass);
    ASSERT_TRUE(cls);
    plugin = Plugin::create(*module, cls->cid, error);
    ASSERT_TRUE(plugin) << error;
    for (const ParameterInfo& info : plugin->parameters())
      if (std::u16string(info.title) == u"Master Gain")
        masterGain = info;
    ASSERT_TRUE(masterGain) << "the peer has no Master Gain parameter";
  }

  // RMS of the first output channel for a 1 kHz tone of amplitude 0.5, after a few blocks.
  template <class Sample> double toneLevel() {
    const int n = 256;
    for (int block = 0; block < 8; ++block) {
      for (size_t ch = 0; ch < static_cast<size_t>(plugin->buses().audioInputs[0].channelCount);
           ++ch) {
        Sample* in = plugin->input<Sample>(0, ch);
        for (int i = 0; i < n; ++i)
          in[i] = Sample(0.5 * std::sin(2 * M_PI * 1000.0 * (block * n + i) / 48000.0));
      }
      EXPECT_EQ(plugin->process(n), kResultOk);
    }
    const Sample* out = plugin->output<Sample>(0, 0);
    double sum = 0;
    for (int i = 0; i < n; ++i)
      sum += double(out[i]) * out[i];
    return std::sqrt(sum / n);
  }

  std::unique_ptr<Module> module; // declared first: outlives the plug-in
  std::unique_ptr<Plugin> plugin;
  std::optional<ParameterInfo> masterGain;
};

TEST_F(PeerSession, ProcessesAToneAtTheLevelItsGainAsks) {
  const ActivationResults activation = plugin->activate(48000, 256);
  EXPECT_EQ(activation.setupProcessing, kResultOk);
  EXPECT_EQ(activation.setActive, kResultOk);
  // A flat EQ at its defaults passes the tone at its level (RMS 0.5 / sqrt 2).
  EXPECT_NEAR(toneLevel<float>(), 0.5 / std::sqrt(2.0), 0.02);

  // Raise the master gain through the input queue: the level goes up.
  plugin->setParameter(masterGain->id, 1.0);
  EXPECT_GT(toneLevel<float>(), 0.5);
}

TEST_F(PeerSession, StateSurvivesARoundTrip) {
  plugin->activate(48000, 256);
  const ParamValue before = plugin->parameter(masterGain->id);
  const auto processorState = plugin->processorState();
  const auto controllerState = plugin->controllerState();
  ASSERT_FALSE(processorState.empty());

  plugin->setParameter(masterGain->id, 0.9);
  plugin->process(64);
  EXPECT_NEAR(plugin->parameter(masterGain->id), 0.9, 1e-3);
  EXPECT_NE(plugin->processorState(), processorState);

  EXPECT_EQ(plugin->restoreState(processorState, controllerState), kResultOk);
  EXPECT_NEAR(plugin->parameter(masterGain->id), before, 1e-3);
  EXPECT_EQ(plugin->processorState(), processorState);
}

// Every zam-plugins bundle, including those with a side-chain input bus, goes through the
// scan road and an Ardour session start and processes without complaint. (ZamHeadX2 and
// ZamVerb are left out: they leak memory of their own, which the sanitizer build would flag.)
class PeerRoad : public ::testing::TestWithParam<const char*> {};

TEST_P(PeerRoad, ScansActivatesAndProcesses) {
  const std::string bundle = std::string("/usr/lib/vst3/") + GetParam() + ".vst3";
  if (!std::filesystem::exists(bundle))
    GTEST_SKIP() << bundle << " is not installed";
  const ScanReport report = scanBundle(bundle);
  ASSERT_TRUE(report.loaded) << report.error;
  ASSERT_EQ(report.audioModules.size(), 1u);
  const ScannedClass& scanned = report.audioModules[0];
  EXPECT_EQ(scanned.record.name, GetParam());
  EXPECT_EQ(scanned.initialize, kResultOk);
  EXPECT_TRUE(scanned.can32);

  std::string error;
  auto module = Module::load(bundle, error);
  ASSERT_TRUE(module) << error;
  auto plugin = Plugin::create(*module, scanned.record.cid, error);
  ASSERT_TRUE(plugin) << error;
  EXPECT_EQ(plugin->buses().audioInputs.size(), scanned.audioInputs.size());
  const ActivationResults activation = plugin->activate(44100, 128);
  EXPECT_EQ(activation.setupProcessing, kResultOk);
  EXPECT_EQ(activation.setActive, kResultOk);
  EXPECT_EQ(activation.setProcessing, kResultOk);
  for (int block = 0; block < 4; ++block) {
    for (size_t bus = 0; bus < plugin->buses().audioInputs.size(); ++bus)
      for (size_t ch = 0; ch < static_cast<size_t>(plugin->buses().audioInputs[bus].channelCount);
           ++ch) {
        float* in = plugin->input<float>(bus, ch);
        ASSERT_NE(in, nullptr);
        for (int i = 0; i < 128; ++i)
          in[i] = 0.25f * float(std::sin(0.1 * (block * 128 + i)));
      }
    ASSERT_EQ(plugin->process(128), kResultOk);
  }
  for (size_t ch = 0; ch < static_cast<size_t>(plugin->buses().audioOutputs[0].channelCount);
       ++ch) {
    const float* out = plugin->output<float>(0, ch);
    for (int i = 0; i < 128; ++i)
      ASSERT_TRUE(std::isfinite(out[i]));
  }
}

INSTANTIATE_TEST_SUITE_P(Zam, PeerRoad,
                         ::testing::Values("ZamAutoSat", "ZamComp", "ZamCompX2", "ZamDelay",
                                           "ZamDynamicEQ", "ZamEQ2", "ZamGEQ31", "ZamGate",
                                           "ZamGateX2", "ZamGrains", "ZamPhono", "ZamTube",
                                           "ZaMaximX2", "ZaMultiComp", "ZaMultiCompX2"));

} // namespace
} // namespace orvane::testhost
