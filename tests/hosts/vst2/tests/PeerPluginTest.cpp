// The test host against a plug-in it did not come with: Debian's lsp VST 2.4 plug-ins. What
// the host reads and drives here is what it reads and drives in our own plug-ins.
#include "tests/hosts/vst2/Vst2Plugin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace orvane::vst2host;

namespace {

const std::string kPeer = std::string(ORVANE_LSP_VST2_DIR) + "/comp-delay-stereo.so";

class PeerPlugin : public ::testing::Test {
protected:
  void SetUp() override {
    if (!std::filesystem::exists(kPeer))
      GTEST_SKIP() << kPeer << " is not installed (lsp-plugins-vst)";
    std::string error;
    plugin = Vst2Plugin::load(kPeer, error);
    ASSERT_TRUE(plugin) << error;
  }
  std::unique_ptr<Vst2Plugin> plugin;
};

} // namespace

TEST_F(PeerPlugin, RecordIsReadBeforeOpen) {
  AEffect* e = plugin->effect();
  EXPECT_EQ(e->magic, kEffectMagic);
  EXPECT_NE(e->uniqueID, 0);
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_GT(e->numParams, 0);
  EXPECT_TRUE(e->flags & effFlagsCanReplacing);
  EXPECT_EQ(plugin->log().count(audioMasterVersion) >= 1, true);
  // Hosts ask the category before they open the effect.
  EXPECT_GE(plugin->plugCategory(), kPlugCategUnknown);
}

TEST_F(PeerPlugin, ParametersHaveNamesAndTextsAndTakeValues) {
  plugin->open(48000, 256);
  const VstInt32 n = plugin->effect()->numParams;
  for (VstInt32 i = 0; i < n; ++i)
    EXPECT_FALSE(plugin->parameterName(i).empty()) << "parameter " << i;
  EXPECT_FALSE(plugin->effectName().empty() && plugin->productString().empty());
  plugin->setParameter(n - 1, 1.0f);
  EXPECT_FLOAT_EQ(plugin->parameter(n - 1), 1.0f);
  plugin->setParameter(n - 1, 0.0f);
  EXPECT_FLOAT_EQ(plugin->parameter(n - 1), 0.0f);
  EXPECT_EQ(plugin->dispatch(effGetVstVersion), kVstVersion);
}

TEST_F(PeerPlugin, ProcessesFloatBlocks) {
  plugin->open(48000, 256);
  plugin->resume();
  for (int i = 0; i < 256; ++i)
    plugin->input<float>(0)[i] = plugin->input<float>(1)[i] = float(std::sin(0.05 * i));
  for (int block = 0; block < 8; ++block)
    plugin->process<float>(256);
  for (int c = 0; c < 2; ++c)
    for (int i = 0; i < 256; ++i)
      ASSERT_TRUE(std::isfinite(plugin->output<float>(c)[i]));
  plugin->suspend();
}

TEST_F(PeerPlugin, ChunkRoundTripIsAccepted) {
  if (!(plugin->effect()->flags & effFlagsProgramChunks))
    GTEST_SKIP() << "the peer keeps no chunks";
  plugin->open(48000, 256);
  const auto bank = plugin->chunk(false);
  ASSERT_FALSE(bank.empty());
  plugin->setChunk(bank, false);
  EXPECT_EQ(plugin->chunk(false).size(), bank.size());
}
