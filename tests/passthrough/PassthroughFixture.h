// The pass-through bundle loaded in the test host, one instance ready to use.
#pragma once

#include "tests/hosts/vst3/Plugin.h"
#include "tests/passthrough/plugin/PassthroughIDs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace orvane::passthrough {

inline const char* const kBundle = ORVANE_PASSTHROUGH_BUNDLE;

class PassthroughFixture : public ::testing::Test {
protected:
  void SetUp() override {
    std::string error;
    module = testhost::Module::load(kBundle, error);
    ASSERT_TRUE(module) << error;
    plugin = makePlugin();
    ASSERT_TRUE(plugin);
  }

  std::unique_ptr<testhost::Plugin> makePlugin(testhost::PluginOptions options = {}) {
    std::string error;
    auto made = testhost::Plugin::create(*module, kProcessorUID, error, options);
    EXPECT_TRUE(made) << error;
    return made;
  }

  std::unique_ptr<testhost::Module> module; // first: outlives every plug-in
  std::unique_ptr<testhost::Plugin> plugin;
};

inline double linearGain(double db) {
  return std::pow(10.0, db / 20.0);
}

} // namespace orvane::passthrough
