// What the bundle function builds: the folder layout, resources, an extra export, and the
// bundle path the module finds for itself from inside the bundle.
#include "tests/hosts/vst3/Module.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using PathProc = const char* (*)();

TEST(BundleLayout, ModuleFindsItsBundleAndResources) {
  const fs::path bundle = ORVANE_PROBE_BUNDLE;
  EXPECT_TRUE(fs::is_regular_file(bundle / "Contents/x86_64-linux/OrvaneProbe.so"));
  EXPECT_TRUE(fs::is_regular_file(bundle / "Contents/Resources/probe.txt"));

  std::string error;
  auto module = orvane::testhost::Module::load(bundle.string(), error);
  ASSERT_TRUE(module) << error;
  auto probe = reinterpret_cast<PathProc>(module->symbol("OrvaneProbeBundlePath"));
  ASSERT_NE(probe, nullptr);
  EXPECT_EQ(fs::canonical(probe()), fs::canonical(bundle));
  EXPECT_EQ(module->factory()->countClasses(), 0);
}

} // namespace
